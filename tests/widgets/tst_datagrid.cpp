#include "store/Database.h"
#include "tests/support/TestData.h"
#include "widgets/DataGrid.h"
#include "widgets/GridDelegate.h"
#include "widgets/ImeSetOpen.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using pelmar::DataGrid;
using pelmar::execBound;
using pelmar::GridKey;
using pelmar::GridTableModel;

namespace {

const QString kLines = QStringLiteral("w明細");
const QString kEmployees = QStringLiteral("w従業員");
const QString kPatterns = QStringLiteral("w勤務形態参照");

} // namespace

// Drives a grid over the statement lines (and, where needed, the employee
// rows and the pattern list) with real key presses and mouse clicks, and
// reads the work file through a connection of its own.
class TestDataGrid : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void typingWritesTheRow_data();
    void typingWritesTheRow();
    void afterUpdateSeesTheEditedCell_data();
    void afterUpdateSeesTheEditedCell();
    void unchangedEditWritesNothing_data();
    void unchangedEditWritesNothing();
    void emptiedCellBecomesNull_data();
    void emptiedCellBecomesNull();
    void keyDownSwallowsKeys_data();
    void keyDownSwallowsKeys();
    void keyDownCanCommitTheTypedValue();
    void rowColChangeCarriesThePreviousCell();
    void movingPastTheLastRow();
    void lockedColumnIsNotEditable();
    void masksHoldTheEditor_data();
    void masksHoldTheEditor();
    void fullWidthDigits_data();
    void fullWidthDigits();
    void maskDropsOtherDigits();
    void displayAndEditText_data();
    void displayAndEditText();
    void checkBoxToggles();
    void dropDownPickFillsTheCell_data();
    void dropDownPickFillsTheCell();
    void dropDownEscapeChangesNothing();
    void deleteRemovesOnlyTheCurrentRow();
    void columnPropertiesSurviveRefresh();
    void writesKeepTheCurrentCell();
    void inputMethodTextStartsAnEdit();
    void activationOnlyFromOutside();

private:
    DataGrid *addGrid(const QString &table);
    void setUpLineColumns(DataGrid *grid);
    QLineEdit *openedEditor() const;
    QLineEdit *startTyping(int row, int column, QChar first);
    QVariant stored(const QString &table, int key, const QString &column);
    QVariant storedLine(int line, int column);
    QString lineField(int column) const;

    std::unique_ptr<pelmar::test::TestDataFolder> m_data;
    QSqlDatabase m_db; // the grid's connection
    QSqlDatabase m_check; // reads behind the grid's back
    QWidget *m_window = nullptr;
    QLineEdit *m_outside = nullptr;
    DataGrid *m_grid = nullptr;
};

void TestDataGrid::initTestCase()
{
    m_data = std::make_unique<pelmar::test::TestDataFolder>();
    QVERIFY(m_data->isValid());
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tst_datagrid"));
    m_db.setDatabaseName(m_data->workPath());
    QVERIFY(m_db.open());
    m_check = m_data->workDb();
    QVERIFY(m_check.isOpen());
}

void TestDataGrid::cleanupTestCase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("tst_datagrid"));
    m_check = QSqlDatabase();
    m_data.reset();
}

void TestDataGrid::init()
{
    QVERIFY(execBound(m_db, QStringLiteral("delete from w明細")));
    for (int n = 1; n <= 5; ++n)
        QVERIFY(execBound(m_db,
                          QStringLiteral("insert into w明細 (行番号, 開始時間, 終了時間, 休憩, 時給) "
                                         "values (?, '0900', '1800', 0.5, 1000)"),
                          {n}));
    QVERIFY(execBound(m_db, QStringLiteral("delete from w従業員")));
    for (int n = 1; n <= 3; ++n)
        QVERIFY(execBound(m_db, QStringLiteral("insert into w従業員 (\"No\") values (?)"), {n}));
    QVERIFY(execBound(m_db, QStringLiteral("delete from w勤務形態参照")));
    const QVariantList patterns[] = {
        {"A", "0900", "1800", 1.0, 8.0}, {"B", "1000", "1500", 0.5, 4.5}, {"C", "1300", "2200", 1.0, 8.0}};
    for (const QVariantList &p : patterns)
        QVERIFY(execBound(m_db, QStringLiteral("insert into w勤務形態参照 values (?, ?, ?, ?, ?)"), p));

    m_window = new QWidget;
    m_window->resize(900, 400);
    new QVBoxLayout(m_window);
    m_outside = new QLineEdit(m_window);
    m_window->layout()->addWidget(m_outside);
    m_grid = addGrid(kLines);
    setUpLineColumns(m_grid);
    m_grid->refresh();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_grid->setFocus();
    QTRY_VERIFY(m_grid->hasFocus());
}

void TestDataGrid::cleanup()
{
    const auto grids = m_window->findChildren<DataGrid *>();
    for (DataGrid *grid : grids)
        grid->unbind();
    delete m_window;
    m_window = nullptr;
}

