#pragma once

#include "calc/PublicTables.h"

#include <QDate>
#include <QList>
#include <QString>

#include <memory>

// The 月額表 in use: the ones that come with the program and the ones the
// owner put in the data folder's tables/ folder, for pay dates this program
// carries no table for (a newer year, without a newer program). The folder
// holds a list of the same form as the shipped withholding-tables.tsv and
// the table files it names, and every line of it is checked as the shipped
// ones are. A file that fails is not used, and the reason is kept for the
// settings page and the check after start-up: nothing is dropped silently.
namespace pelmar::pay {

inline const QString kFolderTables = QStringLiteral("tables");
inline const QString kTableList = QStringLiteral("withholding-tables.tsv");

// One table as the settings page lists it.
struct TableEntry {
    QString file;
    QString folder; // empty for a table that comes with the program
    QDate payFrom, payTo; // invalid when they could not be read
    QString refusal; // why it is not used; empty when it is
};

struct TablesInEffect {
    PublicTables tables; // the shipped tables, then the data folder's accepted ones
    QList<TableEntry> entries; // the shipped ones first, then the folder's, in the order of its list
    QList<TableEntry> refused() const;
    // The last pay date a table serves; invalid when there is none.
    QDate lastCovered() const;
};

// The tables for a data folder whose tables/ folder is `tablesFolder`. A
// folder table whose pay dates overlap a shipped one is not used: the
// shipped tables were checked against two independent extractions before the
// program was released, and the folder is there for the dates it does not
// carry. Two folder tables that overlap: the one listed first is used.
TablesInEffect readTablesInEffect(const ShippedTables &shipped, const QString &tablesFolder);

// The same for a data folder (its tables/ folder), read once and read again
// whenever a file of that folder changes; the shipped tables alone for an
// empty folder name.
std::shared_ptr<const TablesInEffect> tablesInEffect(const QString &dataFolder);

} // namespace pelmar::pay
