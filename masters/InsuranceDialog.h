#pragma once

#include "masters/EmployeeInsurance.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pelmar {

struct ProgramState;

// 社会保険: one employee's 健康保険 and 厚生年金 (加入, 資格取得日,
// 資格喪失日, 生年月日, 勤務区分) and the 標準報酬月額 through time, one line
// per month it applies from. Opened from the employee page for a
// registered employee; 保存 keeps a copy of the main file first and stores
// everything in one write. The figures are kept, not yet used by the pay.
class InsuranceDialog : public QDialog {
    Q_OBJECT
public:
    InsuranceDialog(ProgramState &state, const QString &name, QWidget *parent = nullptr);
    // Reads what is kept onto the dialog; false, after telling the user,
    // when it cannot be read.
    bool load();
    // 保存: checks, keeps a copy, stores; the dialog closes on success.
    void save();
    // 報酬月額から: the current line's two 標準報酬月額 from a 報酬月額, by the
    // grades in force in the line's month.
    void fillFromRemuneration();

private:
    void buildForm();
    void addHistoryLine(const employees::StandardRemuneration &entry);
    void display(const employees::EmployeeInsurance &insurance);
    // What the dialog shows; *problem says what does not read.
    employees::EmployeeInsurance typed(QString *problem) const;
    QList<employees::StandardRemuneration> typedHistory(QStringList &problems) const;

    ProgramState &m_state;
    QString m_name;
    QCheckBox *chk健康保険 = nullptr, *chk厚生年金 = nullptr;
    QLineEdit *txt資格取得日 = nullptr, *txt資格喪失日 = nullptr, *txt生年月日 = nullptr;
    QComboBox *cmb勤務区分 = nullptr;
    QTableWidget *tbl標準報酬月額 = nullptr;
    QLineEdit *txt報酬月額 = nullptr;
    QPushButton *cmd等級 = nullptr, *cmd標準報酬追加 = nullptr, *cmd標準報酬削除 = nullptr;
    QPushButton *cmd社会保険保存 = nullptr, *cmd社会保険取消 = nullptr;
};

} // namespace pelmar
