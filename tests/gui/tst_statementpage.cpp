#include "app/FrmPelmar.h"
#include "statements/StatementPage.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include "../support/WindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

using namespace pelmar;

namespace {

enum { kDate = 1, kStart, kEnd, kBreak, kHours, kWage, kAdjustment, kAmount };
const char *const kFields[] = {"行番号", "日付", "開始時間", "終了時間", "休憩", "時間", "時給", "調整額", "金額"};

} // namespace

class TestStatementPage : public test::WindowFixture {
    Q_OBJECT
private slots:
    void startsWithSixtyEmptyLines();
    void employeeBringsWageAndShift();
    void weekByDownArrow();
    void invalidDateFillsNothing();
    void monthEndThenDown();
    void downOnAnEmptyDateOnlyMoves();
    void enterOnTheLastLineWritesNothing();
    void enterInTheAmountColumnDatesTheNextLine();
    void typedTimesAndBadEntries();
    void refusalsAndTimesAsShown_data();
    void refusalsAndTimesAsShown();
    void wageOnALineIsKept();
    void deletingALineLowersTheTotals();
    void pickingAShiftType();
    void shiftTypeCannotBeTyped();
    void clearResetsPageAndPickers();

private:
    void seed() override;
    DataGrid *lines() const { return control<DataGrid>("Grid明細"); }
    QVariant stored(int line, int column);
};

void TestStatementPage::seed()
{
    const QString pattern = QStringLiteral("insert into 勤務形態マスタ values (?, ?, ?, ?, ?, ?)");
    QVERIFY(execBound(mainDb(), pattern, {1, "A", "0900", "1800", 1.0, 8.0}));
    QVERIFY(execBound(mainDb(), pattern, {2, "B", "0900", "1730", 0.75, 7.75}));
    QVERIFY(execBound(mainDb(), pattern, {3, "C", QVariant(), QVariant(), QVariant(), QVariant()}));
    QVERIFY(execBound(mainDb(), pattern, {4, "N", "2200", "0600", 0.0, 8.0}));
    const QString employee = QStringLiteral("insert into 従業員 values (?, ?, ?, ?, ?, ?, ?, ?)");
    QVERIFY(execBound(mainDb(), employee, {1, "山田", 1000.0, "A", "0900", "1800", 1.0, 8.0}));
    QVERIFY(execBound(mainDb(), employee, {2, "O'Brien", QVariant(), "B", "0900", "1730", 0.75, 7.75}));
    QVERIFY(
        execBound(mainDb(), employee, {3, "阿部", 1100.0, QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}));
}

QVariant TestStatementPage::stored(int line, int column)
{
    QSqlQuery query(workDb());
    query.prepare(QStringLiteral("select %1 from w明細 where 行番号 = ?").arg(QString::fromUtf8(kFields[column])));
    query.addBindValue(line);
    if (!query.exec() || !query.next())
        return QStringLiteral("<no row>");
    return query.value(0);
}

void TestStatementPage::startsWithSixtyEmptyLines()
{
    QCOMPARE(test::rowCount(workDb(), QStringLiteral("w明細")), 60);
    QCOMPARE(lines()->model()->rowCount(), 60);
    QVERIFY(stored(1, kDate).isNull());
    QCOMPARE(stored(60, 0).toInt(), 60);
    QVERIFY(!control<NumberBox>("num合計")->value().isValid());
}

void TestStatementPage::employeeBringsWageAndShift()
{
    chooseEmployee(QStringLiteral("山田"));
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1000.0);
    QCOMPARE(control<NumberBox>("num時給")->text(), QStringLiteral("1,000"));
    QCOMPARE(control<QComboBox>("cmb勤務形態")->currentText(), QStringLiteral("A"));
    QCOMPARE(control<QLabel>("Lbl勤務形態")->text(), QStringLiteral("9:00 ～ 18:00   休憩 1   実労 8"));

    // Without a wage, neither wage nor shift type change; the label follows the box.
    chooseEmployee(QStringLiteral("O'Brien"));
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1000.0);
    QCOMPARE(control<QComboBox>("cmb勤務形態")->currentText(), QStringLiteral("A"));
    // An unknown name leaves everything as it was.
    chooseEmployee(QStringLiteral("知らない人"));
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1000.0);
    // A wage but no usual shift type: the wage only.
    chooseEmployee(QStringLiteral("阿部"));
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1100.0);
    QCOMPARE(control<QComboBox>("cmb勤務形態")->currentText(), QStringLiteral("A"));
}

