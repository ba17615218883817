#pragma once

#include "calc/Premium.h"
#include "masters/PatternStore.h"
#include "payroll/SaveChecks.h"
#include "payroll/StatementPay.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

// Saved statements: a header in 時給ヘッダ and the day lines in 時給明細,
// both keyed by employee name + title. Every change is one transaction, so a
// crash or a failure leaves a statement either as it was or as saved, never
// a header from one save with the lines of another.
namespace pelmar::statements {

struct Header {
    QString name;
    QString title;
    QString patternType;
    QVariant wage;
    QVariant breakHours;
    QVariant adjustment;
    QVariant hours;
    QVariant total;
    // Premium hours and yen; null on statements saved before premiums.
    QVariant nightHours;
    QVariant overtimeHours;
    QVariant premium;
    // Rest-day hours and overtime past 60 hours; null on statements saved
    // before they were kept.
    QVariant restDayHours;
    QVariant over60Hours;
};

// What a save records in the employee master for the statement: nothing,
// a new employee with the statement's wage and shift type, or the
// statement's wage for the employee of that name.
struct EmployeeUpdate {
    enum class Kind { None, Add, Wage };
    Kind kind = Kind::None;
    QVariant wage;
    QString patternType;
    patterns::PatternTimes times;
};

// One statement to store: its header and its lines (the values of
// columns::line each, in line order).
struct StatementToStore {
    Header header;
    QList<QVariantList> lines;
    // The pay stored with the lines: worked out from them (a statement made
    // without the page, from punches say) or the one given; a statement
    // saved with neither has its earlier pay taken away, since that no
    // longer holds for these lines.
    bool payFromLines = true;
    std::optional<StatementPay> pay;
    // What the user was asked about; see SaveChecks.h.
    Expectation expected;
    EmployeeUpdate employee;
};

// The complete lines of w明細 (those with a date and an amount) in date
// order (or in the page's order): what a save of the page stores. Nothing
// when the read failed: a page read half-way is never saved as the statement.
enum class LineOrder { ByDate, OnPage };
std::optional<QList<QVariantList>> completeLines(const QSqlDatabase &work, LineOrder order = LineOrder::ByDate);

// The one save of statements, for the page and the import alike: in one
// transaction that holds the file's write lock from its start, each
// statement is checked (checkWritable: its title open, the stored statement
// the one expected, no day of it under another title unless asked about and
// open), its employee recorded, its header written or replaced, its lines
// replaced by the ones given (numbered 1, 2, 3 …) and its pay stored; then
// alsoWrite runs. All of it, or nothing and the first refusal.
SaveResult save(const QSqlDatabase &main, const QList<StatementToStore> &statements,
                const std::function<bool()> &alsoWrite = {});

// The employee's day lines stored under other titles in the weeks the
// lines given lie in (weeks beginning on weekStart, from the day before the
// first, whose shift may run into it), up to the last line's
// date: what the week's 40 hours count before them. Empty when none is
// stored or the read failed.
QList<premium::DayLine> earlierLines(const QSqlDatabase &main, const QString &name, const QString &title,
                                     const QList<premium::DayLine> &lines, Qt::DayOfWeek weekStart);

// The pair's header; nothing when none is stored or the read failed, which
// *readFailed, when given, tells apart.
std::optional<Header> readHeader(const QSqlDatabase &main, const QString &name, const QString &title,
                                 bool *readFailed = nullptr);

// Puts the pair's stored lines, in line-number order, on the rows of w明細
// from the top, the k-th stored line in row k, and empties the rows below,
// in one transaction: on failure w明細 stays as it was.
bool loadLines(const QSqlDatabase &main, const QSqlDatabase &work, const QString &name, const QString &title);

// Deletes the pair's header, lines and pay together.
bool remove(const QSqlDatabase &main, const QString &name, const QString &title);

// Empties the tables of saved statements, their pay and the master data
// (payroll details included) together; the settings and the hint texts stay.
bool removeEverything(const QSqlDatabase &main);

// Every name, and every title of one name, that a stored statement has:
// what a typed name or title is settled against. Empty when the read fails.
QStringList storedNames(const QSqlDatabase &main);
QStringList storedTitles(const QSqlDatabase &main, const QString &name);

// The day lines of the employee's statements other than `title`, dated from
// `from` to `to` (yyyymmdd, both included): date, start, end, break and hours
// of each, by date. Nothing when the read failed.
std::optional<QList<QVariantList>> linesOfOtherStatements(const QSqlDatabase &main, const QString &name,
                                                          const QString &title, const QString &from, const QString &to);

// The overtime and rest-day hours stored on the employee's lines dated from
// `from` to `to` (yyyymmdd, both included), leaving out the statement titled
// `exceptTitle` (none when empty); nothing when the read failed.
std::optional<double> storedOvertime(const QSqlDatabase &main, const QString &name, const QString &exceptTitle,
                                     const QString &from, const QString &to);

// The history list: every header's name, total and title, by name.
bool fillHistory(const QSqlDatabase &main, const QSqlDatabase &work);
bool clearHistory(const QSqlDatabase &work);

// The employee's other stored statements with a line on a day that the
// complete lines of w明細 (those with a date and an amount) span: a
// statement of the same weeks paid a second time under another title.
struct Overlap {
    QString title;
    QString firstDate; // its first and last line's dates, as stored
    QString lastDate;
};
std::optional<QList<Overlap>> overlappingStatements(const QSqlDatabase &main, const QSqlDatabase &work,
                                                    const QString &name, const QString &title);

} // namespace pelmar::statements
