#pragma once

#include "calc/PatternTimes.h"
#include "calc/WorkTime.h"

#include <QVariant>

#include <array>
#include <functional>

namespace pelmar::daylines {

// Columns of a statement line, as the grid and w明細 order them.
enum Column { kLineNo = 0, kDate, kStart, kEnd, kBreak, kHours, kWage, kAdjustment, kAmount, kColumnCount };
// After them, the premium values of the line, worked out over the whole
// statement rather than by an edit of the line: night and overtime hours and
// the premium yen inside the amount.
enum PremiumColumn { kNight = kColumnCount, kOvertime, kPremium, kRestDay, kOver60 };

// One statement line: a value per column; a null value is an empty cell.
using Line = std::array<QVariant, kColumnCount>;

// The display format of a statement column.
QString columnFormat(int column);

// How the user knows a statement column: 休憩, 時間, 時給 …
QString columnCaption(int column);

using worktime::Refusal;

struct EditOutcome {
    Line line;
    // The four totals follow the line: every edit from the date to the amount.
    bool recalculateTotals = false;
    // An entry the line refused, for the page to tell the user: a date, time
    // or number in none of the forms taken, a break out of range (negative,
    // or as long as start to end or longer), negative hours or wage, or more
    // than a day's hours or kMaxWage. The refused cell holds again what it
    // held before the edit (an empty wage then takes the wage box's, as any
    // emptied wage does).
    Refusal refusal = Refusal::None;
    // The column emptied for that refusal (-1 when nothing was refused): the
    // edited column, or kBreak when an edit of the start, the end or the
    // date left the line's break too long.
    int refusedColumn = -1;
};

// What a line becomes after the user's edit of one column was accepted, in
// the order the statement page applies it: typed full-width digits taken as
// ASCII, times typed as 9:30 or 930 stored as 0930, wrong entries refused,
// the date's day filled from the chosen shift type, a break out of range,
// negative or excessive hours and wages refused, a time taken out taking
// the hours and amount with it, an empty wage taken from the wage box,
// hours and amount computed.
//   patternType: the shift type chosen on the page (empty: none);
//   lookUpPattern: asked only when a valid date meets a chosen shift type;
//   wageBox: the wage box's value, invalid when the box shows nothing;
//   previous: what the edited cell held before the edit, put back when the
//   entry is refused.
EditOutcome completeAfterEdit(Line line, int column, const QString &patternType,
                              const std::function<patterns::PatternTimes()> &lookUpPattern, const QVariant &wageBox,
                              const QVariant &previous = QVariant());

// Fills a line's times, break and hours from a shift type's pattern, takes
// the wage box's wage (replacing the line's) when the box shows one, and
// computes the amount: the day the Down key adds.
Line fillFromPattern(Line line, const patterns::PatternTimes &pattern, const QVariant &wageBox);

// The label that shows a chosen shift type's times: "9:00 ～ 18:00   休憩 1"
// followed by the worked hours after two or three spaces.
QString patternCaption(const QVariant &start, const QVariant &end, const QVariant &breakHours, const QVariant &worked,
                       int spacesBeforeWorked);

} // namespace pelmar::daylines
