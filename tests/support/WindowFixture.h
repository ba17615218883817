#pragma once

#include "TestData.h"

#include "messages/ShowMsg.h"
#include "reports/PayslipLayout.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

#include <functional>
#include <memory>

namespace pelmar {
class FrmPelmar;
}
using FrmPelmar = pelmar::FrmPelmar;
class QAbstractButton;
class QWidget;

namespace pelmar {
class DataGrid;
class StatementPage;
} // namespace pelmar

namespace pelmar::test {

// What one press of a print button handed to the preview instead of showing it.
struct Printed {
    QList<QList<payslip::PayslipItem>> previews; // one per preview that would have opened
    QString suggestedPdfName;
    // The text of a control on the first preview, "<not printed>" when none opened.
    QString text(const QString &control) const;
};
Printed pressPrint(QAbstractButton *button);

// Japanese text arrives as an input method's commit, as a real one sends it
// when the user confirms a conversion.
void commitText(QWidget *edit, const QString &text);

// The control under `root` with this object name (its design name), of the
// kind asked for. A name that finds none, or more than one, ends the run
// naming it: no test goes on with a null control, or with another page's.
template <class T> T *findControl(const QObject *root, const char *name)
{
    const QList<T *> found = root ? root->findChildren<T *>(QString::fromUtf8(name)) : QList<T *>();
    if (found.size() != 1)
        qFatal("Expected one control named %s of the kind asked for, found %d", name, int(found.size()));
    return found.first();
}

// The base of every test of the main window. Before each test it makes a
// fresh data folder with a connection to each file, lets the test put in
// its rows (seed()), then opens the window shown offscreen; after each test
// it closes the window and removes the folder. No message ever opens a
// dialog: each is recorded and answered Yes unless the test says otherwise.
class WindowFixture : public QObject {
    Q_OBJECT
public:
    WindowFixture();
    ~WindowFixture() override;

protected slots:
    virtual void init();
    virtual void cleanup();

protected:
    // The rows a test needs before the window opens, written through
    // mainDb() and workDb().
    virtual void seed() {}

    // Opens the window on the folder, shown and exposed; an open one is
    // closed first, so this is also a restart. Says why when it fails.
    [[nodiscard]] bool openWindow();
    void closeWindow();
    FrmPelmar *window() const { return m_window.get(); }
    StatementPage *page() const; // the statement page, the first one
    // The window's control with this object name, as checks from outside
    // find it (see findControl()).
    template <class T> T *control(const char *name) const { return findControl<T>(windowObject(), name); }

    TestDataFolder &data() { return *m_data; }
    QSqlDatabase mainDb() const { return m_main; }
    QSqlDatabase workDb() const { return m_work; }
    Rows query(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {}) const
    {
        return rows(db, sql, values);
    }

    // Every message since init() or clearAsked(), as "category/subKey/subject".
    QStringList asked() const;
    const QList<MessageRequest> &requests() const { return m_requests; }
    void clearAsked() { m_requests.clear(); }
    // The answer every later confirmation gets.
    void answer(bool yes) { m_yes = yes; }
    // Runs for every later message while it is shown, before it is
    // answered: for what happens meanwhile (another program takes a file).
    void whenAsked(std::function<void(const MessageRequest &)> hook) { m_whenAsked = std::move(hook); }

    // Types into a grid cell as a user does: stands on it, opens the editor
    // with F2, replaces what it shows, and finishes with the given key.
    void typeInto(DataGrid *grid, int row, int column, const QString &text, int finishKey = Qt::Key_Return);
    // The same on the statement page's lines.
    void type(int row, int column, const QString &text, int finishKey = Qt::Key_Return);
    // Japanese text into a cell, as an input method's commit, then Enter.
    void commitInto(DataGrid *grid, int row, int column, const QString &text);
    // Picks an employee on the statement page; leaving the box looks the name up.
    void chooseEmployee(const QString &name);
    // Presses the statement page's print button.
    Printed print();

    // Whether any connection of the program is still open.
    static bool anyProgramConnection();
    // Deletes the windows that closed and asked to be deleted later.
    static void finishClosing();

private:
    const QObject *windowObject() const;

    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<FrmPelmar> m_window;
    QSqlDatabase m_main;
    QSqlDatabase m_work;
    QList<MessageRequest> m_requests;
    bool m_yes = true;
    std::function<void(const MessageRequest &)> m_whenAsked;
};

} // namespace pelmar::test
