#include "app/FrmPelmar.h"
#include "masters/EmployeePage.h"
#include "masters/PatternPage.h"
#include "masters/SettingsPage.h"
#include "statements/StatementPage.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include "../support/WindowFixture.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QTabWidget>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTest>

using namespace pelmar;

using test::Rows;

class TestMasters : public test::WindowFixture {
    Q_OBJECT
private slots:
    void patternPageStartsWithTenRows();
    void patternHours_data();
    void patternHours();
    void typedWorkingTimeStays();
    void patternReadShowsShortMasterFirst();
    void patternRegistration();
    void lineDeleteKeepsTheName();
    void employeeRegistrationNumbersNamedRows();
    void employeeReadRenumbers();
    void duplicateNamesAndTicks();
    void lookAlikeNamesAreRefused();
    void deleteQuestionComesFirst();
    void lineDeleteKeepsACopyAndNamesWhatGoes();
    void quotedNamesStayTheirOwn();
    void dropDownPickFillsTheRow();
    void hundredAndFiftyEmployees();
    void failedRegistrationLeavesTheMaster();
    void statementEmployee_data();
    void statementEmployee();
    void companySettings();
    void dateBoxesTakeTypedDates_data();
    void dateBoxesTakeTypedDates();

private:
    void tick(int row);
};

void TestMasters::tick(int row)
{
    DataGrid *grid = control<DataGrid>("Grid従業員");
    grid->setFocus();
    grid->setCurrentIndex(grid->tableModel()->index(row, 1));
    QTest::keyClick(grid, Qt::Key_Space);
}

void TestMasters::patternPageStartsWithTenRows()
{
    QCOMPARE(query(workDb(), "select \"No\", タイプ from w勤務形態 order by \"No\"").size(), 10);
    QCOMPARE(query(workDb(), "select タイプ from w勤務形態 where \"No\" = 10"), (Rows{{"J"}}));
    QCOMPARE(control<DataGrid>("Grid勤務形態")->model()->rowCount(), 10);
    QCOMPARE(control<DataGrid>("Grid従業員")->model()->rowCount(), 100);
    QCOMPARE(query(workDb(), "select count(*) from w従業員 where チェック = 0"), (Rows{{"100"}}));
}

void TestMasters::patternHours_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QString>("worked");
    QTest::newRow("day with break") << "0900"
                                    << "1800"
                                    << "1"
                                    << "8";
    QTest::newRow("half-hour break") << "0900"
                                     << "1800"
                                     << "0.5"
                                     << "8.5";
    QTest::newRow("half past nine") << "0930"
                                    << "1800"
                                    << ""
                                    << "8.5";
    QTest::newRow("night shift") << "2200"
                                 << "0600"
                                 << ""
                                 << "8";
    QTest::newRow("letters as break count as none") << "0900"
                                                    << "1800"
                                                    << "ab"
                                                    << "9";
}

void TestMasters::patternHours()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, rest);
    QFETCH(QString, worked);
    DataGrid *grid = control<DataGrid>("Grid勤務形態");
    typeInto(grid, 0, 2, start);
    typeInto(grid, 0, 3, end);
    if (!rest.isEmpty())
        typeInto(grid, 0, 4, rest);
    QTRY_COMPARE(query(workDb(), "select 実労時間 from w勤務形態 where \"No\" = 1"), (Rows{{worked}}));
    if (rest == QLatin1String("ab"))
        QCOMPARE(query(workDb(), "select 休憩時間 from w勤務形態 where \"No\" = 1"), (Rows{{"<null>"}}));
}

