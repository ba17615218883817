// What the labour law asks of the statement on the page: the marks on the
// grid's cells, and the notice 登録 gives before its question (its findings
// are the core's, payroll/LawFindings, as the import's are).
#include "statements/StatementPage.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "calc/WorkTime.h"
#include "messages/ShowMsg.h"
#include "payroll/LawFindings.h"
#include "payroll/StatementStore.h"
#include "store/ProgramState.h"
#include "widgets/DataGrid.h"

#include <QComboBox>
#include <QLineEdit>

namespace pelmar {

namespace {

QString yenText(double yen)
{
    return fmt::format(yen, fmt::kYen);
}

} // namespace

QString StatementPage::cellNote(int row, int column) const
{
    const auto value = [this, row](int c) {
        return grid明細->valueAt(row, c);
    };
    if (column == daylines::kBreak && premium::breakTooShort(value(daylines::kHours), value(daylines::kBreak)))
        return QStringLiteral("休憩が足りません。6時間を超える勤務には45分以上、8時間を超える勤務には1時間以上の"
                              "休憩が必要です。");
    if (column == daylines::kHours && m_pay.night
        && premium::nightUnknown(value(daylines::kStart), value(daylines::kEnd), value(daylines::kHours)))
        return QStringLiteral("開始・終了時間がないので深夜の時間が分かりません。時間を入力してください。");
    if (column == daylines::kWage && premium::belowMinimumWage(value(daylines::kWage), value(daylines::kDate), m_pay))
        return QStringLiteral("時給が最低賃金（%1円）を下回っています。").arg(yenText(m_pay.minimumWage));
    return {};
}

QStringList StatementPage::lawFindings()
{
    // Only the lines a save stores.
    const std::optional<QList<QVariantList>> lines = statements::completeLines(m_state.WorkDb, statements::LineOrder::OnPage);
    return statements::lawFindings(m_state.MainDb, cmb氏名->currentText(), txtタイトル->text(),
                                   lines.value_or(QList<QVariantList>{}), m_pay);
}

void StatementPage::tellLawFindings()
{
    const QStringList findings = lawFindings();
    if (!findings.isEmpty())
        ShowMsg(msg::登録労働時間確認, findings.join(u'\n'));
}

} // namespace pelmar
