#include "statements/PayPanel.h"

#include "calc/Formats.h"
#include "calc/TypedText.h"
#include "masters/EmployeePayroll.h"
#include "masters/PayrollSettings.h"
#include "messages/ShowMsg.h"
#include "payroll/TableNotice.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/DateBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>

#include <cmath>

namespace pelmar {

namespace {

const QString kShownDate = QStringLiteral("yyyy/MM/dd");
const QString kNone = QStringLiteral("—");
const QString kTypedStyle = QStringLiteral("background: #fff4c0;");

constexpr const char16_t *kBoxNames[pay::kDeductionCount] = {u"txt健康保険", u"txt介護保険", u"txt厚生年金",
                                                             u"txt雇用保険", u"txt所得税",   u"txt住民税"};

QString yen(pay::Yen amount)
{
    return QLocale(QLocale::English).toString(amount);
}

QString yen(const std::optional<pay::Yen> &amount)
{
    return amount ? yen(*amount) : kNone;
}

// Typed yen, read as the grid reads numbers: thousands commas only between
// groups of three, a minus (a refund), at most 99,999,999 yen, and 円 after
// it; whole yen only. Nothing for text that is no amount: 1,2,3 is not 123.
std::optional<pay::Yen> typedYen(QString text)
{
    text = text.trimmed();
    if (text.endsWith(u'円'))
        text.chop(1);
    const std::optional<double> number = fmt::parseTypedNumber(text);
    if (!number || *number != std::floor(*number))
        return std::nullopt;
    return pay::Yen(*number);
}

QLabel *figure(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(70);
    return label;
}

QString gapText(pay::Gap gap, const QString &what, const QDate &date)
{
    switch (gap) {
    case pay::Gap::NoPayDate:
        return QStringLiteral("支給日がないため%1を計算できません。支給日を入れるか、%1を入力してください。").arg(what);
    case pay::Gap::NoTaxTable:
        return QStringLiteral("支給日 %1 の源泉徴収税額表は入っていません。%2を入力してください。")
            .arg(date.toString(kShownDate), what);
    case pay::Gap::NoInsuranceRate:
        return QStringLiteral("%1 の雇用保険料率は入っていません。%2を入力してください。")
            .arg(date.toString(kShownDate), what);
    case pay::Gap::None:
        break;
    }
    return {};
}

} // namespace

// The panel's rows: a caption and its value, or a heading over both columns.
struct PayPanel::Rows {
    QGridLayout *grid;
    QWidget *owner;
    int row = 0;

    QLabel *add(const QString &caption, QWidget *value)
    {
        auto *label = new QLabel(caption, owner);
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
        return label;
    }

