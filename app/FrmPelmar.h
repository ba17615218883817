#pragma once

#include "app/DataFiles.h"
#include "app/PageSet.h"
#include "store/ProgramState.h"

#include <QMainWindow>
#include <QPointer>

class QTabWidget;

namespace pelmar {

class EmployeePage;
class HintWindow;
class HistoryPage;
class PatternPage;
class SettingsPage;
class StatementPage;

// The main window: the five pages on the tab control SSTab1, the shared
// program state and the load and unload sequences. Constructing it on a
// data folder opens both database files and runs the whole load sequence;
// when a file cannot be opened nothing else runs and openError() says why.
class FrmPelmar : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmPelmar(const QString &dataPath, QWidget *parent = nullptr);
    ~FrmPelmar() override;

    bool isOpen() const { return m_openError.isEmpty(); }
    QString openError() const { return m_openError; }

    ProgramState &state() { return m_state; }
    StatementPage *statementPage() const { return m_statement; }
    HistoryPage *historyPage() const { return m_history; }
    EmployeePage *employeePage() const { return m_employees; }
    PatternPage *patternPage() const { return m_patterns; }
    SettingsPage *settingsPage() const { return m_settings; }

    // One-time set-up of labels, bindings, number formats and grid columns.
    void FormInit();
    // Deletes every saved statement and all master data, then empties the pages.
    // A backup of the main file is taken first; without it nothing is deleted.
    void AllDelete();
    // Puts a backup in the place of the main file and reloads every page, after
    // a backup of the file as it is now. Anything that fails before the file is
    // replaced leaves it untouched.
    void RestoreBackup(const QString &backupPath);
    // Opens the support page in the desktop's browser.
    void ShowSupportPage();
    // Gives the window the size and place it had when the program last
    // closed, and keeps them again at this close. Only the program itself
    // does this: windows made by tests and tools keep their own size.
    void rememberWindowGeometry();
    // A second start of the program asked this window to come to the front.
    void bringToFront();
    // The checks and the daily backup that run after the window first shows
    // are over and their findings told.
    bool afterStartWorkDone() const { return m_afterStartDone; }

signals:
    // The window was closed: databases and other windows are closed; the
    // program ends here.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void openChosenStatement(const QString &name, const QString &title);
    bool Form_Load(const QString &dataPath);
    void Form_Unload();
    // The pages from a clean start on what the files hold now; what start-up
    // readied is handed to their first load.
    void loadPages(const ReadyAtStart &ready = {});
    // Any hint button: hands this window's name, the button's name and the
    // caption to the hint window and shows it, not modal.
    void cmdHint_Click(const QWidget *button);
    void closeDatabases();
    void beginAfterStartWork();
    void tellAfterStartFindings(const DataFiles::AfterStart &found);
    // A file the check after start-up found damaged is offered its remedy:
    // the main file a backup, the work file a new file.
    void offerRepairs(const DataFiles::AfterStart &found);
    // The data folder's tax tables that are not used, and a pay date ahead
    // that no table serves: told once the window is up.
    void tellTableFindings();
    void restoreFrom(const QString &backupPath, DataFiles::CurrentFile current);
    void renewWorkFile();
    // Rows the main connection has written since it was opened.
    qint64 mainChanges() const;
    // A backup of the main file when something was saved since the pages
    // were loaded: the day's statements are in a backup the same day.
    void backUpAtClose();

    QTabWidget *SSTab1 = nullptr;
    ProgramState m_state;
    DataFiles m_files;
    QString m_openError;
    bool m_unloaded = false;
    bool m_afterStartBegun = false;
    bool m_afterStartDone = false;
    // mainChanges() when the pages were last loaded from the file.
    qint64 m_mainChangesAtLoad = 0;
    bool m_remembersGeometry = false;
    StatementPage *m_statement = nullptr;
    HistoryPage *m_history = nullptr;
    EmployeePage *m_employees = nullptr;
    PatternPage *m_patterns = nullptr;
    SettingsPage *m_settings = nullptr;
    PageSet m_pages;
    QPointer<HintWindow> m_hint;
};

} // namespace pelmar

// The main window keeps its name at global scope, where the program and its
// window tests have always found it.
using FrmPelmar = pelmar::FrmPelmar;