void TestStatementPage::weekByDownArrow()
{
    chooseEmployee(QStringLiteral("山田"));
    type(0, kDate, QStringLiteral("20260301"), Qt::Key_Down);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(lines(), Qt::Key_Down);
    QTRY_COMPARE(stored(6, kDate).toString(), QStringLiteral("20260306"));
    for (int line = 1; line <= 7; ++line) {
        QCOMPARE(stored(line, kDate).toString(), QStringLiteral("202603%1").arg(line, 2, 10, QLatin1Char('0')));
        QCOMPARE(stored(line, kStart).toString(), QStringLiteral("0900"));
        QCOMPARE(stored(line, kEnd).toString(), QStringLiteral("1800"));
        QCOMPARE(stored(line, kHours).toDouble(), 8.0);
        QCOMPARE(stored(line, kWage).toDouble(), 1000.0);
        // A new installation pays overtime: the week from Sunday passes 40
        // hours on Thursday, so Friday and Saturday are 8 hours of it each.
        QCOMPARE(stored(line, kAmount).toDouble(), line <= 5 ? 8000.0 : 10000.0);
    }
    QVERIFY(stored(8, kDate).isNull());
    QCOMPARE(lines()->currentIndex().row(), 6);
    QCOMPARE(lines()->currentIndex().column(), int(kDate));
    QCOMPARE(control<NumberBox>("num時間")->value().toDouble(), 56.0);
    QCOMPARE(control<NumberBox>("num休憩")->value().toDouble(), 7.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 60000.0);
    QCOMPARE(control<NumberBox>("num合計")->text(), QStringLiteral("60,000"));
    QCOMPARE(control<NumberBox>("num時間")->text(), QStringLiteral("56.0"));
    QVERIFY(!control<NumberBox>("num調整額")->value().toDouble());
}

void TestStatementPage::invalidDateFillsNothing()
{
    chooseEmployee(QStringLiteral("山田"));
    type(0, kDate, QStringLiteral("20070230"));
    QTRY_VERIFY(stored(1, kDate).isNull());
    QVERIFY(stored(1, kStart).isNull());
    QVERIFY(stored(1, kHours).isNull());
    QVERIFY(stored(1, kAmount).isNull());
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 0.0);
}

void TestStatementPage::monthEndThenDown()
{
    chooseEmployee(QStringLiteral("山田"));
    type(10, kDate, QStringLiteral("20070331"), Qt::Key_Down);
    QTRY_COMPARE(stored(12, kDate).toString(), QStringLiteral("20070401"));
    QCOMPARE(stored(12, kStart).toString(), QStringLiteral("0900"));
    QCOMPARE(stored(11, kAmount).toDouble(), 8000.0);
    QCOMPARE(stored(12, kAmount).toDouble(), 8000.0);
}

void TestStatementPage::downOnAnEmptyDateOnlyMoves()
{
    chooseEmployee(QStringLiteral("山田"));
    lines()->setFocus();
    lines()->setCurrentIndex(lines()->tableModel()->index(3, kDate));
    QTest::keyClick(lines(), Qt::Key_Down);
    QCOMPARE(lines()->currentIndex().row(), 4);
    QCOMPARE(lines()->currentIndex().column(), int(kDate));
    QCOMPARE(query(workDb(), "select count(*) from w明細 where 日付 is not null or 開始時間 is not null"),
             (test::Rows{{"0"}}));
}

void TestStatementPage::enterOnTheLastLineWritesNothing()
{
    type(59, kDate, QStringLiteral("20070331"));
    lines()->setCurrentIndex(lines()->tableModel()->index(59, kAmount));
    QTest::keyClick(lines(), Qt::Key_Return);
    QCOMPARE(lines()->currentIndex().row(), 59);
    QCOMPARE(lines()->currentIndex().column(), int(kDate));
    QCOMPARE(query(workDb(), "select count(*) from w明細 where 日付 is not null"), (test::Rows{{"1"}}));
}

void TestStatementPage::enterInTheAmountColumnDatesTheNextLine()
{
    type(0, kDate, QStringLiteral("20070331"));
    type(0, kAmount, QStringLiteral("5000"));
    QTRY_COMPARE(stored(2, kDate).toString(), QStringLiteral("20070401"));
    QCOMPARE(stored(1, kAmount).toDouble(), 5000.0);
    // Only the date: Enter does not fill the new line.
    QVERIFY(stored(2, kStart).isNull());
    QCOMPARE(lines()->currentIndex().row(), 1);
    QCOMPARE(lines()->currentIndex().column(), int(kDate));
}