void TestMasters::typedWorkingTimeStays()
{
    DataGrid *grid = control<DataGrid>("Grid勤務形態");
    typeInto(grid, 1, 2, "0900");
    typeInto(grid, 1, 3, "1800");
    typeInto(grid, 1, 5, "7.25");
    QTRY_COMPARE(query(workDb(), "select 実労時間 from w勤務形態 where \"No\" = 2"), (Rows{{"7.25"}}));
    typeInto(grid, 1, 2, "2500"); // refused out loud: the start and the hours stay
    QTRY_COMPARE(asked().value(0), QStringLiteral("入力/時刻形式/開始時間「2500」"));
    QCOMPARE(query(workDb(), "select 開始時間, 実労時間 from w勤務形態 where \"No\" = 2"), (Rows{{"0900", "7.25"}}));
    typeInto(grid, 1, 2, "1000");
    QTRY_COMPARE(query(workDb(), "select 実労時間 from w勤務形態 where \"No\" = 2"), (Rows{{"8"}}));
}

void TestMasters::patternReadShowsShortMasterFirst()
{
    const QString insert = QStringLiteral("insert into 勤務形態マスタ values (?, ?, ?, ?, ?, ?)");
    QVERIFY(execBound(mainDb(), insert, {5, "早番", "0700", "1500", 1.0, 7.0}));
    QVERIFY(execBound(mainDb(), insert, {8, "遅番", "1300", "2100", 1.0, 7.0}));
    QVERIFY(execBound(mainDb(), insert, {9, "夜勤", "2200", "0600", 0.0, 8.0}));
    QTest::mouseClick(control<QPushButton>("cmd勤務読込"), Qt::LeftButton);
    QCOMPARE(query(workDb(), "select \"No\", タイプ, 開始時間 from w勤務形態 order by \"No\" limit 5"),
             (Rows{{"1", "早番", "0700"},
                   {"2", "遅番", "1300"},
                   {"3", "夜勤", "2200"},
                   {"4", "D", "<null>"},
                   {"5", "E", "<null>"}}));
    // Registering then stores all ten rows.
    QTest::mouseClick(control<QPushButton>("cmd勤務登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select count(*) from 勤務形態マスタ"), (Rows{{"10"}}));
    QCOMPARE(query(mainDb(), "select タイプ from 勤務形態マスタ where \"No\" = 1"), (Rows{{"早番"}}));
}

