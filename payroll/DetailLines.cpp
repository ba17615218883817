#include "payroll/DetailLines.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "store/Database.h"
#include "store/PageRows.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::statements {

PageRows linesOnPage(const QList<QVariantList> &lines)
{
    return numberedRows(tables::w明細, kStatementLines, [&lines](int number) {
        return number <= lines.size() ? QVariantList{number} + lines.at(number - 1) : blankRow(tables::w明細, number);
    });
}

bool resetLines(const QSqlDatabase &work)
{
    return holdRows(work, linesOnPage({}));
}

std::optional<Totals> sumLines(const QSqlDatabase &work)
{
    Query query(work);
    // total() is sum() that gives 0.0 rather than null over no values.
    // The premium sums use sum(), which stays null over no values.
    if (!query.run(QStringLiteral("select total(休憩), total(時間), total(調整額), total(金額),"
                                  " sum(深夜), sum(時間外), sum(割増額), sum(休日), sum(時間外60超) from w明細"
                                  " where 日付 is not null and 金額 is not null"))
        || !query.next())
        return std::nullopt;
    return Totals{query.value(0).toDouble(),
                  query.value(1).toDouble(),
                  query.value(2).toDouble(),
                  query.value(3).toDouble(),
                  query.value(4),
                  query.value(5),
                  query.value(6),
                  query.value(7),
                  query.value(8)};
}

bool writeLinePay(const QSqlDatabase &work, const QList<LinePayValues> &lines)
{
    Transaction transaction(work);
    if (!transaction.started())
        return false;
    Query update(work);
    if (!update.prepare(updateSql(tables::w明細, columns::premium + QStringList{QStringLiteral("金額")},
                                  QStringLiteral("where 行番号 = ?"))))
        return false;
    for (const LinePayValues &line : lines)
        if (!update.runPrepared(
                {line.night, line.overtime, line.premium, line.restDay, line.over60, line.amount, line.lineNo}))
            return false;
    return transaction.commit();
}

std::optional<QStringList> shortBreakDates(const QSqlDatabase &work)
{
    Query query(work);
    if (!query.run(QStringLiteral("select 日付, 時間, 休憩 from w明細 where 日付 is not null and 金額 is not null"
                                  " order by 日付, 行番号")))
        return std::nullopt;
    QStringList dates;
    while (query.next()) {
        const QString date = fmt::format(query.value(0), fmt::kDate);
        if (premium::breakTooShort(query.value(1), query.value(2)) && !dates.contains(date))
            dates << date;
    }
    if (query.failed())
        return std::nullopt;
    return dates;
}

std::optional<QList<int>> leftOutLines(const QSqlDatabase &work)
{
    // A cell counts as typed when it holds anything but null or empty text.
    QStringList anyTyped;
    for (const QString &column : columns::line)
        anyTyped << QStringLiteral("coalesce(cast(%1 as text), '') <> ''").arg(columnList({column}));
    Query query(work);
    if (!query.run(QStringLiteral("select 行番号 from w明細 where (日付 is null or 金額 is null) and (%1)"
                                  " order by 行番号")
                       .arg(anyTyped.join(QStringLiteral(" or ")))))
        return std::nullopt;
    QList<int> lines;
    while (query.next())
        lines << query.value(0).toInt();
    if (query.failed())
        return std::nullopt;
    return lines;
}

} // namespace pelmar::statements
