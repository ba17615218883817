#include "masters/NamedValues.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::settings {

bool writeSettings(const QSqlDatabase &main, const QList<std::pair<QString, QString>> &items)
{
    Transaction transaction(main);
    if (!transaction.started())
        return false;
    const QString upsert = QStringLiteral("insert or replace into %1 (%2) values (?, ?)")
                               .arg(columnList({tables::設定.name}), columnList(tables::設定.columns));
    for (const auto &[item, value] : items)
        if (!execBound(main, upsert, {item, value}))
            return false;
    return transaction.commit();
}

} // namespace pelmar::settings