    void heading(const QString &text)
    {
        auto *label = new QLabel(text, owner);
        label->setStyleSheet(QStringLiteral("font-weight: bold;"));
        grid->addWidget(label, row++, 0, 1, 2);
    }
};

PayPanel::PayPanel(ProgramState &state, QWidget *parent) : QGroupBox(parent), m_state(state)
{
    setObjectName(QStringLiteral("frm給与計算"));
    setTitle(QStringLiteral("給与計算"));
    auto *grid = new QGridLayout(this);
    // The page is full: the panel keeps to the height of the lines beside it.
    grid->setVerticalSpacing(0);
    grid->setContentsMargins(6, 2, 6, 2);
    Rows rows{grid, this};
    buildPayDate(rows);
    buildEarnings(rows);
    buildDeductions(rows);

    lbl差引支給額 = figure(QStringLiteral("lbl差引支給額"), this);
    lbl差引支給額->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 13pt;"));
    rows.add(QStringLiteral("差引支給額"), lbl差引支給額)->setStyleSheet(QStringLiteral("font-weight: bold;"));

    lbl支給状態 = new QLabel(this);
    lbl支給状態->setObjectName(QStringLiteral("lbl支給状態"));
    lbl支給状態->setWordWrap(true);
    lbl支給状態->setStyleSheet(QStringLiteral("color: #804000;"));
    grid->addWidget(lbl支給状態, rows.row++, 0, 1, 2);
    lbl税額表予告 = new QLabel(this);
    lbl税額表予告->setObjectName(QStringLiteral("lbl税額表予告"));
    lbl税額表予告->setWordWrap(true);
    lbl税額表予告->setStyleSheet(QStringLiteral("color: #a00000;"));
    lbl税額表予告->hide();
    grid->addWidget(lbl税額表予告, rows.row++, 0, 1, 2);
    grid->setRowStretch(rows.row, 1);

    connect(txt支給日, &QLineEdit::textEdited, this, &PayPanel::onPayDateEdited);
    connect(txt支給日, &QLineEdit::editingFinished, this, [this] {
        if (!m_dateTyped)
            txt支給日->setText(m_ruleDate.toString(kShownDate));
    });
    setFixedWidth(215);
    clear();
}

void PayPanel::buildPayDate(Rows &rows)
{
    txt支給日 = new QLineEdit(this);
    txt支給日->setObjectName(QStringLiteral("txt支給日"));
    txt支給日->setMaxLength(10);
    addCalendar(txt支給日);
    txt支給日->setToolTip(QStringLiteral("空にすると、設定の支給日ルールで明細の日付から決まります。"
                                         "所得税の税額表と雇用保険料率はこの日付で選びます。"));
    rows.add(QStringLiteral("支給日"), txt支給日);
}

void PayPanel::buildEarnings(Rows &rows)
{
    rows.heading(QStringLiteral("支給"));
    lbl基本給 = figure(QStringLiteral("lbl基本給"), this);
    lbl時間外手当 = figure(QStringLiteral("lbl時間外手当"), this);
    lbl深夜手当 = figure(QStringLiteral("lbl深夜手当"), this);
    lbl休日手当 = figure(QStringLiteral("lbl休日手当"), this);
    lbl支給調整額 = figure(QStringLiteral("lbl支給調整額"), this);
    lbl通勤手当 = figure(QStringLiteral("lbl通勤手当"), this);
    lbl総支給額 = figure(QStringLiteral("lbl総支給額"), this);
    rows.add(QStringLiteral("基本給"), lbl基本給);
    rows.add(QStringLiteral("時間外手当"), lbl時間外手当);
    rows.add(QStringLiteral("深夜手当"), lbl深夜手当);
    rows.add(QStringLiteral("休日手当"), lbl休日手当);
    rows.add(QStringLiteral("調整額"), lbl支給調整額);
    rows.add(QStringLiteral("通勤手当"), lbl通勤手当);
    rows.add(QStringLiteral("総支給額"), lbl総支給額)->setStyleSheet(QStringLiteral("font-weight: bold;"));
    lbl総支給額->setStyleSheet(QStringLiteral("font-weight: bold;"));
}

void PayPanel::buildDeductions(Rows &rows)
{
    rows.heading(QStringLiteral("控除"));
    auto *amounts = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9,]{0,13}")), this);
    for (int d = 0; d < pay::kDeductionCount; ++d) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QString::fromUtf16(kBoxNames[d]));
        box->setAlignment(Qt::AlignRight);
        box->setValidator(amounts);
        box->setMaximumWidth(95);
        m_boxes[d] = box;
        m_captions[d] = rows.add(statements::deductionName(pay::Deduction(d)), box);
        m_captions[d]->setObjectName(QStringLiteral("lbl") + statements::deductionName(pay::Deduction(d)));
        connect(box, &QLineEdit::textEdited, this, [this, d](const QString &text) { onDeductionEdited(d, text); });
        connect(box, &QLineEdit::editingFinished, this, [this, d] { onTypedFinished(d); });
    }
    txtその他 = new QLineEdit(this);
    txtその他->setObjectName(QStringLiteral("txtその他"));
    txtその他->setAlignment(Qt::AlignRight);
    txtその他->setValidator(amounts);
    txtその他->setMaximumWidth(95);
    txtその他->setToolTip(QStringLiteral("この明細だけの控除（立替金の精算など）"));
    rows.add(QStringLiteral("その他"), txtその他);
    connect(txtその他, &QLineEdit::textEdited, this, &PayPanel::onOtherEdited);
    connect(txtその他, &QLineEdit::editingFinished, this, [this] { onTypedFinished(kOther); });
    lbl控除合計 = figure(QStringLiteral("lbl控除合計"), this);
    rows.add(QStringLiteral("控除合計"), lbl控除合計);
    lbl税額表 = new QLabel(this);
    lbl税額表->setObjectName(QStringLiteral("lbl税額表"));
    lbl税額表->setStyleSheet(QStringLiteral("color: #606060; font-size: 8pt;"));
    lbl税額表->setToolTip(QStringLiteral("所得税を読んだ源泉徴収税額表（月額表）です。表は支給日で選びます。"));
    rows.grid->addWidget(lbl税額表, rows.row++, 0, 1, 2);
}

