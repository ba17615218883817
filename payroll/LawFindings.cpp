#include "payroll/LawFindings.h"

#include "calc/Formats.h"
#include "calc/WorkTime.h"
#include "payroll/StatementStore.h"
#include "store/Tables.h"

#include <QMap>

namespace pelmar::statements {

namespace {

QString hoursText(double hours)
{
    return fmt::format(hours, fmt::kHours);
}

QString yenText(double yen)
{
    return fmt::format(yen, fmt::kYen);
}

int column(const char16_t *name)
{
    return int(columns::line.indexOf(QString::fromUtf16(name)));
}

// The sums and the dates the findings name, over the lines a save stores.
struct Seen {
    QStringList noTimes, belowMinimum;
    double night = 0, overtime = 0, restDay = 0;
    QMap<int, double> overtimeByYear; // overtime and rest-day hours of each calendar year
};

Seen seenIn(const QList<QVariantList> &lines, const premium::Rules &rules)
{
    static const int date = column(u"日付"), start = column(u"開始時間"), end = column(u"終了時間"),
                     hours = column(u"時間"), wage = column(u"時給"), amount = column(u"金額"),
                     night = column(u"深夜"), overtime = column(u"時間外"), restDay = column(u"休日");
    Seen seen;
    for (const QVariantList &line : lines) {
        if (worktime::isEmptyValue(line.value(date)) || worktime::isEmptyValue(line.value(amount)))
            continue;
        const QString shown = fmt::format(line.value(date), fmt::kDate);
        if (rules.night && premium::nightUnknown(line.value(start), line.value(end), line.value(hours))
            && !seen.noTimes.contains(shown))
            seen.noTimes << shown;
        if (premium::belowMinimumWage(line.value(wage), line.value(date), rules) && !seen.belowMinimum.contains(shown))
            seen.belowMinimum << shown;
        seen.night += line.value(night).toDouble();
        seen.overtime += line.value(overtime).toDouble();
        seen.restDay += line.value(restDay).toDouble();
        if (const auto day = worktime::dateOfEntry(line.value(date).toString()))
            seen.overtimeByYear[day->year()] += line.value(overtime).toDouble() + line.value(restDay).toDouble();
    }
    return seen;
}

} // namespace

QStringList lawFindings(const QSqlDatabase &main, const QString &name, const QString &title,
                        const QList<QVariantList> &lines, const premium::Rules &rules)
{
    const Seen seen = seenIn(lines, rules);
    QStringList findings;
    // Hours are kept whatever the settings; a premium the law asks for may be off.
    QStringList unpaid;
    if (!rules.night && seen.night > 0)
        unpaid << QStringLiteral("深夜 %1 時間").arg(hoursText(seen.night));
    if (!rules.overtime && seen.overtime > 0)
        unpaid << QStringLiteral("時間外 %1 時間").arg(hoursText(seen.overtime));
    if (!unpaid.isEmpty())
        findings << QStringLiteral("・%1 がありますが、その割増が設定されていません（設定・情報のページ）。法律では"
                                   "深夜・時間外は25%以上の割増が必要です。")
                        .arg(unpaid.join(QStringLiteral("、")));
    if (!seen.noTimes.isEmpty())
        findings << QStringLiteral("・開始・終了時間がなく深夜の時間が分からない日: %1")
                        .arg(seen.noTimes.join(QStringLiteral("、")));
    if (!seen.belowMinimum.isEmpty())
        findings << QStringLiteral("・時給が最低賃金（%1円）を下回る日: %2")
                        .arg(yenText(rules.minimumWage), seen.belowMinimum.join(QStringLiteral("、")));
    // The general limits of a 36 agreement: 45 hours a month, 360 a year.
    const double month = seen.overtime + seen.restDay;
    if (month > premium::kMonthOvertimeLimit)
        findings << QStringLiteral("・時間外と休日の労働が %1 時間で、月45時間（36協定の一般的な上限）を超えています。")
                        .arg(hoursText(month));
    for (auto year = seen.overtimeByYear.cbegin(); year != seen.overtimeByYear.cend(); ++year) {
        const QString yyyy = QStringLiteral("%1").arg(year.key(), 4, 10, QLatin1Char('0'));
        const auto stored =
            storedOvertime(main, name, title, yyyy + QStringLiteral("0101"), yyyy + QStringLiteral("1231"));
        const double total = stored.value_or(0) + year.value();
        if (total > premium::kYearOvertimeLimit)
            findings << QStringLiteral("・%1年の時間外と休日の労働が %2 時間で、年360時間（36協定の一般的な上限）を"
                                       "超えています。")
                            .arg(year.key())
                            .arg(hoursText(total));
    }
    return findings;
}

} // namespace pelmar::statements
