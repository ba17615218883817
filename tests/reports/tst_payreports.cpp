#include "masters/EmployeePayroll.h"
#include "reports/PayReports.h"
#include "reports/PaySlip.h"

#include "../support/TestData.h"

#include <QTest>

using namespace pelmar;

namespace {

const QString kMarch = QStringLiteral("2026年3月分");
const QString kJuly = QStringLiteral("2026年7月分");
const QString kDecember = QStringLiteral("2025年12月分");
const QString kSato = QStringLiteral("佐藤 花子");
const QString kSuzuki = QStringLiteral("鈴木 一郎");
const QString kTakahashi = QStringLiteral("高橋 美咲"); // saved before pay was kept
const QString kTanaka = QStringLiteral("田中 健"); // kept, but no 所得税 figure

// A statement of one line whose amount is the basic pay, and the pay kept with it.
bool storePaid(const QSqlDatabase &main, const QString &name, const QString &title, const QString &date,
               const QDate &payDate, pay::Yen basic, pay::Yen commute, const pay::Deductions &deductions,
               pay::Yen other = 0)
{
    test::SeedLine line;
    line.date = date;
    line.amount = double(basic);
    statements::StatementPay pay;
    pay.name = name;
    pay.title = title;
    pay.kept = true;
    pay.payDate = payDate;
    pay.basic = basic;
    pay.commute = pay.nonTaxableCommute = commute;
    pay.gross = basic + commute;
    pay.deductions = deductions;
    pay.other = other;
    pay::Yen social = 0, all = other;
    bool complete = true;
    for (int d = 0; d < pay::kDeductionCount; ++d) {
        complete = complete && deductions[d].has_value();
        all += deductions[d].value_or(0);
        if (d <= pay::index(pay::Deduction::EmploymentInsurance))
            social += deductions[d].value_or(0);
    }
    pay.socialInsurance = social;
    pay.taxable = pay.gross - commute - social;
    if (complete) {
        pay.deductionTotal = all;
        pay.netPay = pay.gross - all;
    }
    pay.column = pay::TaxColumn::Kou;
    QSqlDatabase db = main;
    return test::storeStatement(main, name, title, 1000, {line}) && statements::writeStatementPay(db, pay);
}

// The record of a report's file whose first or second field is key.
QStringList recordOf(const QList<csv::Record> &records, const QString &key)
{
    for (const csv::Record &record : records)
        if (record.value(0) == key || record.value(1) == key)
            return record;
    return {QStringLiteral("<no record %1>").arg(key)};
}

QString textOf(const reports::Page &page, const QString &control, int nth = 0)
{
    for (const payslip::PayslipItem &item : page)
        if (item.name == control && nth-- == 0)
            return item.text;
    return QStringLiteral("<none>");
}

} // namespace

class TestPayReports : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void figures_data();
    void figures();
    void slipBlocks_data();
    void slipBlocks();
    void twoSlipsAPage();
    void ledgerPrintsItsDeductionsOnASecondPage();

private:
    QList<reports::Page> slips(bool dayLines, payslip::SlipsPerPage perPage);

    test::TestDataFolder m_data;
};

void TestPayReports::initTestCase()
{
    QVERIFY(m_data.isValid());
    QSqlDatabase main = m_data.mainDb();
    int no = 0;
    for (const QString &name : {kSato, kSuzuki, kTakahashi, kTanaka})
        QVERIFY(test::addEmployee(main, ++no, name));
    employees::EmployeePayroll sato;
    sato.name = kSato;
    sato.sex = QStringLiteral("女");
    QVERIFY(employees::writeEmployeePayroll(main, sato));
    // December's work paid in January: the 2025 ledger, the 2026 withholding.
    QVERIFY(storePaid(main, kSato, kDecember, "20251215", {2026, 1, 25}, 90000, 0, {0, 0, 0, 495, 0, 0}));
    QVERIFY(storePaid(main, kSato, kMarch, "20260310", {2026, 4, 25}, 132000, 6000, {0, 0, 0, 759, 2000, 0}));
    QVERIFY(storePaid(main, kSato, kJuly, "20260710", {2026, 8, 25}, 100000, 0, {0, 0, 0, 550, 0, 3000}));
    QVERIFY(storePaid(main, kSuzuki, kMarch, "20260311", {2026, 4, 25}, 200600, 0, {9980, 0, 18300, 1084, 2590, 5000},
                      1000));
    QVERIFY(storePaid(main, kTanaka, kMarch, "20260312", {2026, 4, 25}, 150000, 0, {0, 0, 0, 825, std::nullopt, 0}));
    test::SeedLine old;
    old.date = QStringLiteral("20260313");
    old.amount = 120000;
    QVERIFY(test::storeStatement(main, kTakahashi, kMarch, 1000, {old}));
}

