#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

// The arithmetic of a statement: how many hours a line counts, what it pays,
// which entries are accepted, and the next day. Nothing here rounds: hours
// and yen are handed on exactly as computed, and only shown rounded.
namespace pelmar::worktime {

// Why an edit was refused and its cell emptied, for the page to say so.
enum class Refusal {
    None,
    BreakOutOfRange, // a break that is negative, or as long as start to end or longer
    Negative, // negative hours or a negative wage
    Unreadable, // a date, time or number in none of the forms taken
    OutOfRange, // hours beyond a day, a wage beyond kMaxWage
};

// The most hours a day line may hold, and the longest break.
inline constexpr double kMaxLineHours = 24.0;
// The highest hourly wage taken. Far above any wage paid by the hour, low
// enough that a slip of the finger (an extra three zeros) is caught.
inline constexpr double kMaxWage = 1'000'000.0;

// A time of day typed as hhmm, in minutes from midnight (hh * 60 + mm).
// Hour 24 and minute 60 count arithmetically: 2400 is the midnight at the
// end of the day, 0960 is 10:00. Nothing for anything but four ASCII digits
// (typed text goes through fmt::asciiDigits first).
std::optional<int> minutesOf(const QString &hhmm);

// The entry check of a stored start or end time: exactly four ASCII digits,
// an hour from 00 to 23 and a minute from 00 to 59, or 2400 for the
// midnight at the end of the day.
bool isAcceptedTime(const QString &entry);

// A time of day as people type it, as the four digits hhmm it is stored as:
// "0930", "930", "9:30" and "09:30" are 0930; "230" and "2:30" are 0230;
// "9" and "09" are 0900 (an hour alone). Full-width digits and colons count.
// Nothing for a time that does not exist ("2500", "2460", "0960") or any
// other text ("12:5", "9.30", "٠٩٠٠").
std::optional<QString> typedTime(const QString &typed);

// The hours worked from start to end less the break. An end earlier than the
// start lies on the next day (a night shift: 2200 to 0600 is 8 hours); an end
// equal to the start is 0 hours. Nothing when a time is empty or unreadable;
// an empty break counts as 0.
std::optional<double> durationHours(const QVariant &start, const QVariant &end, const QVariant &breakHours);

// The hours from start to end, by the same rule, without a break.
std::optional<double> spanHours(const QVariant &start, const QVariant &end);

// Whether a break may stand on a line: no break, a zero break, or a positive
// one shorter than the hours from start to end (any positive one while
// start or end is missing). A negative break never fits; so neither does
// 45 on a one-hour line, typed as minutes.
bool breakFits(const QVariant &start, const QVariant &end, const QVariant &breakHours);

// hours x wage + adjustment (the adjustment once, not per hour). Nothing
// when the hours or the wage are empty, or when the result is not finite;
// an empty adjustment adds nothing.
std::optional<double> amountOf(const QVariant &hours, const QVariant &wage, const QVariant &adjustment);

// The calendar date an entry names, read as its first four characters (year),
// the fifth and sixth (month) and the last two (day). Nothing if the entry is
// not all ASCII digits (no spaces, no other script's digits) or that is not
// a real date.
std::optional<QDate> dateOfEntry(const QString &entry);

// yyyymmdd of the day after the one given as yyyymmdd; empty if unreadable.
QString nextDay(const QString &yyyymmdd);

// Whether a cell holds nothing: null, or text that is empty.
bool isEmptyValue(const QVariant &value);

// Whether two cell values are the same: both null, or equal.
bool sameValue(const QVariant &a, const QVariant &b);

// Whether a value reads as a number (a number, or numeric text).
bool isNumeric(const QVariant &value);

} // namespace pelmar::worktime
