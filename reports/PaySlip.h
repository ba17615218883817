#pragma once

#include "reports/MonthReports.h"
#include "reports/PayslipLayout.h"
#include "reports/ReportLayout.h"
#include "payroll/StatementPay.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The slip an employee is handed: the top band of the printed statement as
// it always was (title, name, company, wage, hours, amounts), dated by the
// pay date, and under it three blocks, 勤怠, 支給 and 控除, with 差引支給額
// in a box of its own. Laid out here, drawn by the slip's painter.
namespace pelmar::payslip {

// What the 勤怠 block shows.
struct Attendance {
    int days = 0; // 出勤日数: days with a line
    double hours = 0;
    double overtime = 0;
    double night = 0;
    double holiday = 0; // hours on the legal rest day
};

// The whole slip. A statement saved before its pay was kept (pay.kept
// false) prints what is known: its hours, 調整額 and 総支給額, dated the day
// it is printed, with a line saying the deductions were not recorded.
QList<PayslipItem> handoutSlip(const PrintValues &values, const PremiumPrintValues &premiums,
                               const Attendance &attendance, const statements::StatementPay &pay,
                               const QString &companyName, const QString &companyInfo, const QDate &printed);

// The days worked on the statement page (w明細): the dates of the lines a
// save keeps, each once. Nothing when the table cannot be read.
std::optional<int> daysOnPage(const QSqlDatabase &work);

// The 明細書式 setting: how many slips go on one A4 page.
enum class SlipsPerPage { One = 1, Two = 2 };
// The stored setting, One when none is stored; nothing when it cannot be read.
std::optional<SlipsPerPage> slipsPerPage(const QSqlDatabase &main);

// A single slip on its page: alone, or on the top half above the cut line.
QList<PayslipItem> onPage(const QList<PayslipItem> &slip, SlipsPerPage perPage);

} // namespace pelmar::payslip

namespace pelmar::reports {

// Every slip of a title to hand out, in the given order. With two a page,
// the slips go in pairs above and below a cut line; with dayLines each
// slip's day lines follow the page that holds it. `pays` is matched to the
// statements by name; a statement without one prints as saved before pay
// was kept.
QList<Page> handoutPages(const QList<StoredStatement> &statements, const QList<statements::StatementPay> &pays,
                         bool dayLines, payslip::SlipsPerPage perPage, const QString &companyName,
                         const QString &companyInfo, const QDate &printed);

} // namespace pelmar::reports