void TestMasters::patternRegistration()
{
    typeInto(control<DataGrid>("Grid勤務形態"), 0, 2, "0900");
    typeInto(control<DataGrid>("Grid勤務形態"), 0, 3, "1800");
    answer(false);
    QTest::mouseClick(control<QPushButton>("cmd勤務登録"), Qt::LeftButton);
    QCOMPARE(asked().last(), QStringLiteral("登録/確認/勤務形態"));
    QCOMPARE(query(mainDb(), "select count(*) from 勤務形態マスタ"), (Rows{{"0"}}));
    answer(true);
    QTest::mouseClick(control<QPushButton>("cmd勤務登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(),
                   "select \"No\", タイプ, 開始時間, 終了時間, 実労時間 from 勤務形態マスタ where \"No\" <= 2"
                   " order by \"No\""),
             (Rows{{"1", "A", "0900", "1800", "9"}, {"2", "B", "<null>", "<null>", "<null>"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 勤務形態マスタ"), (Rows{{"10"}}));
    // After a restart the page shows the master again.
    QVERIFY(openWindow());
    QCOMPARE(query(workDb(), "select 開始時間 from w勤務形態 where \"No\" = 1"), (Rows{{"0900"}}));
}

void TestMasters::lineDeleteKeepsTheName()
{
    typeInto(control<DataGrid>("Grid勤務形態"), 2, 2, "0900");
    typeInto(control<DataGrid>("Grid勤務形態"), 2, 3, "1700");
    QTRY_COMPARE(query(workDb(), "select 実労時間 from w勤務形態 where \"No\" = 3"), (Rows{{"8"}}));
    control<DataGrid>("Grid勤務形態")->setCurrentIndex(control<DataGrid>("Grid勤務形態")->tableModel()->index(2, 1));
    QTest::mouseClick(control<QPushButton>("cmd勤務行削除"), Qt::LeftButton);
    QTRY_COMPARE(
        query(workDb(), "select タイプ, 開始時間, 終了時間, 休憩時間, 実労時間 from w勤務形態 where \"No\" = 3"),
        (Rows{{"C", "<null>", "<null>", "<null>", "<null>"}}));
}

void TestMasters::employeeRegistrationNumbersNamedRows()
{
    commitInto(control<DataGrid>("Grid従業員"), 0, 2, QStringLiteral("佐藤"));
    commitInto(control<DataGrid>("Grid従業員"), 2, 2, QStringLiteral("鈴木"));
    commitInto(control<DataGrid>("Grid従業員"), 6, 2, QStringLiteral("高橋"));
    typeInto(control<DataGrid>("Grid従業員"), 6, 3, "1200");
    answer(false);
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select count(*) from 従業員"), (Rows{{"0"}}));
    answer(true);
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(asked().last(), QStringLiteral("登録/確認/従業員"));
    QCOMPARE(query(mainDb(), "select \"No\", 氏名, 時給 from 従業員 order by \"No\""),
             (Rows{{"1", "佐藤", "<null>"}, {"2", "鈴木", "<null>"}, {"3", "高橋", "1200"}}));
    // The page is left as it is.
    QCOMPARE(query(workDb(), "select 氏名 from w従業員 where \"No\" = 7"), (Rows{{"高橋"}}));
}

void TestMasters::employeeReadRenumbers()
{
    const QString insert = QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (?, ?, ?)");
    QVERIFY(execBound(mainDb(), insert, {9, "後藤", 1300.0}));
    QVERIFY(execBound(mainDb(), insert, {2, "安藤", 1000.0}));
    QVERIFY(execBound(mainDb(), insert, {5, "加藤", 1100.0}));
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    QCOMPARE(query(workDb(), "select \"No\", 氏名 from w従業員 where 氏名 is not null order by \"No\""),
             (Rows{{"1", "安藤"}, {"2", "加藤"}, {"3", "後藤"}}));
    QCOMPARE(query(workDb(), "select count(*) from w従業員"), (Rows{{"100"}}));
}

void TestMasters::duplicateNamesAndTicks()
{
    const QString insert = QStringLiteral("insert into 従業員 (\"No\", 氏名) values (?, ?)");
    QVERIFY(execBound(mainDb(), insert, {1, "田中"}));
    QVERIFY(execBound(mainDb(), insert, {2, "田中"}));
    QVERIFY(execBound(mainDb(), insert, {3, "中村"}));
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    tick(0);
    QTRY_COMPARE(query(workDb(), "select チェック from w従業員 where \"No\" = 1"), (Rows{{"-1"}}));
    QTest::mouseClick(control<QPushButton>("cmd従業員行削除"), Qt::LeftButton);
    // The question names the employee once, however many rows the name has.
    QCOMPARE(asked().last(), QStringLiteral("削除/従業員確認/従業員 田中 をマスタから削除します。"));
    QCOMPARE(query(mainDb(), "select 氏名 from 従業員"), (Rows{{"中村"}}));
    QCOMPARE(query(workDb(), "select \"No\", 氏名 from w従業員 where 氏名 is not null order by \"No\""),
             (Rows{{"2", "田中"}, {"3", "中村"}}));
    QCOMPARE(control<DataGrid>("Grid従業員")->model()->rowCount(), 99);
}

// Names that look the same would be employees nobody can tell apart: 登録
// names them and their rows, and the master stays as it was.
void TestMasters::lookAlikeNamesAreRefused()
{
    const QString insert = QStringLiteral("insert into 従業員 (\"No\", 氏名) values (?, ?)");
    QVERIFY(
        execBound(mainDb(), QStringLiteral("insert into 従業員 values (1, '山田', 1000, 'A', '0900', '1800', 1, 8)")));
    QVERIFY(execBound(mainDb(), insert, {2, QStringLiteral("山田\u200b")})); // left by an older version
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    commitInto(control<DataGrid>("Grid従業員"), 2, 2, QStringLiteral("佐藤 花子"));
    commitInto(control<DataGrid>("Grid従業員"), 3, 2, QStringLiteral("佐藤 花子"));
    commitInto(control<DataGrid>("Grid従業員"), 4, 2, QStringLiteral("佐藤 花子\u200b"));
    commitInto(control<DataGrid>("Grid従業員"), 5, 2, QStringLiteral(" 佐藤 花子"));
    commitInto(control<DataGrid>("Grid従業員"), 6, 2, QStringLiteral("佐藤花子")); // another name
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(asked(),
             QStringList{QStringLiteral("入力/重複/氏名「山田」（1、2 行目）、「佐藤 花子」（3、4、5、6 行目）")});
    QCOMPARE(query(mainDb(), "select count(*) from 従業員"), (Rows{{"2"}}));
    // Nor does the master ever take a negative wage or a time that does not
    // exist: the cells keep what they held.
    typeInto(control<DataGrid>("Grid従業員"), 0, 3, "-1000");
    typeInto(control<DataGrid>("Grid従業員"), 0, 5, "2500");
    QCOMPARE(asked().mid(1), (QStringList{"入力/範囲外/時給「-1000」", "入力/時刻形式/開始時間「2500」"}));
    QCOMPARE(query(workDb(), "select 時給, 開始時間 from w従業員 where \"No\" = 1"), (Rows{{"1000", "0900"}}));
}

void TestMasters::deleteQuestionComesFirst()
{
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員 (\"No\", 氏名) values (1, '田中')")));
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    // Nothing ticked: still asked, and Yes changes nothing.
    QTest::mouseClick(control<QPushButton>("cmd従業員行削除"), Qt::LeftButton);
    QCOMPARE(asked().size(), 1);
    QCOMPARE(query(mainDb(), "select count(*) from 従業員"), (Rows{{"1"}}));
    QCOMPARE(query(workDb(), "select count(*) from w従業員"), (Rows{{"100"}}));
    // Ticked but No: nothing either.
    tick(0);
    answer(false);
    QTest::mouseClick(control<QPushButton>("cmd従業員行削除"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select count(*) from 従業員"), (Rows{{"1"}}));
    QCOMPARE(query(workDb(), "select count(*) from w従業員"), (Rows{{"100"}}));
}

// 行削除 takes the employee's payroll details with them: the question says
// so, and that the stored statements stay, and a copy is kept first.
void TestMasters::lineDeleteKeepsACopyAndNamesWhatGoes()
{
    QVERIFY(test::addEmployee(mainDb(), 1, QStringLiteral("田中"), 1000));
    QVERIFY(test::addEmployee(mainDb(), 2, QStringLiteral("佐藤"), 1000));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員給与 (氏名, 住民税) values ('田中', 3000)")));
    test::SeedLine line;
    line.date = QStringLiteral("20260401");
    QVERIFY(test::storeStatement(mainDb(), QStringLiteral("田中"), QStringLiteral("4月"), 1000, {line}));
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    tick(0);
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd従業員行削除"), Qt::LeftButton);
    QCOMPARE(asked().size(), 1);
    const QString question = asked().first();
    QVERIFY2(question.startsWith(QStringLiteral("削除/従業員確認/従業員 田中 をマスタから削除します。"))
                 && question.contains(QStringLiteral("田中 の給与の設定"))
                 && question.contains(QStringLiteral("保存した明細 1 件は削除されずに残ります")),
             qPrintable(question));
    QCOMPARE(query(mainDb(), "select 氏名 from 従業員"), (Rows{{"佐藤"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 従業員給与"), (Rows{{"0"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 時給ヘッダ"), (Rows{{"1"}}));

    // The copy taken first still holds the details.
    QList<backup::Info> copies = backup::list(data().path());
    copies.removeIf([](const backup::Info &info) { return info.reason != backup::Reason::Employees; });
    QCOMPARE(copies.size(), 1);
    QCOMPARE(copies.first().employees, 2);
    const QString connection = QStringLiteral("tst-masters-copy");
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        copy.setDatabaseName(copies.first().path);
        QVERIFY(copy.open());
        QCOMPARE(query(copy, "select 氏名, 住民税 from 従業員給与"), (Rows{{"田中", "3000"}}));
    }
    QSqlDatabase::removeDatabase(connection);
}

void TestMasters::quotedNamesStayTheirOwn()
{
    const QString insert = QStringLiteral("insert into 従業員 (\"No\", 氏名) values (?, ?)");
    QVERIFY(execBound(mainDb(), insert, {1, "O'Brien"}));
    QVERIFY(execBound(mainDb(), insert, {2, "O"}));
    QVERIFY(execBound(mainDb(), insert, {3, "' or 1=1 --"}));
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    tick(0);
    tick(2);
    QTest::mouseClick(control<QPushButton>("cmd従業員行削除"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select 氏名 from 従業員"), (Rows{{"O"}}));
}

void TestMasters::dropDownPickFillsTheRow()
{
    const QString insert = QStringLiteral("insert into 勤務形態マスタ values (?, ?, ?, ?, ?, ?)");
    QVERIFY(execBound(mainDb(), insert, {1, "A", "0900", "1800", 1.0, 8.0}));
    QVERIFY(execBound(mainDb(), insert, {2, "B", "1000", "1500", 0.5, 4.5}));
    QTest::mouseClick(control<QPushButton>("cmdクリア従業員"), Qt::LeftButton); // rebuilds the drop-down copy
    DataGrid *grid = control<DataGrid>("Grid従業員");
    grid->setFocus();
    grid->setCurrentIndex(grid->tableModel()->index(3, 4));
    QTest::keyClick(grid, Qt::Key_F4);
    DataGrid *list = control<DataGrid>("DD勤務形態");
    QTRY_VERIFY(list->isVisible());
    // Its captions are not clipped.
    for (int column = 0; column < list->horizontalHeader()->count(); ++column) {
        const QString caption = list->model()->headerData(column, Qt::Horizontal).toString();
        QVERIFY2(list->columnWidth(column) > list->horizontalHeader()->fontMetrics().horizontalAdvance(caption),
                 qPrintable(caption));
    }
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_COMPARE(
        query(workDb(), "select 勤務形態, 開始時間, 終了時間, 休憩時間, 実労時間 from w従業員 where \"No\" = 4"),
        (Rows{{"B", "1000", "1500", "0.5", "4.5"}}));
    QCOMPARE(query(workDb(), "select count(*) from w従業員 where 勤務形態 is not null"), (Rows{{"1"}}));
    QCOMPARE(grid->cellText(5), QStringLiteral("10:00"));
    QCOMPARE(grid->cellText(7), QStringLiteral("0.5"));
}

void TestMasters::hundredAndFiftyEmployees()
{
    {
        Transaction transaction(mainDb());
        for (int i = 1; i <= 150; ++i)
            QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (?, ?, ?)"),
                              {i, QStringLiteral("従業員%1").arg(i, 3, 10, QLatin1Char('0')), 1000.0 + i}));
        QVERIFY(transaction.commit());
    }
    const Rows before = query(mainDb(), "select \"No\", 氏名, 時給 from 従業員 order by \"No\"");
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    QVERIFY(control<DataGrid>("Grid従業員")->model()->rowCount() > 150);
    QCOMPARE(query(workDb(), "select count(*) from w従業員 where 氏名 is not null"), (Rows{{"150"}}));
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select \"No\", 氏名, 時給 from 従業員 order by \"No\""), before);
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    QCOMPARE(query(workDb(), "select 氏名 from w従業員 where \"No\" = 150"), (Rows{{"従業員150"}}));
}

void TestMasters::failedRegistrationLeavesTheMaster()
{
    const QString insert = QStringLiteral("insert into 従業員 (\"No\", 氏名) values (?, ?)");
    QVERIFY(execBound(mainDb(), insert, {1, "残る人"}));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ (\"No\", タイプ) values (1, 'X')")));
    // A row the database refuses, half-way through the page.
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("create trigger refuse before insert on 従業員"
                                     " when new.氏名 = '拒否' begin select raise(abort, 'refused'); end")));
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("create trigger refuse2 before insert on 勤務形態マスタ"
                                     " when new.タイプ = 'C' begin select raise(abort, 'refused'); end")));
    commitInto(control<DataGrid>("Grid従業員"), 0, 2, QStringLiteral("新人"));
    commitInto(control<DataGrid>("Grid従業員"), 1, 2, QStringLiteral("拒否"));
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select \"No\", 氏名 from 従業員"), (Rows{{"1", "残る人"}}));
    QCOMPARE(requests().size(), 2);
    QVERIFY(requests().last().prompt.contains(QStringLiteral("登録できませんでした")));

    QTest::mouseClick(control<QPushButton>("cmd勤務登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select \"No\", タイプ from 勤務形態マスタ"), (Rows{{"1", "X"}}));
    QCOMPARE(requests().size(), 4);
}