void PayPanel::clear()
{
    m_name.clear();
    m_items = statements::PayItems{};
    m_problem.clear();
    m_stored.reset();
    m_storedItems.reset();
    m_typed = {};
    m_other = 0;
    m_dateTyped = false;
    m_ruleDate = QDate();
    m_pay = statements::StatementPay{};
    m_result = pay::PayResult{};
    txt支給日->clear();
    txtその他->clear();
    m_empty = true;
    rememberTyped();
    showFigures();
}

void PayPanel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    txt支給日->setReadOnly(readOnly);
    txtその他->setReadOnly(readOnly);
    for (QLineEdit *box : m_boxes)
        box->setReadOnly(readOnly);
}

void PayPanel::linesChanged(const QString &name, const premium::Rules &rules)
{
    m_name = name;
    m_rules = rules;
    const auto lines = statements::pageItemLines(m_state.WorkDb);
    m_items = lines ? statements::payItems(*lines, rules) : std::nullopt;
    // A reopened statement keeps its stored pay while its lines are the ones
    // it was stored with. The split of the premium yen by kind follows the
    // settings of the day, so only what the lines themselves say is compared.
    const auto sameLines = [](const std::optional<statements::PayItems> &a,
                              const std::optional<statements::PayItems> &b) {
        return a && b && a->total == b->total && a->adjustment == b->adjustment && a->daysWorked == b->daysWorked
            && a->lastDate == b->lastDate;
    };
    if (m_stored && sameLines(m_items, m_storedItems) && name == m_stored->name) {
        showFigures();
        return;
    }
    leaveStored();
    recompute();
}

void PayPanel::showStored(const statements::StatementPay &stored)
{
    m_stored = stored;
    m_storedItems = m_items;
    m_typed = {};
    for (int d = 0; d < pay::kDeductionCount; ++d)
        if (stored.overridden[d])
            m_typed[d] = stored.deductions[d];
    m_other = stored.other;
    rememberTyped();
    txtその他->setText(stored.other != 0 ? yen(stored.other) : QString());
    m_dateTyped = stored.kept && stored.payDate.isValid();
    txt支給日->setText(m_dateTyped ? stored.payDate.toString(kShownDate) : QString());
    m_problem.clear();
    m_empty = false;
    // Pay that does not add up to the lines it was stored with (lines
    // written by an older save) is not shown as paid: it is worked out again.
    if (stored.kept && m_items && stored.gross - stored.commute != m_items->total) {
        leaveStored();
        recompute();
        return;
    }
    if (stored.kept)
        m_pay = stored;
    showFigures();
}

void PayPanel::leaveStored()
{
    m_stored.reset();
    m_storedItems.reset();
}

QDate PayPanel::ruleDate() const
{
    return m_ruleDate;
}

