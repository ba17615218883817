#pragma once

#include "calc/NetPay.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// Each employee's payroll details, one row of 従業員給与 per name: what the
// pay of a statement is computed with. An employee without a row has nothing
// deducted and is paid exactly as before the details were kept, the 税区分
// unset (not なし: nobody chose it), which the pages then say. A row keeps
// 税区分 as 甲, 乙, 未設定, or empty for なし. The row
// follows its employee: renamed with them on the employee page, deleted with
// them, and emptied by the bulk delete.
namespace pelmar::employees {

struct EmployeePayroll {
    QString name;
    QString sex; // "男", "女" or empty
    pay::PayDetails details; // business kind aside: that is the company's setting
    QDate joined, left; // 入社日, 退職日; invalid when not given
};

// Nothing when the read failed; the inner nothing: the employee has no details.
std::optional<std::optional<EmployeePayroll>> readEmployeePayroll(const QSqlDatabase &main, const QString &name);
// Every employee's details, by name.
std::optional<QList<EmployeePayroll>> employeePayrolls(const QSqlDatabase &main);

// Replaces the employee's details, in one transaction of its own. False, with nothing changed, when a figure is out of
// range (a negative amount or count) or the database refuses.
bool writeEmployeePayroll(const QSqlDatabase &main, const EmployeePayroll &payroll);
bool removeEmployeePayroll(const QSqlDatabase &main, const QString &name);

// The details follow the employee page's registration: `renames` (old name,
// new name) carries each renamed row over, and then every row whose name is
// no longer in the master goes; the social insurance rows and the year-end
// 申告書 follow the same way. Runs inside the caller's transaction.
bool followMaster(const QSqlDatabase &main, const QList<std::pair<QString, QString>> &renames);

// Whether the figures can be stored: no negative amount, count or limit, and
// a leaving date not before the joining date.
bool isValid(const EmployeePayroll &payroll);

} // namespace pelmar::employees
