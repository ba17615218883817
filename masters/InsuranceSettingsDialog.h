#pragma once

#include "masters/InsuranceSettings.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pelmar {

struct ProgramState;

// 社会保険の設定: the office's 健康保険 (協会けんぽ with its 支部, or a
// 健康保険組合 with its own typed rates) and whether premiums are taken in
// the next month's pay or the same month's. Opened from the settings page;
// 保存 stores the items in one write. Kept, not yet used by the pay.
class InsuranceSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit InsuranceSettingsDialog(ProgramState &state, QWidget *parent = nullptr);
    // Reads the stored settings onto the dialog; false, after telling the
    // user, when they cannot be read.
    bool load();
    void save();

private:
    void display(const settings::InsuranceSettings &shown);
    settings::InsuranceSettings typed(QString *problem) const;
    void updateEnabled();

    ProgramState &m_state;
    QRadioButton *opt協会けんぽ = nullptr, *opt健康保険組合 = nullptr;
    QComboBox *cmb協会けんぽ支部 = nullptr, *cmb社会保険料の徴収 = nullptr;
    QLineEdit *txt組合健康保険料率 = nullptr, *txt組合介護保険料率 = nullptr, *txt組合支援金率 = nullptr;
    QPushButton *cmd社会保険設定保存 = nullptr, *cmd社会保険設定取消 = nullptr;
};

// Opens the dialog over `parent` when the settings can be read.
void openInsuranceSettings(ProgramState &state, QWidget *parent);

} // namespace pelmar