void TestStatementPage::typedTimesAndBadEntries()
{
    control<NumberBox>("num時給")->setValue(1000.0);
    type(0, kDate, QStringLiteral("20260302")); // a dated line, so it counts in the totals
    type(0, kStart, QStringLiteral("2200"));
    QTRY_COMPARE(stored(1, kStart).toString(), QStringLiteral("2200"));
    QVERIFY(stored(1, kHours).isNull()); // no end yet
    QCOMPARE(stored(1, kWage).toDouble(), 1000.0);
    type(0, kEnd, QStringLiteral("0600"));
    QTRY_COMPARE(stored(1, kHours).toDouble(), 8.0); // a night shift, not -16
    QCOMPARE(stored(1, kAmount).toDouble(), 9750.0); // with 7 hours of night at 25 %
    type(0, kBreak, QStringLiteral("abc"));
    QTRY_VERIFY(stored(1, kBreak).isNull());
    type(0, kBreak, QStringLiteral("1"));
    QTRY_COMPARE(stored(1, kHours).toDouble(), 7.0);
    type(0, kStart, QStringLiteral("2500")); // refused: the start stays
    QTRY_COMPARE(stored(1, kStart).toString(), QStringLiteral("2200"));
    QCOMPARE(stored(1, kHours).toDouble(), 7.0);
    type(0, kStart, QStringLiteral("2330")); // 23:30 to 6:00 less the hour's break
    QTRY_COMPARE(stored(1, kHours).toDouble(), 5.5);
    // The break comes out of 5:00 to 6:00: 5.5 night hours at 25 %.
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 6875.0);
}

// What is typed is taken as meant or refused out loud, and the cell keeps
// what it held; the line's hours and yen always follow the times it shows.
// A line of 17:00 to 22:00 at 1,100 yen is typed first.
void TestStatementPage::refusalsAndTimesAsShown_data()
{
    QTest::addColumn<int>("column"); // -1: the wage box
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("hours");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("message"); // empty: none

    // A new installation pays 25 % for night and overtime hours: 17:00 to
    // 2:30 is 9.5 h with 4.5 h of night and 1.5 h over 8, 12,100 yen.
    const QVariant start("1700"), end("2200"), date("20261130"), wage(1100.0);
    QTest::newRow("end 230") << int(kEnd) << "230" << QVariant("0230") << "2:30" << 9.5 << 12100.0 << "";
    QTest::newRow("end 2:30") << int(kEnd) << "2:30" << QVariant("0230") << "2:30" << 9.5 << 12100.0 << "";
    QTest::newRow("end 0:30") << int(kEnd) << "0:30" << QVariant("0030") << "0:30" << 7.5 << 8937.5 << "";
    QTest::newRow("start 9:00") << int(kStart) << "9:00" << QVariant("0900") << "9:00" << 13.0 << 15675.0 << "";
    QTest::newRow("end 2500") << int(kEnd) << "2500" << end << "22:00" << 5.0 << 5500.0
                              << "入力/時刻形式/終了時間「2500」";
    // Letters never show in a time or date cell: typed alone, they are refused as 2500 is.
    QTest::newRow("end abc") << int(kEnd) << "abc" << end << "22:00" << 5.0 << 5500.0
                             << "入力/時刻形式/終了時間「abc」";
    QTest::newRow("date xyz") << int(kDate) << "xyz" << date << "2026/11/30" << 5.0 << 5500.0
                              << "入力/日付形式/日付「xyz」";
    QTest::newRow("start 0960") << int(kStart) << "0960" << start << "17:00" << 5.0 << 5500.0
                                << "入力/時刻形式/開始時間「0960」";
    QTest::newRow("31 November") << int(kDate) << "20261131" << date << "2026/11/30" << 5.0 << 5500.0
                                 << "入力/日付形式/日付「20261131」";
    QTest::newRow("1,200 hours") << int(kHours) << "1200" << QVariant(5.0) << "5.0" << 5.0 << 5500.0
                                 << "入力/範囲外/時間「1200」";
    QTest::newRow("wage 1e5") << int(kWage) << "1e5" << wage << "1,100" << 5.0 << 5500.0 << "入力/範囲外/時給「1e5」";
    QTest::newRow("wage 100000000") << int(kWage) << "100000000" << wage << "1,100" << 5.0 << 5500.0
                                    << "入力/範囲外/時給「100000000」";
    QTest::newRow("adjustment 1,2,3") << int(kAdjustment) << "1,2,3" << QVariant() << "" << 5.0 << 5500.0
                                      << "入力/範囲外/調整額「1,2,3」";
    // Text that is no time or date is refused out loud, not cut to digits
    // (1e5 would be 15:00).
    QTest::newRow("start 1e5") << int(kStart) << "1e5" << start << "17:00" << 5.0 << 5500.0
                               << "入力/時刻形式/開始時間「1e5」";
    QTest::newRow("end nan") << int(kEnd) << "nan" << end << "22:00" << 5.0 << 5500.0
                             << "入力/時刻形式/終了時間「nan」";
    QTest::newRow("date with a letter") << int(kDate) << "2026l130" << date << "2026/11/30" << 5.0 << 5500.0
                                        << "入力/日付形式/日付「2026l130」";
    // The wage box: a refused wage leaves the box's 1,100, and no line takes it.
    QTest::newRow("wage box full-width -5")
        << -1 << "－５" << wage << "1,100" << 5.0 << 5500.0 << "入力/範囲外/時給「-5」";
    QTest::newRow("wage box 1e5") << -1 << "1e5" << wage << "1,100" << 5.0 << 5500.0 << "入力/範囲外/時給「1e5」";
    QTest::newRow("wage box nan") << -1 << "nan" << wage << "1,100" << 5.0 << 5500.0 << "入力/範囲外/時給「nan」";
    QTest::newRow("wage box Arabic-Indic digits")
        << -1 << "١٢٠٠" << wage << "1,100" << 5.0 << 5500.0 << "入力/範囲外/時給「١٢٠٠」";
}

