#include "calc/DetailLine.h"

#include "calc/Formats.h"
#include "calc/WorkTime.h"

namespace pelmar::daylines {

namespace {

// An empty pattern field empties the cell.
QVariant orNull(const QVariant &value)
{
    return worktime::isEmptyValue(value) ? QVariant() : value;
}

void applyPattern(Line &line, const patterns::PatternTimes &pattern)
{
    line[kStart] = orNull(pattern.start);
    line[kEnd] = orNull(pattern.end);
    line[kBreak] = orNull(pattern.breakHours);
    line[kHours] = orNull(pattern.worked);
}

void applyAmountRule(Line &line)
{
    if (const auto amount = worktime::amountOf(line[kHours], line[kWage], line[kAdjustment]))
        line[kAmount] = *amount;
}

QString plainText(const QVariant &value)
{
    double number = 0;
    if (worktime::isEmptyValue(value))
        return {};
    if (fmt::toNumber(value, &number))
        return fmt::plainNumber(number);
    return value.toString();
}

} // namespace

QString columnFormat(int column)
{
    switch (column) {
    case kDate:
        return fmt::kDate;
    case kStart:
    case kEnd:
        return fmt::kTime;
    case kBreak:
    case kHours:
        return fmt::kHours;
    case kWage:
    case kAdjustment:
    case kAmount:
        return fmt::kYen;
    default:
        return {};
    }
}

QString columnCaption(int column)
{
    static const char *const captions[] = {"行番号", "日付", "開始時間", "終了時間", "休憩",
                                           "時間",   "時給", "調整額",   "金額"};
    return column >= 0 && column < kColumnCount ? QString::fromUtf8(captions[column]) : QString();
}

namespace {

// One edit of one cell on its way through the steps below.
struct CellEdit {
    Line line;
    int c;
    const QVariant &previous;
    EditOutcome outcome;

