// The statement page at work: the pickers, the day lines as they are typed,
// the Enter and Down shortcuts, and the four totals.
#include "statements/StatementPage.h"
#include "statements/PayPanel.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "calc/TypedText.h"
#include "calc/WorkTime.h"
#include "masters/EmployeeStore.h"
#include "masters/PatternStore.h"
#include "messages/ShowMsg.h"
#include "payroll/DetailLines.h"
#include "payroll/StatementStore.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/DataGrid.h"
#include "widgets/ImeSetOpen.h"
#include "widgets/NumberBox.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace pelmar {

namespace {

// The label after choosing an employee has three spaces before 実労; the
// one after a pick or a reopened statement has two.
constexpr int kSpacesAfterEmployee = 3;

bool belongsTo(QWidget *widget, const QWidget *owner)
{
    for (; widget; widget = widget->parentWidget())
        if (widget == owner)
            return true;
    return false;
}

// Replaces a picker's list and keeps the text it shows.
void replaceList(QComboBox *combo, const QStringList &items)
{
    const QString text = combo->currentText();
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

} // namespace

void StatementPage::connectOperations()
{
    connect(grid明細, &DataGrid::afterColUpdate, this, &StatementPage::onGridAfterUpdate);
    connect(grid明細, &DataGrid::keyDown, this, &StatementPage::onGridKeyDown);
    // Told once the edit is over, not from inside the grid's commit.
    connect(
        grid明細, &DataGrid::writeFailed, this,
        [this](const QSqlError &error) {
            ShowMsg(msg::エラーセル書込み, failureDetail(error, fileOf(m_state.WorkDb)));
        },
        Qt::QueuedConnection);
    // The grid is always typed in direct input.
    connect(grid明細, &DataGrid::gridActivated, this, [this] { ImeSetOpen(grid明細, false); });
    connect(grid明細, &DataGrid::rowColChange, this, [this] { ImeSetOpen(grid明細, false); });
    ImeSetOpen(grid明細, false);
    // A break shorter than the law asks for the line's hours is marked.
    // So are a line whose night hours cannot be known and a wage below the minimum.
    grid明細->setCellNote([this](int row, int column) { return cellNote(row, column); });

    // Entries refused before they reach a line, told once the edit is over:
    // the cell or the wage box keeps what it held.
    connect(
        grid明細, &DataGrid::entryRefused, this,
        [](int column, const QString &typed) {
            ShowMsg(msg::入力範囲外, typed::refusedEntry(daylines::columnCaption(column), typed));
        },
        Qt::QueuedConnection);
    num時給->setRange(0, worktime::kMaxWage);
    connect(
        num時給, &NumberBox::entryRefused, this,
        [](const QString &typed) { ShowMsg(msg::入力範囲外, typed::refusedEntry(QStringLiteral("時給"), typed)); },
        Qt::QueuedConnection);

    connect(cmb勤務形態, &QComboBox::activated, this, &StatementPage::onPatternChosen);
    cmb勤務形態->installEventFilter(this);
    cmb勤務形態->lineEdit()->installEventFilter(this);
    // What the user typed stays as typed: no completion from the list turns
    // "田中" into "田中一郎".
    cmb氏名->setCompleter(nullptr);
    cmb氏名->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &StatementPage::onFocusChanged);

    connect(cmdクリア, &QAbstractButton::clicked, this, &StatementPage::clearAfterAsking);
    // A title is settled as soon as it is typed, so the page shows what will be stored.
    connect(txtタイトル, &QLineEdit::editingFinished, this, &StatementPage::settleTitle);
    // The page says at once when the title typed is a closed month's, and
    // opens again when another title is typed over a closed one.
    connect(txtタイトル, &QLineEdit::editingFinished, this, [this] {
        if (txtタイトル->text() != m_openedTitle)
            showCloseState(txtタイトル->text());
    });
    connect(cmd履歴閉じる, &QAbstractButton::clicked, this, &StatementPage::closeRequested);
    connect(cmdHint, &QAbstractButton::clicked, this, [this] { emit hintRequested(cmdHint); });
    connect(cmd行削除, &QAbstractButton::clicked, this, &StatementPage::Delete行);
}

StatementPage::~StatementPage()
{
    // Focus moves while the page's children are torn down; by then this page
    // no longer wants to hear of it.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

bool StatementPage::eventFilter(QObject *watched, QEvent *event)
{
    // A wheel turned while the pointer passes over a picker must not pick
    // another employee or shift type behind the user's back.
    if (event->type() == QEvent::Wheel && (watched == cmb氏名 || watched == cmb勤務形態))
        return true;
    // The shift type is only ever picked from its list: no key edits it.
    if (event->type() == QEvent::KeyPress && (watched == cmb勤務形態 || watched == cmb勤務形態->lineEdit())) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace || !key->text().isEmpty())
            return key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter && key->key() != Qt::Key_Tab
                && key->key() != Qt::Key_Escape;
    }
    return QWidget::eventFilter(watched, event);
}

