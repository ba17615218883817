#pragma once

#include "store/PageRows.h"

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace pelmar::statements {

// The statement being edited is the work table w明細: a fixed number of
// numbered lines, filled by the grid.
inline constexpr int kStatementLines = 60;

// w明細 as it is to hold the lines given (the values of columns::line each),
// one a row from the top, and empty numbered lines below them up to
// kStatementLines. Lines past the last row are left off.
PageRows linesOnPage(const QList<QVariantList> &lines);

// Empties w明細 and prepares the numbered empty lines 1..kStatementLines.
bool resetLines(const QSqlDatabase &work);

struct Totals {
    double breakHours = 0;
    double hours = 0;
    double adjustment = 0;
    double amount = 0;
    // The premium sums: null when no such line has a value, as on
    // statements without premiums.
    QVariant nightHours;
    QVariant overtimeHours;
    QVariant premium;
    QVariant restDayHours;
    QVariant over60Hours;
};

// The four sums over the lines of w明細 that a save stores (those with a date
// and an amount), so the totals on screen, in the stored header and on the
// printed slip are always the sums of the stored lines. A column no such line
// has a value in sums to 0.
std::optional<Totals> sumLines(const QSqlDatabase &work);

// What the premiums give a line of w明細, by its number: its premium
// values and its amount.
struct LinePayValues {
    int lineNo = 0;
    QVariant night;
    QVariant overtime;
    QVariant premium;
    QVariant restDay;
    QVariant over60;
    QVariant amount;
};

// Writes the lines' premium values and amounts in one transaction: all of
// them, or, when the table refuses, none.
bool writeLinePay(const QSqlDatabase &work, const QList<LinePayValues> &lines);

// The dates (yyyy/mm/dd, in date order, each once) of the lines a save
// stores whose break is shorter than the law asks for their hours. Nothing
// when the table cannot be read.
std::optional<QStringList> shortBreakDates(const QSqlDatabase &work);

// The numbers of the lines that hold something typed but that a save would
// leave out, because they lack a date or an amount; in line order. Nothing
// when the table cannot be read.
std::optional<QList<int>> leftOutLines(const QSqlDatabase &work);

} // namespace pelmar::statements
