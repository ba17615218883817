#include "calc/Premium.h"

#include "calc/Formats.h"
#include "calc/WorkTime.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace pelmar::premium {

namespace {

// Hours are counted in whole seconds: every time of day is whole minutes,
// and sums of hours such as 8 h 20 min (8.333…) then add up without float
// noise, so five days of 8 hours are exactly 40 and not 39.999999.
using Seconds = qint64;
constexpr Seconds kHour = 3600;
constexpr Seconds kDayLimit = 8 * kHour;
constexpr Seconds kWeekLimit = 40 * kHour;
constexpr int kMinutesPerDay = 24 * 60;

std::optional<double> numberOf(const QVariant &value)
{
    double number = 0;
    if (worktime::isEmptyValue(value) || !fmt::toNumber(value, &number) || !std::isfinite(number))
        return std::nullopt;
    return number;
}

Seconds secondsOf(double hours)
{
    return Seconds(std::llround(hours * kHour));
}

double hoursOf(Seconds seconds)
{
    return double(seconds) / kHour;
}

// The start and end of the line's span in minutes from the start day's
// midnight, the end after the start.
std::optional<std::pair<int, int>> spanMinutes(const QVariant &start, const QVariant &end)
{
    if (worktime::isEmptyValue(start) || worktime::isEmptyValue(end))
        return std::nullopt;
    const auto from = worktime::minutesOf(start.toString());
    const auto to = worktime::minutesOf(end.toString());
    if (!from || !to)
        return std::nullopt;
    int until = *to;
    if (until < *from)
        until += kMinutesPerDay;
    return std::pair(*from, until);
}

int nightMinutes(int from, int until)
{
    // 22:00 to 05:00 of the night before, of the start day and of the next:
    // a span starts before 25:00 and lasts less than a day.
    int minutes = 0;
    for (int day = -1; day <= 1; ++day) {
        const int nightStart = day * kMinutesPerDay + 22 * 60;
        const int nightEnd = nightStart + 7 * 60;
        minutes += std::max(0, std::min(until, nightEnd) - std::max(from, nightStart));
    }
    return minutes;
}

// The part of `total` that lies past `limit` in a running count that went
// from `before` to `before + total`.
Seconds pastLimit(Seconds before, Seconds total, Seconds limit)
{
    return std::max<Seconds>(0, before + total - limit) - std::max<Seconds>(0, before - limit);
}

struct Counted {
    int index = 0;
    Seconds worked = 0;
    std::optional<QDate> date;
    int startMinute = 0;
    Seconds overtime = 0;
};

QDate weekOf(const QDate &date, Qt::DayOfWeek weekStart)
{
    return date.addDays(-((date.dayOfWeek() - int(weekStart) + 7) % 7));
}

// Daily and weekly overtime of every counted line.
void countOvertime(QList<Counted> &counted, const QList<DayLine> &lines, Qt::DayOfWeek weekStart)
{
    std::vector<Counted *> order;
    for (Counted &line : counted)
        order.push_back(&line);
    // Dated lines by day, start and number; lines without a date stand alone.
    std::stable_sort(order.begin(), order.end(), [&lines](const Counted *a, const Counted *b) {
        if (a->date.has_value() != b->date.has_value())
            return a->date.has_value();
        if (a->date != b->date)
            return *a->date < *b->date;
        if (a->startMinute != b->startMinute)
            return a->startMinute < b->startMinute;
        return lines.at(a->index).row < lines.at(b->index).row;
    });

    Seconds dayCount = 0, weekCount = 0;
    std::optional<QDate> day, week;
    for (Counted *line : order) {
        if (!line->date) {
            line->overtime = pastLimit(0, line->worked, kDayLimit);
            continue;
        }
        if (line->date != day)
            dayCount = 0;
        day = line->date;
        const Seconds daily = pastLimit(dayCount, line->worked, kDayLimit);
        dayCount += line->worked;

        const QDate lineWeek = weekOf(*line->date, weekStart);
        if (lineWeek != week)
            weekCount = 0;
        week = lineWeek;
        // Hours already paid as the day's overtime do not count again for the week.
        const Seconds withinDay = line->worked - daily;
        const Seconds weekly = pastLimit(weekCount, withinDay, kWeekLimit);
        weekCount += withinDay;
        line->overtime = daily + weekly;
    }
}

Seconds nightWorked(const DayLine &line, Seconds worked)
{
    const auto span = spanMinutes(line.start, line.end);
    if (!span)
        return 0;
    const Seconds spanSeconds = Seconds(span->second - span->first) * 60;
    const Seconds night = Seconds(nightMinutes(span->first, span->second)) * 60;
    const Seconds rest = std::max<Seconds>(0, secondsOf(numberOf(line.breakHours).value_or(0)));
    // The break is taken in the hours without premium first.
    const Seconds breakInNight = std::max<Seconds>(0, rest - (spanSeconds - night));
    return std::clamp<Seconds>(night - breakInNight, 0, worked);
}

} // namespace

