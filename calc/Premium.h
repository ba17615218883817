#pragma once

#include <Qt>

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

} // namespace pelmar::premium
