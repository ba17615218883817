#pragma once

#include "calc/WorkTime.h"

#include <QVariant>

#include <array>

namespace pelmar::patternrow {

// Columns of the shift-type page, as the grid and w勤務形態 order them.
enum Column { kNo = 0, kType, kStart, kEnd, kBreak, kWorked, kColumnCount };

using Row = std::array<QVariant, kColumnCount>;
using worktime::Refusal;

struct RowOutcome {
    Row row;
    // An entry the row refused, for the page to tell the user: a time or
    // number in none of the forms taken, a break out of range (negative, or
    // as long as start to end or longer), negative working hours or more
    // than a day's. The refused cell holds again what it held before the
    // edit; a break that start or end left too long is empty.
    Refusal refusal = Refusal::None;
    // The column emptied for that refusal (-1 when nothing was refused): the
    // edited column, or kBreak when an edit of start or end left the break
    // too long.
    int refusedColumn = -1;
};

// What a shift-type row becomes after the user's edit of one column: typed
// full-width digits taken as ASCII, times typed as 9:30 or 930 stored as
// 0930, wrong times and numbers refused (previous: what the edited cell held
// before the edit, put back), a break
// out of range and negative working hours refused, and the working hours
// recomputed from start, end and break by the same rule as the statement
// lines. A working time typed by hand stays until start, end or break change
// again.
RowOutcome completeRowAfterEdit(Row row, int column, const QVariant &previous = QVariant());

// The row alone, for callers that do not tell refusals.
Row completeAfterEdit(Row row, int column);

} // namespace pelmar::patternrow
