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
    const QVariantList rows = pageRowNumbers(work, QStringLiteral("w勤務形態"));
    Transaction transaction(work);
    for (const QVariant &row : rows) {
        if (!master.next())
            break;
        if (!execBound(work,
                       QStringLiteral("update w勤務形態 set タイプ = ?, 開始時間 = ?, 終了時間 = ?,"
                                      " 休憩時間 = ?, 実労時間 = ? where \"No\" = ?"),
                       {master.value(0), master.value(1), master.value(2), master.value(3), master.value(4),
                        row}))
            return false;
    }
    return transaction.commit();
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