QDate PayPanel::payDate() const
{
    if (!m_dateTyped)
        return m_ruleDate;
    return typedDate(txt支給日->text()).value_or(QDate());
}

QString PayPanel::unreadablePayDate() const
{
    return m_dateTyped && !typedDate(txt支給日->text()) ? txt支給日->text() : QString();
}

void PayPanel::onPayDateEdited()
{
    m_dateTyped = !txt支給日->text().trimmed().isEmpty();
    leaveStored();
    recompute();
}

void PayPanel::onDeductionEdited(int index, const QString &text)
{
    if (text.trimmed().isEmpty())
        setTyped(index, std::nullopt); // back to the computed figure
    else if (const auto typed = typedYen(text))
        setTyped(index, typed);
    else if (m_typed[index] != m_typedAtStart[index])
        setTyped(index, m_typedAtStart[index]); // on the way to a figure (1,2 of 1,234), or no amount
}

void PayPanel::onOtherEdited(const QString &text)
{
    if (text.trimmed().isEmpty())
        setTyped(kOther, 0);
    else if (const auto typed = typedYen(text))
        setTyped(kOther, typed);
    else if (m_other != m_otherAtStart)
        setTyped(kOther, m_otherAtStart);
}

void PayPanel::setTyped(int index, std::optional<pay::Yen> amount)
{
    if (index == kOther)
        m_other = amount.value_or(0);
    else
        m_typed[index] = amount;
    leaveStored();
    recompute();
}

// A box left: text that is no amount is refused and told, the box back at
// its figure from before the edit; a deduction larger than the pay is asked
// about (a slip of a few zeros), and kept only when the user says so. The
// message waits for the focus to have moved.
void PayPanel::onTypedFinished(int index)
{
    QLineEdit *box = index == kOther ? txtその他 : m_boxes[index];
    const QString text = box->text().trimmed();
    const QString caption =
        index == kOther ? QStringLiteral("その他") : statements::deductionName(pay::Deduction(index));
    const std::optional<pay::Yen> before = index == kOther ? std::optional(m_otherAtStart) : m_typedAtStart[index];
    const std::optional<pay::Yen> amount = typedYen(text);
    if (!text.isEmpty() && !amount) {
        box->setModified(false);
        setTyped(index, before);
        QMetaObject::invokeMethod(
            this, [caption, text] { ShowMsg(msg::入力範囲外, typed::refusedEntry(caption, text)); },
            Qt::QueuedConnection);
    } else if (amount && amount != before && m_problem.isEmpty() && !m_empty && *amount > m_pay.gross) {
        const QString subject =
            QStringLiteral("%1 %2 円（総支給額 %3 円）").arg(caption, yen(*amount), yen(m_pay.gross));
        QMetaObject::invokeMethod(
            this,
            [this, index, before, subject] {
                if (!ShowMsg(msg::給与控除超過確認, subject)) {
                    setTyped(index, before);
                    rememberTyped();
                }
            },
            Qt::QueuedConnection);
    }
    rememberTyped();
    showFigures();
}

void PayPanel::rememberTyped()
{
    m_typedAtStart = m_typed;
    m_otherAtStart = m_other;
}

void PayPanel::recompute()
{
    m_empty = false;
    m_problem.clear();
    m_ruleDate = QDate();
    std::optional<statements::ComputedPay> computed;
    if (!m_items) {
        m_problem = QStringLiteral("明細を読めないため、給与を計算できません。\n") + failureDetail(m_state.WorkDb);
    } else {
        computed = statements::computePayOf(m_state.MainDb, m_name, *m_items,
                                            m_dateTyped ? std::optional(payDate()) : std::nullopt, m_other, m_typed);
        if (!computed)
            m_problem =
                QStringLiteral("給与の設定を読めないため、給与を計算できません。\n") + failureDetail(m_state.MainDb);
    }
    if (computed) {
        m_ruleDate = computed->ruleDate;
        m_result = computed->result;
        m_pay = statements::fromComputed(m_name, QString(), computed->input, m_result, computed->employmentRate);
    } else {
        m_result = pay::PayResult{};
        m_pay = statements::StatementPay{};
    }
    if (!m_dateTyped && !txt支給日->hasFocus())
        txt支給日->setText(m_ruleDate.toString(kShownDate));
    showFigures();
}

