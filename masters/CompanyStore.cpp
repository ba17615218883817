#include "masters/CompanyStore.h"

#include "store/Database.h"
#include "store/Failure.h"
#include "store/Tables.h"

#include <QSqlError>
#include <QSqlQuery>

namespace pelmar::company {

namespace {

std::optional<qlonglong> firstRow(const QSqlDatabase &main)
{
    QSqlQuery query(main);
    if (!query.exec(QStringLiteral("select rowid from 自社情報 order by rowid limit 1")) || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

} // namespace

std::optional<Settings> read(const QSqlDatabase &main)
{
    QSqlQuery query(main);
    if (!query.exec(selectSql(tables::自社情報, tables::自社情報.columns, QStringLiteral("order by rowid limit 1")))
        || !query.next()) {
        if (query.lastError().isValid())
            noteFailure(main, query.lastError());
        return std::nullopt;
    }
    return Settings{query.value(0), query.value(1)};
}

bool store(const QSqlDatabase &main, const QString &name, const QString &info)
{
    // Empty boxes store empty text, not null.
    const QString storedName = name.isNull() ? QStringLiteral("") : name;
    const QString storedInfo = info.isNull() ? QStringLiteral("") : info;
    const QStringList &columns = tables::自社情報.columns;
    if (const auto row = firstRow(main))
        return execBound(main, updateSql(tables::自社情報, columns, QStringLiteral("where rowid = ?")),
                         {storedName, storedInfo, *row});
    return insertRow(main, tables::自社情報, columns, {storedName, storedInfo});
}

bool blank(const QSqlDatabase &main)
{
    if (const auto row = firstRow(main))
        return execBound(main, updateSql(tables::自社情報, tables::自社情報.columns, QStringLiteral("where rowid = ?")),
                         {QVariant(), QVariant(), *row});
    return true;
}

} // namespace pelmar::company
