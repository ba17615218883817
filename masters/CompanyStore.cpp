#include "masters/CompanyStore.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::company {

namespace {

// SQLite numbers the rows it adds from 1.
constexpr qlonglong kNoRow = 0;

// The rowid of the company's row, kNoRow while there is none; nothing when
// the table cannot be read (and a second row must not be added then).
std::optional<qlonglong> firstRow(const QSqlDatabase &main)
{
    Query query(main);
    if (!query.run(QStringLiteral("select rowid from 自社情報 order by rowid limit 1")))
        return std::nullopt;
    if (!query.next())
        return query.failed() ? std::nullopt : std::optional(kNoRow);
    return query.value(0).toLongLong();
}

} // namespace

std::optional<Settings> read(const QSqlDatabase &main)
{
    Query query(main);
    if (!query.run(selectSql(tables::自社情報, tables::自社情報.columns, QStringLiteral("order by rowid limit 1")))
        || !query.next())
        return std::nullopt;
    return Settings{query.value(0), query.value(1)};
}

bool store(const QSqlDatabase &main, const QString &name, const QString &info)
{
    // Empty boxes store empty text, not null.
    const QString storedName = name.isNull() ? QStringLiteral("") : name;
    const QString storedInfo = info.isNull() ? QStringLiteral("") : info;
    const QStringList &columns = tables::自社情報.columns;
    const std::optional<qlonglong> row = firstRow(main);
    if (!row)
        return false;
    if (*row != kNoRow)
        return execBound(main, updateSql(tables::自社情報, columns, QStringLiteral("where rowid = ?")),
                         {storedName, storedInfo, *row});
    return insertRow(main, tables::自社情報, columns, {storedName, storedInfo});
}

bool blank(const QSqlDatabase &main)
{
    const std::optional<qlonglong> row = firstRow(main);
    if (!row)
        return false;
    if (*row != kNoRow)
        return execBound(main, updateSql(tables::自社情報, tables::自社情報.columns, QStringLiteral("where rowid = ?")),
                         {QVariant(), QVariant(), *row});
    return true;
}

} // namespace pelmar::company
