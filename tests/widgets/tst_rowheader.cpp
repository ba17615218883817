#include "widgets/RowHeader.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

using pelmar::RowHeader;

// The row numbers down a grid's edge must be as wide as Qt would make them
// by measuring every label, whatever the number of rows, and follow the
// rows and the font as they change.
class TestRowHeader : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void asWideAsEveryLabelMeasured_data();
    void asWideAsEveryLabelMeasured();
    void followsTheRowsAsTheyChange();
    void followsTheFont();
    void hiddenRowsAtTheEndsAreSkipped();

private:
    // The widths the two headers ask for, after the views laid out.
    int measured() const { return m_ours->verticalHeader()->sizeHint().width(); }
    int reference() const { return m_plain->verticalHeader()->sizeHint().width(); }
    void setRows(int count);

    std::unique_ptr<QWidget> m_window;
    QStandardItemModel *m_model = nullptr;
    QTableView *m_ours = nullptr;
    QTableView *m_plain = nullptr;
};

void TestRowHeader::init()
{
    m_window = std::make_unique<QWidget>();
    auto *row = new QHBoxLayout(m_window.get());
    m_model = new QStandardItemModel(0, 2, m_window.get());
    m_ours = new QTableView(m_window.get());
    m_ours->setVerticalHeader(new RowHeader(m_ours));
    m_ours->setModel(m_model);
    m_plain = new QTableView(m_window.get());
    m_plain->setModel(m_model);
    row->addWidget(m_ours);
    row->addWidget(m_plain);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestRowHeader::cleanup()
{
    m_window.reset();
}

void TestRowHeader::setRows(int count)
{
    m_model->setRowCount(count);
}

void TestRowHeader::asWideAsEveryLabelMeasured_data()
{
    QTest::addColumn<int>("rows");
    // Up to 200 labels Qt measures all of them, so its width is the truth.
    for (int rows : {0, 1, 9, 10, 60, 99, 100, 160, 200})
        QTest::addRow("%d rows", rows) << rows;
}

void TestRowHeader::asWideAsEveryLabelMeasured()
{
    QFETCH(int, rows);
    setRows(rows);
    QCOMPARE(measured(), reference());
}

void TestRowHeader::followsTheRowsAsTheyChange()
{
    setRows(9);
    const int oneDigit = measured();
    QCOMPARE(oneDigit, reference());
    // A tenth row brings a second digit: the width measured for nine rows
    // must not stay.
    setRows(10);
    QVERIFY(measured() > oneDigit);
    QCOMPARE(measured(), reference());
    setRows(150);
    QCOMPARE(measured(), reference());
    setRows(5);
    QCOMPARE(measured(), oneDigit);
}

void TestRowHeader::followsTheFont()
{
    setRows(120);
    const int before = measured();
    QFont larger = m_window->font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    m_ours->verticalHeader()->setFont(larger);
    m_plain->verticalHeader()->setFont(larger);
    QVERIFY(measured() > before);
    QCOMPARE(measured(), reference());
}

void TestRowHeader::hiddenRowsAtTheEndsAreSkipped()
{
    // With the three-digit rows hidden, the two-digit ones are the widest.
    setRows(105);
    const int threeDigits = measured();
    for (int row = 99; row < 105; ++row) {
        m_ours->setRowHidden(row, true);
        m_plain->setRowHidden(row, true);
    }
    QVERIFY(measured() < threeDigits);
    QCOMPARE(measured(), reference());
    setRows(99);
    QCOMPARE(measured(), reference());
}

QTEST_MAIN(TestRowHeader)
#include "tst_rowheader.moc"