DataGrid *TestDataGrid::addGrid(const QString &table)
{
    auto *grid = new DataGrid(m_window);
    m_window->layout()->addWidget(grid);
    grid->bind(m_db, table);
    return grid;
}

// The statement page's layout of its lines.
void TestDataGrid::setUpLineColumns(DataGrid *grid)
{
    grid->setColumnVisible(0, false);
    const QString formats[] = {QString(), "yyyy/mm/dd", "##:##", "##:##", "#,##0.0",
                               "#,##0.0", "#,###",      "#,###", "#,###"};
    for (int c = 1; c <= 8; ++c)
        grid->setColumnFormat(c, formats[c]);
    grid->setColumnMask(1, QStringLiteral("Date Mask"));
    grid->setColumnMask(2, QStringLiteral("##:##"));
    grid->setColumnMask(3, QStringLiteral("##:##"));
    // The premium columns after 金額 are not typed into on this grid.
    for (int c = 9; c < grid->tableModel()->columnCount(); ++c)
        grid->setColumnVisible(c, false);
}

QLineEdit *TestDataGrid::openedEditor() const
{
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    return editor && m_window->isAncestorOf(editor) && editor != m_outside ? editor : nullptr;
}

// Stands on the cell and types its first character on the grid, as a user
// starts typing over a cell. Returns the editor that opened, if any.
QLineEdit *TestDataGrid::startTyping(int row, int column, QChar first)
{
    m_grid->setCurrentIndex(m_grid->tableModel()->index(row, column));
    QTest::keyClick(m_grid, first.toLatin1());
    return openedEditor();
}

QVariant TestDataGrid::stored(const QString &table, int key, const QString &column)
{
    const QString keyColumn = table == kLines ? QStringLiteral("行番号") : QStringLiteral("\"No\"");
    QSqlQuery query(m_check);
    query.prepare(QStringLiteral("select \"%1\" from %2 where %3 = ?").arg(column, table, keyColumn));
    query.addBindValue(key);
    if (!query.exec() || !query.next())
        return QStringLiteral("<no row>");
    return query.value(0);
}

QString TestDataGrid::lineField(int column) const
{
    return m_grid->tableModel()->record().fieldName(column);
}

QVariant TestDataGrid::storedLine(int line, int column)
{
    return stored(kLines, line, lineField(column));
}

void TestDataGrid::typingWritesTheRow_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("nextColumn");

    QTest::addColumn<bool>("refused");

    QTest::newRow("date") << 1 << "20070331" << QVariant("20070331") << "2007/03/31" << 2 << false;
    QTest::newRow("time over a time") << 2 << "0930" << QVariant("0930") << "9:30" << 3 << false;
    QTest::newRow("break") << 4 << "0.75" << QVariant(0.75) << "0.8" << 5 << false;
    QTest::newRow("wage over a wage") << 6 << "1500" << QVariant(1500.0) << "1,500" << 7 << false;
    QTest::newRow("negative adjustment") << 7 << "-300" << QVariant(-300.0) << "-300" << 8 << false;
    // A number cell takes typed numbers only; anything else is refused out
    // loud and the cell keeps what it held (break 0.5, wage 1,000).
    QTest::newRow("letters in a number cell") << 4 << "abc" << QVariant(0.5) << "0.5" << 5 << true;
    QTest::newRow("an exponent") << 6 << "1e5" << QVariant(1000.0) << "1,000" << 7 << true;
    QTest::newRow("nan") << 6 << "nan" << QVariant(1000.0) << "1,000" << 7 << true;
    QTest::newRow("a wage over the bound") << 6 << "100000000" << QVariant(1000.0) << "1,000" << 7 << true;
    QTest::newRow("commas not in threes") << 6 << "1,2,3" << QVariant(1000.0) << "1,000" << 7 << true;
    QTest::newRow("thousands commas are taken") << 6 << "1,250" << QVariant(1250.0) << "1,250" << 7 << false;
    QTest::newRow("last column stays") << 8 << "12000" << QVariant(12000.0) << "12,000" << 8 << false;
}

void TestDataGrid::typingWritesTheRow()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    QFETCH(int, nextColumn);
    QFETCH(bool, refused);

    const QVariant before = storedLine(2, column);
    QSignalSpy updates(m_grid, &DataGrid::afterColUpdate);
    QSignalSpy refusals(m_grid, &DataGrid::entryRefused);
    QVariant reportedBefore;
    connect(m_grid, &DataGrid::afterColUpdate, this, [&] { reportedBefore = m_grid->valueBeforeEdit(); });
    QLineEdit *editor = startTyping(1, column, typed.at(0));
    QVERIFY(editor);
    QTest::keyClicks(editor, typed.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);

    if (value.isValid())
        QTRY_COMPARE(storedLine(2, column), value);
    else
        QTRY_VERIFY(storedLine(2, column).isNull());
    QCOMPARE(refusals.count(), refused ? 1 : 0);
    QCOMPARE(updates.count(), refused ? 0 : 1);
    if (refused) {
        QCOMPARE(refusals.at(0).at(0).toInt(), column);
        QCOMPARE(refusals.at(0).at(1).toString(), typed);
    } else {
        QCOMPARE(updates.at(0).at(0).toInt(), column);
        QCOMPARE(reportedBefore, before);
    }
    QCOMPARE(m_grid->currentIndex().row(), 1);
    QCOMPARE(m_grid->currentIndex().column(), nextColumn);
    QCOMPARE(m_grid->cellText(column), shown);
    QVERIFY(!openedEditor());
    // Nothing else in the table moved.
    QCOMPARE(storedLine(1, 2), QVariant("0900"));
    QCOMPARE(storedLine(3, 6), QVariant(1000.0));
}