// What each report's file says, read back from the stored statements: the
// files carry the very cells the screen and the pages show.
void TestPayReports::figures_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("key"); // the record's first or second field
    QTest::addColumn<int>("from"); // the field the comparison starts at
    QTest::addColumn<QStringList>("expected");
    const QString summary = QStringLiteral("summary");
    // After today's eleven fields: 通勤手当, 総支給額, the six deductions, その他, 控除合計, 差引支給額.
    QTest::newRow("summary totals: every gross, the net of those that have one")
        << summary << "合計" << 11
        << QStringList{"6000", "608600", "9980", "0", "18300", "2668", "4590", "5000", "1000", "40713", "297887"};
    QTest::newRow("summary: saved before pay was kept, the gross alone")
        << summary << kTakahashi << 11 << QStringList{"", "120000", "", "", "", "", "", "", "", "", ""};
    QTest::newRow("summary: a deduction without a figure leaves no net pay")
        << summary << kTanaka << 11 << QStringList{"0", "150000", "0", "0", "0", "825", "", "0", "0", "", ""};
    // A total that leaves a statement out says so below the table, as the page does.
    const QString leftOut = QStringLiteral("控除・差引支給額の合計に含まない明細：高橋 美咲、田中 健");
    QTest::newRow("summary: the statements left out of the totals named")
        << summary << leftOut << 0 << QStringList{leftOut};
    const QString untaxed = QStringLiteral("所得税の記録がない支給 1 件は、所得税の年計に含みません。");
    QTest::newRow("withholding: a payment without its tax counted out")
        << "withholding 田中 健" << untaxed << 0 << QStringList{untaxed};
    QTest::newRow("ledger: sex, pay date, allowances and deductions")
        << "ledger" << kMarch << 13 << QStringList{"女", "2026/04/25", "0",   "0",    "0", "6000", "138000", "0",
                                                   "0",  "0",          "759", "2000", "0", "0",    "2759",   "135241"};
    QTest::newRow("withholding: December's work paid in January")
        << "withholding"
        << "2026/01/25" << 2 << QStringList{kDecember, "甲", "0", "90000", "0", "495", "89505", "0"};
    QTest::newRow("withholding: the year's totals")
        << "withholding"
        << "2026年計" << 5 << QStringList{"328000", "6000", "1804", "320196", "2000"};
    // The 支給額 of the 徴収高計算書: without the 6,000 yen of non-taxable 通勤手当.
    QTest::newRow("payments: April, one payment without its tax")
        << "payments"
        << "4月" << 2 << QStringList{"3", "3", "482600", "4590", "1"};
    QTest::newRow("payments: January to June, by 10 July")
        << "payments"
        << "1〜6月計（7月10日納付）" << 2 << QStringList{"3", "4", "572600", "4590", "1"};
    QTest::newRow("payments: July to December, by 20 January")
        << "payments"
        << "7〜12月計（翌年1月20日納付）" << 2 << QStringList{"1", "1", "100000", "0", "0"};
    QTest::newRow("cash: no net pay is listed, never counted as 0")
        << "cash" << kTakahashi << 1 << QStringList{"", "", "", "", "", "", "", "", "", "", reports::kNoNetPay};
    // 135,241 and 162,646 each made up on their own.
    QTest::newRow("cash: the envelopes' total")
        << "cash"
        << "合計" << 1 << QStringList{"297887", "29", "1", "2", "1", "3", "0", "8", "1", "2", "2 名を含みません"};
}

void TestPayReports::figures()
{
    QFETCH(QString, report);
    QFETCH(QString, key);
    QFETCH(int, from);
    QFETCH(QStringList, expected);
    const QSqlDatabase main = m_data.mainDb();
    QList<csv::Record> records;
    if (report == QStringLiteral("summary")) {
        const auto summary = reports::paySummary(main, kMarch);
        QVERIFY(summary);
        records = reports::paySummaryRecords(*summary);
    } else if (report == QStringLiteral("ledger")) {
        const auto ledger = reports::payLedger(main, kSato, 2026);
        QVERIFY(ledger);
        records = reports::payLedgerRecords(*ledger);
    } else if (report == QStringLiteral("withholding")) {
        const auto book = reports::withholdingBook(main, kSato, 2026);
        QVERIFY(book);
        records = reports::withholdingRecords(*book);
        QVERIFY2(!recordOf(records, QStringLiteral("2026年計")).isEmpty() && records.last().size() > 1,
                 "with every tax known, nothing is said below the totals");
    } else if (report.startsWith(QStringLiteral("withholding "))) {
        const auto book = reports::withholdingBook(main, report.mid(12), 2026);
        QVERIFY(book);
        records = reports::withholdingRecords(*book);
    } else if (report == QStringLiteral("payments")) {
        const auto payments = reports::paymentSummary(main, 2026);
        QVERIFY(payments);
        records = reports::paymentRecords(*payments);
    } else {
        const auto cash = reports::cashTable(main, kMarch);
        QVERIFY(cash);
        records = reports::cashRecords(*cash);
    }
    QCOMPARE(recordOf(records, key).mid(from), expected);
}

