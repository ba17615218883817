#include "calc/Premium.h"

#include "calc/Formats.h"
#include "calc/WorkTime.h"

#include <QDate>

#include <algorithm>
#include <array>
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
constexpr Seconds k60Hours = 60 * kHour;
constexpr int kMinutesPerDay = 24 * 60;

// A value of a line as stored. One beyond any that can be typed (hours of
// billions of years in a damaged or hand-edited file) counts as no value:
// in seconds it would not fit the arithmetic below.
std::optional<double> numberOf(const QVariant &value)
{
    double number = 0;
    if (worktime::isEmptyValue(value) || !fmt::toNumber(value, &number) || !std::isfinite(number)
        || std::abs(number) > fmt::kMaxTypedMagnitude)
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

int overlap(int from, int until, int windowStart, int windowEnd)
{
    return std::max(0, std::min(until, windowEnd) - std::max(from, windowStart));
}

// The minutes of a span that are night work, rest-day work, and both.
struct SpanParts {
    int night = 0;
    int rest = 0;
    int both = 0;
};

SpanParts spanParts(int from, int until, std::optional<int> restDayStart)
{
    SpanParts parts;
    parts.night = nightMinutes(from, until);
    if (!restDayStart)
        return parts;
    const int restEnd = *restDayStart + kMinutesPerDay;
    parts.rest = overlap(from, until, *restDayStart, restEnd);
    const int restFrom = std::max(from, *restDayStart);
    const int restUntil = std::min(until, restEnd);
    if (restFrom < restUntil)
        parts.both = nightMinutes(restFrom, restUntil);
    return parts;
}

struct Counted {
    int index = 0; // in the statement's lines, or -1 for a line of another statement
    int row = 0;
    Seconds worked = 0; // the line's hours
    Seconds rest = 0; // of them, rest-day hours
    Seconds night = 0;
    std::optional<QDate> date;
    std::optional<QDate> shiftDay; // the day the shift started
    // A line of the rest day that runs past its midnight: its hours that
    // are not rest-day hours belong to the next day.
    bool outOfRestDay = false;
    bool onRestDay = false;
    int startMinute = 0;
    int endMinute = -1; // from the date's midnight; -1 without times
    Seconds overtime = 0;
    Seconds over60 = 0;
};

QDate weekOf(const QDate &date, Qt::DayOfWeek weekStart)
{
    return date.addDays(-((date.dayOfWeek() - int(weekStart) + 7) % 7));
}

bool countedBefore(const Counted *a, const Counted *b)
{
    if (a->date.has_value() != b->date.has_value())
        return a->date.has_value();
    if (a->date != b->date)
        return *a->date < *b->date;
    if (a->startMinute != b->startMinute)
        return a->startMinute < b->startMinute;
    // Another statement's line of the same moment comes first.
    if ((a->index < 0) != (b->index < 0))
        return a->index < 0;
    return a->row < b->row;
}

// A line starting at 0000 right where a line of the day before ended at
// midnight carries on that shift: it counts as the day the shift started.
// `order` is in date order, so a shift split over three days joins up too.
// The rest day is a calendar day of its own: a shift running out of it
// counts its later hours in the next day, whether typed as one line or two.
void joinShiftsAcrossMidnight(const std::vector<Counted *> &order)
{
    for (Counted *line : order) {
        if (!line->date)
            continue;
        line->shiftDay = line->outOfRestDay ? line->date->addDays(1) : *line->date;
        if (line->startMinute != 0)
            continue;
        const QDate before = line->date->addDays(-1);
        for (const Counted *other : order)
            if (other->date == before && other->endMinute == kMinutesPerDay && !other->onRestDay) {
                line->shiftDay = other->shiftDay;
                break;
            }
    }
}

// Daily and weekly overtime of every counted line, and the part of the
// statement's own overtime past 60 hours.
void countOvertime(QList<Counted> &counted, Qt::DayOfWeek weekStart)
{
    std::vector<Counted *> order;
    for (Counted &line : counted)
        order.push_back(&line);
    // Dated lines by day, start and number; lines without a date stand alone.
    std::stable_sort(order.begin(), order.end(), countedBefore);
    joinShiftsAcrossMidnight(order);
    // A shift joined across midnight counts in its first day: the count goes
    // by shift day, lines of one shift day staying in time order.
    std::stable_sort(order.begin(), order.end(), [](const Counted *a, const Counted *b) {
        if (a->shiftDay.has_value() != b->shiftDay.has_value())
            return a->shiftDay.has_value();
        return a->shiftDay && *a->shiftDay < *b->shiftDay;
    });

    Seconds dayCount = 0, weekCount = 0, ownOvertime = 0;
    std::optional<QDate> day, week;
    for (Counted *line : order) {
        // Rest-day hours count towards neither the 8 nor the 40 hours.
        const Seconds counts = std::max<Seconds>(0, line->worked - line->rest);
        if (!line->shiftDay) {
            line->overtime = pastLimit(0, counts, kDayLimit);
        } else {
            if (line->shiftDay != day)
                dayCount = 0;
            day = line->shiftDay;
            const Seconds daily = pastLimit(dayCount, counts, kDayLimit);
            dayCount += counts;

            const QDate lineWeek = weekOf(*line->shiftDay, weekStart);
            if (lineWeek != week)
                weekCount = 0;
            week = lineWeek;
            // Hours already paid as the day's overtime do not count again for the week.
            const Seconds withinDay = counts - daily;
            const Seconds weekly = pastLimit(weekCount, withinDay, kWeekLimit);
            weekCount += withinDay;
            line->overtime = daily + weekly;
        }
        // The 60 hours count within the statement's own lines.
        if (line->index >= 0) {
            line->over60 = pastLimit(ownOvertime, line->overtime, k60Hours);
            ownOvertime += line->overtime;
        }
    }
}

// The line's night and rest-day hours. The break comes out of the hours
// without premium first, then out of the lower premium's hours.
void splitHours(Counted &c, const DayLine &line, const Rules &rules)
{
    // The rest day is a calendar day: the line's own date, or the next day
    // a shift runs into after midnight.
    std::optional<int> restStart;
    if (rules.restDay != 0 && c.date) {
        if (c.date->dayOfWeek() == rules.restDay)
            restStart = 0;
        else if (c.date->addDays(1).dayOfWeek() == rules.restDay)
            restStart = kMinutesPerDay;
    }
    c.onRestDay = restStart == 0;
    const auto span = spanMinutes(line.start, line.end);
    c.outOfRestDay = c.onRestDay && span && span->second > kMinutesPerDay;
    if (!span) {
        // Without times a line on the rest day is all rest-day work; its
        // night hours cannot be known.
        c.rest = restStart == 0 ? c.worked : 0;
        return;
    }
    const SpanParts parts = spanParts(span->first, span->second, restStart);
    Seconds bothPart = Seconds(parts.both) * 60;
    Seconds nightOnly = Seconds(parts.night - parts.both) * 60;
    Seconds restOnly = Seconds(parts.rest - parts.both) * 60;
    const Seconds plain = Seconds(span->second - span->first) * 60 - nightOnly - restOnly - bothPart;
    Seconds rest = std::max<Seconds>(0, secondsOf(numberOf(line.breakHours).value_or(0)) - plain);
    std::array<Seconds *, 3> byRate{&nightOnly, &restOnly, &bothPart};
    if (rules.nightRate > rules.restDayRate)
        std::swap(byRate[0], byRate[1]);
    for (Seconds *part : byRate) {
        const Seconds taken = std::min(*part, rest);
        *part -= taken;
        rest -= taken;
    }
    c.night = std::clamp<Seconds>(nightOnly + bothPart, 0, c.worked);
    c.rest = std::clamp<Seconds>(restOnly + bothPart, 0, c.worked);
}

Counted countedLine(int index, const DayLine &line, const Rules &rules)
{
    Counted c;
    c.index = index;
    c.row = line.row;
    // A line stored with negative hours works none.
    c.worked = std::max<Seconds>(0, secondsOf(numberOf(line.hours).value_or(0)));
    if (!worktime::isEmptyValue(line.date))
        c.date = worktime::dateOfEntry(line.date.toString());
    const auto span = spanMinutes(line.start, line.end);
    c.startMinute = span ? span->first : kMinutesPerDay * 2;
    c.endMinute = span ? span->second : -1;
    splitHours(c, line, rules);
    return c;
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

bool belowMinimumWage(const QVariant &wage, const QVariant &date, const Rules &rules)
{
    const auto perHour = numberOf(wage);
    if (!perHour || rules.minimumWage <= 0)
        return false;
    if (rules.minimumWageFrom.isValid()) {
        const auto day = worktime::isEmptyValue(date) ? std::nullopt : worktime::dateOfEntry(date.toString());
        if (!day || *day < rules.minimumWageFrom)
            return false;
    }
    // In hundredths of a yen, so that float noise is not below the minimum.
    return std::llround(*perHour * 100) < std::llround(rules.minimumWage * 100);
}

bool nightUnknown(const QVariant &start, const QVariant &end, const QVariant &hours)
{
    return numberOf(hours).value_or(0) > 0 && !spanMinutes(start, end);
}

QList<LinePay> payOfLines(const QList<DayLine> &lines, const Rules &rules, const QList<DayLine> &earlier)
{
    QList<LinePay> pay(lines.size());
    QList<Counted> counted;
    for (int i = 0; i < lines.size(); ++i)
        if (numberOf(lines.at(i).hours))
            counted << countedLine(i, lines.at(i), rules);
    for (const DayLine &line : earlier)
        if (numberOf(line.hours) && !worktime::isEmptyValue(line.date))
            counted << countedLine(-1, line, rules);
    countOvertime(counted, rules.weekStart);

    for (const Counted &c : std::as_const(counted)) {
        if (c.index < 0)
            continue;
        const DayLine &line = lines.at(c.index);
        LinePay &linePay = pay[c.index];
        linePay.night = hoursOf(c.night);
        linePay.overtime = hoursOf(c.overtime);
        linePay.over60 = hoursOf(c.over60);
        linePay.restDay = hoursOf(c.rest);
        const auto wage = numberOf(line.wage);
        if (!wage)
            continue;
        // Rate × seconds summed before one division: the premium stays exact.
        const double rated = (rules.night ? double(c.night) * rules.nightRate : 0)
            + (rules.overtime ? double(c.overtime - c.over60) * rules.overtimeRate + double(c.over60) * rules.over60Rate
                              : 0)
            + (rules.restDay != 0 ? double(c.rest) * rules.restDayRate : 0);
        const double premium = *wage * rated / (kHour * 100);
        linePay.premium = premium;
        if (const auto amount = worktime::amountOf(line.hours, line.wage, line.adjustment)) {
            // Rounded once, with the premium inside; without one the amount
            // is exactly the plain rule's.
            linePay.amount = roundYen(premium == 0 ? *amount : *amount + premium, rules.rounding);
        }
    }
    return pay;
}

} // namespace pelmar::premium
