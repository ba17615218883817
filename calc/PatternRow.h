#pragma once

#include <QVariant>

#include <array>

namespace pelmar::patternrow {

// Columns of the shift-type page, as the grid and w勤務形態 order them.
enum Column { kNo = 0, kType, kStart, kEnd, kBreak, kWorked, kColumnCount };

using Row = std::array<QVariant, kColumnCount>;

// What a shift-type row becomes after the user's edit of one column: wrong
// times and numbers emptied, and the working hours recomputed from start,
// end and break by the same rule as the statement lines. A working time
// typed by hand stays until start, end or break change again.
Row completeAfterEdit(Row row, int column);

} // namespace pelmar::patternrow