void TestDataGrid::afterUpdateSeesTheEditedCell_data()
{
    // 0: the focus leaves, -1: a click elsewhere, -2: the page commits the
    // row, -3: Qt commits through the delegate and Escape closes the editor
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("return") << int(Qt::Key_Return) << 2 << 8;
    QTest::newRow("tab") << int(Qt::Key_Tab) << 2 << 8;
    QTest::newRow("down") << int(Qt::Key_Down) << 3 << 7;
    QTest::newRow("up") << int(Qt::Key_Up) << 1 << 7;
    QTest::newRow("focus leaves the grid") << 0 << 2 << 7;
    QTest::newRow("click on another line") << -1 << 4 << 3;
    QTest::newRow("the page commits the row") << -2 << 2 << 7;
    QTest::newRow("Qt's commit through the delegate") << -3 << 2 << 7;
}

void TestDataGrid::afterUpdateSeesTheEditedCell()
{
    QFETCH(int, key);
    QFETCH(int, row);
    QFETCH(int, column);

    // What the page's after-update handler would see.
    int seenRow = -1;
    QVariant seenValue, seenStored;
    bool editorOpenDuringUpdate = true;
    int calls = 0;
    QObject context; // declared last: the connection ends before what it captures
    connect(m_grid, &DataGrid::afterColUpdate, &context, [&](int c) {
        ++calls;
        seenRow = m_grid->currentRowIndex();
        seenValue = m_grid->cellValue(c);
        seenStored = storedLine(3, c);
        editorOpenDuringUpdate =
            m_grid->findChildren<QLineEdit *>().size() > 0 && m_grid->findChild<QLineEdit *>()->isVisible();
    });

    QLineEdit *editor = startTyping(2, 7, u'1');
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("234"));
    if (key > 0) {
        QTest::keyClick(editor, Qt::Key(key));
    } else if (key == 0) {
        m_outside->setFocus(Qt::MouseFocusReason);
    } else if (key == -2) {
        m_grid->commitRow();
    } else if (key == -3) {
        const QModelIndex cell = m_grid->tableModel()->index(2, 7);
        m_grid->itemDelegate()->setModelData(editor, m_grid->tableModel(), cell);
        // The text is written already; closing without writing still reports it.
        QTest::keyClick(editor, Qt::Key_Escape);
    } else {
        const QRect target = m_grid->visualRect(m_grid->tableModel()->index(row, column));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, target.center());
    }

    QTRY_COMPARE(calls, 1);
    QCOMPARE(seenRow, 2);
    QCOMPARE(seenValue, QVariant(1234.0));
    QCOMPARE(seenStored, QVariant(1234.0));
    QVERIFY(!editorOpenDuringUpdate);
    QCOMPARE(m_grid->currentIndex().row(), row);
    QCOMPARE(m_grid->currentIndex().column(), column);
}

void TestDataGrid::unchangedEditWritesNothing_data()
{
    QTest::addColumn<QString>("typed"); // empty: open with F2 and type nothing
    QTest::addColumn<int>("finish");

    QTest::newRow("F2 then return") << "" << int(Qt::Key_Return);
    QTest::newRow("F2 then down") << "" << int(Qt::Key_Down);
    QTest::newRow("same text retyped") << "0900" << int(Qt::Key_Return);
    QTest::newRow("typed then escape") << "1234" << int(Qt::Key_Escape);
}

void TestDataGrid::unchangedEditWritesNothing()
{
    QFETCH(QString, typed);
    QFETCH(int, finish);

    QSignalSpy updates(m_grid, &DataGrid::afterColUpdate);
    QSignalSpy changes(m_grid->tableModel(), &QAbstractItemModel::dataChanged);
    QLineEdit *editor = nullptr;
    if (typed.isEmpty()) {
        m_grid->setCurrentIndex(m_grid->tableModel()->index(0, 2));
        QTest::keyClick(m_grid, Qt::Key_F2);
        editor = openedEditor();
    } else {
        editor = startTyping(0, 2, typed.at(0));
        QVERIFY(editor);
        QTest::keyClicks(editor, typed.mid(1));
    }
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key(finish));
    QTRY_VERIFY(!openedEditor());
    QCOMPARE(updates.count(), 0);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(storedLine(1, 2), QVariant("0900"));
}