void StatementPage::onFocusChanged(QWidget *old, QWidget *now)
{
    const bool wasIn = belongsTo(old, cmb氏名);
    const bool isIn = belongsTo(now, cmb氏名);
    if (isIn && !wasIn)
        ImeSetOpen(cmb氏名, true);
    else if (wasIn && !isIn && now) {
        settleName();
        if (cmb氏名->currentText() != m_settledName)
            Get時給();
    }
}

// ---------------------------------------------------------------- pickers

void StatementPage::ReadComb氏名()
{
    const ReadyAtStart *ready = readyAtStart();
    replaceList(cmb氏名, ready && ready->names ? *ready->names : employees::names(m_state.MainDb));
}

void StatementPage::ReadComb勤務形態()
{
    const ReadyAtStart *ready = readyAtStart();
    replaceList(cmb勤務形態, ready && ready->types ? *ready->types : patterns::offeredTypes(m_state.MainDb));
}

void StatementPage::Read勤務形態参照()
{
    if (const ReadyAtStart *ready = readyAtStart(); !ready || !ready->reference)
        patterns::copyToReference(m_state.MainDb, m_state.WorkDb);
}

void StatementPage::Seek勤務形態()
{
    if (m_curPatternType.isEmpty())
        return;
    // A type the master does not hold leaves all four empty.
    m_pattern = patterns::find(m_state.MainDb, m_curPatternType).value_or(patterns::PatternTimes{});
}

statements::EmployeeUpdate StatementPage::Entry従業員()
{
    using Kind = statements::EmployeeUpdate::Kind;
    statements::EmployeeUpdate update;
    update.wage = num時給->value();
    switch (m_employeeRecord) {
    case EmployeeRecord::None:
        return update;
    case EmployeeRecord::Wage:
        update.kind = Kind::Wage;
        return update;
    case EmployeeRecord::Add:
        break;
    }
    update.kind = Kind::Add;
    update.patternType = cmb勤務形態->currentText();
    // No shift type: the new employee gets no pattern times either, never
    // the ones an earlier lookup left behind.
    if (!update.patternType.isEmpty()) {
        m_curPatternType = update.patternType;
        Seek勤務形態();
        update.times = m_pattern;
    }
    return update;
}

void StatementPage::showPattern(int spacesBeforeWorked)
{
    m_curPatternType = cmb勤務形態->currentText();
    if (m_curPatternType.isEmpty()) {
        lbl勤務形態->clear();
        return;
    }
    Seek勤務形態();
    lbl勤務形態->setText(daylines::patternCaption(m_pattern.start, m_pattern.end, m_pattern.breakHours, m_pattern.worked,
                                                spacesBeforeWorked));
}

void StatementPage::onPatternChosen()
{
    showPattern(kSpacesAfterPick);
}

void StatementPage::Get時給()
{
    const QString name = cmb氏名->currentText();
    m_settledName = name;
    if (name.isEmpty())
        return;
    const std::optional<employees::WageAndPattern> employee = employees::find(m_state.MainDb, name);
    // An employee without a wage brings neither wage nor shift type.
    if (employee && !employee->wage.isNull()) {
        const QVariant previousWage = wageForLines();
        num時給->setValue(employee->wage);
        if (!employee->patternType.isNull())
            cmb勤務形態->setEditText(employee->patternType.toString());
        offerNewWage(previousWage);
    }
    showPattern(kSpacesAfterEmployee);
    // Another employee is paid by their own details.
    m_payPanel->linesChanged(name, m_pay);
}

void StatementPage::offerNewWage(const QVariant &previousWage)
{
    const QVariant wage = wageForLines();
    // A closed statement's lines keep what was paid.
    if (m_closed || !wage.isValid() || worktime::sameValue(wage, previousWage))
        return;
    grid明細->commitRow();
    QList<int> rows;
    QStringList numbers;
    // Lines typed before any wage was known (a name not yet picked) have
    // hours and no wage, so no amount: they are offered the wage as well.
    const auto typedFor = [&](int row) {
        const QVariant lineWage = grid明細->valueAt(row, daylines::kWage);
        if (previousWage.isValid())
            return worktime::sameValue(lineWage, previousWage);
        return worktime::isEmptyValue(lineWage) && !worktime::isEmptyValue(grid明細->valueAt(row, daylines::kDate));
    };
    for (int row = 0; row < grid明細->rowCount(); ++row)
        if (typedFor(row)) {
            rows << row;
            numbers << grid明細->valueAt(row, daylines::kLineNo).toString();
        }
    if (rows.isEmpty())
        return;
    const QString before = previousWage.isValid()
                               ? QStringLiteral("前の時給 %1 円で").arg(fmt::format(previousWage, fmt::kYen))
                               : QStringLiteral("時給なしで");
    const QString subject = QStringLiteral("%1 行目は%2入力されています。%3 の時給は %4 円です。")
                                .arg(numbers.join(QStringLiteral(", ")), before, cmb氏名->currentText(),
                                     fmt::format(wage, fmt::kYen));
    if (!ShowMsg(msg::入力時給適用確認, subject))
        return;
    // Each line is worked out as if its new wage had been typed into it.
    const int row = grid明細->currentRowIndex();
    const int column = grid明細->currentColumn();
    for (int line : std::as_const(rows)) {
        grid明細->setCurrentIndex(grid明細->model()->index(line, daylines::kWage));
        grid明細->setCellValue(daylines::kWage, wage);
        onGridAfterUpdate(daylines::kWage);
    }
    if (row >= 0)
        grid明細->setCurrentIndex(grid明細->model()->index(row, std::max(column, int(daylines::kDate))));
}

