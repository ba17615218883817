#include "masters/CompanyStore.h"

#include "store/Database.h"

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
    if (!query.exec(QStringLiteral("select 自社名, 自社情報 from 自社情報 order by rowid limit 1"))
        || !query.next())
        return std::nullopt;
    return Settings{query.value(0), query.value(1)};
}

bool store(const QSqlDatabase &main, const QString &name, const QString &info)
{
    // Empty boxes store empty text, not null.
    const QString storedName = name.isNull() ? QStringLiteral("") : name;
    const QString storedInfo = info.isNull() ? QStringLiteral("") : info;
    if (const auto row = firstRow(main))
        return execBound(main, QStringLiteral("update 自社情報 set 自社名 = ?, 自社情報 = ? where rowid = ?"),
                         {storedName, storedInfo, *row});
    return execBound(main, QStringLiteral("insert into 自社情報 (自社名, 自社情報) values (?, ?)"),
                     {storedName, storedInfo});
}

bool blank(const QSqlDatabase &main)
{
    if (const auto row = firstRow(main))
        return execBound(main, QStringLiteral("update 自社情報 set 自社名 = null, 自社情報 = null where rowid = ?"),
                         {*row});
    return true;
}

} // namespace pelmar::company
