#include "calc/WorkTime.h"

#include "calc/Formats.h"

#include <algorithm>
#include <cmath>

namespace pelmar::worktime {

namespace {

constexpr int kMinutesPerDay = 24 * 60;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Digits 0-9 only, as a whole number: "09" -> 9; "9:", "ab", " 9" or
// another script's digits -> nothing.
std::optional<int> digitsValue(QStringView text)
{
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), isAsciiDigit))
        return std::nullopt;
    int value = 0;
    for (QChar c : text)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

std::optional<int> twoDigits(QStringView text)
{
    if (text.size() != 2)
        return std::nullopt;
    return digitsValue(text);
}

} // namespace

std::optional<int> minutesOf(const QString &hhmm)
{
    if (hhmm.size() != 4)
        return std::nullopt;
    const auto hour = twoDigits(QStringView(hhmm).left(2));
    const auto minute = twoDigits(QStringView(hhmm).right(2));
    if (!hour || !minute)
        return std::nullopt;
    return *hour * 60 + *minute;
}

bool isAcceptedTime(const QString &entry)
{
    if (entry.size() != 4)
        return false;
    const auto hour = twoDigits(QStringView(entry).left(2));
    const auto minute = twoDigits(QStringView(entry).right(2));
    return hour && minute && *minute < 60 && (*hour < 24 || (*hour == 24 && *minute == 0));
}

std::optional<QString> typedTime(const QString &typed)
{
    const QString text = fmt::asciiDigits(typed).trimmed();
    QString hour;
    QString minute;
    const qsizetype colon = text.indexOf(u':');
    if (colon >= 0) {
        hour = text.left(colon);
        minute = text.mid(colon + 1);
        if (minute.size() != 2)
            return std::nullopt;
    } else if (text.size() <= 2) {
        hour = text;
        minute = QStringLiteral("00");
    } else {
        hour = text.left(text.size() - 2);
        minute = text.right(2);
    }
    if (hour.isEmpty() || hour.size() > 2 || !digitsValue(hour) || !digitsValue(minute))
        return std::nullopt;
    const QString hhmm = hour.rightJustified(2, u'0') + minute;
    if (!isAcceptedTime(hhmm))
        return std::nullopt;
    return hhmm;
}

bool isEmptyValue(const QVariant &value)
{
    return !value.isValid() || value.isNull() || value.toString().isEmpty();
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    return a.isNull() == b.isNull() && (a.isNull() || a == b);
}

bool isNumeric(const QVariant &value)
{
    double ignored = 0;
    return fmt::toNumber(value, &ignored);
}

std::optional<double> durationHours(const QVariant &start, const QVariant &end, const QVariant &breakHours)
{
    if (isEmptyValue(start) || isEmptyValue(end))
        return std::nullopt;
    const auto from = minutesOf(start.toString());
    const auto to = minutesOf(end.toString());
    if (!from || !to)
        return std::nullopt;
    int minutes = *to - *from;
    if (minutes < 0)
        minutes += kMinutesPerDay;
    double rest = 0;
    if (!isEmptyValue(breakHours) && !fmt::toNumber(breakHours, &rest))
        rest = 0;
    return minutes / 60.0 - rest;
}

std::optional<double> spanHours(const QVariant &start, const QVariant &end)
{
    return durationHours(start, end, QVariant());
}

bool breakFits(const QVariant &start, const QVariant &end, const QVariant &breakHours)
{
    double rest = 0;
    if (isEmptyValue(breakHours) || !fmt::toNumber(breakHours, &rest))
        return true;
    if (rest < 0)
        return false;
    const auto span = spanHours(start, end);
    return !span || rest == 0 || rest < *span;
}

std::optional<double> amountOf(const QVariant &hours, const QVariant &wage, const QVariant &adjustment)
{
    double h = 0, w = 0;
    if (isEmptyValue(hours) || isEmptyValue(wage) || !fmt::toNumber(hours, &h) || !fmt::toNumber(wage, &w))
        return std::nullopt;
    double amount = h * w;
    double extra = 0;
    if (!isEmptyValue(adjustment) && fmt::toNumber(adjustment, &extra))
        amount += extra;
    // Typed values are bounded; stored ones are not, and their product may
    // overflow. An amount that is no number is no amount.
    if (!std::isfinite(amount))
        return std::nullopt;
    return amount;
}

std::optional<QDate> dateOfEntry(const QString &entry)
{
    if (entry.size() < 4 || !std::all_of(entry.cbegin(), entry.cend(), isAsciiDigit))
        return std::nullopt;
    const auto year = digitsValue(QStringView(entry).left(4));
    const auto month = digitsValue(QStringView(entry).mid(4, 2));
    const auto day = digitsValue(QStringView(entry).right(2));
    if (!year || !month || !day || *year < 100)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString nextDay(const QString &yyyymmdd)
{
    const QDate date = QDate::fromString(yyyymmdd, QStringLiteral("yyyyMMdd"));
    if (!date.isValid())
        return {};
    return date.addDays(1).toString(QStringLiteral("yyyyMMdd"));
}

} // namespace pelmar::worktime
