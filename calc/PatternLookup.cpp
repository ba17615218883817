#include "calc/PatternLookup.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pelmar::patterns {

PatternTimes find(const QSqlDatabase &main, const QString &type)
{
    PatternTimes times;
    QSqlQuery query(main);
    query.prepare(QStringLiteral("select 開始時間, 終了時間, 休憩時間, 実労時間 from 勤務形態マスタ"
                                 " where タイプ = ? order by rowid limit 1"));
    query.addBindValue(type);
    if (!query.exec() || !query.next())
        return times;
    times.found = true;
    times.start = query.value(0);
    times.end = query.value(1);
    times.breakHours = query.value(2);
    times.worked = query.value(3);
    return times;
}

QStringList offeredTypes(const QSqlDatabase &main)
{
    QStringList types;
    QSqlQuery query(main);
    if (!query.exec(QStringLiteral("select タイプ, 開始時間 from 勤務形態マスタ order by \"No\"")))
        return types;
    while (query.next())
        if (!query.value(1).isNull())
            types << query.value(0).toString();
    return types;
}

bool copyToReference(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QSqlQuery source(main);
    if (!source.exec(QStringLiteral("select タイプ, 開始時間, 終了時間, 休憩時間, 実労時間"
                                    " from 勤務形態マスタ order by \"No\"")))
        return false;
    // One transaction: a failure leaves the previous copy in place.
    Transaction transaction(work);
    if (!execBound(work, QStringLiteral("delete from w勤務形態参照")))
        return false;
    QSqlQuery target(work);
    if (!target.prepare(QStringLiteral("insert into w勤務形態参照"
                                       " (タイプ, 開始時間, 終了時間, 休憩時間, 実労時間) values (?, ?, ?, ?, ?)")))
        return false;
    while (source.next()) {
        for (int i = 0; i < 5; ++i)
            target.bindValue(i, source.value(i));
        if (!target.exec())
            return false;
    }
    return transaction.commit();
}

} // namespace pelmar::patterns
