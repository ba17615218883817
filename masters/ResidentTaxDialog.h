#pragma once

#include "masters/ResidentTaxStore.h"

#include <QDialog>

#include <array>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace pelmar {

struct ProgramState;

// 住民税（年度別）: one employee's 特別徴収税額 of a 年度 (June to May) as
// the 決定通知書 gives them: June's amount and the amount of July to May, or
// twelve amounts; the 市区町村; and how the rest is collected once the
// employee leaves. Opened from the 給与設定 dialog. A pay deducts the amount
// of its 支給月; a 年度 without a row keeps the single 住民税 of 給与設定.
class ResidentTaxDialog : public QDialog {
    Q_OBJECT
public:
    ResidentTaxDialog(ProgramState &state, const QString &name, QWidget *parent = nullptr);
    // Shows the stored row of the 年度 chosen (empty boxes when none);
    // false, after telling the user, when it cannot be read.
    bool load();
    // 保存: a copy of the main file first, then the row of the 年度.
    bool save();
    // 削除: the row of the 年度, after a question.
    void remove();

private:
    void buildNoticeBoxes(QGridLayout *grid, int &row);
    void buildMonthBoxes(QGridLayout *grid, int &row);
    void showYear(const pay::ResidentTaxYear &year);
    pay::ResidentTaxYear shownYear() const;
    void updateForm();

    ProgramState &m_state;
    QString m_name;
    QSpinBox *spn住民税年度 = nullptr;
    QLineEdit *txt市区町村 = nullptr;
    QRadioButton *rdo通知書 = nullptr, *rdo月ごと = nullptr;
    QSpinBox *num住民税6月 = nullptr, *num住民税7月以降 = nullptr;
    std::array<QSpinBox *, pay::kResidentTaxMonths> m_months{};
    QComboBox *cmb退職後 = nullptr;
    QLabel *lbl住民税年額 = nullptr;
    QPushButton *cmd住民税保存 = nullptr, *cmd住民税削除 = nullptr, *cmd住民税閉じる = nullptr;
};

} // namespace pelmar