void TestDataGrid::emptiedCellBecomesNull_data()
{
    QTest::addColumn<int>("column");
    QTest::newRow("time") << 2;
    QTest::newRow("wage") << 6;
}

void TestDataGrid::emptiedCellBecomesNull()
{
    QFETCH(int, column);
    QSignalSpy updates(m_grid, &DataGrid::afterColUpdate);
    m_grid->setCurrentIndex(m_grid->tableModel()->index(0, column));
    QTest::keyClick(m_grid, Qt::Key_F2);
    QLineEdit *editor = openedEditor();
    QVERIFY(editor);
    QVERIFY(!editor->text().isEmpty());
    QTest::keyClick(editor, Qt::Key_End);
    while (!editor->text().isEmpty())
        QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(storedLine(1, column).isNull());
    QCOMPARE(updates.count(), 1);
    QVERIFY(m_grid->cellValue(column).isNull());
}

void TestDataGrid::keyDownSwallowsKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("inEditor");

    QTest::newRow("down") << int(Qt::Key_Down) << false;
    QTest::newRow("return") << int(Qt::Key_Return) << false;
    QTest::newRow("a digit") << int(Qt::Key_5) << false;
    QTest::newRow("F2") << int(Qt::Key_F2) << false;
    QTest::newRow("down in editor") << int(Qt::Key_Down) << true;
    QTest::newRow("return in editor") << int(Qt::Key_Return) << true;
    QTest::newRow("digit in editor") << int(Qt::Key_5) << true;
}

void TestDataGrid::keyDownSwallowsKeys()
{
    QFETCH(int, key);
    QFETCH(bool, inEditor);

    m_grid->setCurrentIndex(m_grid->tableModel()->index(1, 2));
    QLineEdit *editor = nullptr;
    if (inEditor) {
        editor = startTyping(1, 2, u'1');
        QVERIFY(editor);
    }
    QList<int> reported;
    QObject context; // declared last: the connection ends before what it captures
    connect(m_grid, &DataGrid::keyDown, &context, [&](GridKey &k) {
        reported << k.key;
        k.key = 0;
    });
    QSignalSpy updates(m_grid, &DataGrid::afterColUpdate);
    QTest::keyClick(inEditor ? static_cast<QWidget *>(editor) : m_grid, Qt::Key(key));

    QCOMPARE(reported, QList<int>{key});
    QCOMPARE(m_grid->currentIndex().row(), 1);
    QCOMPARE(m_grid->currentIndex().column(), 2);
    QCOMPARE(openedEditor(), editor);
    if (editor)
        QCOMPARE(editor->text(), QStringLiteral("1"));
    QCOMPARE(updates.count(), 0);
    QCOMPARE(storedLine(2, 2), QVariant("0900"));
}

// The statement page's Down-arrow shortcut: it commits the date being typed,
// reads it from the line, and moves on by itself.
void TestDataGrid::keyDownCanCommitTheTypedValue()
{
    QSignalSpy updates(m_grid, &DataGrid::afterColUpdate);
    QVariant seenStored, seenCell;
    int updatesSeen = -1;
    QObject context; // declared last: the connection ends before what it captures
    connect(m_grid, &DataGrid::keyDown, &context, [&](GridKey &k) {
        if (k.key != Qt::Key_Down || m_grid->currentColumn() != 1)
            return;
        k.key = 0;
        QVERIFY(m_grid->commitRow());
        seenStored = storedLine(1, 1);
        seenCell = m_grid->cellValue(1);
        updatesSeen = int(updates.count());
        m_grid->moveNext();
    });

    QLineEdit *editor = startTyping(0, 1, u'2');
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("0070331"));
    QTest::keyClick(editor, Qt::Key_Down);

    QCOMPARE(seenStored, QVariant("20070331"));
    QCOMPARE(seenCell, QVariant("20070331"));
    QCOMPARE(updatesSeen, 1);
    QCOMPARE(updates.count(), 1);
    QCOMPARE(m_grid->currentIndex().row(), 1);
    QCOMPARE(m_grid->currentIndex().column(), 1);
    QVERIFY(!openedEditor());
}

void TestDataGrid::rowColChangeCarriesThePreviousCell()
{
    m_grid->setCurrentIndex(m_grid->tableModel()->index(0, 1));
    QSignalSpy moves(m_grid, &DataGrid::rowColChange);
    QTest::keyClick(m_grid, Qt::Key_Return);
    QTest::keyClick(m_grid, Qt::Key_Down);
    QLineEdit *editor = startTyping(3, 4, u'1');
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Up);

    const QList<QPair<int, int>> expected{{0, 1}, {0, 2}, {1, 2}, {3, 4}};
    QCOMPARE(moves.count(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(moves.at(i).at(0).toInt(), expected.at(i).first);
        QCOMPARE(moves.at(i).at(1).toInt(), expected.at(i).second);
    }
}

