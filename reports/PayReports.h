#pragma once

#include "calc/CashBreakdown.h"
#include "reports/MonthReports.h"
#include "reports/ReportLayout.h"
#include "payroll/StatementPay.h"
#include "store/Csv.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The reports of the pay handed over, read from what each statement kept
// when it was saved: the pay columns of the 給与一覧表 and the 賃金台帳, the
// 源泉徴収簿 of an employee's year, the tax withheld by month and half-year
// for its payment, and the 金種表 of a month's envelopes. Nothing is worked
// out again from today's tables or details. A statement saved before its pay
// was kept has its 合計 as 総支給額 and no deductions: its blanks are left
// blank and out of every total but the gross, and the report says so.
namespace pelmar::reports {

// The pay of each statement of a list, in the list's order; a statement
// with no kept pay gets one with kept false, its gross and adjustment the
// header's in whole yen.
std::optional<QList<statements::StatementPay>> paysOf(const QSqlDatabase &main,
                                                      const QList<StoredStatement> &statements);

// Sums of the pay columns over the statements that have each figure.
struct PayTotals {
    pay::Yen basic = 0, overtime = 0, night = 0, holiday = 0, adjustment = 0, commute = 0, gross = 0;
    pay::Yen nonTaxableCommute = 0;
    std::array<pay::Yen, pay::kDeductionCount> deductions{};
    pay::Yen other = 0, socialInsurance = 0, taxable = 0, deductionTotal = 0, netPay = 0;
    QStringList withoutNetPay; // the statements (by name or title) left out of the net totals
    int kept = 0; // statements that kept their pay: with none, the pay totals are blank
    void add(const statements::StatementPay &pay, const QString &which);
};

inline const QString kWithoutNetPayCaption = QStringLiteral("控除・差引支給額の合計に含まない明細");
// The line under the totals that names the statements they leave out;
// empty when they leave none out. The page and the file say it alike.
QString withoutNetPayNote(const PayTotals &totals);

// 甲, 乙 or なし.
QString taxColumnText(pay::TaxColumn column);

// 給与一覧表 with its pay: the summary and each row's pay, in its order.
struct PaySummary {
    Summary summary;
    QList<statements::StatementPay> pays;
    PayTotals totals;
};
std::optional<PaySummary> paySummary(const QSqlDatabase &main, const QString &title);
// Today's columns, then 通勤手当, 総支給額, each deduction, その他, 控除合計, 差引支給額.
QList<csv::Record> paySummaryRecords(const PaySummary &summary);
Table paySummaryTable(const PaySummary &summary, const QString &companyName, const QDate &printed);

// 賃金台帳 with its pay and the employee's 性別.
struct PayLedger {
    Ledger ledger;
    QString sex; // 男, 女 or empty when not given
    QList<statements::StatementPay> pays; // by the ledger's rows
    PayTotals totals;
};
std::optional<PayLedger> payLedger(const QSqlDatabase &main, const QString &name, int year);
// Today's columns, then 性別, 支給日, each allowance, 総支給額, each deduction, 控除合計, 差引支給額.
// On paper the columns take two pages, the deductions on the second.
QList<csv::Record> payLedgerRecords(const PayLedger &ledger);
Table payLedgerTable(const PayLedger &ledger, const QString &companyName, const QDate &printed);

// 源泉徴収簿: one employee's payments of a year by their pay dates.
struct WithholdingBook {
    QString name;
    int year = 0;
    QList<statements::StatementPay> rows; // by pay date
    PayTotals totals;
    int untaxed = 0; // payments with no 所得税 figure, out of the tax total
};
// The years that pay dates fall in, newest first.
std::optional<QList<int>> payYears(const QSqlDatabase &main);
std::optional<WithholdingBook> withholdingBook(const QSqlDatabase &main, const QString &name, int year);
// The line under the year's totals that counts the payments left out of the
// tax total; empty when none is.
QString untaxedNote(const WithholdingBook &book);
QList<csv::Record> withholdingRecords(const WithholdingBook &book);
Table withholdingTable(const WithholdingBook &book, const QString &companyName, const QDate &printed);

// The tax withheld in a year by the month of payment, and by half-year for
// those who pay twice a year (納期の特例: 1–6月 by 10 July, 7–12月 by
// 20 January).
struct PaymentMonth {
    QString caption; // 1月 … 12月, 1〜6月計, 7〜12月計, 年計
    int people = 0; // employees paid
    int payments = 0;
    // 支給額 as the 徴収高計算書 asks for it: the 総支給額 less the
    // non-taxable 通勤手当.
    pay::Yen paid = 0;
    pay::Yen tax = 0;
    int untaxed = 0; // payments without a 所得税 figure
};
struct PaymentSummary {
    int year = 0;
    QList<PaymentMonth> months; // twelve
    std::array<PaymentMonth, 2> halves;
    PaymentMonth year_;
};
std::optional<PaymentSummary> paymentSummary(const QSqlDatabase &main, int year);
QList<csv::Record> paymentRecords(const PaymentSummary &summary);
Table paymentTable(const PaymentSummary &summary, const QString &companyName, const QDate &printed);

// 金種表 of a title: each statement's 差引支給額 in notes and coins, and
// what the envelopes take together. A statement without a 差引支給額, or
// with one below 0, is listed with the reason and counted in nothing.
struct CashRow {
    QString name;
    std::optional<pay::Yen> netPay;
    std::optional<pay::CashCount> count; // nothing when not counted
    QString reason; // why not
};
struct CashTable {
    QString title;
    QList<CashRow> rows;
    pay::CashCount total;
    pay::Yen totalNet = 0;
    int counted = 0;
};
inline const QString kNoNetPay = QStringLiteral("差引支給額なし（控除が未記録または未計算）");
inline const QString kNegativeNetPay = QStringLiteral("差引支給額がマイナス");
std::optional<CashTable> cashTable(const QSqlDatabase &main, const QString &title);
QList<csv::Record> cashRecords(const CashTable &table);
Table cashTableLayout(const CashTable &table, const QString &companyName, const QDate &printed);

} // namespace pelmar::reports
