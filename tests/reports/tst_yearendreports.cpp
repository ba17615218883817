#include "masters/EmployeePayroll.h"
#include "masters/YearEndDeclarations.h"
#include "reports/YearEndReports.h"

#include "../support/TestData.h"

#include <QTest>

using namespace pelmar;
using pay::Yen;
using reports::YearEndStanding;

Q_DECLARE_METATYPE(YearEndStanding)
Q_DECLARE_METATYPE(pay::TaxColumn)

namespace {

// One month's pay as it was kept: gross, 健康保険 as the social insurance, 所得税.
bool storePay(const QSqlDatabase &main, const QString &name, const QDate &payDate, Yen gross, Yen social,
              std::optional<Yen> tax, pay::TaxColumn column = pay::TaxColumn::Kou)
{
    const QString title = payDate.toString(QStringLiteral("yyyy年M月支給"));
    test::SeedLine line;
    line.date = payDate.addDays(-25).toString(QStringLiteral("yyyyMMdd"));
    line.amount = double(gross);
    statements::StatementPay pay;
    pay.name = name;
    pay.title = title;
    pay.kept = true;
    pay.payDate = payDate;
    pay.basic = pay.gross = gross;
    pay.deductions = {social, 0, 0, 0, tax, 0};
    pay.socialInsurance = social;
    pay.taxable = gross - social;
    pay.column = column;
    QSqlDatabase db = main;
    return test::storeStatement(main, name, title, 1000, {line}) && statements::writeStatementPay(db, pay);
}

QString rowAmount(const reports::Table &table, const QString &item)
{
    for (const QStringList &row : table.rows)
        if (row.value(0) == item)
            return row.value(1);
    return QStringLiteral("<no row %1>").arg(item);
}

} // namespace

class TestYearEndReports : public QObject {
    Q_OBJECT
private slots:
    void exampleFromStoredPay();
    void whoIsIn_data();
    void whoIsIn();
    void yearList();
};

// The NTA's 設例 (E1 of year-end-2026-examples.md) from twelve stored pays:
// 8,970,000 yen paid, 1,386,102 of insurance and 156,670 of tax withheld.
// December 2025's pay, dated in that year, stays out.
void TestYearEndReports::exampleFromStoredPay()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    const QString name = QStringLiteral("O'Brien");
    QVERIFY(test::addEmployee(main, 1, name));
    QVERIFY(storePay(main, name, {2025, 12, 25}, 747500, 115508, 13055));
    for (int month = 1; month <= 12; ++month)
        QVERIFY(storePay(main, name, {2026, month, 25}, 747500, month == 12 ? 115514 : 115508,
                         month == 12 ? 13065 : 13055));
    yearend::Declarations d;
    d.spouse = yearend::Spouse{QStringLiteral("配偶者"), QDate(1980, 5, 1), 500000, {}};
    d.relatives = {{QStringLiteral("長男"), QDate(1990, 1, 1), 0, false, {}},
                   {QStringLiteral("次男"), QDate(2006, 4, 1), 0, false, {}},
                   {QStringLiteral("父"), QDate(1950, 3, 3), 0, true, yearend::Disability::General},
                   {QStringLiteral("姪"), QDate(2005, 6, 1), 1000000, false, {}}};
    d.lifeNewGeneral = 80000;
    d.lifeOldGeneral = 35000;
    d.lifeCareMedical = 80000;
    d.lifeNewPension = 30000;
    d.lifeOldPension = 90000;
    d.earthquake = 42000;
    d.oldLongTermDamage = 14800;
    d.housingLoanCredit = 76500;
    QVERIFY(yearend::writeDeclarations(main, name, 2026, d));

    const auto year = reports::yearEndOf(main, name, 2026);
    QVERIFY(year);
    QCOMPARE(year->standing, YearEndStanding::In);
    QCOMPARE(year->pays.size(), 12);
    QCOMPARE(year->settleDate, QDate(2026, 12, 25));
    QVERIFY2(year->warnings.isEmpty(), qPrintable(year->warnings.join(u'\n')));
    const reports::Table sheet = reports::yearEndWorksheet(*year, QString(), QDate(2026, 12, 20));
    const QStringList expected{"給与の総額 8,970,000", "所得金額調整控除 47,000", "社会保険料等控除額 1,386,102",
                               "所得控除の額の合計額 4,826,102", "課税給与所得金額 2,146,000", "算出所得税額 117,100",
                               "年調年税額 41,400", "源泉徴収税額 156,670", "差引超過額（還付） 115,270"};
    QStringList actual;
    for (const QString &line : expected)
        actual << line.section(u' ', 0, 0) + u' ' + rowAmount(sheet, line.section(u' ', 0, 0));
    QCOMPARE(actual, expected);
    // The file carries the same figures, as plain numbers.
    const QList<csv::Record> records = reports::yearEndWorksheetRecords(*year);
    QVERIFY(records.contains(csv::Record{name, QStringLiteral("2026"), QStringLiteral("年調年税額"),
                                         QStringLiteral("41400"), QStringLiteral("年調所得税額 × 102.1％、100円未満切捨て")}));
}

