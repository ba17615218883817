#pragma once

#include "masters/PaySettings.h"
#include "widgets/PageControls.h"
#include "widgets/TabPage.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QDoubleSpinBox;
class QTableWidget;
class QVBoxLayout;

namespace pelmar {
class PayrollSettingsRow;
class TaxTablesList;
}

namespace pelmar {

// The "設定・情報" page: the company's name and details, the reset of all
// data, and the program's information and support banner.
class SettingsPage : public TabPage {
    Q_OBJECT
public:
    SettingsPage(ProgramState &state, QWidget *parent = nullptr);

    void Read設定();
    // Stores the boxes after a confirmation. Stored when stored, Declined on
    // No, Failed when the database refused (the boxes keep what was typed).
    enum class EntryResult { Stored, Declined, Failed };
    EntryResult Entry設定();
    void Delete設定();
    void Clear設定();
    // The boxes empty and the company forgotten.
    void clear() override;
    // The pay settings (premiums, week, yen rounding): read into the
    // controls and handed to the statement page; stored after a question.
    // A read that fails is told and leaves the controls as they are.
    bool Read割増設定();
    EntryResult Entry割増設定();
    // What the controls show, as settings.
    settings::PaySettings shownPaySettings() const;
    // The company's name and details are gone from the database: nothing of
    // them may be printed any more.
    void forgetCompany();
    // The information labels: the program and its version, where the data
    // lives, and the support banner.
    void showInformation(const QString &version, const QString &dataPath, const QPixmap &banner);
    // Fills the list of backups from the backup folder, newest first.
    void Readバックアップ();
    // The backup file of the chosen row, empty when none is chosen.
    QString chosenBackup() const;

signals:
    // 実行: every stored statement and all master data are to go, once the
    // main window has checked and asked.
    void allDeleteRequested();
    // The banner was clicked.
    void supportPageRequested();
    // 復元, confirmed: the main file is to be replaced by this backup.
    void restoreRequested(const QString &backupPath);
    // The pay settings as stored, after each read.
    void paySettingsChanged(const pelmar::settings::PaySettings &paySettings);

protected:
    void showEvent(QShowEvent *event) override;
    // Nothing left from a file that was since replaced, then the company
    // and the pay settings as stored.
    void loadPage() override;

private:
    // The frames, outermost first.
    QFrame *imContainer3D6 = nullptr, *imContainer3D7 = nullptr, *imContainer3D8 = nullptr, *frameAllDelete = nullptr,
           *frameAllDeleteInner = nullptr;
    QLineEdit *txt自社名 = nullptr;
    QPlainTextEdit *txt自社情報 = nullptr;
    // The company's button bar, left to right.
    QPushButton *cmd設定削除 = nullptr, *cmd設定クリア = nullptr, *cmd設定登録 = nullptr, *cmd設定読込 = nullptr;
    QToolButton *cmdHint4 = nullptr;
    QPushButton *cmd一括削除7 = nullptr;
    QLabel *lblAllDelete = nullptr;
    ClickLabel *Image2 = nullptr;
    QLabel *lblInfo = nullptr;
    QLabel *lblSupport = nullptr;
    // Premiums, the week and yen rounding.
    QFrame *frame割増 = nullptr;
    QCheckBox *chk深夜割増 = nullptr, *chk時間外割増 = nullptr;
    QDoubleSpinBox *num深夜割増率 = nullptr, *num時間外割増率 = nullptr;
    QComboBox *cmb週開始 = nullptr, *cmb端数処理 = nullptr;
    QLabel *lbl割増説明 = nullptr;
    // Overtime past 60 hours a month, the legal weekly rest day, and the
    // regional minimum wage with the date it applies from.
    QDoubleSpinBox *num月60時間超割増率 = nullptr, *num休日割増率 = nullptr, *num最低賃金 = nullptr;
    QComboBox *cmb法定休日 = nullptr;
    QDateEdit *dte最低賃金適用日 = nullptr;
    QPushButton *cmd割増登録 = nullptr, *cmd割増読込 = nullptr;
    // The backups: when, why, how many employees and statements each holds.
    QFrame *frameBackup = nullptr;
    QTableWidget *lstBackup = nullptr;
    QPushButton *cmdバックアップ復元 = nullptr;
    // The tax tables carried and the dates they serve.
    TaxTablesList *m_taxTables = nullptr;

    void buildCompanySettings(QGridLayout *company);
    void buildAllDelete(QGridLayout *company);
    void buildPaySettings(QGridLayout *grid);
    void makePayControls();
    void layOutPaySettings(QGridLayout *grid, QFrame *bar);
    void connectPaySettings();
    void buildBackupList(QGridLayout *backups);
    void buildInformation(QVBoxLayout *body);
    void connectOperations();
    // The pay date rule, the business kind and the slips a page, stored
    // with the premium settings by the same 登録.
    PayrollSettingsRow *m_payrollSettings = nullptr;
    void showPaySettings(const settings::PaySettings &paySettings);
    // What the confirmation and the notices call a backup: when and why.
    QString describeChosen() const;

    ProgramState &m_state;
};

} // namespace pelmar
