#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

// Display formats of the program. Every grid, number box, label and the
// printed statement shows values through here, so a value reads the same
// wherever it appears. Values themselves are never rounded; only their text.
namespace pelmar::fmt {

inline const QString kYen = QStringLiteral("#,###"); // money: 1,234; zero shows empty
// A wage as it is kept: 1,200, or 1,200.5 when it has yen fractions.
inline const QString kWage = QStringLiteral("#,###.######");
inline const QString kHoursTotal = QStringLiteral("#,###.0"); // 7.5, zero shows ".0"
inline const QString kHoursLine = QStringLiteral("#,##0.0"); // 0.5, zero shows "0.0"
inline const QString kHoursShort = QStringLiteral("##.0"); // .5
// Hours and breaks as they are: two decimals when they have them, at least
// one, and a zero before the point: 0.75, 7.75, 8.0, 0.0, 1,234.5.
inline const QString kHours = QStringLiteral("#,##0.0#");
// The same, but zero shows as the empty text. A pattern may have up to three
// sections, "positive;negative;zero": the negative section is a number
// pattern led by its '-', the zero section is the literal text shown for a
// value that rounds to zero (here none).
inline const QString kHoursBlankZero = QStringLiteral("#,##0.0#;-#,##0.0#;");
inline const QString kTime = QStringLiteral("##:##"); // 0900 -> 9:00
inline const QString kDate = QStringLiteral("yyyy/mm/dd"); // 20070331 -> 2007/03/31
inline const QString kJapaneseDate = QStringLiteral("yyyy年mm月dd日");

// Formats value with one of the patterns above. A null or empty value, and a
// stored number that is not finite, give the empty text; a text that is not
// a number is shown as it stands.
// An empty pattern gives the plain text of the value (8 for 8.0, 1.5 for 1.5).
QString format(const QVariant &value, const QString &pattern);

// A number pattern made of '#', '0', ',' and one '.', as "#,###" or "##.0":
// halves round away from zero, ',' asks for thousands separators, '0' for a
// digit that is always shown, and '#' after the point for a decimal shown
// only when it is not a trailing zero. Sections "positive;negative;zero" as
// in kHoursBlankZero. A value that is not finite gives the empty text.
QString formatNumber(double value, const QString &pattern);

// "##:##" on hhmm text: the hour without leading zeros, a colon, the two
// minute digits. 0900 -> 9:00, 1800 -> 18:00, 0030 -> 0:30.
QString formatTime(const QVariant &hhmm);

// "yyyy/mm/dd" on eight-digit yyyymmdd text; other text is shown unchanged.
QString formatDateText(const QVariant &yyyymmdd);

// "yyyy年mm月dd日": 2026年03月06日.
QString formatJapaneseDate(const QDate &date);

// The shortest text that reads back as the same double: 8, 1.5, 8.333333333333334.
QString plainNumber(double value);

// Whether the value is stored as a number (not as text).
bool holdsNumber(const QVariant &value);

// Whether a type id is one of the number types a value or a column may have.
bool isNumberType(int typeId);

// The value as a number, when it is one: a finite double or integer as
// stored, or text that parseTypedNumber takes.
bool toNumber(const QVariant &value, double *number);

// The largest magnitude a typed money or hours value may have. With hours,
// wages and adjustments below it, hours x wage + adjustment stays a finite
// number, far from overflowing.
inline constexpr double kMaxTypedMagnitude = 99'999'999.0;

// Typed text with the full-width digits, point, comma, minus and colon of
// Japanese input turned into their ASCII forms (０９００ -> 0900, －１，２００．５
// -> -1,200.5, ９：３０ -> 9:30; the minus sign U+2212 is a minus too). Nothing else changes: other
// scripts' digits, the long-vowel mark ー and spaces stay as they are, so the
// checks that follow refuse them. Every character maps to one character, so
// positions in the text stay where they were.
QString asciiDigits(QString text);

// A number as the user typed it, after asciiDigits and with the spaces around
// it trimmed: an optional '-', digits with optional thousands commas between
// groups of three, an optional decimal point and decimals, at least one digit
// ("1,200", "-30", ".5", "7."; not "1,2,3"). Anything else is no number: exponents, "nan", "inf",
// hex, '+', inner spaces, other scripts' digits, and a magnitude above
// kMaxTypedMagnitude. "-0" gives 0.
std::optional<double> parseTypedNumber(const QString &typed);

} // namespace pelmar::fmt
