#pragma once

#include "statements/PunchImportDialog.h"
#include "widgets/PageControls.h"
#include "widgets/TabPage.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;

namespace pelmar {

class HistoryPayReports;
class ReportDialog;

// The "履　歴" page: the list of saved statements.
class HistoryPage : public TabPage {
    Q_OBJECT
public:
    HistoryPage(ProgramState &state, QWidget *parent = nullptr);
    ~HistoryPage() override;

    // The steps the window runs on every page (TabPage).
    void bindData() override;
    void releaseData() override;
    void setUp() override;
    void clear() override { Clear履歴(); }

    void Read履歴();
    void Clear履歴();

    // The pickers of the reports, from what is stored now: the titles,
    // newest first; the names that have statements; the years of the chosen
    // name's statements. Filled whenever the page shows and by 読込.
    void ReadCombタイトル();
    void ReadComb台帳氏名();
    void ReadComb台帳年();

    // Every statement of the chosen title, one slip a page in the order of
    // the employees' numbers, with a page of day lines after each when
    // chk明細付き is ticked: to the print preview, or to a PDF file.
    void cmd一括印刷_Click();
    void cmd一括PDF_Click();
    // The monthly summary of the chosen title, and the wage ledger of the
    // chosen name and year, each in a window of its own.
    void cmd一覧表_Click();
    void cmd台帳_Click();
    // The window the last of those opened, while it is open.
    ReportDialog *reportWindow() const;
    // Closes the chosen title once its slips are paid, or reopens it for a
    // correction, each after a question; the state and its history show
    // beside the picker.
    void cmd締め_Click();
    void cmd締め解除_Click();
    void Read締め状態();
    // Punches of a time recorder's CSV file made into statements of a title,
    // in a dialog of their own.
    void cmd取込_Click();

signals:
    // 選択 on a listed statement: the main window reopens it.
    void statementChosen(const QString &name, const QString &title);
    // The title was closed or reopened.
    void closeStateChanged(const QString &title);
    // 取込 opened its dialog: the window tells it of the statement page.
    void punchImportOpened(PunchImportDialog *dialog);

protected:
    void showEvent(QShowEvent *event) override;
    // The list empty; start-up may have emptied its table already.
    void loadPage() override { Clear履歴(); }

private:
    QFrame *imContainer3D2 = nullptr;
    QFrame *imContainer3D9 = nullptr;
    DataGrid *grid履歴 = nullptr;
    QPushButton *cmd履歴クリア = nullptr;
    QPushButton *cmd履歴読込 = nullptr;
    QPushButton *cmd履歴選択 = nullptr;
    QPushButton *cmd取込 = nullptr;
    QToolButton *cmdHint2 = nullptr;

    QFrame *frame帳票 = nullptr;
    QComboBox *cmbタイトル選択 = nullptr;
    QPushButton *cmd一括印刷 = nullptr;
    QPushButton *cmd一括PDF = nullptr;
    QCheckBox *chk明細付き = nullptr;
    QPushButton *cmd一覧表 = nullptr;
    QComboBox *cmb台帳氏名 = nullptr;
    QComboBox *cmb台帳年 = nullptr;
    QPushButton *cmd台帳 = nullptr;
    QPushButton *cmd締め = nullptr;
    QPushButton *cmd締め解除 = nullptr;
    QLabel *lbl締め状態 = nullptr;

    void choose();
    void buildReportControls(QFrame *frame);
    void connectReports();
    struct Batch;
    // The slips of the chosen title as pages; nothing when there is nothing
    // to print, which has been told.
    std::optional<Batch> chosenBatch();
    void showReport(ReportDialog *dialog);
    void buildCloseControls(QFrame *frame);
    void setClosed(bool closed);

    ProgramState &m_state;
    QPointer<ReportDialog> m_report;
    HistoryPayReports *m_payReports = nullptr;
};

} // namespace pelmar