void TestDataGrid::movingPastTheLastRow()
{
    m_grid->setCurrentIndex(m_grid->tableModel()->index(3, 2));
    m_grid->moveNext();
    QCOMPARE(m_grid->currentRowIndex(), 4);
    QVERIFY(m_grid->onRow());
    QVERIFY(!m_grid->pastLast());

    m_grid->moveNext();
    QVERIFY(m_grid->pastLast());
    QVERIFY(!m_grid->onRow());
    QVERIFY(m_grid->cellValue(2).isNull());
    QVERIFY(!m_grid->setCellValue(2, QStringLiteral("1000")));
    QCOMPARE(storedLine(5, 2), QVariant("0900"));
    m_grid->moveNext();
    QVERIFY(m_grid->pastLast());

    m_grid->moveLast();
    QVERIFY(!m_grid->pastLast());
    QVERIFY(m_grid->onRow());
    QCOMPARE(m_grid->currentRowIndex(), 4);
    QCOMPARE(m_grid->cellValue(2), QVariant("0900"));

    // Any navigation by the user brings the grid back onto a row.
    m_grid->moveNext();
    QVERIFY(m_grid->pastLast());
    QTest::keyClick(m_grid, Qt::Key_Up);
    QVERIFY(!m_grid->pastLast());
    QCOMPARE(m_grid->currentRowIndex(), 3);
}

void TestDataGrid::lockedColumnIsNotEditable()
{
    m_grid->setColumnLocked(3, true);
    QVERIFY(!(m_grid->tableModel()->flags(m_grid->tableModel()->index(0, 3)) & Qt::ItemIsEditable));
    QVERIFY(!startTyping(0, 3, u'1'));
    QTest::keyClick(m_grid, Qt::Key_F2);
    QVERIFY(!openedEditor());
    QCOMPARE(storedLine(1, 3), QVariant("1800"));

    // Enter passes over it.
    m_grid->setCurrentIndex(m_grid->tableModel()->index(0, 2));
    QTest::keyClick(m_grid, Qt::Key_Return);
    QCOMPARE(m_grid->currentIndex().column(), 4);

    // The program itself still writes it.
    QVERIFY(m_grid->setCellValue(3, QStringLiteral("1700")));
    QCOMPARE(storedLine(1, 3), QVariant("1700"));
}

void TestDataGrid::masksHoldTheEditor_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("accepted");
    QTest::addColumn<QVariant>("stored"); // invalid: the cell ends empty

    const auto same = [](const char *text) {
        return QVariant(QString::fromLatin1(text));
    };
    // Letters are kept, for the page's check to refuse out loud: dropped,
    // 9e2 was 92.
    QTest::newRow("date keeps letters") << 1 << "2007ab0331"
                                        << "2007ab0331" << same("2007ab0331");
    QTest::newRow("date stops at eight") << 1 << "200703311"
                                         << "20070331" << same("20070331");
    QTest::newRow("date drops slashes") << 1 << "2007/03/31"
                                        << "20070331" << same("20070331");
    QTest::newRow("date drops spaces") << 1 << "2007 0331"
                                       << "20070331" << same("20070331");
    QTest::newRow("time keeps letters") << 2 << "0x9y3z0"
                                        << "0x9y3z0" << same("0x9y3z0");
    QTest::newRow("time stops at four") << 2 << "09301"
                                        << "0930" << same("0930");
    QTest::newRow("time keeps a colon") << 2 << "09:30"
                                        << "09:30" << same("09:30");
    QTest::newRow("time keeps an exponent") << 2 << "9e2"
                                            << "9e2" << same("9e2");
    // A number cell has no mask: it takes any text, and only a number in it stays.
    QTest::newRow("no mask takes any text") << 7 << "12a"
                                            << "12a" << QVariant();
    QTest::newRow("no mask, a number") << 7 << "-1,200.5"
                                       << "-1,200.5" << QVariant(-1200.5);
}

void TestDataGrid::masksHoldTheEditor()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, accepted);
    QFETCH(QVariant, stored);

    QLineEdit *editor = startTyping(0, column, typed.at(0));
    QVERIFY(editor);
    QTest::keyClicks(editor, typed.mid(1));
    QCOMPARE(editor->text(), accepted);
    QTest::keyClick(editor, Qt::Key_Return);
    if (stored.isValid())
        QTRY_COMPARE(storedLine(1, column), stored);
    else
        QTRY_VERIFY(storedLine(1, column).isNull());
}

