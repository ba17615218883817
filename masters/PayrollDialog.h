#pragma once

#include "masters/EmployeePayroll.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace pelmar {

struct ProgramState;
class YenSpinBox;

// 給与設定: one employee's payroll details (tax column, dependants,
// insurance, resident tax, commuting allowance, dates), opened from the
// employee page for a registered employee. 保存 keeps a copy of the main
// file first, like the master's 登録, and stores the details in one write.
class PayrollDialog : public QDialog {
    Q_OBJECT
public:
    PayrollDialog(ProgramState &state, const QString &name, QWidget *parent = nullptr);
    // Reads the employee's stored details onto the dialog; false, after
    // telling the user, when they cannot be read.
    bool load();
    // 保存: checks, keeps a copy, stores; the dialog closes on success.
    void save();

private:
    void buildForm(QFormLayout *form);
    // The details the dialog shows; *problem says what does not read.
    employees::EmployeePayroll typed(QString *problem) const;
    void display(const employees::EmployeePayroll &payroll);
    void updateEnabled();

    ProgramState &m_state;
    QString m_name;
    QComboBox *cmb性別 = nullptr, *cmb税区分 = nullptr, *cmb通勤手当区分 = nullptr;
    QSpinBox *spn扶養親族等の数 = nullptr;
    QCheckBox *chk雇用保険 = nullptr;
    YenSpinBox *num健康保険料 = nullptr, *num介護保険料 = nullptr, *num厚生年金保険料 = nullptr, *num住民税 = nullptr;
    YenSpinBox *num通勤手当 = nullptr, *num通勤手当非課税限度 = nullptr;
    QList<YenSpinBox *> yenBoxes() const;
    QLineEdit *txt入社日 = nullptr, *txt退職日 = nullptr;
    QPushButton *cmd給与保存 = nullptr, *cmd給与取消 = nullptr;
    QPushButton *cmd住民税年度別 = nullptr; // 住民税 month by month, 年度 by 年度
    QDate m_storedLeft; // the 退職日 as stored, to ask about the 住民税 once it is set
    // A 退職日 newly set: how the rest of that 年度's 住民税 is collected.
    void askResidentTaxRemainder(const QDate &left);
};


} // namespace pelmar
