#include "masters/PatternStore.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pelmar::patternpage {

bool resetPage(const QSqlDatabase &work)
{
    Transaction transaction(work);
    if (!execBound(work, QStringLiteral("delete from w勤務形態")))
        return false;
    for (int n = 1; n <= kPageRows; ++n) {
        if (!execBound(work, QStringLiteral("insert into w勤務形態 (\"No\", タイプ) values (?, ?)"),
                       {n, QString(QChar(64 + n))}))
            return false;
    }
    return transaction.commit();
}

bool readMaster(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QSqlQuery master(main);
    if (!master.exec(QStringLiteral("select タイプ, 開始時間, 終了時間, 休憩時間, 実労時間"
                                    " from 勤務形態マスタ order by \"No\"")))
        return false;
    return copyOverPageRows(master, work, QStringLiteral("w勤務形態"), QStringLiteral("No"),
                            {QStringLiteral("タイプ"), QStringLiteral("開始時間"), QStringLiteral("終了時間"),
                             QStringLiteral("休憩時間"), QStringLiteral("実労時間")});
}

bool registerPage(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QSqlQuery page(work);
    if (!page.exec(QStringLiteral("select \"No\", タイプ, 開始時間, 終了時間, 休憩時間, 実労時間"
                                  " from w勤務形態 order by \"No\"")))
        return false;
    Transaction transaction(main);
    if (!transaction.started() || !execBound(main, QStringLiteral("delete from 勤務形態マスタ")))
        return false;
    while (page.next()) {
        if (!execBound(main, QStringLiteral("insert into 勤務形態マスタ values (?, ?, ?, ?, ?, ?)"),
                       {page.value(0), page.value(1), page.value(2), page.value(3), page.value(4),
                        page.value(5)}))
            return false;
    }
    return transaction.commit();
}

} // namespace pelmar::patternpage
