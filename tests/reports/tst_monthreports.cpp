#include "reports/MonthReports.h"
#include "store/Database.h"
#include "store/SchemaVersion.h"

#include "../support/TestData.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTest>

using namespace pelmar;
using test::SeedLine;

namespace {

SeedLine day(const QString &date, double hours = 8, double amount = 8000)
{
    SeedLine line;
    line.date = date;
    line.hours = hours;
    line.amount = amount;
    return line;
}

SeedLine premiumDay(const QString &date, double night, double overtime, double premium, double amount)
{
    SeedLine line = day(date, 8, amount);
    line.night = night;
    line.overtime = overtime;
    line.premium = premium;
    return line;
}

SeedLine adjusted(SeedLine line, double adjustment)
{
    line.adjustment = adjustment;
    line.amount += adjustment;
    return line;
}

QStringList namesOf(const QList<reports::StoredStatement> &statements)
{
    QStringList names;
    for (const reports::StoredStatement &s : statements)
        names << s.header.name;
    return names;
}

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

} // namespace

class TestMonthReports : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void titlesNewestFirst();
    void slipsInEmployeeNumberOrder();
    void daysAndDatesOfEachStatement();
    void summaryTreatsNullPremiumsAsZero();
    void summaryRecordsHaveHeaderAndTotals();
    void ledgerYearIsThatOfTheFirstLine_data();
    void ledgerYearIsThatOfTheFirstLine();
    void ledgerSplitsPay();
    void ledgerRecords();
    void readingOnly_data();
    void readingOnly();
    void readsWhileTheProgramWrites();

private:
    std::unique_ptr<test::TestDataFolder> m_data;
    QSqlDatabase m_main;
};

void TestMonthReports::init()
{
    m_data = std::make_unique<test::TestDataFolder>();
    QVERIFY(m_data->isValid());
    m_main = m_data->mainDb();
}

void TestMonthReports::cleanup()
{
    m_main = QSqlDatabase();
    m_data.reset();
}

void TestMonthReports::titlesNewestFirst()
{
    // Saved in an order unlike their periods: a correction of March is the
    // last save, the bonus has no lines at all.
    QVERIFY(test::storeStatement(m_main, "佐藤", "2024年4月分", 1000, {day("20240401"), day("20240430")}));
    QVERIFY(test::storeStatement(m_main, "山田", "賞与", 1000, {}));
    QVERIFY(test::storeStatement(m_main, "佐藤", "2023年12月分", 1000, {day("20231221"), day("20240120")}));
    QVERIFY(test::storeStatement(m_main, "山田", "2024年3月分", 1000, {day("20240305")}));
    QVERIFY(test::storeStatement(m_main, "佐藤", "2024年3月分", 1000, {day("20240310")}));
    const auto titles = reports::storedTitles(m_main);
    QVERIFY(titles);
    QCOMPARE(*titles, QStringList({"2024年4月分", "2024年3月分", "2023年12月分", "賞与"}));
}

void TestMonthReports::slipsInEmployeeNumberOrder()
{
    QVERIFY(test::addEmployee(m_main, 3, "青木"));
    QVERIFY(test::addEmployee(m_main, 1, "渡辺"));
    QVERIFY(test::addEmployee(m_main, 2, "O'Brien"));
    QVERIFY(test::addEmployee(m_main, 7, "O'Brien")); // listed twice: the smaller number counts
    QVERIFY(test::addEmployee(m_main, QVariant(), "番号なし"));
    const QString title = QStringLiteral("2024年4月分");
    for (const char *name : {"青木", "退職者B", "渡辺", "O'Brien", "退職者A", "番号なし"})
        QVERIFY(test::storeStatement(m_main, QString::fromUtf8(name), title, 1000, {day("20240401")}));
    QVERIFY(test::storeStatement(m_main, "渡辺", "2024年3月分", 1000, {day("20240301")}));
    // A pair stored twice by an older program is one statement, its first header.
    QVERIFY(test::storeStatement(m_main, "青木", title, 2000, {}));

    const auto statements = reports::statementsOfTitle(m_main, title, false);
    QVERIFY(statements);
    // Numbers first; names no longer numbered in the master after them, by name.
    QCOMPARE(namesOf(*statements), QStringList({"渡辺", "O'Brien", "青木", "番号なし", "退職者A", "退職者B"}));
    QCOMPARE(statements->at(2).header.wage.toDouble(), 1000.0);
    QCOMPARE(statements->at(0).employeeNo.toInt(), 1);
    QVERIFY(statements->at(4).employeeNo.isNull());
    QVERIFY(statements->at(0).lines.isEmpty()); // lines only when asked for

    const auto none = reports::statementsOfTitle(m_main, QStringLiteral("2024年5月分"), true);
    QVERIFY(none && none->isEmpty());
}

