#pragma once

#include "calc/SocialInsurance.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// Each employee's 健康保険 and 厚生年金 as kept: whether insured, the dates
// of 資格取得 and 喪失, the birth date, who they are for the day counts, and
// the 標準報酬月額 through time (従業員社会保険 and 標準報酬月額). Like the
// payroll details, the rows follow their employee: renamed with them and
// deleted with them.
namespace pelmar::employees {

// Why a 標準報酬月額 was set.
enum class Decision {
    Acquisition, // 資格取得時決定
    Regular, // 定時決定
    Occasional, // 随時改定
};
QString decisionName(Decision decision);
std::optional<Decision> decisionFromName(const QString &name);

// 勤務区分: "一般", "パート", "短時間労働者".
QString workerName(pay::Worker worker);
std::optional<pay::Worker> workerFromName(const QString &name);

// One 標準報酬月額, from the month it applies until the next one.
struct StandardRemuneration {
    pay::YearMonth from;
    pay::Yen health = 0;
    pay::Yen pension = 0;
    Decision decision = Decision::Acquisition;

    bool operator==(const StandardRemuneration &) const = default;
};

struct EmployeeInsurance {
    QString name;
    bool healthInsured = false; // 健康保険 加入
    bool pensionInsured = false; // 厚生年金 加入
    pay::Coverage coverage; // 資格取得日, 資格喪失日 (the day after leaving)
    QDate birth; // 生年月日
    pay::Worker worker = pay::Worker::Regular;
    QList<StandardRemuneration> history; // oldest first, one a month at most
};

// The 標準報酬月額 in force in a month: the latest from that month or
// before; nullptr before the first.
const StandardRemuneration *standardFor(const QList<StandardRemuneration> &history, pay::YearMonth month);

// Whether the figures can be stored: a name; an insured person has a
// 資格取得日 and a birth date; a 喪失日 after the 取得日; the history in
// order of month with no month twice and every amount above 0.
bool isValid(const EmployeeInsurance &insurance);

// Nothing when the read failed; the inner nothing: nothing kept for the name.
std::optional<std::optional<EmployeeInsurance>> readEmployeeInsurance(const QSqlDatabase &main, const QString &name);
// Replaces the employee's row and history in one transaction of its own.
// False, with nothing changed, when the figures are not valid or the
// database refuses.
bool writeEmployeeInsurance(const QSqlDatabase &main, const EmployeeInsurance &insurance);

// Follows the employee page's registration inside the caller's
// transaction, as the payroll details do: renames carried over, rows of
// names no longer in the master removed.
bool followMasterInsurance(const QSqlDatabase &main, const QList<std::pair<QString, QString>> &renames);

} // namespace pelmar::employees
