#include "masters/EmployeeStore.h"

#include "store/Database.h"

#include <QSet>
#include <QSqlQuery>

namespace pelmar::employees {

namespace {

const QString kFields = QStringLiteral("氏名, 時給, 勤務形態, 開始時間, 終了時間, 休憩時間, 実労時間");

int masterCount(const QSqlDatabase &main)
{
    QSqlQuery query(main);
    if (!query.exec(QStringLiteral("select count(*) from 従業員")) || !query.next())
        return 0;
    return query.value(0).toInt();
}

} // namespace

QStringList names(const QSqlDatabase &main)
{
    QStringList result;
    QSqlQuery query(main);
    if (!query.exec(QStringLiteral("select 氏名 from 従業員 order by 氏名")))
        return result;
    while (query.next())
        if (!query.value(0).isNull())
            result << query.value(0).toString();
    return result;
}

WageAndPattern find(const QSqlDatabase &main, const QString &name)
{
    WageAndPattern employee;
    QSqlQuery query(main);
    query.prepare(QStringLiteral("select 時給, 勤務形態 from 従業員 where 氏名 = ? order by rowid limit 1"));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return employee;
    employee.found = true;
    employee.wage = query.value(0);
    employee.patternType = query.value(1);
    return employee;
}

bool resetPage(const QSqlDatabase &work, int rows)
{
    Transaction transaction(work);
    if (!execBound(work, QStringLiteral("delete from w従業員")))
        return false;
    QSqlQuery insert(work);
    if (!insert.prepare(QStringLiteral("insert into w従業員 (\"No\") values (?)")))
        return false;
    for (int n = 1; n <= rows; ++n) {
        insert.bindValue(0, n);
        if (!insert.exec())
            return false;
    }
    return transaction.commit();
}

bool readMaster(const QSqlDatabase &main, const QSqlDatabase &work)
{
    const int employees = masterCount(main);
    if (employees + kBlankRowsBelow > kPageRows && !resetPage(work, employees + kBlankRowsBelow))
        return false;
    QSqlQuery master(main);
    if (!master.exec(QStringLiteral("select %1 from 従業員 order by \"No\"").arg(kFields)))
        return false;
    return copyOverPageRows(master, work, QStringLiteral("w従業員"), QStringLiteral("No"),
                            kFields.split(QStringLiteral(", ")));
}

bool registerPage(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QSqlQuery page(work);
    if (!page.exec(QStringLiteral("select %1 from w従業員 order by \"No\"").arg(kFields)))
        return false;
    Transaction transaction(main);
    if (!transaction.started() || !execBound(main, QStringLiteral("delete from 従業員")))
        return false;
    int number = 1;
    while (page.next()) {
        if (page.value(0).isNull())
            continue; // blank rows do not reach the master
        QVariantList values{number};
        for (int i = 0; i < 7; ++i)
            values << page.value(i);
        if (!execBound(main, QStringLiteral("insert into 従業員 (\"No\", %1) values (?, ?, ?, ?, ?, ?, ?, ?)")
                                 .arg(kFields),
                       values))
            return false;
        ++number;
    }
    return transaction.commit();
}

std::optional<int> namesLeavingMaster(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QSqlQuery page(work);
    if (!page.exec(QStringLiteral("select 氏名 from w従業員 where 氏名 is not null")))
        return std::nullopt;
    QSet<QString> onPage;
    while (page.next())
        onPage.insert(page.value(0).toString());
    QSqlQuery master(main);
    if (!master.exec(QStringLiteral("select 氏名 from 従業員")))
        return std::nullopt;
    int leaving = 0;
    while (master.next())
        if (master.value(0).isNull() || !onPage.contains(master.value(0).toString()))
            ++leaving;
    return leaving;
}

bool deleteTicked(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QStringList ticked;
    QSqlQuery query(work);
    if (!query.exec(QStringLiteral("select 氏名 from w従業員 where チェック = -1")))
        return false;
    while (query.next())
        if (!query.value(0).isNull())
            ticked << query.value(0).toString();
    {
        Transaction transaction(main);
        for (const QString &name : std::as_const(ticked))
            if (!execBound(main, QStringLiteral("delete from 従業員 where 氏名 = ?"), {name}))
                return false;
        if (!ticked.isEmpty() && !transaction.commit())
            return false;
    }
    return execBound(work, QStringLiteral("delete from w従業員 where チェック = -1"));
}

bool recordForStatement(const QSqlDatabase &main, const QString &name, const QVariant &wage,
                        const QString &patternType, const patterns::PatternTimes &times)
{
    QSqlQuery existing(main);
    existing.prepare(QStringLiteral("select rowid from 従業員 where 氏名 = ? order by rowid limit 1"));
    existing.addBindValue(name);
    if (!existing.exec())
        return false;
    const QVariantList values{name, wage, patternType, times.start, times.end, times.breakHours, times.worked};
    if (existing.next()) {
        return execBound(main,
                         QStringLiteral("update 従業員 set 氏名 = ?, 時給 = ?, 勤務形態 = ?, 開始時間 = ?,"
                                        " 終了時間 = ?, 休憩時間 = ?, 実労時間 = ? where rowid = ?"),
                         values + QVariantList{existing.value(0)});
    }
    QSqlQuery last(main);
    if (!last.exec(QStringLiteral("select \"No\" from 従業員 order by \"No\" desc limit 1")))
        return false;
    const int number = last.next() && !last.value(0).isNull() ? last.value(0).toInt() + 1 : 1;
    return execBound(main, QStringLiteral("insert into 従業員 (\"No\", %1) values (?, ?, ?, ?, ?, ?, ?, ?)")
                               .arg(kFields),
                     QVariantList{number} + values);
}

} // namespace pelmar::employees