void TestMonthReports::daysAndDatesOfEachStatement()
{
    SeedLine early = day("20240403", 3, 3000);
    early.end = QStringLiteral("1200");
    SeedLine late = day("20240403", 4, 4000); // a second shift on the same day
    late.start = QStringLiteral("1800");
    QVERIFY(test::storeStatement(m_main, "佐藤", "4月", 1000, {day("20240401"), early, late, day("20240420")}));
    const auto statements = reports::statementsOfTitle(m_main, QStringLiteral("4月"), true);
    QVERIFY(statements && statements->size() == 1);
    const reports::StoredStatement &s = statements->first();
    QCOMPARE(s.days, 3); // the day with two shifts is one day worked
    QCOMPARE(s.firstDate, QStringLiteral("20240401"));
    QCOMPARE(s.lastDate, QStringLiteral("20240420"));
    QCOMPARE(s.lines.size(), 4);
    QCOMPARE(s.lines[2].start, QStringLiteral("1800"));
    QCOMPARE(s.lines[2].amount.toDouble(), 4000.0);
}

void TestMonthReports::summaryTreatsNullPremiumsAsZero()
{
    QVERIFY(test::addEmployee(m_main, 1, "佐藤"));
    QVERIFY(test::addEmployee(m_main, 2, "山田"));
    const QString title = QStringLiteral("2024年4月分");
    // Saved before premiums: every premium column null.
    QVERIFY(test::storeStatement(m_main, "佐藤", title, 1100,
                                 {day("20240401", 8, 8800), adjusted(day("20240402", 7.5, 8250), -500)}));
    QVERIFY(test::storeStatement(m_main, "山田", title, 1200,
                                 {premiumDay("20240405", 2, 0.5, 750.5, 10350.5), day("20240406", 4, 4800)}));
    const auto summary = reports::monthSummary(m_main, title);
    QVERIFY(summary);
    QCOMPARE(summary->rows.size(), 2);
    const reports::SummaryRow &sato = summary->rows[0];
    QCOMPARE(sato.name, QStringLiteral("佐藤"));
    QCOMPARE(sato.days, 2);
    QCOMPARE(sato.hours, 15.5);
    QCOMPARE(sato.nightHours, 0.0);
    QCOMPARE(sato.overtimeHours, 0.0);
    QCOMPARE(sato.wage.toDouble(), 1100.0);
    QCOMPARE(sato.adjustment, -500.0);
    QCOMPARE(sato.amount, 16550.0);
    const reports::SummaryRow &yamada = summary->rows[1];
    QCOMPARE(yamada.nightHours, 2.0);
    QCOMPARE(yamada.overtimeHours, 0.5);
    QCOMPARE(yamada.amount, 15150.5);
    QCOMPARE(summary->totals.days, 4);
    QCOMPARE(summary->totals.hours, 27.5);
    QCOMPARE(summary->totals.nightHours, 2.0);
    QCOMPARE(summary->totals.amount, 31700.5);
    QVERIFY(summary->totals.wage.isNull());
}