// Japanese input gives digits in full width; a cell takes them as the digits
// they are, and nothing else that merely looks like a digit.
void TestDataGrid::fullWidthDigits_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("editorText");
    QTest::addColumn<QVariant>("stored"); // invalid: the cell ends empty
    QTest::addColumn<QString>("shown");

    QTest::newRow("date") << 1 << "２００７０３３１"
                          << "20070331" << QVariant("20070331") << "2007/03/31";
    QTest::newRow("time") << 2 << "０９３０"
                          << "0930" << QVariant("0930") << "9:30";
    QTest::newRow("mixed widths") << 3 << "1７3０"
                                  << "1730" << QVariant("1730") << "17:30";
    QTest::newRow("break") << 4 << "０．７５"
                           << "0.75" << QVariant(0.75) << "0.8";
    QTest::newRow("wage") << 6 << "１，５００"
                          << "1,500" << QVariant(1500.0) << "1,500";
    QTest::newRow("adjustment") << 7 << "－３００"
                                << "-300" << QVariant(-300.0) << "-300";
    QTest::newRow("arabic-indic number is refused") << 6 << "١٥٠٠"
                                                    << "١٥٠٠" << QVariant(1000.0) << "1,000";
    QTest::newRow("devanagari number") << 7 << "३००"
                                       << "३००" << QVariant() << "";
    QTest::newRow("long vowel mark is no minus") << 7 << "ー３００"
                                                 << "ー300" << QVariant() << "";
}

void TestDataGrid::fullWidthDigits()
{
    QFETCH(int, column);
    QFETCH(QString, committed);
    QFETCH(QString, editorText);
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);

    m_grid->setCurrentIndex(m_grid->tableModel()->index(0, column));
    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QApplication::sendEvent(m_grid, &commit);
    QLineEdit *editor = openedEditor();
    QVERIFY(editor);
    QCOMPARE(editor->text(), editorText);
    QTest::keyClick(editor, Qt::Key_Return);
    if (stored.isValid())
        QTRY_COMPARE(storedLine(1, column), stored);
    else
        QTRY_VERIFY(storedLine(1, column).isNull());
    m_grid->setCurrentIndex(m_grid->tableModel()->index(0, column));
    QCOMPARE(m_grid->cellText(column), shown);
}

// Other scripts' digits are not dropped from a date or time cell as they
// are typed, as letters are not: the text reaches the page's check whole,
// to be refused out loud there, never cut to the digits among it.
void TestDataGrid::maskDropsOtherDigits()
{
    m_grid->setCurrentIndex(m_grid->tableModel()->index(0, 2));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("٠٩٣٠"));
    QApplication::sendEvent(m_grid, &commit);
    QLineEdit *editor = openedEditor();
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("٠٩٣٠"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!openedEditor());
    QCOMPARE(storedLine(1, 2), QVariant(QStringLiteral("٠٩٣٠")));
}

void TestDataGrid::displayAndEditText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("editText");

    QTest::newRow("morning time") << 2 << "##:##" << QVariant("0900") << "9:00"
                                  << "0900";
    QTest::newRow("wage") << 6 << "#,###" << QVariant(1000) << "1,000"
                          << "1000";
    QTest::newRow("zero yen is empty") << 7 << "#,###" << QVariant(0) << ""
                                       << "0";
    QTest::newRow("date") << 1 << "yyyy/mm/dd" << QVariant("20070331") << "2007/03/31"
                          << "20070331";
    QTest::newRow("null") << 6 << "#,###" << QVariant() << ""
                          << "";
    QTest::newRow("no format") << 5 << "" << QVariant(8.0) << "8"
                               << "8";
    QTest::newRow("long fraction") << 5 << "#,##0.0" << QVariant(8.333333333333334) << "8.3"
                                   << "8.333333333333334";
}

void TestDataGrid::displayAndEditText()
{
    QFETCH(int, column);
    QFETCH(QString, format);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    QFETCH(QString, editText);

    m_grid->setColumnFormat(column, format);
    m_grid->setCurrentIndex(m_grid->tableModel()->index(0, column));
    QVERIFY(m_grid->setCellValue(column, value));
    QCOMPARE(m_grid->cellText(column), shown);
    QCOMPARE(m_grid->tableModel()->index(0, column).data().toString(), shown);

    QTest::keyClick(m_grid, Qt::Key_F2);
    QLineEdit *editor = openedEditor();
    QVERIFY(editor);
    QCOMPARE(editor->text(), editText);
    QTest::keyClick(editor, Qt::Key_Escape);
}