void PayPanel::showFigures()
{
    const bool oldStatement = m_stored && !m_stored->kept;
    const bool blank = m_empty || oldStatement || !m_problem.isEmpty();
    const auto item = [&](QLabel *label, pay::Yen amount) {
        label->setText(blank ? kNone : yen(amount));
    };
    item(lbl基本給, m_pay.basic);
    item(lbl時間外手当, m_pay.overtime);
    item(lbl深夜手当, m_pay.night);
    item(lbl休日手当, m_pay.holiday);
    item(lbl支給調整額, m_pay.adjustment);
    item(lbl通勤手当, m_pay.commute);
    // A statement saved before pay was kept shows what it paid, its total, and nothing invented.
    lbl総支給額->setText(oldStatement && m_items ? yen(m_items->total) : blank ? kNone : yen(m_pay.gross));

    for (int d = 0; d < pay::kDeductionCount; ++d) {
        QLineEdit *box = m_boxes[d];
        const bool typed = !blank && m_pay.overridden[d];
        const QString shown = blank || !m_pay.deductions[d] ? QString() : yen(*m_pay.deductions[d]);
        // The box being typed in keeps the user's text.
        if (!box->hasFocus() || !box->isModified())
            box->setText(shown);
        const QString name = statements::deductionName(pay::Deduction(d));
        m_captions[d]->setText(typed ? name + QStringLiteral(" ✎") : name);
        box->setStyleSheet(typed ? kTypedStyle : QString());
        const QString tip = typed ? QStringLiteral("手入力した金額です。消すと計算した金額に戻ります。")
                                  : QStringLiteral("計算した金額です。入力すると、その金額で上書きします。");
        box->setToolTip(tip);
        m_captions[d]->setToolTip(tip);
    }
    if (!txtその他->hasFocus() || !txtその他->isModified())
        txtその他->setText(blank || m_pay.other == 0 ? QString() : yen(m_pay.other));
    lbl控除合計->setText(blank ? kNone : yen(m_pay.deductionTotal));
    lbl差引支給額->setText(blank ? kNone : yen(m_pay.netPay));

    QStringList notes;
    if (!m_problem.isEmpty()) {
        notes << m_problem;
    } else if (oldStatement) {
        notes << QStringLiteral("控除を記録する前に保存した明細です。総支給額だけを表示しています。"
                                "明細を変えて登録すると、控除を計算して保存します。");
    } else if (m_stored) {
        notes << QStringLiteral("保存した時の金額です。税額表や従業員の給与設定が変わっても、"
                                "明細を変えるまでこのままです。");
    } else {
        if (const QString typed = unreadablePayDate(); !typed.isEmpty())
            notes << QStringLiteral("支給日「%1」は日付として読めません（例 2026/05/25）。").arg(typed);
        const QString tax = gapText(m_result.incomeTaxGap, QStringLiteral("所得税"), m_pay.payDate);
        const QString insurance = gapText(m_result.employmentInsuranceGap, QStringLiteral("雇用保険"),
                                          m_items && m_items->lastDate.isValid() ? m_items->lastDate : m_pay.payDate);
        for (const QString &gap : {tax, insurance})
            if (!gap.isEmpty())
                notes << gap;
        if (m_pay.column == pay::TaxColumn::Unset && !m_pay.overridden[pay::index(pay::Deduction::IncomeTax)])
            notes << QStringLiteral("税区分が未設定です。所得税は差し引いていません。従業員ページの「給与設定」で"
                                    "甲（扶養控除等申告書あり）か乙（なし）を選んでください。");
    }
    showTaxTable(blank);
    lbl支給状態->setText(notes.join(u'\n'));
    lbl支給状態->setVisible(!notes.isEmpty());
    // A wrapped label does not ask for its lines' height by itself: the
    // note would be cut off at the panel's foot.
    const QRect needed = lbl支給状態->fontMetrics().boundingRect(QRect(0, 0, width() - 16, 10000), Qt::TextWordWrap,
                                                                 lbl支給状態->text());
    lbl支給状態->setMinimumHeight(notes.isEmpty() ? 0 : needed.height());
}