void TestMonthReports::summaryRecordsHaveHeaderAndTotals()
{
    QVERIFY(test::storeStatement(m_main, "山田, \"太郎\"", "T", 1150.5, {day("20240401", 8, 9204)}));
    QVERIFY(test::storeStatement(m_main, "鈴木\n一郎", "T", 1000, {premiumDay("20240402", 1, 0, 250, 8250)}));
    // Past the month's 45 hours with rest-day work, and the year's 360 with
    // the statements stored before in the year.
    SeedLine long1 = premiumDay("20240403", 0, 40, 0, 8000), long2 = long1;
    long1.restDay = 6.0;
    long1.over60 = 0.0;
    long2.date = "20240110";
    long2.overtime = 320.0;
    QVERIFY(test::storeStatement(m_main, "高橋", "T", 1000, {long1}));
    QVERIFY(test::storeStatement(m_main, "高橋", "1月", 1000, {long2}));
    const QList<csv::Record> records = reports::summaryRecords(*reports::monthSummary(m_main, "T"));
    QCOMPARE(records.size(), 5);
    QCOMPARE(records[0],
             QStringList({"氏名", "労働日数", "労働時間", "深夜時間", "時間外時間", "時給", "調整額", "支給額",
                          "休日労働時間", "60時間超時間外", "時間外上限"}));
    // Stored names sort by the employee master first, then by name.
    QCOMPARE(records[1], QStringList({"山田, \"太郎\"", "1", "8", "0", "0", "1150.5", "0", "9204", "0", "0", ""}));
    QCOMPARE(records[2], QStringList({"鈴木\n一郎", "1", "8", "1", "0", "1000", "0", "8250", "0", "0", ""}));
    QCOMPARE(records[3], QStringList({"高橋", "1", "8", "0", "40", "1000", "0", "8000", "6", "0", "月45h超 年360h超"}));
    QCOMPARE(records[4], QStringList({"合計", "3", "24", "1", "40", "", "0", "25454", "6", "0", ""}));
}

void TestMonthReports::ledgerYearIsThatOfTheFirstLine_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("2023: the period that began in December") << 2023 << QStringList{"2023年12月分"};
    QTest::newRow("2024: January to the December that runs into 2025")
        << 2024 << QStringList{"2024年1月分", "2024年3月分", "2024年12月分"};
    QTest::newRow("2025: nothing began then") << 2025 << QStringList{};
}

void TestMonthReports::ledgerYearIsThatOfTheFirstLine()
{
    QFETCH(int, year);
    QFETCH(QStringList, titles);
    const QString name = QStringLiteral("佐藤 花子");
    QVERIFY(test::storeStatement(m_main, name, "2024年12月分", 1000, {day("20241221"), day("20250120")}));
    QVERIFY(test::storeStatement(m_main, name, "2023年12月分", 1000, {day("20231221"), day("20240120")}));
    QVERIFY(test::storeStatement(m_main, name, "2024年3月分", 1000, {day("20240301")}));
    QVERIFY(test::storeStatement(m_main, name, "2024年1月分", 1000, {day("20240121"), day("20240220")}));
    QVERIFY(test::storeStatement(m_main, name, "賞与", 1000, {})); // no lines: in no year
    // Another employee, and one whose name only looks alike.
    QVERIFY(test::storeStatement(m_main, "山田", "2024年3月分", 1000, {day("20240301")}));
    QVERIFY(test::storeStatement(m_main, name + u'\'', "2024年5月分", 1000, {day("20240501")}));

    const auto ledger = reports::wageLedger(m_main, name, year);
    QVERIFY(ledger);
    QStringList got;
    for (const reports::LedgerRow &row : ledger->rows)
        got << row.title;
    QCOMPARE(got, titles);
    QCOMPARE(reports::ledgerYears(m_main, name).value_or(QList<int>()), QList<int>({2024, 2023}));
}

void TestMonthReports::ledgerSplitsPay()
{
    const QString name = QStringLiteral("O'Brien");
    QVERIFY(test::storeStatement(
        m_main, name, "4月", 1200,
        {premiumDay("20240405", 2, 1, 900, 10500), adjusted(day("20240406", 4, 4800), 300), day("20240406", 2, 2400)}));
    QVERIFY(test::storeStatement(m_main, name, "5月", 1200, {day("20240510", 5, 6000)}));
    const auto ledger = reports::wageLedger(m_main, name, 2024);
    QVERIFY(ledger && ledger->rows.size() == 2);
    const reports::LedgerRow &april = ledger->rows[0];
    QCOMPARE(april.firstDate, QStringLiteral("20240405"));
    QCOMPARE(april.lastDate, QStringLiteral("20240406"));
    QCOMPARE(april.days, 2);
    QCOMPARE(april.hours, 14.0);
    QCOMPARE(april.nightHours, 2.0);
    QCOMPARE(april.overtimeHours, 1.0);
    QCOMPARE(april.amount, 18000.0);
    QCOMPARE(april.premiumPay, 900.0);
    QCOMPARE(april.adjustment, 300.0);
    QCOMPARE(april.basePay, 16800.0); // 18000 - 900 - 300
    // May was saved before premiums: its nulls are 0.
    QCOMPARE(ledger->rows[1].premiumPay, 0.0);
    QCOMPARE(ledger->rows[1].basePay, 6000.0);
    QCOMPARE(ledger->totals.amount, 24000.0);
    QCOMPARE(ledger->totals.basePay + ledger->totals.premiumPay + ledger->totals.adjustment, 24000.0);
    QCOMPARE(ledger->totals.days, 3);
}