// ---------------------------------------------------------------- lines

QVariant StatementPage::wageForLines() const
{
    // What the wage box shows; "#,###" shows nothing for 0, nor does an empty
    // box. A wage the box could not be typed with (a negative one read from
    // an older master) reaches no line either.
    const QVariant wage = num時給->value();
    if (fmt::format(wage, fmt::kYen).isEmpty() || wage.toDouble() < 0 || wage.toDouble() > worktime::kMaxWage)
        return QVariant();
    return wage;
}

daylines::Line StatementPage::currentLine() const
{
    daylines::Line line;
    for (int c = 0; c < daylines::kColumnCount; ++c)
        line[c] = grid明細->cellValue(c);
    return line;
}

void StatementPage::writeLine(const daylines::Line &line, const daylines::Line &before)
{
    for (int c = daylines::kDate; c < daylines::kColumnCount; ++c) {
        if (!worktime::sameValue(line[c], before[c]))
            grid明細->setCellValue(c, line[c]);
    }
}

void StatementPage::onGridAfterUpdate(int column)
{
    // The end of a day is no start: a shift from midnight starts at 0000 of
    // the next date.
    if (column == daylines::kStart && fmt::asciiDigits(grid明細->cellValue(column).toString()) == u"2400") {
        grid明細->setCellValue(column, QVariant());
        ShowMsg(msg::入力開始2400);
    }
    const daylines::Line before = currentLine();
    const QString patternType = cmb勤務形態->currentText();
    const daylines::EditOutcome outcome = daylines::completeAfterEdit(
        before, column, patternType,
        [this, &patternType] {
            m_curPatternType = patternType;
            Seek勤務形態();
            return m_pattern;
        },
        wageForLines(), grid明細->valueBeforeEdit());
    writeLine(outcome.line, before);
    m_linesEdited = true;
    if (outcome.refusal != daylines::Refusal::None)
        tellRefusal(outcome, column, before[column]);
    // Every accepted edit, an amount typed straight into 金額 included,
    // moves the premiums and the totals; an amount the rule just set takes
    // the line's premium and rounding.
    const bool amountByRule = column >= daylines::kDate && column <= daylines::kAdjustment;
    const int row = grid明細->currentRowIndex();
    Calc割増(amountByRule ? row : -1, column == daylines::kAmount ? row : -1);
    recalculateTotals();
}

// A refused entry is named with what was typed and, for a date or a time,
// the forms that are taken.
void StatementPage::tellRefusal(const daylines::EditOutcome &outcome, int editedColumn, const QVariant &typed)
{
    const int column = outcome.refusedColumn;
    const QString caption = daylines::columnCaption(column);
    if (column != editedColumn || worktime::isEmptyValue(typed)) {
        ShowMsg(msg::入力範囲外, caption); // a break that the times left too long
        return;
    }
    const QString entry = typed::refusedEntry(caption, typed.toString());
    if (outcome.refusal == daylines::Refusal::Unreadable && column == daylines::kDate)
        ShowMsg(msg::入力日付形式, entry);
    else if (outcome.refusal == daylines::Refusal::Unreadable && (column == daylines::kStart || column == daylines::kEnd))
        ShowMsg(msg::入力時刻形式, entry);
    else
        ShowMsg(msg::入力範囲外, entry);
}

void StatementPage::get日付データ()
{
    const QString patternType = cmb勤務形態->currentText();
    if (patternType.isEmpty() || !grid明細->onRow() || m_closed)
        return;
    m_curPatternType = patternType;
    Seek勤務形態();
    const daylines::Line before = currentLine();
    writeLine(daylines::fillFromPattern(before, m_pattern, wageForLines()), before);
    m_linesEdited = true;
    Calc割増(grid明細->currentRowIndex());
    recalculateTotals();
}