void TestStatementPage::refusalsAndTimesAsShown()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    QFETCH(double, hours);
    QFETCH(double, amount);
    QFETCH(QString, message);

    chooseEmployee(QStringLiteral("阿部"));
    type(0, kDate, QStringLiteral("20261130"));
    type(0, kStart, QStringLiteral("1700"));
    type(0, kEnd, QStringLiteral("2200"));
    QTRY_COMPARE(this->stored(1, kAmount).toDouble(), 5500.0);
    clearAsked();

    if (column < 0) {
        NumberBox *box = control<NumberBox>("num時給");
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->selectAll();
        test::commitText(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_COMPARE(asked(), QStringList{message});
        QCOMPARE(box->value(), stored);
        QCOMPARE(box->text(), shown);
        // A new line takes the box's wage as it stands.
        type(1, kDate, QStringLiteral("20261201"));
        QTRY_COMPARE(this->stored(2, kWage), stored);
    } else {
        type(0, column, typed);
        if (message.isEmpty()) {
            QTRY_COMPARE(this->stored(1, column), stored);
            QTest::qWait(50); // a message would be told by now
            QCOMPARE(asked(), QStringList());
        } else {
            QTRY_COMPARE(asked(), QStringList{message});
            if (stored.isValid())
                QCOMPARE(this->stored(1, column), stored);
            else
                QVERIFY(this->stored(1, column).isNull());
        }
        control<DataGrid>("Grid明細")->setCurrentIndex(control<DataGrid>("Grid明細")->model()->index(0, column));
        QCOMPARE(control<DataGrid>("Grid明細")->cellText(column), shown);
    }
    QCOMPARE(this->stored(1, kHours).toDouble(), hours);
    QCOMPARE(this->stored(1, kAmount).toDouble(), amount);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), amount);
}

void TestStatementPage::wageOnALineIsKept()
{
    control<NumberBox>("num時給")->setValue(900.0);
    type(0, kHours, QStringLiteral("8"));
    QTRY_COMPARE(stored(1, kAmount).toDouble(), 7200.0);
    control<NumberBox>("num時給")->setValue(1200.0);
    type(0, kAdjustment, QStringLiteral("300"));
    QTRY_COMPARE(stored(1, kAmount).toDouble(), 7500.0);
    QCOMPARE(stored(1, kWage).toDouble(), 900.0);
    // An emptied wage is filled again from the box.
    type(0, kWage, QString());
    QTRY_COMPARE(stored(1, kWage).toDouble(), 1200.0);
    QCOMPARE(stored(1, kAmount).toDouble(), 9900.0);
}

