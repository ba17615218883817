#include "calc/PatternRow.h"

#include "calc/Formats.h"

namespace pelmar::patternrow {

RowOutcome completeRowAfterEdit(Row row, int c)
{
    RowOutcome outcome;
    QVariant &cell = row[c];
    if (c == kStart || c == kEnd) {
        if (cell.typeId() == QMetaType::QString)
            cell = fmt::asciiDigits(cell.toString());
        if (!worktime::isEmptyValue(cell) && !worktime::isAcceptedTime(cell.toString()))
            cell = QVariant();
    }
    if ((c == kBreak || c == kWorked) && !worktime::isEmptyValue(cell)) {
        double number = 0;
        cell = fmt::toNumber(cell, &number) ? QVariant(number) : QVariant();
    }
    if (c == kWorked && !cell.isNull() && cell.toDouble() < 0) {
        cell = QVariant();
        outcome.refusal = Refusal::Negative;
        outcome.refusedColumn = kWorked;
    }
    // A break must leave some work; when start or end made it too long, the
    // break goes and the times stay.
    if ((c == kStart || c == kEnd || c == kBreak) && !worktime::breakFits(row[kStart], row[kEnd], row[kBreak])) {
        row[kBreak] = QVariant();
        outcome.refusal = Refusal::BreakOutOfRange;
        outcome.refusedColumn = kBreak;
    }
    if (c == kStart || c == kEnd || c == kBreak) {
        if (const auto hours = worktime::durationHours(row[kStart], row[kEnd], row[kBreak]))
            row[kWorked] = *hours;
    }
    outcome.row = row;
    return outcome;
}

Row completeAfterEdit(Row row, int column)
{
    return completeRowAfterEdit(std::move(row), column).row;
}

} // namespace pelmar::patternrow
