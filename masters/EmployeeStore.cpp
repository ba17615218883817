#include "masters/EmployeeStore.h"

#include <QSqlQuery>

namespace pelmar::employees {

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

} // namespace pelmar::employees
