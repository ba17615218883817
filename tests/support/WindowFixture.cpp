#include "WindowFixture.h"

#include "app/FrmPelmar.h"
#include "reports/PayslipPrinter.h"
#include "statements/StatementPage.h"
#include "widgets/DataGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace pelmar::test {

QString Printed::text(const QString &control) const
{
    if (previews.isEmpty())
        return QStringLiteral("<not printed>");
    for (const payslip::PayslipItem &item : previews.first())
        if (item.name == control)
            return item.text;
    return QStringLiteral("<not printed>");
}

Printed pressPrint(QAbstractButton *button)
{
    Printed printed;
    payslip::setPreviewHook([&printed](const QList<payslip::PayslipItem> &items, const QString &name) {
        printed.previews << items;
        printed.suggestedPdfName = name;
    });
    QTest::mouseClick(button, Qt::LeftButton);
    payslip::setPreviewHook({});
    return printed;
}

void commitText(QWidget *edit, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(edit, &commit);
}

WindowFixture::WindowFixture() = default;
WindowFixture::~WindowFixture() = default;

void WindowFixture::init()
{
    m_requests.clear();
    m_yes = true;
    m_whenAsked = {};
    setMessageAnswerer([this](const MessageRequest &request) {
        m_requests << request;
        if (m_whenAsked)
            m_whenAsked(request);
        return m_yes;
    });
    m_data = std::make_unique<TestDataFolder>();
    QVERIFY(m_data->isValid());
    m_main = m_data->mainDb();
    m_work = m_data->workDb();
    seed();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(openWindow());
}

void WindowFixture::cleanup()
{
    payslip::setPreviewHook({});
    setMessageAnswerer({});
    closeWindow();
    m_main = QSqlDatabase();
    m_work = QSqlDatabase();
    m_data.reset();
}

bool WindowFixture::openWindow()
{
    closeWindow();
    m_window = std::make_unique<FrmPelmar>(m_data->path());
    if (!m_window->isOpen()) {
        qWarning("The window did not open: %s", qPrintable(m_window->openError()));
        return false;
    }
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        return false;
    // What runs after the window shows (the full read of the files, the
    // daily backup) is over before a test looks, as a user who starts
    // typing a moment later would find it.
    if (!QTest::qWaitFor([this] { return m_window->afterStartWorkDone(); }, 60000)) {
        qWarning("The checks after start-up did not finish");
        return false;
    }
    return true;
}

void WindowFixture::closeWindow()
{
    m_window.reset();
    finishClosing();
}

StatementPage *WindowFixture::page() const
{
    return m_window->statementPage();
}

const QObject *WindowFixture::windowObject() const
{
    return m_window.get();
}

QStringList WindowFixture::asked() const
{
    QStringList keys;
    for (const MessageRequest &request : m_requests)
        keys << request.category + u'/' + request.subKey + u'/' + request.subject;
    return keys;
}

namespace {

// Opens a cell's editor with F2 and empties it, as a user replacing a value.
QLineEdit *openEditor(DataGrid *grid, int row, int column)
{
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
    QTest::keyClick(grid, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (editor) {
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
    }
    return editor;
}

} // namespace

void WindowFixture::typeInto(DataGrid *grid, int row, int column, const QString &text, int finishKey)
{
    QLineEdit *editor = openEditor(grid, row, column);
    QVERIFY2(editor, "no cell editor opened");
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key(finishKey));
}

void WindowFixture::type(int row, int column, const QString &text, int finishKey)
{
    typeInto(control<DataGrid>("Grid明細"), row, column, text, finishKey);
}

void WindowFixture::commitInto(DataGrid *grid, int row, int column, const QString &text)
{
    QLineEdit *editor = openEditor(grid, row, column);
    QVERIFY2(editor, "no cell editor opened");
    commitText(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

void WindowFixture::chooseEmployee(const QString &name)
{
    control<QComboBox>("cmb氏名")->setFocus();
    control<QComboBox>("cmb氏名")->setEditText(name);
    control<QLineEdit>("txtタイトル")->setFocus();
}

Printed WindowFixture::print()
{
    return pressPrint(control<QPushButton>("Cmd印刷"));
}

bool WindowFixture::anyProgramConnection()
{
    const QStringList names = QSqlDatabase::connectionNames();
    return std::any_of(names.begin(), names.end(),
                       [](const QString &n) { return n.startsWith(QLatin1String("pelmar-")); });
}

void WindowFixture::finishClosing()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace pelmar::test
