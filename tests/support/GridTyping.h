#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

namespace pelmar {
class DataGrid;
}

namespace pelmar::test {

// Rows of a query as text, a null shown as "<null>", for whole-table compares.
using Rows = QList<QStringList>;
Rows rows(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// Types into a grid cell as a user does: stands on it, opens the editor with
// F2, replaces what it shows, and finishes with the given key.
void typeIntoCell(DataGrid *grid, int row, int column, const QString &text, int finishKey = Qt::Key_Return);

// Japanese text arrives as an input method's commit, as a real one sends it.
void commitIntoCell(DataGrid *grid, int row, int column, const QString &text);

} // namespace pelmar::test