void TestYearEndReports::whoIsIn_data()
{
    QTest::addColumn<pay::TaxColumn>("column");
    QTest::addColumn<QDate>("left");
    QTest::addColumn<bool>("paidInDecember");
    QTest::addColumn<Yen>("pay");
    QTest::addColumn<YearEndStanding>("expected");
    using pay::TaxColumn;
    QTest::newRow("甲, all year") << TaxColumn::Kou << QDate() << true << Yen(3000000) << YearEndStanding::In;
    QTest::newRow("乙") << TaxColumn::Otsu << QDate() << true << Yen(3000000) << YearEndStanding::NotKou;
    QTest::newRow("no tax column") << TaxColumn::None << QDate() << true << Yen(1000000) << YearEndStanding::NotKou;
    QTest::newRow("left in June") << TaxColumn::Kou << QDate(2026, 6, 30) << false << Yen(1360001)
                                  << YearEndStanding::Left;
    QTest::newRow("left, part-timer") << TaxColumn::Kou << QDate(2026, 6, 30) << false << Yen(1360000)
                                      << YearEndStanding::In;
    QTest::newRow("left after December's pay")
        << TaxColumn::Kou << QDate(2026, 12, 28) << true << Yen(5000000) << YearEndStanding::In;
    QTest::newRow("left on 31 December") << TaxColumn::Kou << QDate(2026, 12, 31) << false << Yen(5000000)
                                         << YearEndStanding::In;
    QTest::newRow("over 2,000万円") << TaxColumn::Kou << QDate() << true << Yen(20000001)
                                    << YearEndStanding::PayOverLimit;
}

// Who the 年末調整 settles, from the 税区分 of the year's last pay, the
// 退職日 and the pay.
void TestYearEndReports::whoIsIn()
{
    QFETCH(pay::TaxColumn, column);
    QFETCH(QDate, left);
    QFETCH(bool, paidInDecember);
    QFETCH(Yen, pay);
    QFETCH(YearEndStanding, expected);
    const yearend::YearEndTable *table = yearend::shippedYearEnd().forYear(2026);
    QVERIFY(table);
    const yearend::YearEndResult result = yearend::computeYearEnd(*table, {pay, 0, 0}, {});
    QCOMPARE(reports::standingOf(table, column, left, 2026, paidInDecember, result), expected);
    QCOMPARE(reports::standingOf(nullptr, column, left, 2027, paidInDecember, result), YearEndStanding::NoFigures);
}

// Everyone paid in the year is listed, in or out, and the one left out says why.
void TestYearEndReports::yearList()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    const QString in = QStringLiteral("佐藤"), second = QStringLiteral("鈴木"), leaver = QStringLiteral("高橋");
    int no = 0;
    for (const QString &name : {in, second, leaver})
        QVERIFY(test::addEmployee(main, ++no, name));
    // 佐藤: 甲 all year, 1,800,000: B 20,000, 年調年税額 1,000, 12,000 withheld.
    for (int month = 1; month <= 12; ++month)
        QVERIFY(storePay(main, in, {2026, month, 25}, 150000, 0, 1000));
    // 鈴木: 乙 at the last pay.
    QVERIFY(storePay(main, second, {2026, 11, 25}, 90000, 0, 2756, pay::TaxColumn::Otsu));
    // 高橋: left in June after 1,500,000 of pay.
    for (int month = 1; month <= 6; ++month)
        QVERIFY(storePay(main, leaver, {2026, month, 25}, 250000, 0, 5000));
    employees::EmployeePayroll left;
    left.name = leaver;
    left.left = QDate(2026, 6, 30);
    QVERIFY(employees::writeEmployeePayroll(main, left));
    const auto year = reports::yearEndOfYear(main, 2026);
    QVERIFY(year);
    const reports::Table list = reports::yearEndListTable(*year, 2026, QString(), QDate(2026, 12, 20));
    QStringList rows;
    for (const QStringList &row : list.rows)
        rows << row.mid(0, 7).join(u'|');
    QCOMPARE(rows, QStringList({"佐藤|する|1,800,000|1,000|12,000|11,000|", "鈴木|しない|90,000||2,756||",
                                "高橋|しない|1,500,000||30,000||"}));
    QVERIFY(list.rows[1][7].contains(QStringLiteral("乙欄")));
    QVERIFY(list.rows[2][7].contains(QStringLiteral("退職")));
    // No 申告書 kept: said on each worksheet.
    QVERIFY(list.rows[0][7].contains(QStringLiteral("申告書が入力されていません")));
}

QTEST_GUILESS_MAIN(TestYearEndReports)
#include "tst_yearendreports.moc"