void StatementPage::onGridKeyDown(GridKey &key)
{
    const bool enter = key.key == Qt::Key_Return || key.key == Qt::Key_Enter;
    const bool down = key.key == Qt::Key_Down;
    const int column = grid明細->currentColumn();
    // A closed statement's lines are only looked at: no next date is filled.
    if (m_closed || !grid明細->onRow() || !((enter && column == daylines::kAmount) || (down && column == daylines::kDate)))
        return;

    key.key = 0;
    if (down)
        grid明細->commitRow(); // a date just typed goes through the after-update first
    const QVariant day = grid明細->cellValue(daylines::kDate);
    grid明細->moveNext();
    if (!worktime::isEmptyValue(day) && grid明細->onRow()) {
        const QString next = worktime::nextDay(day.toString());
        if (!next.isEmpty()) {
            grid明細->setCellValue(daylines::kDate, next);
            if (down)
                get日付データ();
        }
    }
    if (grid明細->pastLast())
        grid明細->moveLast();
    grid明細->setCurrentColumn(daylines::kDate);
}

void StatementPage::Delete行()
{
    if (!grid明細->onRow())
        return;
    if (m_closed && refusedAsClosed(cmb氏名->currentText(), m_openedTitle, QStringLiteral("行削除")))
        return;
    if (m_closed)
        showCloseState(m_openedTitle); // reopened meanwhile
    grid明細->deleteCurrentRow();
    m_linesEdited = true;
    grid明細->setFocus();
    Calc明細();
}

void StatementPage::Clear明細()
{
    const ReadyAtStart *ready = readyAtStart();
    if (!(ready && ready->lines) && !statements::resetLines(m_state.WorkDb))
        ShowMsg(msg::エラー明細行クリア, failureDetail(m_state.WorkDb));
    grid明細->refresh();
    m_linesEdited = false;
    m_importedMeanwhile = {};
}

bool StatementPage::recalculateTotals()
{
    grid明細->commitRow();
    const std::optional<statements::Totals> totals = statements::sumLines(m_state.WorkDb);
    if (!totals) {
        // Stale totals must never be saved or printed as if they were right.
        clearTotals();
        ShowMsg(msg::エラー合計計算);
        return false;
    }
    num休憩->setValue(totals->breakHours);
    num時間->setValue(totals->hours);
    num調整額->setValue(totals->adjustment);
    num合計->setValue(totals->amount);
    num深夜->setValue(totals->nightHours);
    num時間外->setValue(totals->overtimeHours);
    num割増額->setValue(totals->premium);
    num休日->setValue(totals->restDayHours);
    num時間外60超->setValue(totals->over60Hours);
    m_payPanel->linesChanged(cmb氏名->currentText(), m_pay);
    return true;
}

void StatementPage::clearTotals()
{
    for (NumberBox *box : {num休憩, num合計, num時間, num調整額, num深夜, num時間外, num割増額, num休日, num時間外60超})
        box->setValue(QVariant());
}

void StatementPage::focusName()
{
    cmb氏名->setFocus();
}

void StatementPage::refreshPickers()
{
    ReadComb氏名();
    ReadComb勤務形態();
    Read勤務形態参照();
}

void StatementPage::clearAfterAsking()
{
    if (confirmDiscardLines())
        Clear時給();
}

void StatementPage::Clear時給()
{
    cmb氏名->setEditText(QString());
    txtタイトル->clear();
    for (NumberBox *box :
         {num休憩, num合計, num時間, num時給, num調整額, num深夜, num時間外, num割増額, num休日, num時間外60超})
        box->setValue(QVariant());
    cmb勤務形態->setEditText(QString());
    lbl勤務形態->clear();
    m_settledName.clear();
    m_readFailed = false;
    showCloseState(QString());
    Clear明細();
    m_payPanel->clear();
    refreshPickers();
}

std::optional<QPair<QString, QString>> StatementPage::unsavedStatement() const
{
    if (!m_linesEdited || cmb氏名->currentText().isEmpty() || txtタイトル->text().isEmpty())
        return std::nullopt;
    return qMakePair(cmb氏名->currentText(), txtタイトル->text());
}

void StatementPage::noteImported(const QString &title, const QStringList &names)
{
    const auto unsaved = unsavedStatement();
    if (unsaved && names.contains(unsaved->first) && typed::titleForm(unsaved->second) == typed::titleForm(title))
        m_importedMeanwhile = *unsaved;
}

bool StatementPage::confirmReplacing(const QString &name, const QString &title)
{
    const QString key = name + QStringLiteral("（") + title + QStringLiteral("）");
    if (m_linesEdited && m_importedMeanwhile == qMakePair(name, title)) {
        if (!ShowMsg(msg::登録取込後確認, key))
            return false;
        m_importedMeanwhile = {};
        return true;
    }
    return ShowMsg(msg::登録上書き確認, key);
}

} // namespace pelmar
