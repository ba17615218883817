#pragma once

#include "calc/PatternTimes.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace pelmar::employees {

// The names offered in the statement page's picker, in the master's order
// (the employee numbers), as the employee page lists them.
QStringList names(const QSqlDatabase &main);

struct WageAndPattern {
    QVariant wage; // 時給 as stored
    QVariant patternType; // 勤務形態 as stored
};

// The first employee of that name; nothing when the master holds none.
std::optional<WageAndPattern> find(const QSqlDatabase &main, const QString &name);

// The employee page holds at least this many rows, and always some blank
// ones below the last employee, so that nobody is ever left off the page.
inline constexpr int kPageRows = 100;
inline constexpr int kBlankRowsBelow = 20;

// Empties w従業員 and prepares `rows` blank numbered rows, none ticked.
bool resetPage(const QSqlDatabase &work, int rows = kPageRows);

// Shows the whole master on a page reset afresh, in the master's order, rows
// 1, 2, 3 … whatever numbers the master holds. A master longer than the page
// makes the page longer rather than leaving anyone out. A page that already
// shows all this is not written again.
bool readMaster(const QSqlDatabase &main, const QSqlDatabase &work);

// Replaces the master by the named rows of the page, numbered 1.. in page
// order, in one transaction: on failure the master stays as it was.
bool registerPage(const QSqlDatabase &main, const QSqlDatabase &work);

// How many employees of the master have no row of their name on the page,
// so that registering the page would take them out of the master. Nothing
// when either table cannot be read.
std::optional<int> namesLeavingMaster(const QSqlDatabase &main, const QSqlDatabase &work);

// What 行削除 takes with it, for its question: the names on the ticked rows
// of the page that are in the master, those of them with payroll details
// (which go with them), and how many statements are stored under those
// names (which stay). Nothing when a table cannot be read.
struct TickedDeletion {
    QStringList names;
    QStringList withDetails;
    int statements = 0;
};
std::optional<TickedDeletion> tickedDeletion(const QSqlDatabase &main, const QSqlDatabase &work);

// Removes every employee whose name is on a ticked row from the master, and
// the ticked rows from the page.
bool deleteTicked(const QSqlDatabase &main, const QSqlDatabase &work);

// A statement's employee not yet in the master: added at the end of the
// list with the statement's wage, shift type and times. Runs inside the
// caller's transaction.
bool addForStatement(const QSqlDatabase &main, const QString &name, const QVariant &wage, const QString &patternType,
                     const patterns::PatternTimes &times);

// The wage of the first employee of that name, and nothing else of it.
// Runs inside the caller's transaction.
bool setWage(const QSqlDatabase &main, const QString &name, const QVariant &wage);

} // namespace pelmar::employees
