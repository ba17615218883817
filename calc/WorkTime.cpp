#include "calc/WorkTime.h"

#include "calc/Formats.h"

namespace pelmar::worktime {

namespace {

constexpr int kMinutesPerDay = 24 * 60;

// Two characters as a whole number of digits only: "09" -> 9; "9:" or "ab" -> nothing.
std::optional<int> twoDigits(QStringView text)
{
    if (text.size() != 2 || !text.at(0).isDigit() || !text.at(1).isDigit())
        return std::nullopt;
    return text.at(0).digitValue() * 10 + text.at(1).digitValue();
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
    return hour && minute && *hour <= 24 && *minute <= 60;
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

std::optional<double> amountOf(const QVariant &hours, const QVariant &wage, const QVariant &adjustment)
{
    double h = 0, w = 0;
    if (isEmptyValue(hours) || isEmptyValue(wage) || !fmt::toNumber(hours, &h) || !fmt::toNumber(wage, &w))
        return std::nullopt;
    double amount = h * w;
    double extra = 0;
    if (!isEmptyValue(adjustment) && fmt::toNumber(adjustment, &extra))
        amount += extra;
    return amount;
}

std::optional<QDate> dateOfEntry(const QString &entry)
{
    if (entry.size() < 4)
        return std::nullopt;
    bool yearOk = false, monthOk = false, dayOk = false;
    const int year = entry.left(4).toInt(&yearOk);
    const int month = entry.mid(4, 2).toInt(&monthOk);
    const int day = entry.right(2).toInt(&dayOk);
    if (!yearOk || !monthOk || !dayOk || year < 100)
        return std::nullopt;
    const QDate date(year, month, day);
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
