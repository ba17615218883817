// The statement page's premiums: every line worked out again under one set of
// rules, with the employee's lines of other statements in the same weeks.

#include "calc/Premium.h"
#include "calc/WorkTime.h"
#include "messages/ShowMsg.h"
#include "payroll/DetailLines.h"
#include "statements/StatementPage.h"
#include "payroll/StatementStore.h"
#include "store/ProgramState.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"
#include <QComboBox>

namespace pelmar {

void StatementPage::Calc明細()
{
    Calc割増();
    recalculateTotals();
}

QList<premium::DayLine> StatementPage::linesOfEarlierStatements(const QList<premium::DayLine> &lines)
{
    return statements::earlierLines(m_state.MainDb, cmb氏名->currentText(), txtタイトル->text(), lines, m_pay.weekStart);
}

// The grid's lines as the premium rules read them; a line a save would not
// store keeps no hours.
QList<premium::DayLine> StatementPage::dayLinesForPremiums()
{
    const int rows = grid明細->rowCount();
    const auto value = [this](int row, int column) {
        return grid明細->valueAt(row, column);
    };
    QList<premium::DayLine> lines;
    lines.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        premium::DayLine line{value(row, daylines::kLineNo).toInt(), value(row, daylines::kDate),
                              value(row, daylines::kStart),          value(row, daylines::kEnd),
                              value(row, daylines::kBreak),          value(row, daylines::kHours),
                              value(row, daylines::kWage),           value(row, daylines::kAdjustment)};
        // Only the lines a save stores count: a dated line with an amount,
        // or one the rule gives an amount.
        const bool stored = !worktime::isEmptyValue(line.date)
            && (!worktime::isEmptyValue(value(row, daylines::kAmount))
                || worktime::amountOf(line.hours, line.wage, line.adjustment));
        if (!stored)
            line.hours = QVariant();
        lines << line;
    }
    return lines;
}

void StatementPage::Calc割増(int byRuleRow, int typedRow)
{
    grid明細->commitRow();
    const int rows = grid明細->rowCount();
    const auto value = [this](int row, int column) {
        return grid明細->valueAt(row, column);
    };
    const QList<premium::DayLine> lines = dayLinesForPremiums();
    // Weekly overtime ties the lines together, and the week may begin in a
    // statement stored before: every line is worked out again under the
    // settings as they stand. Only lines whose values change are written.
    const QList<premium::LinePay> pay = premium::payOfLines(lines, m_pay, linesOfEarlierStatements(lines));
    QList<statements::LinePayValues> changed;
    QList<int> changedRows;
    for (int row = 0; row < rows; ++row) {
        const premium::LinePay &line = pay.at(row);
        QVariant amount = value(row, daylines::kAmount);
        QVariant premiumYen = line.premium;
        // An amount typed into 金額 is the whole amount of its line: it keeps
        // no premium yen, until a cell it is worked out from changes. Such a
        // line has its hours worked out but no premium yen; a line from an
        // older Pelmar has neither, and is worked out like the others.
        const bool hoursKnown = !value(row, daylines::kNight).isNull() || !value(row, daylines::kOvertime).isNull();
        const bool typed = row == typedRow
            || (row != byRuleRow && !worktime::isEmptyValue(amount) && value(row, daylines::kPremium).isNull()
                && hoursKnown && line.amount);
        if (typed) {
            premiumYen = QVariant();
            if (m_pay.rounding != premium::Rounding::None && worktime::isNumeric(amount)) {
                double typedYen = 0;
                fmt::toNumber(amount, &typedYen);
                amount = premium::roundYen(typedYen, m_pay.rounding);
            }
        } else if (line.amount) {
            amount = *line.amount;
        }
        const statements::LinePayValues values{lines.at(row).row, line.night,  line.overtime, premiumYen,
                                           line.restDay,      line.over60, amount};
        const bool moved = !worktime::sameValue(value(row, daylines::kNight), values.night)
            || !worktime::sameValue(value(row, daylines::kOvertime), values.overtime)
            || !worktime::sameValue(value(row, daylines::kPremium), values.premium)
            || !worktime::sameValue(value(row, daylines::kRestDay), values.restDay)
            || !worktime::sameValue(value(row, daylines::kOver60), values.over60)
            || !worktime::sameValue(value(row, daylines::kAmount), values.amount);
        if (moved) {
            changed << values;
            changedRows << row;
        }
    }
    if (changed.isEmpty())
        return;
    // Straight to the table in one transaction, then only those rows are read
    // back: switching premiums on for a full statement changes every line.
    if (!statements::writeLinePay(m_state.WorkDb, changed)) {
        ShowMsg(msg::エラー割増計算);
        return;
    }
    for (int row : std::as_const(changedRows))
        grid明細->tableModel()->selectRow(row);
}

void StatementPage::applyPaySettings(const settings::PaySettings &paySettings)
{
    if (paySettings == m_pay)
        return;
    m_pay = paySettings;
    showPremiumControls();
    // Lines being typed follow the new settings; a statement reopened and
    // left as it is keeps what it was saved with until a line changes.
    if (m_linesEdited) {
        Calc割増();
        recalculateTotals();
    }
}

void StatementPage::tellShortBreaks()
{
    const std::optional<QStringList> dates = statements::shortBreakDates(m_state.WorkDb);
    if (dates && !dates->isEmpty())
        ShowMsg(msg::登録休憩不足, dates->join(QStringLiteral("、")));
}

} // namespace pelmar