void TestMonthReports::ledgerRecords()
{
    QVERIFY(test::storeStatement(m_main, "佐藤", "4月, 前半", 1000, {day("20240401", 7.25, 7250.333333333333)}));
    const QList<csv::Record> records = reports::ledgerRecords(*reports::wageLedger(m_main, "佐藤", 2024));
    QCOMPARE(records.size(), 2); // the header and the one statement
    QCOMPARE(records[0].size(), 13);
    QCOMPARE(records[0].first(), QStringLiteral("氏名"));
    QCOMPARE(records[1],
             QStringList({"佐藤", "4月, 前半", "2024/04/01", "2024/04/01", "1", "7.25", "0", "0", "7250.333333", "0",
                          "0", "7250.333333", "0"}));
}

void TestMonthReports::readingOnly_data()
{
    QTest::addColumn<QString>("change"); // what is done to the file first
    QTest::addColumn<QString>("refusal"); // empty: it opens
    QTest::newRow("current file") << ""
                                  << "";
    QTest::newRow("older layout") << "PRAGMA user_version = 1"
                                  << "古い版";
    QTest::newRow("newer layout") << QStringLiteral("PRAGMA user_version = %1").arg(kMainSchemaVersion + 1)
                                  << "新しい版";
    QTest::newRow("a table missing") << "drop table 時給明細"
                                     << "時給明細";
    QTest::newRow("no file") << "remove"
                             << "ファイルがありません";
    QTest::newRow("not a database") << "garbage"
                                    << "開けません";
}

void TestMonthReports::readingOnly()
{
    QFETCH(QString, change);
    QFETCH(QString, refusal);
    const QString path = m_data->mainPath();
    m_main.close();
    if (change == QLatin1String("remove")) {
        QVERIFY(QFile::remove(path));
    } else if (change == QLatin1String("garbage")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    } else if (!change.isEmpty()) {
        QVERIFY(m_main.open());
        QVERIFY(execBound(m_main, change));
        m_main.close();
    }
    const QByteArray before = hashOf(path);
    {
        const OpenResult opened = openForReading(path, SchemaKind::Main, QStringLiteral("read-only-test"));
        if (refusal.isEmpty()) {
            QVERIFY2(opened.ok(), qPrintable(opened.error));
            QVERIFY(reports::storedTitles(opened.db));
        } else {
            QVERIFY(!opened.ok());
            QVERIFY2(opened.error.contains(refusal), qPrintable(opened.error));
            QVERIFY(!QSqlDatabase::contains(QStringLiteral("read-only-test")));
        }
    }
    closeConnection(QStringLiteral("read-only-test"));
    // Reading never changes the file, not even to upgrade it.
    QCOMPARE(hashOf(path), before);
}

void TestMonthReports::readsWhileTheProgramWrites()
{
    QVERIFY(test::storeStatement(m_main, "佐藤", "4月", 1000, {day("20240401")}));
    {
        // The program's own connection is in the middle of a save.
        const OpenResult program = openExisting(m_data->mainPath(), SchemaKind::Main, QStringLiteral("program"));
        QVERIFY2(program.ok(), qPrintable(program.error));
        Transaction saving(program.db);
        QVERIFY(saving.started());
        QVERIFY(test::storeStatement(program.db, "山田", "4月", 1000, {day("20240402")}));
        const OpenResult reader = openForReading(m_data->mainPath(), SchemaKind::Main, QStringLiteral("reader"));
        QVERIFY2(reader.ok(), qPrintable(reader.error));
        const auto statements = reports::statementsOfTitle(reader.db, QStringLiteral("4月"), true);
        QVERIFY(statements);
        // What is saved, not what is half-way.
        QCOMPARE(namesOf(*statements), QStringList({"佐藤"}));
    }
    closeConnection(QStringLiteral("reader"));
    closeConnection(QStringLiteral("program"));
}

QTEST_GUILESS_MAIN(TestMonthReports)
#include "tst_monthreports.moc"
