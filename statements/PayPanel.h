#pragma once

#include "calc/Premium.h"
#include "payroll/PayItems.h"
#include "payroll/StatementPay.h"

#include <QGroupBox>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;

namespace pelmar {

struct ProgramState;

// The pay of the statement on the page, beside its lines: 支給日, the 支給
// items, each deduction and 差引支給額. Worked out again whenever the lines,
// the name, the pay date or a typed figure change. A reopened statement
// shows its stored pay as it was paid until any of these changes. Each
// computed deduction can be typed over; a typed figure is marked and kept,
// and emptying the box goes back to the computed one.
class PayPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit PayPanel(ProgramState &state, QWidget *parent = nullptr);

    // The page's lines or name changed: the pay is worked out from them.
    void linesChanged(const QString &name, const premium::Rules &rules);
    // A reopened statement: its stored pay (kept or not) as it was paid.
    void showStored(const statements::StatementPay &stored);
    // Empty, for an empty page.
    void clear();
    void setReadOnly(bool readOnly);

    // Before 登録: a typed pay date that is no date (empty when it reads),
    // and why the pay could not be worked out (a failed read; empty when it
    // could). Either stops the save.
    QString unreadablePayDate() const;
    QString problem() const { return m_problem; }
    // What 登録 stores: nothing for a statement saved before pay was kept
    // and not changed since (no pay is invented for it).
    std::optional<statements::StatementPay> payToStore() const;
    // Whether the figures on the panel are the stored ones.
    bool showsStored() const { return m_stored.has_value(); }
    // The deductions that have no figure, each with why, one a line; empty
    // when every one has a figure (or the stored pay is shown).
    QString missingDeductions() const;
    // Who is paid with no 所得税 because the 税区分 is unset or なし, and
    // what: empty when tax is withheld, typed, or no pay is computed.
    QString untaxedPay() const;

protected:
    // Back on the page, the pay follows details or settings changed meanwhile.
    void showEvent(QShowEvent *event) override;

private:
    struct Rows;
    void buildPayDate(Rows &rows);
    void buildEarnings(Rows &rows);
    void buildDeductions(Rows &rows);
    void recompute();
    void showFigures();
    void showTaxTable(bool blank);
    void showTableNotices();
    void onDeductionEdited(int index, const QString &text);
    void onOtherEdited(const QString &text);
    // The figure typed in a deduction box (kOther: その他), or none.
    void setTyped(int index, std::optional<pay::Yen> amount);
    void onTypedFinished(int index);
    void rememberTyped();
    static constexpr int kOther = -1;
    void onPayDateEdited();
    // The pay date the panel uses: the typed one, else the rule's from the
    // lines; invalid when the typed text is no date or there are no lines.
    QDate payDate() const;
    QDate ruleDate() const;
    void leaveStored();

    ProgramState &m_state;
    QString m_name;
    premium::Rules m_rules;
    std::optional<statements::PayItems> m_items; // nothing when the lines could not be read
    QString m_problem; // why the pay cannot be shown (a failed read)
    // The figures shown: the computed ones, or the stored ones.
    statements::StatementPay m_pay;
    std::optional<statements::StatementPay> m_stored;
    std::optional<statements::PayItems> m_storedItems;
    pay::PayResult m_result;
    pay::Deductions m_typed; // the figures typed over the computed ones
    pay::Yen m_other = 0;
    // The typed figures as they were before the box being typed in.
    pay::Deductions m_typedAtStart;
    pay::Yen m_otherAtStart = 0;
    bool m_readOnly = false;
    bool m_empty = true; // cleared, and nothing worked out since
    bool m_dateTyped = false; // the pay date box holds a date of its own, not the rule's
    QDate m_ruleDate;

    QLineEdit *txt支給日 = nullptr;
    QLabel *lbl基本給 = nullptr, *lbl時間外手当 = nullptr, *lbl深夜手当 = nullptr, *lbl休日手当 = nullptr,
           *lbl支給調整額 = nullptr, *lbl通勤手当 = nullptr, *lbl総支給額 = nullptr;
    std::array<QLabel *, pay::kDeductionCount> m_captions{};
    std::array<QLineEdit *, pay::kDeductionCount> m_boxes{};
    QLineEdit *txtその他 = nullptr;
    QLabel *lbl控除合計 = nullptr, *lbl差引支給額 = nullptr;
    QLabel *lbl支給状態 = nullptr;
    QLabel *lbl税額表 = nullptr; // the 月額表 the 所得税 shown was read from
    QLabel *lbl税額表予告 = nullptr; // a pay date ahead that no 月額表 serves
};

} // namespace pelmar
