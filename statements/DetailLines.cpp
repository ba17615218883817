#include "statements/DetailLines.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pelmar::detail {

bool resetLines(const QSqlDatabase &work)
{
    Transaction transaction(work);
    if (!execBound(work, QStringLiteral("delete from w明細")))
        return false;
    QSqlQuery insert(work);
    if (!insert.prepare(QStringLiteral("insert into w明細 (行番号) values (?)")))
        return false;
    for (int line = 1; line <= kStatementLines; ++line) {
        insert.bindValue(0, line);
        if (!insert.exec())
            return false;
    }
    return transaction.commit();
}

std::optional<Totals> sumLines(const QSqlDatabase &work)
{
    QSqlQuery query(work);
    // total() is sum() that gives 0.0 rather than null over no values.
    if (!query.exec(QStringLiteral("select total(休憩), total(時間), total(調整額), total(金額) from w明細"
                                   " where 日付 is not null and 金額 is not null"))
        || !query.next())
        return std::nullopt;
    return Totals{query.value(0).toDouble(), query.value(1).toDouble(), query.value(2).toDouble(),
                  query.value(3).toDouble()};
}

std::optional<QList<int>> leftOutLines(const QSqlDatabase &work)
{
    // A cell counts as typed when it holds anything but null or empty text.
    const auto typed = [](const char *column) {
        return QStringLiteral("coalesce(cast(%1 as text), '') <> ''").arg(QString::fromUtf8(column));
    };
    QStringList anyTyped;
    for (const char *column : {"日付", "開始時間", "終了時間", "休憩", "時間", "時給", "調整額", "金額"})
        anyTyped << typed(column);
    QSqlQuery query(work);
    if (!query.exec(QStringLiteral("select 行番号 from w明細 where (日付 is null or 金額 is null) and (%1)"
                                   " order by 行番号")
                        .arg(anyTyped.join(QStringLiteral(" or ")))))
        return std::nullopt;
    QList<int> lines;
    while (query.next())
        lines << query.value(0).toInt();
    return lines;
}

} // namespace pelmar::detail