    QVariant &cell() { return line[c]; }
    bool refused() const { return outcome.refusal != Refusal::None; }
    // A refused entry puts back what the cell held before the edit, so the
    // rest of the line, computed from it, still agrees with what it shows.
    void refuse(Refusal why)
    {
        outcome.refusal = why;
        outcome.refusedColumn = c;
        cell() = previous;
    }
};

// The date: eight digits (full-width ones too) naming a real day; the day
// takes the shift type's times. True when the break came from the pattern.
bool readDate(CellEdit &edit, const QString &patternType, const std::function<patterns::PatternTimes()> &lookUpPattern)
{
    if (edit.c != kDate || worktime::isEmptyValue(edit.cell()))
        return false;
    const QString entry = fmt::asciiDigits(edit.cell().toString());
    if (entry.size() != 8 || !worktime::dateOfEntry(entry)) {
        edit.refuse(Refusal::Unreadable); // a refused date fills nothing either
        return false;
    }
    edit.cell() = entry;
    if (patternType.isEmpty() || !lookUpPattern)
        return false;
    applyPattern(edit.line, lookUpPattern());
    return true;
}

// Times: stored as hhmm, typed as 9:30, 930 or 0930.
void readTime(CellEdit &edit)
{
    if (edit.c != kStart && edit.c != kEnd)
        return;
    QVariant &cell = edit.cell();
    if (!worktime::isEmptyValue(cell)) {
        if (const std::optional<QString> time = worktime::typedTime(cell.toString()))
            cell = *time;
        else
            edit.refuse(Refusal::Unreadable);
    } else if (!worktime::isEmptyValue(edit.previous)) {
        // A time taken out takes the hours and the amount it gave: the line
        // never shows hours its times do not give.
        cell = QVariant();
        edit.line[kHours] = QVariant();
        edit.line[kAmount] = QVariant();
    }
}

void readNumber(CellEdit &edit)
{
    const int c = edit.c;
    QVariant &cell = edit.cell();
    // Money typed as empty text counts as 0 ...
    if ((c == kWage || c == kAdjustment || c == kAmount) && cell.typeId() == QMetaType::QString
        && cell.toString().isEmpty() && !cell.isNull())
        cell = 0.0;
    // ... but a number whose cell shows nothing is no value at all: an
    // emptied wage, adjustment or amount (shown through "#,###", where 0
    // shows nothing too) ends as null. Text that is no number is refused.
    if (c < kBreak || c > kAmount)
        return;
    double number = 0;
    if (worktime::isEmptyValue(cell) || fmt::format(cell, columnFormat(c)).isEmpty())
        cell = QVariant();
    else if (!fmt::toNumber(cell, &number))
        edit.refuse(Refusal::Unreadable);
    else
        cell = number;
}

// No negative hours or pay, and no more than a day's hours or a wage beyond
// kMaxWage. An adjustment may be negative (a deduction), and so may an
// amount typed over one.
void checkLimits(CellEdit &edit)
{
    const int c = edit.c;
    if ((c != kHours && c != kWage) || edit.refused() || edit.cell().isNull())
        return;
    const double value = edit.cell().toDouble();
    if (value < 0)
        edit.refuse(Refusal::Negative);
    else if (value > (c == kHours ? worktime::kMaxLineHours : worktime::kMaxWage))
        edit.refuse(Refusal::OutOfRange);
}

// A break must leave some work: a typed break out of range is refused; a
// start, end or shift type that leaves the break too long empties the break,
// so the times the user typed stay. True when the break was emptied.
bool fitBreak(CellEdit &edit, bool breakFromPattern)
{
    const int c = edit.c;
    Line &line = edit.line;
    if (c == kBreak && !edit.refused() && !edit.cell().isNull()
        && (edit.cell().toDouble() > worktime::kMaxLineHours
            || !worktime::breakFits(line[kStart], line[kEnd], edit.cell())))
        edit.refuse(Refusal::BreakOutOfRange);
    if ((c != kBreak && c != kStart && c != kEnd && !breakFromPattern)
        || worktime::breakFits(line[kStart], line[kEnd], line[kBreak]))
        return false;
    line[kBreak] = QVariant();
    if (!edit.refused()) {
        edit.outcome.refusal = Refusal::BreakOutOfRange;
        edit.outcome.refusedColumn = kBreak;
    }
    return true;
}

// The wage, hours and amount that follow from the edited cell.
void completeLine(CellEdit &edit, const QVariant &wageBox, bool breakRefused)
{
    const int c = edit.c;
    Line &line = edit.line;
    // A line without a wage takes the wage box's; a wage it holds stays.
    if (wageBox.isValid() && worktime::isEmptyValue(line[kWage]))
        line[kWage] = wageBox;

    // A refused time leaves the hours as they were: the times did not change.
    const bool timeRefused = (c == kStart || c == kEnd) && edit.outcome.refusedColumn == c;
    if ((c == kStart || c == kEnd || c == kBreak || breakRefused) && !timeRefused) {
        if (const auto hours = worktime::durationHours(line[kStart], line[kEnd], line[kBreak]))
            line[kHours] = *hours;
    }

    // An amount typed straight in stays as typed, but the totals follow it too.
    if (c >= kDate && c <= kAdjustment)
        applyAmountRule(line);
    edit.outcome.recalculateTotals = c >= kDate && c <= kAmount;
}

} // namespace

EditOutcome completeAfterEdit(Line line, int c, const QString &patternType,
                              const std::function<patterns::PatternTimes()> &lookUpPattern, const QVariant &wageBox,
                              const QVariant &previous)
{
    CellEdit edit{std::move(line), c, previous, {}};
    const bool breakFromPattern = readDate(edit, patternType, lookUpPattern);
    readTime(edit);
    readNumber(edit);
    checkLimits(edit);
    const bool breakRefused = fitBreak(edit, breakFromPattern);
    completeLine(edit, wageBox, breakRefused);
    edit.outcome.line = std::move(edit.line);
    return edit.outcome;
}

Line fillFromPattern(Line line, const patterns::PatternTimes &pattern, const QVariant &wageBox)
{
    applyPattern(line, pattern);
    if (wageBox.isValid())
        line[kWage] = wageBox;
    applyAmountRule(line);
    return line;
}

QString patternCaption(const QVariant &start, const QVariant &end, const QVariant &breakHours, const QVariant &worked,
                       int spacesBeforeWorked)
{
    return fmt::format(start, fmt::kTime) + QStringLiteral(" ～ ") + fmt::format(end, fmt::kTime)
        + QStringLiteral("   休憩 ") + plainText(breakHours) + QString(spacesBeforeWorked, u' ')
        + QStringLiteral("実労 ") + plainText(worked);
}

} // namespace pelmar::daylines