void TestDataGrid::checkBoxToggles()
{
    DataGrid *grid = addGrid(kEmployees);
    grid->setColumnCheckBox(1, true);
    grid->refresh();
    QSignalSpy updates(grid, &DataGrid::afterColUpdate);
    const QRect cell = grid->visualRect(grid->tableModel()->index(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTRY_COMPARE(stored(kEmployees, 2, QStringLiteral("チェック")).toInt(), -1);
    QCOMPARE(updates.count(), 1);
    QCOMPARE(updates.at(0).at(0).toInt(), 1);

    QTest::keyClick(grid, Qt::Key_Space);
    QTRY_COMPARE(stored(kEmployees, 2, QStringLiteral("チェック")).toInt(), 0);
    QCOMPARE(updates.count(), 2);

    // A tick box has no text editor.
    QTest::keyClick(grid, Qt::Key_1);
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY(!openedEditor());
    QCOMPARE(stored(kEmployees, 1, QStringLiteral("チェック")).toInt(), 0);
    QCOMPARE(stored(kEmployees, 3, QStringLiteral("チェック")).toInt(), 0);
}

void TestDataGrid::dropDownPickFillsTheCell_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("clickToChoose");

    QTest::newRow("F4, Return") << "F4" << false;
    QTest::newRow("Alt+Down, click") << "AltDown" << true;
    QTest::newRow("arrow, Return") << "arrow" << false;
    QTest::newRow("while typing, F4") << "typing" << false;
}

void TestDataGrid::dropDownPickFillsTheCell()
{
    QFETCH(QString, opener);
    QFETCH(bool, clickToChoose);

    DataGrid *grid = addGrid(kEmployees);
    auto *list = new DataGrid(m_window);
    list->setDropDownMode(true);
    list->bind(m_db, kPatterns);
    list->setColumnFormat(1, QStringLiteral("##:##"));
    grid->setColumnDropDown(4, list);
    grid->refresh();
    grid->setFocus();
    grid->setCurrentIndex(grid->tableModel()->index(1, 4));
    QVERIFY(grid->setCellValue(4, QStringLiteral("B")));

    QVariantList picked;
    QObject context; // declared last: the connection ends before what it captures
    connect(grid, &DataGrid::dropDownPicked, &context, [&] {
        for (int c = 0; c <= 4; ++c)
            picked << list->cellValue(c);
    });
    QSignalSpy picks(grid, &DataGrid::dropDownPicked);
    QSignalSpy updates(grid, &DataGrid::afterColUpdate);

    if (opener == "F4") {
        QTest::keyClick(grid, Qt::Key_F4);
    } else if (opener == "AltDown") {
        QTest::keyClick(grid, Qt::Key_Down, Qt::AltModifier);
    } else if (opener == "arrow") {
        const QRect cell = grid->visualRect(grid->currentIndex());
        const QPoint arrow = pelmar::GridDelegate::dropDownArrowRect(cell).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, arrow);
    } else {
        QTest::keyClick(grid, Qt::Key_X);
        QLineEdit *editor = openedEditor();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_F4);
    }
    QTRY_VERIFY(list->isVisible());
    QVERIFY(list->isWindow());
    QCOMPARE(list->currentIndex().row(), opener == "typing" ? 0 : 1); // on the cell's entry

    QTest::keyClick(list, Qt::Key_Down);
    if (clickToChoose) {
        const QPoint pos = list->visualRect(list->currentIndex()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, pos);
    } else {
        QTest::keyClick(list, Qt::Key_Return);
    }
    const QString entry = opener == "typing" ? QStringLiteral("B") : QStringLiteral("C");
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(picks.count(), 1);
    QCOMPARE(picks.at(0).at(0).toInt(), 4);
    QCOMPARE(stored(kEmployees, 2, QStringLiteral("勤務形態")), QVariant(entry));
    QCOMPARE(picked.value(0), QVariant(entry));
    QCOMPARE(picked.value(1), QVariant(entry == "B" ? "1000" : "1300"));
    QCOMPARE(picked.value(4), QVariant(entry == "B" ? 4.5 : 8.0));
    // The typed "x" was committed before the list opened; the pick itself is
    // reported only as a pick.
    QCOMPARE(updates.count(), opener == "typing" ? 1 : 0);
    QCOMPARE(list->cellValue(0), QVariant(entry));
    QVERIFY(stored(kEmployees, 1, QStringLiteral("勤務形態")).isNull());
}

void TestDataGrid::dropDownEscapeChangesNothing()
{
    DataGrid *grid = addGrid(kEmployees);
    auto *list = new DataGrid(m_window);
    list->setDropDownMode(true);
    list->bind(m_db, kPatterns);
    grid->setColumnDropDown(4, list);
    grid->refresh();
    QVERIFY(!list->isVisible());
    grid->setCurrentIndex(grid->tableModel()->index(0, 4));
    QSignalSpy picks(grid, &DataGrid::dropDownPicked);
    grid->openDropDown();
    QTRY_VERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Escape);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(picks.count(), 0);
    QVERIFY(stored(kEmployees, 1, QStringLiteral("勤務形態")).isNull());

    // A column without a list opens nothing.
    grid->setCurrentIndex(grid->tableModel()->index(0, 5));
    QTest::keyClick(grid, Qt::Key_F4);
    QVERIFY(!list->isVisible());
}