void TestMasters::statementEmployee_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("patternType");
    QTest::addColumn<Rows>("expected");
    QTest::newRow("new name goes to the end")
        << "新人"
        << "A" << Rows{{"1", "既存", "900", "<null>", "<null>"}, {"8", "新人", "1250", "A", "0900"}};
    QTest::newRow("new name without a shift type gets no times")
        << "新人"
        << "" << Rows{{"1", "既存", "900", "<null>", "<null>"}, {"8", "新人", "1250", "", "<null>"}};
    // A known employee takes the wage on Yes, and never the statement's shift type.
    QTest::newRow("known name keeps its number and shift type")
        << "既存"
        << "A" << Rows{{"1", "既存", "1250", "<null>", "<null>"}};
}

// Saving with every question answered Yes: what a save may write to the
// master, and nothing more.
void TestMasters::statementEmployee()
{
    QFETCH(QString, name);
    QFETCH(QString, patternType);
    QFETCH(Rows, expected);
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (7, null, null)")));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (1, '既存', 900)")));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (2, 'N', '2200', '0600', 0, 8)")));
    StatementPage *page = window()->statementPage();
    // An earlier lookup left night-shift times behind; they must not leak in.
    control<QComboBox>("cmb勤務形態")->setEditText(QStringLiteral("N"));
    page->Get時給();
    control<QComboBox>("cmb氏名")->setEditText(name);
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("4月"));
    control<NumberBox>("num時給")->setValue(1250.0);
    control<QComboBox>("cmb勤務形態")->setEditText(patternType);
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select count(*) from 時給ヘッダ"), (Rows{{"1"}}));
    QCOMPARE(query(mainDb(),
                   "select \"No\", 氏名, 時給, 勤務形態, 開始時間 from 従業員 where 氏名 is not null"
                   " order by \"No\""),
             expected);
}