QList<reports::Page> TestPayReports::slips(bool dayLines, payslip::SlipsPerPage perPage)
{
    const QSqlDatabase main = m_data.mainDb();
    const auto statements = reports::statementsOfTitle(main, kMarch, dayLines);
    const auto pays = statements ? reports::paysOf(main, *statements) : std::nullopt;
    if (!pays)
        return {};
    return reports::handoutPages(*statements, *pays, dayLines, perPage, QStringLiteral("カフェ"), QString(),
                                 QDate(2026, 5, 1));
}

void TestPayReports::slipBlocks_data()
{
    QTest::addColumn<int>("slip"); // in the employees' order
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QStringList>("texts");
    const QStringList controls{"txt氏名",   "txt日付",   "txt出勤日数", "txt総支給額",
                               "txt所得税", "txt住民税", "txt控除合計", "txt差引支給額"};
    QTest::newRow("kept pay, dated by the pay date")
        << 1 << controls
        << QStringList{kSuzuki + "　様", "支給日　2026年04月25日", "1", "200,600", "2,590", "5,000", "37,954",
                       "¥162,646"};
    QTest::newRow("saved before pay was kept: what is known, dated when printed")
        << 2 << controls
        << QStringList{kTakahashi + "　様", "2026年05月01日", "1", "120,000", "<none>", "<none>", "<none>", "<none>"};
    QTest::newRow("a deduction without a figure: no net pay is made up")
        << 3 << controls
        << QStringList{kTanaka + "　様", "支給日　2026年04月25日", "1", "150,000", "", "0", "", "未計算"};
    // One pay figure on a slip: with the 通勤手当, the band's 支給額 is the 総支給額,
    // not the lines' 132,000; without kept pay, the lines' total is all there is.
    QTest::newRow("the band's 支給額 is the 総支給額")
        << 0 << QStringList{"txt合計", "txt総支給額"} << QStringList{"¥138,000", "138,000"};
    QTest::newRow("the band's 支給額 without kept pay") << 2 << QStringList{"txt合計"} << QStringList{"¥120,000"};
}

void TestPayReports::slipBlocks()
{
    QFETCH(int, slip);
    QFETCH(QStringList, controls);
    QFETCH(QStringList, texts);
    const QList<reports::Page> pages = slips(false, payslip::SlipsPerPage::One);
    QCOMPARE(pages.size(), 4);
    for (qsizetype i = 0; i < controls.size(); ++i)
        QCOMPARE(textOf(pages[slip], controls[i]), texts[i]);
}

void TestPayReports::twoSlipsAPage()
{
    QCOMPARE(slips(false, payslip::SlipsPerPage::One).size(), 4);
    const QList<reports::Page> two = slips(false, payslip::SlipsPerPage::Two);
    QCOMPARE(two.size(), 2);
    // Above and below the cut, in the employees' order.
    QCOMPARE(textOf(two[0], QStringLiteral("txt氏名"), 0), kSato + "　様");
    QCOMPARE(textOf(two[0], QStringLiteral("txt氏名"), 1), kSuzuki + "　様");
    QCOMPARE(textOf(two[1], QStringLiteral("txt氏名"), 1), kTanaka + "　様");
    QCOMPARE(textOf(two[1], QStringLiteral("lbl切り取り線")), QStringLiteral("切り取り線"));
    // The day lines of a pair follow the page that holds it.
    const QList<reports::Page> withLines = slips(true, payslip::SlipsPerPage::Two);
    QCOMPARE(withLines.size(), 6);
    QCOMPARE(textOf(withLines[1], QStringLiteral("heading")), QStringLiteral("勤務明細"));
    QCOMPARE(textOf(withLines[2], QStringLiteral("heading")), QStringLiteral("勤務明細"));
    QCOMPARE(textOf(withLines[3], QStringLiteral("txt氏名"), 0), kTakahashi + "　様");
}

void TestPayReports::ledgerPrintsItsDeductionsOnASecondPage()
{
    const auto ledger = reports::payLedger(m_data.mainDb(), kSato, 2026);
    QVERIFY(ledger);
    const QList<reports::Page> pages = reports::tablePages(reports::payLedgerTable(*ledger, QString(), {}));
    QCOMPARE(pages.size(), 2);
    // Each page names the statements, and every column is printed once.
    QStringList captions[2];
    for (int p = 0; p < 2; ++p)
        for (const payslip::PayslipItem &item : pages[p])
            if (item.name == QStringLiteral("caption"))
                captions[p] << item.text;
    QCOMPARE(captions[0].first(), QStringLiteral("タイトル"));
    QCOMPARE(captions[1].first(), QStringLiteral("タイトル"));
    QCOMPARE(captions[0].size() + captions[1].size() - 1,
             reports::payLedgerTable(*ledger, QString(), {}).columns.size());
    QVERIFY(captions[1].contains(QStringLiteral("差引支給額")) && !captions[0].contains(QStringLiteral("差引支給額")));
    QCOMPARE(textOf(pages[1], QStringLiteral("cell")), kMarch);
}

QTEST_MAIN(TestPayReports)
#include "tst_payreports.moc"
