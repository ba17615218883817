#pragma once

#include "calc/NetPay.h"
#include "reports/ReportLayout.h"
#include "store/Csv.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// 住民税 to pay over, by 支給月 and 市区町村: what the pays of each month
// deducted, read from the pay each statement kept, with the 市区町村 of the
// employee's 住民税 row for the 年度 of the pay. Each month's amount is due
// by the 10th of the next month.
namespace pelmar::reports {

struct ResidentTaxLine {
    int month = 0; // 支給月, 1 to 12
    QString municipality; // empty: the employee has no row for that 年度
    int people = 0;
    pay::Yen amount = 0;
    QDate due; // the 10th of the next month
};

struct ResidentTaxPayment {
    int year = 0;
    QList<ResidentTaxLine> lines; // by month, then 市区町村
    pay::Yen total = 0;
};

// Nothing when a read failed.
std::optional<ResidentTaxPayment> residentTaxPayment(const QSqlDatabase &main, int year);
QList<csv::Record> residentTaxRecords(const ResidentTaxPayment &payment);
Table residentTaxTable(const ResidentTaxPayment &payment, const QString &companyName, const QDate &printed);

} // namespace pelmar::reports