void TestMasters::companySettings()
{
    // Empty table: reading leaves the boxes as they are.
    control<QLineEdit>("txt自社名")->setText(QStringLiteral("下書き"));
    QTest::mouseClick(control<QPushButton>("cmd設定読込"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("下書き"));
    // No with an empty table keeps what was typed.
    answer(false);
    QTest::mouseClick(control<QPushButton>("cmd設定登録"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("下書き"));
    QCOMPARE(query(mainDb(), "select count(*) from 自社情報"), (Rows{{"0"}}));

    answer(true);
    const QString info = QStringLiteral("東京都千代田区1-2-3\nTEL 03-1234-5678");
    control<QLineEdit>("txt自社名")->setText(QStringLiteral("有限会社ペルマー"));
    control<QPlainTextEdit>("txt自社情報")->setPlainText(info);
    QTest::mouseClick(control<QPushButton>("cmd設定登録"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("cmd設定登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select 自社名, 自社情報 from 自社情報"), (Rows{{"有限会社ペルマー", info}}));
    QCOMPARE(window()->state().CompanyName, QStringLiteral("有限会社ペルマー"));
    QCOMPARE(window()->state().CompanyInfo, info);

    // No puts the stored values back into the boxes.
    control<QLineEdit>("txt自社名")->setText(QStringLiteral("書きかけ"));
    answer(false);
    QTest::mouseClick(control<QPushButton>("cmd設定登録"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("有限会社ペルマー"));

    // Clear empties the boxes only.
    QTest::mouseClick(control<QPushButton>("cmd設定クリア"), Qt::LeftButton);
    QCOMPARE(control<QPlainTextEdit>("txt自社情報")->toPlainText(), QString());
    QTest::mouseClick(control<QPushButton>("cmd設定読込"), Qt::LeftButton);
    QCOMPARE(control<QPlainTextEdit>("txt自社情報")->toPlainText(), info);

    // Delete blanks the row, keeps it, and the slip stops printing the details at once.
    answer(true);
    QTest::mouseClick(control<QPushButton>("cmd設定削除"), Qt::LeftButton);
    QCOMPARE(asked().last(), QStringLiteral("削除/確認/設定"));
    QCOMPARE(query(mainDb(), "select 自社名, 自社情報 from 自社情報"), (Rows{{"<null>", "<null>"}}));
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QString());
    QCOMPARE(window()->state().CompanyName, QString());
    QCOMPARE(window()->state().CompanyInfo, QString());

    // Saving the blanked row edits it, never adds a second.
    control<QLineEdit>("txt自社名")->setText(QStringLiteral("株式会社O'Neil"));
    QTest::mouseClick(control<QPushButton>("cmd設定登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select 自社名, 自社情報 from 自社情報"), (Rows{{"株式会社O'Neil", ""}}));

    // Restart: the settings are read at start-up.
    QVERIFY(openWindow());
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("株式会社O'Neil"));
}

// Every date box takes a date typed as yyyy/mm/dd or as eight digits, over
// 指定なし too; its calendar is in Japanese and opens at today's month when
// no date is set.
void TestMasters::dateBoxesTakeTypedDates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date"); // invalid: none set
    QTest::newRow("slashes") << "2025/10/03" << QDate(2025, 10, 3);
    QTest::newRow("eight digits") << "20251003" << QDate(2025, 10, 3);
    QTest::newRow("no such day") << "2025/02/30" << QDate();
}

void TestMasters::dateBoxesTakeTypedDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    control<QTabWidget>("SSTab1")->setCurrentWidget(window()->settingsPage());
    auto *box = control<QDateEdit>("dte最低賃金適用日");
    QCOMPARE(box->text(), QStringLiteral("指定なし"));
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->date(), date.isValid() ? date : box->minimumDate());
    QCOMPARE(box->text(), date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QStringLiteral("指定なし"));

    box->setDate(box->minimumDate());
    QCalendarWidget *calendar = box->calendarWidget();
    QCOMPARE(calendar->locale().language(), QLocale::Japanese);
    // As the box's button opens it: the popup at the box's date, then shown.
    calendar->setSelectedDate(box->date());
    calendar->window()->show();
    QCOMPARE(calendar->yearShown(), QDate::currentDate().year());
    QCOMPARE(calendar->monthShown(), QDate::currentDate().month());
    calendar->window()->hide();
}

QTEST_MAIN(TestMasters)
#include "tst_masters.moc"
