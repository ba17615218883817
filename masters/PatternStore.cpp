#include "masters/PatternStore.h"

#include "store/Database.h"
#include "store/PageRows.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::patterns {

namespace {

const QString kInMasterOrder = QStringLiteral("order by \"No\"");

// The master's rows in its order, with the columns of the page; nothing
// when it cannot be read.
std::optional<QList<QVariantList>> masterRows(const QSqlDatabase &main)
{
    Query master(main);
    if (!master.run(selectSql(tables::勤務形態マスタ, columns::pattern, kInMasterOrder)))
        return std::nullopt;
    QList<QVariantList> rows;
    while (master.next())
        rows << master.values(columns::pattern.size());
    if (master.failed())
        return std::nullopt;
    return rows;
}

// Rows 1..10 named "A".."J" with no times, the master's first ten rows over
// them from the top.
PageRows pageRows(const QList<QVariantList> &master)
{
    return numberedRows(tables::w勤務形態, kPageRows, [&master](int number) {
        if (number <= master.size())
            return QVariantList{number} + master.at(number - 1);
        QVariantList row = blankRow(tables::w勤務形態, number);
        row[1] = QString(QChar(u'A' + number - 1));
        return row;
    });
}

} // namespace

bool resetPage(const QSqlDatabase &work)
{
    return holdRows(work, pageRows({}));
}

bool readMaster(const QSqlDatabase &main, const QSqlDatabase &work)
{
    const std::optional<QList<QVariantList>> master = masterRows(main);
    return master && holdRows(work, pageRows(*master));
}

bool registerPage(const QSqlDatabase &main, const QSqlDatabase &work)
{
    // The page and the master have the same columns, the row number included.
    const QStringList &columns = tables::勤務形態マスタ.columns;
    Query page(work);
    if (!page.run(selectSql(tables::w勤務形態, columns, kInMasterOrder)))
        return false;
    Transaction transaction(main);
    if (!transaction.started() || !execBound(main, QStringLiteral("delete from 勤務形態マスタ")))
        return false;
    while (page.next())
        if (!insertRow(main, tables::勤務形態マスタ, columns, page.values(columns.size())))
            return false;
    // A page that stopped reading half-way must not replace the master.
    return !page.failed() && transaction.commit();
}

std::optional<PatternTimes> find(const QSqlDatabase &main, const QString &type)
{
    Query query(main);
    if (!query.run(selectSql(tables::勤務形態マスタ, columns::patternTimes,
                             QStringLiteral("where タイプ = ? order by rowid limit 1")),
                   {type})
        || !query.next())
        return std::nullopt;
    return PatternTimes{query.value(0), query.value(1), query.value(2), query.value(3)};
}

QStringList offeredTypes(const QSqlDatabase &main)
{
    QStringList types;
    Query query(main);
    if (!query.run(
            selectSql(tables::勤務形態マスタ, {QStringLiteral("タイプ"), QStringLiteral("開始時間")}, kInMasterOrder)))
        return types;
    while (query.next())
        if (!query.value(1).isNull())
            types << query.value(0).toString();
    return types;
}

bool copyToReference(const QSqlDatabase &main, const QSqlDatabase &work)
{
    // One transaction: a failure leaves the previous copy in place.
    const std::optional<QList<QVariantList>> master = masterRows(main);
    return master && holdRows(work, {&tables::w勤務形態参照, *master});
}

} // namespace pelmar::patterns
