#pragma once

#include "calc/YearEnd.h"
#include "payroll/StatementPay.h"
#include "reports/ReportLayout.h"
#include "store/Csv.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The 年末調整 of a year from what is stored: each employee's pay of the year
// by 支給日 as it was paid, the 申告書 kept for the year and the 退職日 of the
// payroll details, put through the year's computation (calc/YearEnd). Who
// is in and who is not is decided here, each one left out with the reason,
// and the worksheet (the 源泉徴収簿's 年末調整 part) is laid out as a table
// with every step and figure and where it comes from.
namespace pelmar::reports {

// Whether the employee's year is settled by 年末調整, and if not, why.
enum class YearEndStanding {
    In,
    NoFigures, // no 年末調整 figures for the year are shipped
    NotKou, // not 甲欄 at the year's last pay (乙欄, or no tax withheld)
    Left, // left during the year, not among the leavers the law settles
    PayOverLimit, // 給与 over 2,000万円
    TaxableOverTable, // 課税給与所得金額 beyond the 速算表
};

struct YearEndEmployee {
    QString name;
    int year = 0;
    YearEndStanding standing = YearEndStanding::In;
    QString reason; // why not, in the owner's words; empty when in
    QList<statements::StatementPay> pays; // the year's, by 支給日
    pay::TaxColumn lastColumn = pay::TaxColumn::None; // 税区分 of the year's last pay
    QDate left; // 退職日, invalid when none
    bool declaredKept = false; // false: no 申告書 kept for the year, all boxes taken as empty
    yearend::Declarations declared;
    yearend::YearPay yearPay; // this employer's pay, insurance and tax of the year
    yearend::YearEndResult result;
    // What makes the figures doubtful: pays with no kept pay or no 所得税 figure.
    QStringList warnings;
    // The pay the year is settled on by default: the employee's last of the year.
    QString settleTitle;
    QDate settleDate;
};

// One employee's year; nothing when a read failed.
std::optional<YearEndEmployee> yearEndOf(const QSqlDatabase &main, const QString &name, int year);
// Every employee paid in the year, by name.
std::optional<QList<YearEndEmployee>> yearEndOfYear(const QSqlDatabase &main, int year);

// The decision alone, from what it rests on: the figures of the year (or
// none), the 税区分 of the year's last pay, the 退職日, whether a pay was
// dated in December of the year, and the computation.
YearEndStanding standingOf(const yearend::YearEndTable *table, pay::TaxColumn lastColumn, const QDate &left, int year,
                           bool paidInDecember, const yearend::YearEndResult &result);
QString standingText(YearEndStanding standing, const yearend::YearEndTable *table);

// The worksheet: every step, its figure and the paper it comes from.
Table yearEndWorksheet(const YearEndEmployee &employee, const QString &companyName, const QDate &printed);
QList<csv::Record> yearEndWorksheetRecords(const YearEndEmployee &employee);
// Everyone of the year: in or out with the reason, and the outcome of those in.
Table yearEndListTable(const QList<YearEndEmployee> &employees, int year, const QString &companyName,
                       const QDate &printed);
QList<csv::Record> yearEndListRecords(const QList<YearEndEmployee> &employees);

} // namespace pelmar::reports
