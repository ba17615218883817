#include "calc/PatternRow.h"

#include "calc/WorkTime.h"

namespace pelmar::patternrow {

Row completeAfterEdit(Row row, int c)
{
    QVariant &cell = row[c];
    if ((c == kStart || c == kEnd) && !worktime::isEmptyValue(cell) && !worktime::isAcceptedTime(cell.toString()))
        cell = QVariant();
    if ((c == kBreak || c == kWorked) && !worktime::isEmptyValue(cell) && !worktime::isNumeric(cell))
        cell = QVariant();
    if (c == kStart || c == kEnd || c == kBreak) {
        if (const auto hours = worktime::durationHours(row[kStart], row[kEnd], row[kBreak]))
            row[kWorked] = *hours;
    }
    return row;
}

} // namespace pelmar::patternrow
