#include "store/PageRows.h"

#include "store/Database.h"
#include "store/Query.h"

#include <optional>

namespace pelmar {

namespace {

bool isNumber(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// Two values are the same when both are null, or both are numbers of the
// same value (a whole number read back from a real column is still 8), or
// both are of one kind and equal. Text is never the same as a number, not
// even "0900" as 900: Qt's own comparison would convert one to the other.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (isNumber(a) && isNumber(b))
        return a == b;
    return a.metaType() == b.metaType() && a == b;
}

// True when the table holds exactly the rows, in order; nothing when it
// cannot be read. Reading stops at the first difference, and never reads
// past one row more than wanted, however long the table is.
std::optional<bool> holds(const QSqlDatabase &work, const PageRows &page)
{
    const Table &table = *page.table;
    const QString order = table.key.isEmpty() ? QStringLiteral("rowid") : columnList({table.key});
    Query stored(work);
    if (!stored.run(selectSql(table, table.columns, QStringLiteral("order by %1 limit ?").arg(order)),
                    {page.rows.size() + 1}))
        return std::nullopt;
    for (const QVariantList &wanted : page.rows) {
        if (!stored.next())
            return stored.failed() ? std::nullopt : std::optional(false);
        for (qsizetype i = 0; i < wanted.size(); ++i)
            if (!sameValue(stored.value(int(i)), wanted.at(i)))
                return false;
    }
    if (stored.next())
        return false;
    return stored.failed() ? std::nullopt : std::optional(true);
}

} // namespace

PageRows numberedRows(const Table &table, int count, const std::function<QVariantList(int number)> &row)
{
    PageRows page{&table, {}};
    page.rows.reserve(count);
    for (int number = 1; number <= count; ++number)
        page.rows << row(number);
    return page;
}

QVariantList blankRow(const Table &table, int number)
{
    QVariantList row(table.columns.size());
    row[0] = number;
    return row;
}

bool holdRows(const QSqlDatabase &work, const PageRows &page)
{
    const Table &table = *page.table;
    for (const QVariantList &row : page.rows)
        if (row.size() != table.columns.size())
            return false;
    if (holds(work, page).value_or(false))
        return true;
    Transaction transaction(work);
    if (!transaction.started() || !execBound(work, QStringLiteral("delete from ") + columnList({table.name})))
        return false;
    Query insert(work);
    if (!insert.prepare(insertSql(table, table.columns)))
        return false;
    for (const QVariantList &row : page.rows)
        if (!insert.runPrepared(row))
            return false;
    return transaction.commit();
}

} // namespace pelmar
