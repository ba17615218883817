#include "calc/PunchForms.h"

#include "calc/Formats.h"
#include "calc/TypedText.h"

#include <QRegularExpression>

namespace pelmar::punch {

namespace {

// The text with full-width digits and signs in ASCII and the blanks around
// it gone. The patterns below match [0-9] in ASCII only.
QString plain(const QString &text)
{
    QString ascii = fmt::asciiDigits(typed::cleaned(text));
    for (QChar &c : ascii) {
        if (c == u'：')
            c = u':';
        else if (c == u'／')
            c = u'/';
    }
    return ascii;
}

int number(const QRegularExpressionMatch &match, int group)
{
    return match.captured(group).toInt();
}

} // namespace

std::optional<QDate> readDate(const QString &text, int yearWhenNone)
{
    static const QRegularExpression weekday(QStringLiteral("\\s*[(（][^()（）]*[)）]$"));
    static const QRegularExpression withYear(
        QStringLiteral("^([0-9]{4})(?:([/.-])([0-9]{1,2})\\2([0-9]{1,2})|年([0-9]{1,2})月([0-9]{1,2})日)$"));
    static const QRegularExpression compact(QStringLiteral("^([0-9]{4})([0-9]{2})([0-9]{2})$"));
    static const QRegularExpression withoutYear(
        QStringLiteral("^(?:([0-9]{1,2})([/.-])([0-9]{1,2})|([0-9]{1,2})月([0-9]{1,2})日)$"));

    QString date = plain(text);
    date.remove(weekday);
    int year = 0, month = 0, day = 0;
    if (const auto m = withYear.match(date); m.hasMatch()) {
        year = number(m, 1);
        const bool inKanji = m.captured(3).isEmpty();
        month = number(m, inKanji ? 5 : 3);
        day = number(m, inKanji ? 6 : 4);
    } else if (const auto m = compact.match(date); m.hasMatch()) {
        year = number(m, 1);
        month = number(m, 2);
        day = number(m, 3);
    } else if (const auto m = withoutYear.match(date); m.hasMatch()) {
        year = yearWhenNone;
        const bool inKanji = m.captured(1).isEmpty();
        month = number(m, inKanji ? 4 : 1);
        day = number(m, inKanji ? 5 : 3);
    } else {
        return std::nullopt;
    }
    // Years before 1000 do not fit the eight-digit dates a statement keeps.
    const QDate result(year, month, day);
    if (year < 1000 || !result.isValid())
        return std::nullopt;
    return result;
}

std::optional<int> readClock(const QString &text)
{
    static const QRegularExpression withColon(QStringLiteral("^([0-9]{1,2}):([0-9]{2})(?::[0-9]{2})?$"));
    static const QRegularExpression digitsOnly(QStringLiteral("^([0-9]{1,2})([0-9]{2})$"));
    const QString clock = plain(text);
    auto m = withColon.match(clock);
    if (!m.hasMatch())
        m = digitsOnly.match(clock);
    if (!m.hasMatch())
        return std::nullopt;
    const int hour = number(m, 1);
    const int minute = number(m, 2);
    if (hour > 47 || minute > 59)
        return std::nullopt;
    return hour * 60 + minute;
}

BreakReading readBreak(const QString &text, BreakUnit unit)
{
    static const QRegularExpression hoursAndMinutes(QStringLiteral("^([0-9]{1,2}):([0-9]{2})(?::00)?$"));
    static const QRegularExpression decimal(QStringLiteral("^[0-9]*\\.[0-9]+$|^[0-9]+\\.$"));
    static const QRegularExpression whole(QStringLiteral("^([0-9]{1,4})\\s*(分|時間|h|H)?$"));

    const QString rest = plain(text);
    if (rest.isEmpty())
        return {BreakReading::Read, 0};
    if (const auto m = hoursAndMinutes.match(rest); m.hasMatch()) {
        if (number(m, 2) > 59)
            return {};
        return {BreakReading::Read, number(m, 1) + number(m, 2) / 60.0};
    }
    QString decimalText = rest;
    const bool markedHours =
        decimalText.endsWith(QStringLiteral("時間")) || decimalText.endsWith(u'h') || decimalText.endsWith(u'H');
    if (markedHours)
        decimalText = decimalText.chopped(decimalText.endsWith(u'間') ? 2 : 1).trimmed();
    if (decimal.match(decimalText).hasMatch()) {
        const double value = decimalText.toDouble();
        return {BreakReading::Read, unit == BreakUnit::Minutes && !markedHours ? value / 60.0 : value};
    }
    const auto m = whole.match(rest);
    if (!m.hasMatch())
        return {};
    const int value = number(m, 1);
    const QString suffix = m.captured(2);
    if (suffix == u"分")
        unit = BreakUnit::Minutes;
    else if (!suffix.isEmpty())
        unit = BreakUnit::Hours;
    if (unit == BreakUnit::Auto) {
        if (value == 0)
            return {BreakReading::Read, 0};
        if (value < 10)
            return {BreakReading::UnitUnknown, 0};
        unit = BreakUnit::Minutes;
    }
    return {BreakReading::Read, unit == BreakUnit::Minutes ? value / 60.0 : double(value)};
}

} // namespace pelmar::punch
