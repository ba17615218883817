#pragma once

#include "store/Tables.h"

#include <QList>
#include <QSqlDatabase>
#include <QVariantList>

#include <functional>

namespace pelmar {

// What a work table is to hold: its rows in key order (insertion order for a
// table without a key), each with a value for every column of the table in
// the table's column order.
struct PageRows {
    const Table *table = nullptr;
    QList<QVariantList> rows;
};

// Numbered rows 1..count of a page's work table, each made by `row` (which
// gets the number and gives every column's value, the key first).
PageRows numberedRows(const Table &table, int count, const std::function<QVariantList(int number)> &row);

// A row of nulls but for the key, which is the first column of every page's
// work table.
QVariantList blankRow(const Table &table, int number);

// Makes the table hold exactly these rows. A table that already holds them
// is not written at all: refilling a page that shows what it is to show
// costs a read, not a write and its sync to disk. Otherwise the table is
// emptied and refilled in one transaction, so a failure leaves it as it was.
bool holdRows(const QSqlDatabase &work, const PageRows &page);

} // namespace pelmar
