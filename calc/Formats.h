#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// Display formats of the program. Every grid, number box, label and the
// printed statement shows values through here, so a value reads the same
// wherever it appears. Values themselves are never rounded; only their text.
namespace pelmar::fmt {

inline const QString kYen = QStringLiteral("#,###");            // money: 1,234; zero shows empty
inline const QString kHoursTotal = QStringLiteral("#,###.0");   // 7.5, zero shows ".0"
inline const QString kHoursLine = QStringLiteral("#,##0.0");    // 0.5, zero shows "0.0"
inline const QString kHoursShort = QStringLiteral("##.0");      // .5
inline const QString kTime = QStringLiteral("##:##");           // 0900 -> 9:00
inline const QString kDate = QStringLiteral("yyyy/mm/dd");      // 20070331 -> 2007/03/31
inline const QString kJapaneseDate = QStringLiteral("yyyy年mm月dd日");

// Formats value with one of the patterns above. A null or empty value gives
// the empty text; a text that is not a number is shown as it stands.
// An empty pattern gives the plain text of the value (8 for 8.0, 1.5 for 1.5).
QString format(const QVariant &value, const QString &pattern);

// A number pattern made of '#', '0', ',' and one '.', as "#,###" or "##.0":
// halves round away from zero, ',' asks for thousands separators, '0' for a
// digit that is always shown.
QString formatNumber(double value, const QString &pattern);

// "##:##" on hhmm text: the hour without leading zeros, a colon, the two
// minute digits. 0900 -> 9:00, 1800 -> 18:00, 0030 -> :30.
QString formatTime(const QVariant &hhmm);

// "yyyy/mm/dd" on eight-digit yyyymmdd text; other text is shown unchanged.
QString formatDateText(const QVariant &yyyymmdd);

// "yyyy年mm月dd日": 2026年03月06日.
QString formatJapaneseDate(const QDate &date);

// The shortest text that reads back as the same double: 8, 1.5, 8.333333333333334.
QString plainNumber(double value);

// Whether the value is stored as a number (not as text).
bool holdsNumber(const QVariant &value);

// The value as a number, when it is one (a double, an integer or numeric text).
bool toNumber(const QVariant &value, double *number);

} // namespace pelmar::fmt
