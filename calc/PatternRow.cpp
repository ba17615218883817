#include "calc/PatternRow.h"

#include "calc/Formats.h"

namespace pelmar::patternrow {

RowOutcome completeRowAfterEdit(Row row, int c, const QVariant &previous)
{
    RowOutcome outcome;
    QVariant &cell = row[c];
    const auto refuse = [&](Refusal why) {
        outcome.refusal = why;
        outcome.refusedColumn = c;
        cell = previous;
    };
    if ((c == kStart || c == kEnd) && !worktime::isEmptyValue(cell)) {
        if (const std::optional<QString> time = worktime::typedTime(cell.toString()))
            cell = *time;
        else
            refuse(Refusal::Unreadable);
    }
    if ((c == kBreak || c == kWorked) && !worktime::isEmptyValue(cell)) {
        double number = 0;
        if (fmt::toNumber(cell, &number))
            cell = number;
        else
            refuse(Refusal::Unreadable);
    }
    if (c == kWorked && outcome.refusal == Refusal::None && !cell.isNull()) {
        if (cell.toDouble() < 0)
            refuse(Refusal::Negative);
        else if (cell.toDouble() > worktime::kMaxLineHours)
            refuse(Refusal::OutOfRange);
    }
    // A break must leave some work: a typed break too long is refused; when
    // start or end made it too long, the break goes and the times stay.
    if (c == kBreak && outcome.refusal == Refusal::None && !cell.isNull()
        && (cell.toDouble() > worktime::kMaxLineHours || !worktime::breakFits(row[kStart], row[kEnd], cell)))
        refuse(Refusal::BreakOutOfRange);
    if ((c == kStart || c == kEnd || c == kBreak) && !worktime::breakFits(row[kStart], row[kEnd], row[kBreak])) {
        row[kBreak] = QVariant();
        if (outcome.refusal == Refusal::None) {
            outcome.refusal = Refusal::BreakOutOfRange;
            outcome.refusedColumn = kBreak;
        }
    }
    // A refused time leaves the row as it was, working time included.
    const bool timeRefused = (c == kStart || c == kEnd) && outcome.refusedColumn == c;
    if ((c == kStart || c == kEnd || c == kBreak) && !timeRefused) {
        if (const auto hours = worktime::durationHours(row[kStart], row[kEnd], row[kBreak]))
            row[kWorked] = *hours;
    }
    outcome.row = row;
    return outcome;
}

Row completeAfterEdit(Row row, int column)
{
    return completeRowAfterEdit(std::move(row), column, QVariant()).row;
}

} // namespace pelmar::patternrow
