#include "app/FrmPelmar.h"

#include "app/Look.h"
#include "app/SupportPage.h"
#include "app/Version.h"
#include "hints/HintWindow.h"
#include "masters/EmployeePage.h"
#include "masters/PatternPage.h"
#include "masters/SettingsPage.h"
#include "messages/ShowMsg.h"
#include "statements/HistoryPage.h"
#include "statements/PunchImportDialog.h"
#include "statements/StatementPage.h"
#include "store/ExportFile.h"
#include "widgets/PageBuilder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

namespace pelmar {

FrmPelmar::FrmPelmar(const QString &dataPath, QWidget *parent) : QMainWindow(parent), m_files(m_state)
{
    // The files are checked and the work tables readied on a thread of their
    // own while the pages are built; Form_Load picks that up.
    m_files.startPreparing(dataPath);
    // No PDF or CSV saved from the window goes into the data folder.
    exportfile::protectDataFolder(dataPath);
    setObjectName(QStringLiteral("FrmPelmar"));
    setFont(uiFont());
    setWindowIcon(hintIcon());

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    m_statement = new StatementPage(m_state, SSTab1);
    m_history = new HistoryPage(m_state, SSTab1);
    m_employees = new EmployeePage(m_state, SSTab1);
    m_patterns = new PatternPage(m_state, SSTab1);
    m_settings = new SettingsPage(m_state, SSTab1);
    SSTab1->addTab(m_statement, QStringLiteral("勤務表"));
    SSTab1->addTab(m_history, QStringLiteral("履　歴"));
    SSTab1->addTab(m_employees, QStringLiteral("従業員"));
    SSTab1->addTab(m_patterns, QStringLiteral("勤務形態"));
    SSTab1->addTab(m_settings, QStringLiteral("設定・情報"));
    setCentralWidget(SSTab1);
    resize(900, 680);
    m_pages = PageSet({m_statement, m_history, m_employees, m_patterns, m_settings},
                      {m_statement, m_history, m_settings, m_patterns, m_employees},
                      {m_settings, m_employees, m_patterns, m_history, m_statement});

    for (TabPage *page : m_pages.pages())
        connect(page, &TabPage::hintRequested, this, &FrmPelmar::cmdHint_Click);
    connect(m_settings, &SettingsPage::supportPageRequested, this, &FrmPelmar::ShowSupportPage);
    connect(m_settings, &SettingsPage::allDeleteRequested, this, &FrmPelmar::AllDelete);
    connect(m_settings, &SettingsPage::restoreRequested, this, &FrmPelmar::RestoreBackup);
    connect(m_settings, &SettingsPage::paySettingsChanged, m_statement, &StatementPage::applyPaySettings);
    connect(m_settings, &SettingsPage::paySettingsChanged, this,
            [this](const settings::PaySettings &pay) { m_employees->setMinimumWage(pay.minimumWage); });
    connect(m_history, &HistoryPage::statementChosen, this, &FrmPelmar::openChosenStatement);
    connect(m_history, &HistoryPage::closeStateChanged, m_statement, &StatementPage::refreshCloseState);
    // An import knows of the statement page's unsaved lines, and the page of the import.
    connect(m_history, &HistoryPage::punchImportOpened, this, [this](PunchImportDialog *dialog) {
        dialog->setUnsavedStatement(m_statement->unsavedStatement());
        connect(dialog, &PunchImportDialog::imported, m_statement, &StatementPage::noteImported);
    });
    connect(m_statement, &StatementPage::closeRequested, this, &QWidget::close);
    // The pickers offer what the masters hold as soon as they are registered.
    connect(m_employees, &EmployeePage::masterChanged, this, [this] { m_statement->ReadComb氏名(); });
    // An employee a save added or gave a new wage shows on the employee
    // page at once, unless rows typed there are waiting to be registered.
    connect(m_statement, &StatementPage::employeeMasterChanged, this, [this] {
        if (!m_employees->hasUnsavedEdits())
            m_employees->showMaster();
    });
    connect(m_patterns, &PatternPage::masterChanged, this, [this] {
        m_statement->ReadComb勤務形態();
        m_statement->Read勤務形態参照();
        m_employees->refreshDropDown();
    });

    Form_Load(dataPath);
}

void FrmPelmar::openChosenStatement(const QString &name, const QString &title)
{
    if (!m_statement->openStatement(name, title))
        return;
    SSTab1->setCurrentWidget(m_statement);
    m_statement->focusName();
}

FrmPelmar::~FrmPelmar()
{
    // Destroying the window without closing it (as the tests do) still
    // releases its connections, and nothing else.
    if (!m_unloaded)
        closeDatabases();
}

bool FrmPelmar::Form_Load(const QString &dataPath)
{
    if (!m_files.open(dataPath)) {
        m_openError = m_files.openError();
        closeDatabases();
        return false;
    }

    setWindowTitle(QStringLiteral("Pelmar Ver ") + kPelmarVersion);
    FormInit();
    loadPages(m_files.takeReadyAtStart());
    // Reading the files whole and the daily backup wait until the window
    // shows: they grow with the data, start-up does not.
    // The user hears of an upgrade once, when the window is up.
    if (const QStringList upgraded = m_files.upgradedFiles(); !upgraded.isEmpty())
        QTimer::singleShot(0, this,
                           [upgraded] { ShowMsg(msg::その他データ更新, upgraded.join(QStringLiteral("、"))); });
    return true;
}

void FrmPelmar::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // A window shown but not painted (started minimised) still has its
    // files read, a moment later.
    if (!m_afterStartBegun)
        QTimer::singleShot(2000, this, [this] { beginAfterStartWork(); });
}