void TestStatementPage::deletingALineLowersTheTotals()
{
    chooseEmployee(QStringLiteral("山田"));
    type(0, kDate, QStringLiteral("20260301"), Qt::Key_Down);
    QTest::keyClick(lines(), Qt::Key_Down);
    QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 24000.0);
    lines()->setCurrentIndex(lines()->tableModel()->index(1, kHours));
    QTest::mouseClick(control<QPushButton>("cmd行削除"), Qt::LeftButton);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 16000.0);
    QCOMPARE(test::rowCount(workDb(), QStringLiteral("w明細")), 59);
    QCOMPARE(stored(2, 0).toString(), QStringLiteral("<no row>"));
    QCOMPARE(stored(3, kDate).toString(), QStringLiteral("20260303"));
    QCOMPARE(lines()->model()->rowCount(), 59);
}

void TestStatementPage::pickingAShiftType()
{
    QComboBox *combo = control<QComboBox>("cmb勤務形態");
    QStringList offered;
    for (int i = 0; i < combo->count(); ++i)
        offered << combo->itemText(i);
    QCOMPARE(offered, (QStringList{"A", "B", "N"})); // C has no start time
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QCOMPARE(control<QLabel>("Lbl勤務形態")->text(), QStringLiteral("9:00 ～ 17:30   休憩 0.75  実労 7.75"));
    combo->setEditText(QString());
    emit combo->activated(-1);
    QCOMPARE(control<QLabel>("Lbl勤務形態")->text(), QString());
    // A type no longer offered can still be shown, as a reopened statement needs.
    combo->setEditText(QStringLiteral("Z"));
    QCOMPARE(combo->currentText(), QStringLiteral("Z"));
}

void TestStatementPage::shiftTypeCannotBeTyped()
{
    QComboBox *combo = control<QComboBox>("cmb勤務形態");
    combo->setEditText(QStringLiteral("A"));
    combo->setFocus();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("xyz"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(combo->currentText(), QStringLiteral("A"));
}

void TestStatementPage::clearResetsPageAndPickers()
{
    chooseEmployee(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("3月分"));
    type(0, kDate, QStringLiteral("20260301"));
    QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 8000.0);
    // Master changes since the last clear show up after it.
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員 (\"No\", 氏名) values (?, ?)"), {4, "伊藤"}));
    QVERIFY(
        execBound(mainDb(), QStringLiteral("update 勤務形態マスタ set 開始時間 = ? where タイプ = ?"), {"1000", "C"}));

    QTest::mouseClick(control<QPushButton>("cmdクリア"), Qt::LeftButton);
    QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), QString());
    QCOMPARE(control<QLineEdit>("txtタイトル")->text(), QString());
    QCOMPARE(control<QComboBox>("cmb勤務形態")->currentText(), QString());
    QCOMPARE(control<QLabel>("Lbl勤務形態")->text(), QString());
    for (NumberBox *box : {control<NumberBox>("num休憩"), control<NumberBox>("num合計"), control<NumberBox>("num時間"),
                           control<NumberBox>("num時給"), control<NumberBox>("num調整額")})
        QVERIFY2(!box->value().isValid(), qPrintable(box->objectName()));
    QVERIFY(stored(1, kDate).isNull());
    QCOMPARE(test::rowCount(workDb(), QStringLiteral("w明細")), 60);

    QStringList names;
    for (int i = 0; i < control<QComboBox>("cmb氏名")->count(); ++i)
        names << control<QComboBox>("cmb氏名")->itemText(i);
    // In the order of the employee numbers, as the employee page lists them.
    QStringList byNumber;
    for (const QStringList &row : query(mainDb(), "select 氏名 from 従業員 where 氏名 is not null order by \"No\""))
        byNumber << row.first();
    QCOMPARE(names, byNumber);
    QVERIFY(names.contains(QStringLiteral("伊藤")));
    QCOMPARE(names.size(), 4);
    QCOMPARE(control<QComboBox>("cmb勤務形態")->count(), 4);
    // The drop-down copy holds every pattern, with or without times.
    QCOMPARE(test::rowCount(workDb(), QStringLiteral("w勤務形態参照")), 4);
}

QTEST_MAIN(TestStatementPage)
#include "tst_statementpage.moc"
