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
    if (!query.exec(QStringLiteral("select total(休憩), total(時間), total(調整額), total(金額) from w明細"))
        || !query.next())
        return std::nullopt;
    return Totals{query.value(0).toDouble(), query.value(1).toDouble(), query.value(2).toDouble(),
                  query.value(3).toDouble()};
}

} // namespace pelmar::detail