void FrmPelmar::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    // Queued from the first paint, so that the window is on the screen
    // before the reading of the files competes with it for the machine.
    if (!m_afterStartBegun)
        QTimer::singleShot(0, this, [this] { beginAfterStartWork(); });
}

void FrmPelmar::loadPages(const ReadyAtStart &ready)
{
    // The pages, each from a clean start: the work tables are scratch and
    // whatever an earlier run left in them goes. Each table is written once
    // at most, and not at all when it already holds what its page shows.
    m_pages.load(ready);
    m_mainChangesAtLoad = mainChanges();
}

void FrmPelmar::rememberWindowGeometry()
{
    m_remembersGeometry = true;
    restoreWindowGeometry(this);
}

void FrmPelmar::FormInit()
{
    // 1. Information labels.
    m_settings->showInformation(kPelmarVersion, m_state.DataPath, bannerPixmap());

    // 2. The grids bound, then each page's number formats and columns.
    m_pages.bindAndSetUp();
}

void FrmPelmar::ShowSupportPage()
{
    // Beside the program in a build or a portable copy; in the shared data
    // of an installed one.
    const QString page = findSupportPage(QCoreApplication::applicationDirPath());
    if (page.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        ShowMsg(msg::エラーヘルプ表示, page.isEmpty() ? kSupportPageFile : QDir::toNativeSeparators(page));
}

void FrmPelmar::cmdHint_Click(const QWidget *button)
{
    const HintHandOver handOver{objectName(), button->objectName(), windowTitle()};
    // One hint window at a time. Pressing the button whose hint is open
    // brings it forward with its edits; another button's press replaces it,
    // so the window never shows one button's text under another's name.
    if (m_hint && (!m_hint->isVisible() || !m_hint->shows(handOver.HintFormName, handOver.HintCtlName))) {
        // Text typed into the open hint is not replaced without a question.
        if (m_hint->isVisible() && m_hint->hasUnsavedText()
            && !ShowMsg(msg::その他未保存確認, QStringLiteral("ヒント"))) {
            m_hint->raise();
            m_hint->activateWindow();
            return;
        }
        m_hint->close();
        m_hint = nullptr;
    }
    if (!m_hint)
        m_hint = new HintWindow(handOver, m_files.workConnection(), this);
    m_hint->show();
    m_hint->raise();
    m_hint->activateWindow();
}

void FrmPelmar::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void FrmPelmar::closeEvent(QCloseEvent *event)
{
    // Lines typed and not saved are not thrown away without a question.
    if (!m_unloaded && !m_pages.confirmDiscardEdits()) {
        event->ignore();
        return;
    }
    if (!m_unloaded && isOpen()) {
        if (m_remembersGeometry)
            keepWindowGeometry(this);
        backUpAtClose();
    }
    Form_Unload();
    event->accept();
    emit unloaded();
}

void FrmPelmar::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // The hint window goes while the databases are still open.
    if (m_hint)
        m_hint->close();
    closeDatabases();
    // Every other window of the program goes too, the last opened first.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget *window = *it;
        if (window == this || !window->isVisible() || qobject_cast<FrmPelmar *>(window))
            continue;
        window->close();
        QCoreApplication::processEvents();
    }
}

void FrmPelmar::closeDatabases()
{
    // The grids' models hold the work connection; they go first.
    m_pages.release();
    m_files.close();
}

} // namespace pelmar
