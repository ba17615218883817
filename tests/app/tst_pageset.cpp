// The order the window runs its pages in. Start-up binds every grid before
// any page measures its columns by them, and hands what it readied to the
// first load only: a page that still saw it afterwards would skip the reads
// and writes of every later load.
#include "app/PageSet.h"
#include "store/ProgramState.h"
#include "widgets/TabPage.h"

#include <QTest>

using namespace pelmar;

namespace {

class RecordingPage : public TabPage {
public:
    RecordingPage(const QString &name, QStringList &log) : m_name(name), m_log(log) {}

    void bindData() override { m_log << m_name + QStringLiteral(" bind"); }
    void releaseData() override { m_log << m_name + QStringLiteral(" release"); }
    void setUp() override { m_log << m_name + QStringLiteral(" setUp"); }
    void clear() override { m_log << m_name + QStringLiteral(" clear"); }
    bool confirmDiscardEdits() override
    {
        m_log << m_name + QStringLiteral(" confirm");
        return !refusesDiscard;
    }
    // Whether the page could see start-up's work when it last looked, and
    // whether it still can.
    bool sawReady = false;
    bool seesReady() const { return readyAtStart() != nullptr; }
    bool refusesDiscard = false;

protected:
    void loadPage() override
    {
        sawReady = readyAtStart() && readyAtStart()->lines;
        m_log << m_name + QStringLiteral(" load");
    }

private:
    QString m_name;
    QStringList &m_log;
};

} // namespace

class TestPageSet : public QObject {
    Q_OBJECT
private slots:
    void runsThePagesInTheWindowsOrders();
};

void TestPageSet::runsThePagesInTheWindowsOrders()
{
    QStringList log;
    RecordingPage a(QStringLiteral("a"), log), b(QStringLiteral("b"), log), c(QStringLiteral("c"), log);
    const PageSet pages({&a, &b, &c}, {&b, &c, &a}, {&c, &a, &b});

    ReadyAtStart ready;
    ready.lines = true;
    pages.bindAndSetUp();
    pages.load(ready);
    QCOMPARE(
        log,
        QStringList({"a bind", "b bind", "c bind", "a setUp", "b setUp", "c setUp", "b load", "c load", "a load"}));
    QVERIFY(a.sawReady && b.sawReady && c.sawReady);
    QVERIFY(!a.seesReady() && !b.seesReady() && !c.seesReady());

    // A later load does everything itself.
    log.clear();
    pages.load(ReadyAtStart{});
    QVERIFY(!a.sawReady && !b.sawReady && !c.sawReady);

    log.clear();
    b.refusesDiscard = true;
    QVERIFY(!pages.confirmDiscardEdits());
    pages.clear();
    pages.release();
    QCOMPARE(log,
             QStringList(
                 {"a confirm", "b confirm", "c clear", "a clear", "b clear", "a release", "b release", "c release"}));
}

QTEST_MAIN(TestPageSet)
#include "tst_pageset.moc"