void PayPanel::showEvent(QShowEvent *event)
{
    QGroupBox::showEvent(event);
    showTableNotices();
    if (!m_stored && m_items && !m_name.isEmpty())
        recompute();
}

void PayPanel::showTaxTable(bool blank)
{
    // Only a tax worked out here: not one typed over, nor one stored.
    const bool taxFromTable =
        !blank && !m_stored && !m_result.taxTable.isEmpty() && !m_pay.overridden[pay::index(pay::Deduction::IncomeTax)];
    lbl税額表->setText(taxFromTable ? QStringLiteral("所得税: %1 月額表").arg(m_result.taxTable) : QString());
    lbl税額表->setVisible(taxFromTable);
}

void PayPanel::showTableNotices()
{
    // Said before the date comes, on an empty page too: the owner can still
    // put a table in place in time.
    const statements::TableShortage shortage = m_state.MainDb.isOpen()
        ? statements::tableShortage(m_state.MainDb, QDate::currentDate())
        : statements::TableShortage{};
    lbl税額表予告->setText(shortage.brief());
    lbl税額表予告->setToolTip(shortage.text());
    lbl税額表予告->setVisible(shortage.uncovered.isValid());
    const QRect needed = lbl税額表予告->fontMetrics().boundingRect(QRect(0, 0, width() - 16, 10000), Qt::TextWordWrap,
                                                                   lbl税額表予告->text());
    lbl税額表予告->setMinimumHeight(shortage.uncovered.isValid() ? needed.height() : 0);
}

QString PayPanel::missingDeductions() const
{
    if (m_stored || !m_problem.isEmpty())
        return {};
    QStringList missing;
    for (int d = 0; d < pay::kDeductionCount; ++d) {
        if (m_pay.deductions[d])
            continue;
        const pay::Gap gap =
            pay::Deduction(d) == pay::Deduction::IncomeTax ? m_result.incomeTaxGap : m_result.employmentInsuranceGap;
        const QString name = statements::deductionName(pay::Deduction(d));
        const QString why =
            gapText(gap, name,
                    pay::Deduction(d) == pay::Deduction::IncomeTax || !m_items || !m_items->lastDate.isValid()
                        ? m_pay.payDate
                        : m_items->lastDate);
        missing << QStringLiteral("・%1: %2").arg(name, why);
    }
    return missing.join(u'\n');
}

QString PayPanel::untaxedPay() const
{
    const bool untaxed = m_pay.column == pay::TaxColumn::Unset || m_pay.column == pay::TaxColumn::None;
    if (m_stored || !m_problem.isEmpty() || !untaxed || m_pay.gross <= 0
        || m_pay.overridden[pay::index(pay::Deduction::IncomeTax)])
        return {};
    return QStringLiteral("%1 の税区分は「%2」です。総支給額 %3 円から所得税を差し引いていません。")
        .arg(m_name, m_pay.column == pay::TaxColumn::Unset ? QStringLiteral("未設定") : QStringLiteral("なし"),
             yen(m_pay.gross));
}

std::optional<statements::StatementPay> PayPanel::payToStore() const
{
    if (m_stored)
        return m_stored->kept ? m_stored : std::nullopt;
    return m_pay;
}

} // namespace pelmar
