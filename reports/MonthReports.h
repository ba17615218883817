#pragma once

#include "payroll/StatementStore.h"
#include "store/Csv.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace pelmar {
class Query;
}

// What the stored statements say when read together: every statement of one
// title (the slips of a month), the monthly summary 給与一覧表 and the wage
// ledger 賃金台帳 of one employee and year. Everything is read from the
// stored headers and lines as they were saved; nothing is recomputed, and a
// premium column that is null (a statement saved before premiums) counts as 0.
//
// Amounts are the header's totals, the very figures its slip prints; the
// days worked and the first and last dates come from its stored lines. A
// day counts once however many lines carry its date.
namespace pelmar::reports {

struct DayLine {
    QString date; // yyyymmdd
    QString start; // hhmm
    QString end;
    QVariant breakHours;
    QVariant hours;
    QVariant wage;
    QVariant adjustment;
    QVariant amount;
    QVariant nightHours;
    QVariant overtimeHours;
    QVariant premium;
    QVariant restDayHours;
};

struct StoredStatement {
    statements::Header header;
    QVariant employeeNo; // null when the name is no longer in the employee master
    int days = 0;
    QString firstDate; // yyyymmdd of its earliest line, empty without lines
    QString lastDate;
    QList<DayLine> lines; // in line-number order, read only when asked for
};

// The titles under which statements are stored, each once, newest first:
// by the latest line date of the title's most recently saved statement,
// then by that save; titles whose latest statement has no lines come last.
std::optional<QStringList> storedTitles(const QSqlDatabase &main);

// Every statement stored under the title, one per employee, in the order of
// the employees' numbers; names no longer in the master follow, by name.
std::optional<QList<StoredStatement>> statementsOfTitle(const QSqlDatabase &main, const QString &title, bool withLines);

// A stored number as a number: null, and anything that is not one, is 0.
double amountOf(const QVariant &value);

struct SummaryRow {
    QString name;
    int days = 0;
    double hours = 0;
    double nightHours = 0;
    double overtimeHours = 0;
    double restDayHours = 0;
    double over60Hours = 0; // of the overtime, the hours past 60
    QVariant wage; // null in the totals row
    // Past the general limits of overtime with rest-day work: "月45h超"
    // for the statement, "年360h超" for the stored statements of its year.
    QStringList limits;
    double adjustment = 0;
    double amount = 0;
};

inline const QString kMonthLimitMark = QStringLiteral("月45h超");
inline const QString kYearLimitMark = QStringLiteral("年360h超");

// 給与一覧表: one row per employee and a totals row.
struct Summary {
    QString title;
    QList<SummaryRow> rows;
    SummaryRow totals;
    // "締め済（2026/12/08）" while the title is closed, else empty.
    QString closedMark;
    // The registered employees with no statement under the title, in the
    // order of their numbers: shown below the table, in no total.
    QStringList missing;
};

inline const QString kMissingCaption = QStringLiteral("明細のない従業員（合計に含みません）");

Summary summaryOf(const QString &title, const QList<StoredStatement> &statements);
// The registered employees with no statement under the title.
std::optional<QStringList> missingEmployees(const QSqlDatabase &main, const QString &title);
std::optional<Summary> monthSummary(const QSqlDatabase &main, const QString &title);

// Its file: a Japanese header row, one record per employee, then the totals;
// after them the close, when closed, and one record per missing employee.
QList<csv::Record> summaryRecords(const Summary &summary);

struct LedgerRow {
    QString title;
    QString firstDate; // yyyymmdd
    QString lastDate;
    int days = 0;
    double hours = 0;
    double overtimeHours = 0;
    double nightHours = 0;
    double restDayHours = 0;
    double basePay = 0; // amount less premium pay and adjustment
    double premiumPay = 0;
    double adjustment = 0;
    double amount = 0;
};

// 賃金台帳 of one employee and year. A statement belongs to the year of its
// earliest line's date, so a pay period from 21 December to 20 January is
// kept in the year it began; a statement without lines has no year and is
// in no ledger.
struct Ledger {
    QString name;
    int year = 0;
    QList<LedgerRow> rows; // by first date
    LedgerRow totals;
};

inline const QString kLedgerYearRule = QStringLiteral("各明細の最初の勤務日の年で集計");

// The names that have stored statements, in the order of their numbers.
std::optional<QStringList> ledgerNames(const QSqlDatabase &main);
// The years of the employee's statements, newest first.
std::optional<QList<int>> ledgerYears(const QSqlDatabase &main, const QString &name);
// The years a query gives in its first column, in its order; nothing when
// the read failed.
std::optional<QList<int>> yearsRead(Query &query);
std::optional<Ledger> wageLedger(const QSqlDatabase &main, const QString &name, int year);

// Its file: a Japanese header row and one record per statement.
QList<csv::Record> ledgerRecords(const Ledger &ledger);

} // namespace pelmar::reports