double roundYen(double yen, Rounding rounding)
{
    if (rounding == Rounding::None || !std::isfinite(yen))
        return yen;
    // Float error below a millionth of a yen is dropped before rounding.
    const double size = std::round(std::abs(yen) * 1e6) / 1e6;
    double whole = size;
    switch (rounding) {
    case Rounding::Down:
        whole = std::floor(size);
        break;
    case Rounding::HalfUp:
        whole = std::floor(size + 0.5);
        break;
    case Rounding::Up:
        whole = std::ceil(size);
        break;
    case Rounding::None:
        break;
    }
    // + 0.0 turns a rounded -0 into 0.
    return (yen < 0 ? -whole : whole) + 0.0;
}

std::optional<double> nightSpanHours(const QVariant &start, const QVariant &end)
{
    const auto span = spanMinutes(start, end);
    if (!span)
        return std::nullopt;
    return nightMinutes(span->first, span->second) / 60.0;
}

bool breakTooShort(const QVariant &hours, const QVariant &breakHours)
{
    const auto worked = numberOf(hours);
    if (!worked)
        return false;
    // In whole minutes, so that 6 hours computed as 6.0000000001 is still 6.
    const qint64 workedMinutes = std::llround(*worked * 60);
    const qint64 breakMinutes = std::llround(numberOf(breakHours).value_or(0) * 60);
    return (workedMinutes > 6 * 60 && breakMinutes < 45) || (workedMinutes > 8 * 60 && breakMinutes < 60);
}

QList<LinePay> payOfLines(const QList<DayLine> &lines, const Rules &rules)
{
    QList<LinePay> pay(lines.size());
    QList<Counted> counted;
    for (int i = 0; i < lines.size(); ++i) {
        const DayLine &line = lines.at(i);
        const auto hours = numberOf(line.hours);
        if (!hours)
            continue;
        Counted c;
        c.index = i;
        // A line stored with negative hours works none.
        c.worked = std::max<Seconds>(0, secondsOf(*hours));
        if (!worktime::isEmptyValue(line.date))
            c.date = worktime::dateOfEntry(line.date.toString());
        const auto span = spanMinutes(line.start, line.end);
        c.startMinute = span ? span->first : kMinutesPerDay * 2;
        counted << c;
    }
    if (rules.overtime)
        countOvertime(counted, lines, rules.weekStart);

    for (const Counted &c : counted) {
        const DayLine &line = lines.at(c.index);
        LinePay &linePay = pay[c.index];
        const Seconds night = rules.night ? nightWorked(line, c.worked) : 0;
        if (rules.night)
            linePay.night = hoursOf(night);
        if (rules.overtime)
            linePay.overtime = hoursOf(c.overtime);
        const auto wage = numberOf(line.wage);
        double premium = 0;
        if (rules.premiumsOn() && wage) {
            const double rated = double(night) * (rules.night ? rules.nightRate : 0)
                + double(c.overtime) * (rules.overtime ? rules.overtimeRate : 0);
            premium = roundYen(*wage * rated / (kHour * 100), rules.rounding);
            linePay.premium = premium;
        }
        if (const auto amount = worktime::amountOf(line.hours, line.wage, line.adjustment)) {
            // Without a premium the amount is exactly the plain rule's.
            const double withPremium = rules.premiumsOn() ? *amount + premium : *amount;
            linePay.amount = roundYen(withPremium, rules.rounding);
        }
    }
    return pay;
}

} // namespace pelmar::premium
