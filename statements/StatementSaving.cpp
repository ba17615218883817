// Saving, reopening and deleting the statement on the page.
#include "statements/StatementPage.h"

#include "calc/Formats.h"
#include "calc/TypedText.h"
#include "masters/EmployeeStore.h"
#include "messages/ShowMsg.h"
#include "payroll/DetailLines.h"
#include "payroll/MonthClose.h"
#include "statements/PayPanel.h"
#include "payroll/StatementStore.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pelmar {

namespace {

// How the pair is named in a message: 山田 太郎（2024年4月分）.
QString keyText(const QString &name, const QString &title)
{
    return name + QStringLiteral("（") + title + QStringLiteral("）");
}

// A wage as the questions name it: 1,100 円.
QString yenText(const QVariant &wage)
{
    const QString shown = fmt::format(wage, fmt::kYen);
    return shown.isEmpty() ? QStringLiteral("未設定") : shown + QStringLiteral(" 円");
}

// yyyymmdd as yyyy/mm/dd; anything else as it is stored.
QString dateText(const QString &date)
{
    return date.size() == 8 ? date.left(4) + u'/' + date.mid(4, 2) + u'/' + date.mid(6) : date;
}

// A day of the statement already paid under a closed title, for 締め変更不可.
QString closedDayText(const QString &name, const QString &date, const QString &title, const QDateTime &closedAt)
{
    return QStringLiteral("%1 の勤務は %2 で支払い済み（%3）のため、登録できません。")
        .arg(dateText(date), keyText(name, title), closing::closedMark(closedAt));
}

// A stored null shows as 0, as a reopened statement always did.
QVariant orZero(const QVariant &value)
{
    return value.isNull() ? QVariant(0.0) : value;
}

} // namespace

void StatementPage::connectSaving()
{
    connect(cmd登録, &QPushButton::clicked, this, &StatementPage::Entry時給);
    connect(cmd読込, &QPushButton::clicked, this, &StatementPage::Read時給);
    connect(cmd削除, &QPushButton::clicked, this, &StatementPage::Delete時給);
}

