#pragma once

#include <QDate>
#include <QList>
#include <QVariant>
#include <Qt>

#include <optional>

// Premiums and yen rounding: the rules the shop chose on the settings page.
namespace pelmar::premium {

// How a line's amount becomes whole yen. Each works on the size of the
// amount, as Excel's ROUNDDOWN, ROUND and ROUNDUP do, so a deduction of
// 12.5 yen rounds to the same 12 or 13 yen as a payment of 12.5 yen.
enum class Rounding {
    None, // as computed, fractions kept
    Down, // 切り捨て: the fraction dropped
    HalfUp, // 四捨五入: half a yen and more up
    Up, // 切り上げ: any fraction up
};

// A premium's rate when the shop first switches it on, in percent: the
// law's least for night work and for overtime.
inline constexpr double kDefaultRate = 25;
// Overtime past 60 hours in a statement's period, and work on the legal
// weekly rest day: the law's least rates.
inline constexpr double kDefaultOver60Rate = 50;
inline constexpr double kDefaultRestDayRate = 35;
// The general limits of overtime (with rest-day work) a shop may agree
// with its staff: a month, and a calendar year.
inline constexpr double kMonthOvertimeLimit = 45;
inline constexpr double kYearOvertimeLimit = 360;
// The rates the settings accept, in percent.
inline constexpr double kMinRate = 0;
inline constexpr double kMaxRate = 100;

struct Rules {
    bool night = false; // 深夜割増: hours between 22:00 and 05:00
    double nightRate = kDefaultRate; // percent on top of the wage
    bool overtime = false; // 時間外割増: over 8 hours a day or 40 a week
    double overtimeRate = kDefaultRate;
    Qt::DayOfWeek weekStart = Qt::Sunday; // the first day of a week for the 40 hours
    Rounding rounding = Rounding::None;
    // Overtime past 60 hours in the statement's period, paid at this rate
    // instead of overtimeRate while 時間外割増 is on.
    double over60Rate = kDefaultOver60Rate;
    // The legal weekly rest day (法定休日), 0 for none, else a Qt::DayOfWeek.
    // Its hours are 休日 hours, paid at restDayRate whenever a day is named.
    int restDay = 0;
    double restDayRate = kDefaultRestDayRate;
    // The regional minimum wage (地域別最低賃金) in yen an hour, 0 for none,
    // from the date given (any date when it is not valid).
    double minimumWage = 0;
    QDate minimumWageFrom;

    // Whether any premium is paid: the statement then shows premium yen.
    bool premiumsOn() const { return night || overtime || restDay != 0; }
    bool operator==(const Rules &) const = default;
};

// Whole yen by the rule: an amount shown and stored as it is paid. Noise
// below a millionth of a yen is taken as what it is, float error, so
// 384.99999999999994 rounds down to 385, not 384. A value that is no number
// comes back unchanged.
double roundYen(double yen, Rounding rounding);

// The hours between 22:00 and 05:00 of the span from start to end, an end
// earlier than the start lying on the next day (2200 to 0600: 7 hours).
// Nothing when a time is empty or unreadable. No break is taken off here.
std::optional<double> nightSpanHours(const QVariant &start, const QVariant &end);

// The legal break: more than 6 hours worked want at least 45 minutes of
// break, more than 8 hours at least an hour. True when the line's hours (as
// worked, after the break) ask for more break than it has; an empty break is
// none. False for a line without hours.
bool breakTooShort(const QVariant &hours, const QVariant &breakHours);

// What the premiums read of one statement line.
struct DayLine {
    int row = 0; // the line's number, which orders lines of the same day and start
    QVariant date; // yyyymmdd
    QVariant start, end; // hhmm
    QVariant breakHours;
    QVariant hours; // as worked: the line's 時間
    QVariant wage;
    QVariant adjustment;
};

// Whether the wage of a line dated `date` (yyyymmdd) is below the minimum
// wage the rules name for that date. False without a wage or a minimum.
bool belowMinimumWage(const QVariant &wage, const QVariant &date, const Rules &rules);

// A line with hours but without its start or end: its night hours cannot be known.
bool nightUnknown(const QVariant &start, const QVariant &end, const QVariant &hours);

// A line's premium hours and yen, and its amount. The hours are facts the
// wage ledger keeps: they are worked out whether or not a premium is paid.
struct LinePay {
    // Hours between 22:00 and 05:00, as worked.
    QVariant night;
    // Hours over 8 that day and over 40 that week, rest-day hours apart.
    QVariant overtime;
    // Of the overtime, the hours past the statement's 60th hour of overtime.
    QVariant over60;
    // Hours on the legal rest day (its calendar day); none without a rest day.
    QVariant restDay;
    // The premium yen inside the amount, exact (0 when none is paid); null
    // when the line has no wage.
    QVariant premium;
    // hours × wage + premium + adjustment, rounded once by the rule;
    // nothing without hours or wage (the amount then stays as it is).
    std::optional<double> amount;
};

// The premium hours, premium yen and amount of every line of a statement,
// in the order given. A line without hours has no premium values.
//   Night hours: the hours of the line's span between 22:00 and 05:00.
//   Rest-day hours: the hours of the span on the rest day's calendar day
//   (0:00 to 24:00), all of a dated line's hours when it has no times.
//   The break comes out of the hours without premium first, so premium
//   hours are never understated; none exceeds the line's hours.
//   Overtime: a shift counts as the day it started, and one typed as two
//   lines split at midnight (the first ending at 2400 or 0000, the next
//   starting at 0000 the next day) as one shift; but a shift running out of
//   the rest day counts its hours after midnight in the next day (and its
//   week), that line or lines coming first there. Of the hours that are not
//   rest-day hours, a day's over 8 are overtime, on its last lines by start
//   time; of the rest, those over 40 in a week starting on rules.weekStart
//   are overtime too, on the week's last lines. `earlier` are the
//   employee's lines stored in other statements: they count towards the
//   day's 8 and the week's 40 hours where they come first, and get nothing.
//   Overtime past the 60th hour of the lines given is over60.
//   Hours that are night and overtime or rest-day hours earn both premiums.
//   Premium yen: wage × (night × night rate + overtime up to 60 × overtime
//   rate + over60 × its rate + rest-day hours × its rate), for the premiums on.
QList<LinePay> payOfLines(const QList<DayLine> &lines, const Rules &rules, const QList<DayLine> &earlier = {});

} // namespace pelmar::premium
