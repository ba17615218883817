#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The ways a time recorder, an attendance service or a spreadsheet writes a
// date, a time of day and a break. Full-width digits and blanks around the
// text are accepted everywhere; anything else not listed is not read, so
// that nothing is guessed into a wrong hour.
namespace pelmar::punch {

// A date: 2026/11/05, 2026/11/5, 2026-11-05, 2026.11.05, 20261105,
// 2026年11月5日, or without the year (11/5, 11-05, 11月5日), which then is
// in the year given. A weekday after it in brackets, as in 11/05(水), is
// passed over. Nothing for any other text or a day that does not exist.
std::optional<QDate> readDate(const QString &text, int yearWhenNone);

// A time of day as minutes from the midnight that begins the date:
// 9:00, 09:00, 0900 and 900, with seconds dropped (9:00:30 is 9:00). Hours
// from 24 to 47 name the next day (26:00 is 2:00 the morning after, 1560
// minutes); minutes run from 00 to 59. Nothing for any other text.
std::optional<int> readClock(const QString &text);

// How a break written as a bare whole number is meant.
enum class BreakUnit {
    Auto, // 10 or more: minutes; 0: none; 1 to 9: not known, asked
    Minutes,
    Hours,
};

struct BreakReading {
    enum Outcome { Read, Unreadable, UnitUnknown } outcome = Unreadable;
    double hours = 0;
};

// A break in hours. h:mm is hours and minutes (0:45, 1:00, 1:00:00); a number with
// a decimal point is hours (0.75, 1.5) unless the unit given is Minutes; a
// number followed by 分 is minutes and one followed by 時間 or h is hours.
// A bare whole number is read in the unit given; in Auto, 10 and more are
// minutes (45, 60, 90), 0 is no break,
// and 1 to 9 cannot be told apart (1 hour or 1 minute?) and come back as
// UnitUnknown, for the user to write it plainly or choose the unit. An
// empty text is no break (0 hours). Negative breaks are unreadable.
BreakReading readBreak(const QString &text, BreakUnit unit);

} // namespace pelmar::punch
