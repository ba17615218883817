#pragma once

#include <QSqlDatabase>

#include <optional>

namespace pelmar::detail {

// The statement being edited is the work table w明細: a fixed number of
// numbered lines, filled by the grid.
inline constexpr int kStatementLines = 60;

// Empties w明細 and prepares the numbered empty lines 1..kStatementLines.
bool resetLines(const QSqlDatabase &work);

struct Totals {
    double breakHours = 0;
    double hours = 0;
    double adjustment = 0;
    double amount = 0;
};

// The four sums over every line of w明細, lines without a date included.
// A column no line has a value in sums to 0.
std::optional<Totals> sumLines(const QSqlDatabase &work);

} // namespace pelmar::detail
