#include "masters/PatternStore.h"

#include "store/Database.h"
#include "store/Tables.h"

#include <QSqlQuery>

namespace pelmar::patterns {

namespace {
const QString kInMasterOrder = QStringLiteral("order by \"No\"");
} // namespace

bool resetPage(const QSqlDatabase &work)
{
    return resetNumberedRows(work, tables::w勤務形態, kPageRows, {QStringLiteral("タイプ")},
                             [](int row) { return QVariantList{QString(QChar(u'A' + row - 1))}; });
}

bool readMaster(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QSqlQuery master(main);
    if (!master.exec(selectSql(tables::勤務形態マスタ, columns::pattern, kInMasterOrder)))
        return false;
    return copyOverPageRows(master, work, tables::w勤務形態, columns::pattern);
}

bool registerPage(const QSqlDatabase &main, const QSqlDatabase &work)
{
    // The page and the master have the same columns, the row number included.
    const QStringList &columns = tables::勤務形態マスタ.columns;
    QSqlQuery page(work);
    if (!page.exec(selectSql(tables::w勤務形態, columns, kInMasterOrder)))
        return false;
    Transaction transaction(main);
    if (!transaction.started() || !execBound(main, QStringLiteral("delete from 勤務形態マスタ")))
        return false;
    while (page.next()) {
        QVariantList values;
        for (qsizetype i = 0; i < columns.size(); ++i)
            values << page.value(int(i));
        if (!insertRow(main, tables::勤務形態マスタ, columns, values))
            return false;
    }
    return transaction.commit();
}

std::optional<PatternTimes> find(const QSqlDatabase &main, const QString &type)
{
    QSqlQuery query(main);
    query.prepare(selectSql(tables::勤務形態マスタ, columns::patternTimes,
                            QStringLiteral("where タイプ = ? order by rowid limit 1")));
    query.addBindValue(type);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return PatternTimes{query.value(0), query.value(1), query.value(2), query.value(3)};
}

QStringList offeredTypes(const QSqlDatabase &main)
{
    QStringList types;
    QSqlQuery query(main);
    if (!query.exec(
            selectSql(tables::勤務形態マスタ, {QStringLiteral("タイプ"), QStringLiteral("開始時間")}, kInMasterOrder)))
        return types;
    while (query.next())
        if (!query.value(1).isNull())
            types << query.value(0).toString();
    return types;
}

bool copyToReference(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QSqlQuery source(main);
    if (!source.exec(selectSql(tables::勤務形態マスタ, columns::pattern, kInMasterOrder)))
        return false;
    // One transaction: a failure leaves the previous copy in place.
    Transaction transaction(work);
    if (!execBound(work, QStringLiteral("delete from w勤務形態参照")))
        return false;
    QSqlQuery target(work);
    if (!target.prepare(insertSql(tables::w勤務形態参照, columns::pattern)))
        return false;
    while (source.next()) {
        for (qsizetype i = 0; i < columns::pattern.size(); ++i)
            target.bindValue(int(i), source.value(int(i)));
        if (!target.exec())
            return false;
    }
    return transaction.commit();
}

} // namespace pelmar::patterns