void TestDataGrid::deleteRemovesOnlyTheCurrentRow()
{
    // The Delete key never deletes a row.
    m_grid->setCurrentIndex(m_grid->tableModel()->index(2, 2));
    QTest::keyClick(m_grid, Qt::Key_Delete);
    QCOMPARE(pelmar::test::rowCount(m_check, kLines), 5);

    QVERIFY(m_grid->deleteCurrentRow());
    QCOMPARE(pelmar::test::rowCount(m_check, kLines), 4);
    QCOMPARE(storedLine(3, 0).toString(), QStringLiteral("<no row>"));
    QCOMPARE(m_grid->tableModel()->rowCount(), 4);
    QCOMPARE(m_grid->currentRowIndex(), 2);
    QCOMPARE(m_grid->cellValue(0).toInt(), 4); // the next line took its place
    QCOMPARE(m_grid->currentColumn(), 2);

    m_grid->moveLast();
    QVERIFY(m_grid->deleteCurrentRow());
    QCOMPARE(pelmar::test::rowCount(m_check, kLines), 3);
    QCOMPARE(m_grid->currentRowIndex(), 2);
    QCOMPARE(m_grid->cellValue(0).toInt(), 4);
}

void TestDataGrid::columnPropertiesSurviveRefresh()
{
    for (bool beforeBind : {true, false}) {
        auto *grid = new DataGrid(m_window);
        m_window->layout()->addWidget(grid);
        if (!beforeBind)
            grid->bind(m_db, kLines);
        grid->setColumnVisible(0, false);
        grid->setColumnCaption(1, QStringLiteral("日　付"));
        grid->setColumnWidthTwips(1, 1430);
        grid->setColumnWidthTwips(6, 764.7874);
        grid->setColumnAlignment(6, Qt::AlignRight);
        grid->setColumnFormat(6, QStringLiteral("#,###"));
        grid->setColumnLocked(3, true);
        if (beforeBind)
            grid->bind(m_db, kLines);

        for (int pass = 0; pass < 2; ++pass) {
            grid->refresh();
            GridTableModel *model = grid->tableModel();
            QCOMPARE(model->rowCount(), 5);
            QVERIFY(grid->isColumnHidden(0));
            QVERIFY(!grid->isColumnHidden(2));
            QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("日　付"));
            QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("開始時間"));
            QCOMPARE(grid->columnWidth(1), 95);
            QCOMPARE(grid->columnWidth(6), 51);
            QCOMPARE(model->index(0, 6).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
            QCOMPARE(model->index(0, 6).data().toString(), QStringLiteral("1,000"));
            QVERIFY(!(model->flags(model->index(0, 3)) & Qt::ItemIsEditable));
            QVERIFY(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
            QVERIFY(!grid->isColumnHidden(grid->currentIndex().column()));
        }
        grid->unbind();
        delete grid;
    }
}

void TestDataGrid::writesKeepTheCurrentCell()
{
    GridTableModel *model = m_grid->tableModel();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy layouts(model, &QAbstractItemModel::layoutChanged);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);

    m_grid->setCurrentIndex(model->index(3, 4));
    QVERIFY(m_grid->setCellValue(6, 2000));
    QVERIFY(m_grid->setCellValue(7, QVariant()));
    QCOMPARE(m_grid->currentIndex(), model->index(3, 4));

    QLineEdit *editor = startTyping(3, 5, u'7');
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(storedLine(4, 5), QVariant(7.0));
    QCOMPARE(m_grid->currentIndex(), model->index(3, 6));
    QCOMPARE(storedLine(4, 6), QVariant(2000.0));
    QCOMPARE(resets.count(), 0);
    QCOMPARE(layouts.count(), 0);
    QCOMPARE(removed.count(), 0);
    QCOMPARE(model->rowCount(), 5);
}

void TestDataGrid::inputMethodTextStartsAnEdit()
{
    DataGrid *grid = addGrid(kEmployees);
    grid->refresh();
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());

    pelmar::ImeSetOpen(grid, true);
    grid->setCurrentIndex(grid->tableModel()->index(0, 2));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("山田"));
    QApplication::sendEvent(grid, &commit);
    QLineEdit *editor = openedEditor();
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("山田"));
    QVERIFY(editor->testAttribute(Qt::WA_InputMethodEnabled));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(stored(kEmployees, 1, QStringLiteral("氏名")), QVariant(QStringLiteral("山田")));

    // A grid switched to direct input gives its editors direct input too.
    pelmar::ImeSetOpen(grid, false);
    grid->setCurrentIndex(grid->tableModel()->index(1, 3));
    QTest::keyClick(grid, Qt::Key_F2);
    editor = openedEditor();
    QVERIFY(editor);
    QVERIFY(!editor->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(editor->inputMethodHints() & Qt::ImhPreferLatin);
    QTest::keyClick(editor, Qt::Key_Escape);
}

void TestDataGrid::activationOnlyFromOutside()
{
    QSignalSpy activations(m_grid, &DataGrid::gridActivated);
    m_outside->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(m_outside->hasFocus());
    m_grid->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(m_grid->hasFocus());
    QCOMPARE(activations.count(), 1);

    // The focus coming back from the grid's own editor is no activation.
    QLineEdit *editor = startTyping(0, 2, u'1');
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(m_grid->hasFocus());
    QCOMPARE(activations.count(), 1);

    m_outside->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(m_outside->hasFocus());
    m_grid->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(activations.count(), 2);
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
