#pragma once

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

// A premium's rate when the shop first switches it on, in percent.
inline constexpr double kDefaultRate = 25;
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

    // Whether any premium is paid: the statement then shows and stores
    // premium hours and yen.
    bool premiumsOn() const { return night || overtime; }
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

// A line's premium hours and yen, and its amount.
struct LinePay {
    // Hours between 22:00 and 05:00, as worked; null while 深夜割増 is off.
    QVariant night;
    // Hours over 8 that day and over 40 that week; null while 時間外割増 is off.
    QVariant overtime;
    // The premium yen inside the amount; null while no premium is on or the
    // line has no wage.
    QVariant premium;
    // hours × wage + premium + adjustment, whole yen if rounding is on;
    // nothing without hours or wage (the amount then stays as it is).
    std::optional<double> amount;
};

// The premium hours, premium yen and amount of every line of a statement,
// in the order given. A line without hours has no premium values.
//   Night hours: the hours of the line's span between 22:00 and 05:00; the
//   break comes out of the hours outside that window first, so night hours
//   are never understated, and they never exceed the line's hours.
//   Overtime: lines count as the day they started (their date). A day's
//   hours over 8 are overtime, on its last lines by start time; of the
//   remaining hours, those over 40 in a week starting on rules.weekStart
//   are overtime too, on the week's last lines. Only the lines given count,
//   so a week cut by the statement's period counts its part in the statement.
//   Hours that are both night and overtime earn both premiums.
//   Premium yen: wage × (night × night rate + overtime × overtime rate).
QList<LinePay> payOfLines(const QList<DayLine> &lines, const Rules &rules);

} // namespace pelmar::premium