void StatementPage::settleName()
{
    const QString typed = cmb氏名->currentText();
    // A name of the picker's list, as picked, is taken as it is; the others
    // are looked up among the stored ones only when needed.
    if (cmb氏名->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    QStringList known;
    for (int i = 0; i < cmb氏名->count(); ++i)
        known << cmb氏名->itemText(i);
    QString name = typed::settled(typed, known);
    if (!known.contains(name))
        name = typed::settled(typed, known + statements::storedNames(m_state.MainDb));
    if (name != typed)
        cmb氏名->setEditText(name);
}

void StatementPage::settleTitle()
{
    const QString typed = txtタイトル->text();
    const QString title = typed::settledTitle(typed, statements::storedTitles(m_state.MainDb, cmb氏名->currentText()));
    if (title != typed)
        txtタイトル->setText(title);
}

// The statement key must be there before anything is asked or touched. A
// name or title is what it looks like: what cannot be seen goes first.
bool StatementPage::checkNameAndTitle()
{
    settleName();
    settleTitle();
    if (cmb氏名->currentText().isEmpty()) {
        ShowMsg(msg::その他メッセージ, QStringLiteral("氏名を記入してください。"));
        cmb氏名->setFocus();
        return false;
    }
    if (txtタイトル->text().isEmpty()) {
        ShowMsg(msg::その他メッセージ, QStringLiteral("タイトルを記入してください。"));
        txtタイトル->setFocus();
        return false;
    }
    return true;
}

std::optional<bool> StatementPage::isStored(const QString &name, const QString &title)
{
    bool failed = false;
    const bool stored = statements::readHeader(m_state.MainDb, name, title, &failed).has_value();
    if (failed)
        return std::nullopt;
    return stored;
}

void StatementPage::tellReadFailure()
{
    // Whatever the page shows is not that statement: it cannot be saved
    // over it until a read or a fresh start succeeds.
    m_readFailed = true;
    ShowMsg(msg::エラー明細行読込, failureDetail(m_state.MainDb, m_state.WorkDb));
}

bool StatementPage::confirmDiscardLines()
{
    return !m_linesEdited || ShowMsg(msg::その他未保存確認, QStringLiteral("勤務表"));
}

// Lines with something typed that a save would drop are named, and the
// user decides.
bool StatementPage::confirmLeftOutLines()
{
    const std::optional<QList<int>> leftOut = statements::leftOutLines(m_state.WorkDb);
    if (!leftOut) {
        ShowMsg(msg::エラー明細行確認, failureDetail(m_state.WorkDb));
        return false;
    }
    if (leftOut->isEmpty())
        return true;
    QStringList numbers;
    for (int line : *leftOut)
        numbers << QString::number(line);
    return ShowMsg(msg::登録除外確認, numbers.join(QStringLiteral(", ")));
}

void StatementPage::Entry時給()
{
    if (m_readFailed) {
        ShowMsg(msg::登録明細未読込);
        return;
    }
    if (!checkNameAndTitle())
        return;
    const QString name = cmb氏名->currentText();
    const QString title = txtタイトル->text();
    // A closed month takes no statement, new or saved again.
    if (refusedAsClosed(name, title, QStringLiteral("登録")))
        return;
    grid明細->commitRow(); // the last edit belongs to the statement
    // Lines typed or changed are stored with their premiums as the settings
    // stand now; a reopened statement nobody changed keeps its own.
    if (m_linesEdited)
        Calc割増();
    // The stored totals are the sums of the stored lines, worked out now.
    if (!recalculateTotals())
        return;
    if (!payReadyToSave())
        return;
    if (!confirmLeftOutLines())
        return;
    tellShortBreaks();
    tellLawFindings();
    // What the user is asked about is what the save is held to: the
    // statement it replaces, as it is now, and the other titles agreed to.
    statements::Expectation expected;
    expected.replacing = statements::storedState(m_state.MainDb, name, title);
    if (!expected.replacing) {
        // Whether a stored statement would be replaced is not known: nothing is saved.
        ShowMsg(msg::エラー明細登録, failureDetail(m_state.MainDb));
        return;
    }
    const std::optional<EmployeeRecord> record = askAboutNewEmployee(name);
    if (!record || !confirmOverlaps(name, title, &expected.acceptedTitles))
        return;
    // Pay with no 所得税 withheld because nobody chose a 税区分, or なし was
    // chosen, is named before the last question: No keeps it unsaved.
    if (const QString untaxed = m_payPanel->untaxedPay(); !untaxed.isEmpty() && !ShowMsg(msg::給与所得税なし確認, untaxed))
        return;
    const bool yes = expected.replacing->stored ? confirmReplacing(name, title) : ShowMsg(msg::登録確認, name);
    if (!yes)
        return;
    m_employeeRecord = *record;
    if (m_employeeRecord == EmployeeRecord::None)
        askToUpdateWage(name);
    storeStatement(name, title, expected);
}

bool StatementPage::payReadyToSave()
{
    // The pay is stored with the statement: a pay date that is no date, or
    // pay that could not be worked out, stops the save before anything is asked.
    if (const QString typedDate = m_payPanel->unreadablePayDate(); !typedDate.isEmpty()) {
        ShowMsg(msg::給与支給日不正, typedDate);
        return false;
    }
    if (!m_payPanel->problem().isEmpty()) {
        ShowMsg(msg::エラー給与詳細, m_payPanel->problem());
        return false;
    }
    if (const QString missing = m_payPanel->missingDeductions(); !missing.isEmpty()) {
        if (!ShowMsg(msg::給与控除未計算確認, missing))
            return false;
    }
    return true;
}

void StatementPage::askToUpdateWage(const QString &name)
{
    // The statement may pay another wage than usual; the master takes it
    // only when the user says so.
    if (const std::optional<QVariant> masterWage = masterWageIfOther(name)) {
        const QString wages = QStringLiteral("%1 の時給\n従業員マスタ: %2\nこの明細: %3")
                                  .arg(name, yenText(*masterWage), yenText(num時給->value()));
        if (ShowMsg(msg::登録時給変更確認, wages))
            m_employeeRecord = EmployeeRecord::Wage;
    }
}

// Writes the statement, its lines and its pay in one go, and the employee
// master when the user asked for it.
void StatementPage::storeStatement(const QString &name, const QString &title, const statements::Expectation &expected)
{
    statements::StatementToStore statement;
    statement.header = statements::Header{name,
                                          title,
                                          cmb勤務形態->currentText(),
                                          num時給->value(),
                                          num休憩->value(),
                                          num調整額->value(),
                                          num時間->value(),
                                          num合計->value(),
                                          num深夜->value(),
                                          num時間外->value(),
                                          num割増額->value(),
                                          num休日->value(),
                                          num時間外60超->value()};
    statement.payFromLines = false;
    statement.pay = m_payPanel->payToStore();
    statement.expected = expected;
    statement.employee = Entry従業員();
    m_employeeRecord = EmployeeRecord::None;
    const std::optional<QList<QVariantList>> lines = statements::completeLines(m_state.WorkDb);
    if (!lines) {
        ShowMsg(msg::エラー明細登録, failureDetail(m_state.WorkDb));
        return;
    }
    statement.lines = *lines;
    const statements::SaveResult saved = statements::save(m_state.MainDb, {statement});
    if (!saved.ok()) {
        // Nothing was written; what the user typed stays on the page.
        tellRefusal(saved);
        return;
    }
    Clear時給();
    if (statement.employee.kind != statements::EmployeeUpdate::Kind::None)
        emit employeeMasterChanged();
}

void StatementPage::tellRefusal(const statements::SaveResult &result)
{
    using statements::Refusal;
    switch (result.refusal) {
    case Refusal::None:
        return;
    case Refusal::Failed:
        ShowMsg(msg::エラー明細登録, failureDetail(m_state.MainDb, m_state.WorkDb));
        return;
    case Refusal::TitleClosed:
        ShowMsg(msg::締め変更不可, QStringLiteral("%1 は%2のため、%3できません。")
                                       .arg(keyText(result.name, result.title), closing::closedMark(result.closedAt),
                                            QStringLiteral("登録")));
        return;
    case Refusal::DayInClosedTitle:
        ShowMsg(msg::締め変更不可, closedDayText(result.name, result.date, result.otherTitle, result.closedAt));
        return;
    case Refusal::StoredChanged:
        ShowMsg(msg::登録確認後変更, keyText(result.name, result.title));
        return;
    case Refusal::DayStoredElsewhere:
        ShowMsg(msg::登録確認後変更,
                keyText(result.name, result.otherTitle) + QStringLiteral("の ") + dateText(result.date)
                    + QStringLiteral(" の勤務"));
        return;
    }
}

void StatementPage::Read時給()
{
    if (!checkNameAndTitle())
        return;
    openStatement(cmb氏名->currentText(), txtタイトル->text());
}

bool StatementPage::openStatement(const QString &name, const QString &title)
{
    const std::optional<bool> stored = isStored(name, title);
    if (!stored) {
        // A page that already names the statement (its 読込) must not be
        // saved over it now; one that shows another is left as it is.
        if (cmb氏名->currentText() == name && txtタイトル->text() == title)
            tellReadFailure();
        else
            ShowMsg(msg::エラー明細行読込, failureDetail(m_state.MainDb));
        return false;
    }
    if (!*stored) {
        // Nothing is reopened, so nothing on the page is replaced.
        ShowMsg(msg::その他明細なし, keyText(name, title));
        return false;
    }
    if (!confirmDiscardLines())
        return false;
    loadStatement(name, title);
    return true;
}

void StatementPage::loadStatement(const QString &name, const QString &title)
{
    cmb氏名->setEditText(name);
    txtタイトル->setText(title);
    bool headerFailed = false;
    if (const auto header = statements::readHeader(m_state.MainDb, name, title, &headerFailed)) {
        num時給->setValue(orZero(header->wage));
        cmb勤務形態->setEditText(header->patternType);
    }
    // The statement keeps its own wage and shift type until another name is chosen.
    m_settledName = name;
    // An empty shift type leaves the label as it is.
    if (!cmb勤務形態->currentText().isEmpty())
        showPattern(kSpacesAfterPick);
    // The stored lines replace the page's in one write; lines that cannot be
    // read leave empty lines, never the ones of another statement.
    const bool loaded = !headerFailed && statements::loadLines(m_state.MainDb, m_state.WorkDb, name, title);
    if (!loaded)
        Clear明細();
    grid明細->refresh();
    m_linesEdited = false;
    m_importedMeanwhile = {};
    showCloseState(title);
    if (!loaded) {
        clearTotals();
        m_payPanel->clear();
        tellReadFailure();
        return;
    }
    m_readFailed = false;
    // The totals are the sums of the lines as reopened, so what is shown and
    // printed always adds up, even for a statement stored with stale totals.
    recalculateTotals();
    // The pay as it was paid, not worked out again under today's tables.
    const auto pay = statements::readStatementPay(m_state.MainDb, name, title);
    if (!pay) {
        m_payPanel->clear();
        tellReadFailure();
        return;
    }
    statements::StatementPay stored;
    stored.name = name;
    stored.title = title;
    m_payPanel->showStored(pay->value_or(stored));
}

void StatementPage::Delete時給()
{
    if (!checkNameAndTitle())
        return;
    const QString name = cmb氏名->currentText();
    const QString title = txtタイトル->text();
    const std::optional<bool> stored = isStored(name, title);
    if (!stored) {
        ShowMsg(msg::エラー明細行読込, failureDetail(m_state.MainDb));
        return;
    }
    if (!*stored) {
        ShowMsg(msg::その他明細なし, keyText(name, title));
        return;
    }
    if (refusedAsClosed(name, title, QStringLiteral("削除")))
        return;
    if (!ShowMsg(msg::削除確認, keyText(name, title)))
        return;
    if (!statements::remove(m_state.MainDb, name, title)) {
        ShowMsg(msg::エラー明細削除, failureDetail(m_state.MainDb));
        return;
    }
    Clear時給();
    cmb氏名->setFocus();
}

void StatementPage::showCloseState(const QString &title)
{
    m_openedTitle = title;
    const std::optional<closing::State> state =
        title.isEmpty() ? std::optional(closing::State{}) : closing::stateOf(m_state.MainDb, title);
    // A state that cannot be read is taken as closed: 登録 asks again anyway.
    m_closed = !state || state->closed();
    grid明細->setReadOnly(m_closed);
    m_payPanel->setReadOnly(m_closed);
    num時給->setReadOnly(m_closed);
    lbl締め->setVisible(m_closed);
    lbl締め->setText(!state ? QStringLiteral("締めの状態を読めません — 変更できません")
                            : closing::closedMark(state->closedAt()) + QStringLiteral("— 変更できません"));
}

void StatementPage::refreshCloseState()
{
    if (!m_openedTitle.isEmpty())
        showCloseState(m_openedTitle);
}

bool StatementPage::refusedAsClosed(const QString &name, const QString &title, const QString &what)
{
    const std::optional<closing::State> state = closing::stateOf(m_state.MainDb, title);
    if (!state) {
        ShowMsg(msg::エラー明細行確認, failureDetail(m_state.MainDb));
        return true;
    }
    if (!state->closed())
        return false;
    ShowMsg(msg::締め変更不可,
            QStringLiteral("%1 は%2のため、%3できません。")
                .arg(keyText(name, title), closing::closedMark(state->closedAt()), what));
    return true;
}

std::optional<StatementPage::EmployeeRecord> StatementPage::askAboutNewEmployee(const QString &name)
{
    if (employees::find(m_state.MainDb, name))
        return EmployeeRecord::None;
    const QStringList alike = typed::lookAlikes(name, employees::names(m_state.MainDb));
    if (alike.isEmpty())
        return ShowMsg(msg::登録新規従業員確認, name) ? std::optional(EmployeeRecord::Add) : std::nullopt;
    const QString subject = QStringLiteral("%1 は従業員に登録されていません。\n似た名前の登録済みの従業員: %2")
                                .arg(name, alike.join(QStringLiteral("、")));
    if (ShowMsg(msg::登録新規従業員類似確認, subject))
        return EmployeeRecord::Add;
    cmb氏名->setFocus();
    return std::nullopt;
}

std::optional<QVariant> StatementPage::masterWageIfOther(const QString &name) const
{
    const std::optional<employees::WageAndPattern> employee = employees::find(m_state.MainDb, name);
    double wage = 0;
    // An empty wage box has no wage to give the master.
    if (!employee || !fmt::toNumber(num時給->value(), &wage) || wage == 0)
        return std::nullopt;
    double stored = 0;
    if (fmt::toNumber(employee->wage, &stored) && stored == wage)
        return std::nullopt;
    return employee->wage;
}

bool StatementPage::confirmOverlaps(const QString &name, const QString &title, QStringList *accepted)
{
    const std::optional<QList<QVariantList>> lines = statements::completeLines(m_state.WorkDb);
    QStringList dates;
    for (const QVariantList &line : lines.value_or(QList<QVariantList>{}))
        dates << line.at(0).toString();
    const std::optional<QList<statements::StoredDay>> days =
        lines ? statements::daysStoredElsewhere(m_state.MainDb, name, title, dates) : std::nullopt;
    const std::optional<QList<statements::Overlap>> overlaps =
        days ? statements::overlappingStatements(m_state.MainDb, m_state.WorkDb, name, title) : std::nullopt;
    if (!overlaps) {
        ShowMsg(msg::エラー明細行確認, failureDetail(m_state.MainDb, m_state.WorkDb));
        return false;
    }
    // A day paid in a closed month is not paid again under another title.
    for (const statements::StoredDay &day : *days)
        if (day.closed()) {
            ShowMsg(msg::締め変更不可, closedDayText(name, day.date, day.title, day.closedAt));
            return false;
        }
    if (overlaps->isEmpty())
        return true;
    QStringList named;
    for (const statements::Overlap &overlap : *overlaps) {
        named << QStringLiteral("%1　%2～%3")
                     .arg(keyText(name, overlap.title), dateText(overlap.firstDate), dateText(overlap.lastDate));
        *accepted << overlap.title;
    }
    return ShowMsg(msg::登録期間重複確認,
                   QStringLiteral("この明細と同じ期間の明細が保存されています。\n") + named.join(u'\n'));
}

} // namespace pelmar
