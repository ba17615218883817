#pragma once

#include "calc/Premium.h"
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

// Saves the statement on the page: runs recordEmployee (the employee
// master's update), writes the header, and replaces the pair's lines by the
// complete lines of w明細 (those with a date and an amount) in date order,
// numbered 1, 2, 3 … and stores the pay with them (a statement saved
// without one has its earlier pay taken away: it no longer holds for these
// lines). All of it, or nothing.
bool save(const QSqlDatabase &main, const QSqlDatabase &work, const Header &header,
          const std::function<bool()> &recordEmployee, const std::optional<StatementPay> &pay = std::nullopt);

// A statement whose lines come from elsewhere than the page: the punches
// of a time recorder's file.
struct StatementToStore {
    Header header;
    QList<QVariantList> lines; // the values of columns::line each, in line order
};

// Saves every statement given as save() stores one (the header written or
// replaced, the pair's lines replaced by the ones given, numbered from 1),
// then runs alsoWrite: all of it in one transaction, or nothing.
bool saveAll(const QSqlDatabase &main, const QList<StatementToStore> &statements,
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

// The employee's other stored statements whose lines span days that the
// complete lines of w明細 (those with a date and an amount) also span: a
// statement of the same weeks paid a second time under another title.
struct Overlap {
    QString title;
    QString firstDate; // its first and last line's dates, as stored
    QString lastDate;
};
std::optional<QList<Overlap>> overlappingStatements(const QSqlDatabase &main, const QSqlDatabase &work,
                                                    const QString &name, const QString &title);

} // namespace pelmar::statements
