#pragma once

#include "calc/FolderTables.h"
#include "masters/PayrollSettings.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <memory>

// Which 月額表 the pay of a data folder is worked out by, and the notices
// that tell the owner, before a pay date comes, that no table serves it.
namespace pelmar::statements {

// The tables in use for the data folder the main file lies in: the shipped
// ones and those of its tables/ folder that pass the checks.
std::shared_ptr<const pay::TablesInEffect> tablesOf(const QSqlDatabase &main);

// The pay dates the rule gives the work of this month and of the next, as
// of `today`: the first of them no table serves, or an invalid date.
QDate firstUncoveredPayDate(const pay::PublicTables &tables, const settings::PayDateRule &rule, const QDate &today);

// A pay date ahead that no table serves, and how far the tables go.
struct TableShortage {
    QDate uncovered; // invalid: every such date is served
    QDate lastCovered; // invalid: no table at all
    // What the check after start-up says: the date, how far the tables go
    // and what to do; and the same in brief, for the statement page.
    QString text() const;
    QString brief() const;
};
// As of `today` for the data folder's settings and tables; nothing to tell
// when the settings cannot be read (the pages tell a failed read themselves).
TableShortage tableShortage(const QSqlDatabase &main, const QDate &today);

// The data folder's tables that are not used, one a line with the reason;
// empty when there are none.
QString refusedTablesText(const pay::TablesInEffect &tables);

} // namespace pelmar::statements
