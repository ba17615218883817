#pragma once

#include "masters/PayrollSettings.h"

#include <QWidget>

class QComboBox;
class QPushButton;

namespace pelmar {

// One line of the settings page: when statements are paid (支給日ルール),
// the 事業の種類 that picks the employment insurance rate, and how many
// slips a page holds; and the button to the office's social insurance.
class PayrollSettingsRow : public QWidget {
    Q_OBJECT
public:
    explicit PayrollSettingsRow(QWidget *parent = nullptr);
    void showSettings(const settings::PayrollSettings &shown);
    settings::PayrollSettings shownSettings() const;

signals:
    // 社会保険: the office's social insurance settings are asked for.
    void insuranceRequested();

private:
    QComboBox *cmb支給月 = nullptr, *cmb支給日 = nullptr, *cmb事業の種類 = nullptr, *cmb明細書式 = nullptr;
    QPushButton *cmd社会保険設定 = nullptr;
};

} // namespace pelmar
