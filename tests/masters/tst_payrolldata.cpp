#include "masters/EmployeePayroll.h"
#include "masters/EmployeeStore.h"
#include "masters/PayrollSettings.h"
#include "masters/ResidentTaxStore.h"
#include "payroll/PayItems.h"
#include "payroll/StatementPay.h"
#include "reports/ResidentTaxReport.h"
#include "masters/YearEndDeclarations.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QTest>

using namespace pelmar;

// The payroll details follow their employee through the employee page, and
// the pay date rule gives the date a shop pays on.
class TestPayrollData : public QObject {
    Q_OBJECT
private slots:
    void detailsFollowTheMaster_data();
    void detailsFollowTheMaster();
    void payDateRule_data();
    void payDateRule();
    void residentTaxByMonth();
    void declarationsKeptAsTyped();
};

void TestPayrollData::detailsFollowTheMaster_data()
{
    QTest::addColumn<QStringList>("page"); // the names on the page's rows, after the user's edits
    QTest::addColumn<QString>("ticked"); // deleted by 行削除 instead of registered
    QTest::addColumn<QStringList>("expected"); // whose details there are afterwards, with whose 住民税
    QTest::newRow("renamed") << QStringList{"山田 太郎", "佐藤", "O'Brien"} << QString()
                             << QStringList{"O'Brien 100", "佐藤 200", "山田 太郎 300"};
    QTest::newRow("quote renamed") << QStringList{"山田", "佐藤", "O'Brien Jr."} << QString()
                                   << QStringList{"O'Brien Jr. 100", "佐藤 200", "山田 300"};
    // Two names swapped rows: each still has an employee, so nothing is renamed.
    QTest::newRow("rows swapped") << QStringList{"佐藤", "山田", "O'Brien"} << QString()
                                  << QStringList{"O'Brien 100", "佐藤 200", "山田 300"};
    QTest::newRow("row emptied") << QStringList{"山田", QString(), "O'Brien"} << QString()
                                 << QStringList{"O'Brien 100", "山田 300"};
    QTest::newRow("ticked") << QStringList{"山田", "佐藤", "O'Brien"} << QStringLiteral("O'Brien")
                            << QStringList{"佐藤 200", "山田 300"};
}

void TestPayrollData::detailsFollowTheMaster()
{
    QFETCH(QStringList, page);
    QFETCH(QString, ticked);
    QFETCH(QStringList, expected);
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    QSqlDatabase work = data.workDb();
    const QStringList names{"山田", "佐藤", "O'Brien"};
    for (int i = 0; i < names.size(); ++i) {
        QVERIFY(execBound(main, QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (?, ?, 1000)"),
                          {i + 1, names[i]}));
        employees::EmployeePayroll payroll;
        payroll.name = names[i];
        payroll.details.residentTax = 300 - 100 * i;
        QVERIFY(employees::writeEmployeePayroll(main, payroll));
        pay::ResidentTaxYear year;
        year.fiscalYear = 2026;
        QVERIFY(employees::writeResidentTax(main, {names[i], year}));
        // The 申告書 of two years follow too, each with its relative.
        for (const int year : {2026, 2027}) {
            yearend::Declarations declared;
            declared.otherIncome = payroll.details.residentTax + year;
            declared.relatives = {{names[i] + QStringLiteral("の子"), QDate(2015, 1, 1), 0, false, {}}};
            QVERIFY(yearend::writeDeclarations(main, names[i], year, declared));
        }
    }
    QVERIFY(employees::readMaster(main, work));
    for (int row = 0; row < page.size(); ++row)
        QVERIFY(execBound(work, QStringLiteral("update w従業員 set 氏名 = ?, チェック = ? where \"No\" = ?"),
                          {page[row].isEmpty() ? QVariant() : page[row], page[row] == ticked ? -1 : 0, row + 1}));
    QVERIFY(ticked.isEmpty() ? employees::registerPage(main, work) : employees::deleteTicked(main, work));
    const auto payrolls = employees::employeePayrolls(main);
    QVERIFY(payrolls);
    QStringList found;
    for (const employees::EmployeePayroll &payroll : *payrolls)
        found << QStringLiteral("%1 %2").arg(payroll.name).arg(payroll.details.residentTax);
    QCOMPARE(found, expected);
    // The 住民税 of each 年度 goes the same way as the details.
    QCOMPARE(test::rows(main, QStringLiteral("select 氏名 from 住民税月額 order by 氏名")),
             test::rows(main, QStringLiteral("select 氏名 from 従業員給与 order by 氏名")));
    QStringList declared;
    for (const QString &line : std::as_const(expected)) {
        const QString name = line.section(u' ', 0, -2);
        const auto read = yearend::readDeclarations(main, name, 2027);
        QVERIFY(read && *read);
        QCOMPARE((*read)->relatives.size(), 1);
        declared << QStringLiteral("%1 %2").arg(name).arg((*read)->otherIncome - 2027);
        QVERIFY((*read)->relatives.first().name.endsWith(QStringLiteral("の子")));
    }
    QCOMPARE(declared, expected);
    QCOMPARE(test::rowCount(main, QStringLiteral("年末調整申告")), 2 * expected.size());
    QCOMPARE(test::rowCount(main, QStringLiteral("年末調整親族")), 2 * expected.size());
}

// Every box of the papers comes back as typed; a 申告書 that does not hold
// changes nothing, and one year's papers never touch another's.
void TestPayrollData::declarationsKeptAsTyped()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    const QString name = QStringLiteral("O'Brien");
    yearend::Declarations d;
    d.selfDisability = yearend::Disability::Special;
    d.widowhood = yearend::Widowhood::SingleParent;
    d.workingStudent = true;
    d.otherIncome = 1;
    d.spouse = yearend::Spouse{QStringLiteral("花子"), QDate(1957, 1, 1), 2, yearend::Disability::SpecialLivingTogether};
    d.relatives = {{QStringLiteral("一郎"), QDate(2006, 4, 1), 700000, false, yearend::Disability::General},
                   {QStringLiteral("祖母"), QDate(1940, 2, 29), 0, true, yearend::Disability::None}};
    yearend::Yen amount = 10;
    for (yearend::Yen *box : {&d.lifeNewGeneral, &d.lifeOldGeneral, &d.lifeCareMedical, &d.lifeNewPension,
                              &d.lifeOldPension, &d.earthquake, &d.oldLongTermDamage, &d.socialOutsidePay,
                              &d.smallBusinessMutualAid, &d.housingLoanCredit, &d.previousPay,
                              &d.previousSocialInsurance, &d.previousTax})
        *box = ++amount;
    QVERIFY(yearend::writeDeclarations(main, name, 2026, d));
    QVERIFY(yearend::writeDeclarations(main, name, 2025, {}));
    const auto read = yearend::readDeclarations(main, name, 2026);
    QVERIFY(read && *read);
    const yearend::Declarations &r = **read;
    QCOMPARE(int(r.selfDisability), int(d.selfDisability));
    QCOMPARE(int(r.widowhood), int(d.widowhood));
    QCOMPARE(r.workingStudent, true);
    QVERIFY(r.spouse);
    QCOMPARE(QStringList({r.spouse->name, r.spouse->birth.toString(Qt::ISODate), QString::number(r.spouse->income),
                          QString::number(int(r.spouse->disability))}),
             QStringList({QStringLiteral("花子"), QStringLiteral("1957-01-01"), QStringLiteral("2"), QStringLiteral("3")}));
    QStringList relatives;
    for (const yearend::Relative &relative : r.relatives)
        relatives << QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(relative.name, relative.birth.toString(Qt::ISODate))
                         .arg(relative.income)
                         .arg(relative.parentLivingTogether)
                         .arg(int(relative.disability));
    QCOMPARE(relatives, QStringList({QStringLiteral("一郎 2006-04-01 700000 0 1"), QStringLiteral("祖母 1940-02-29 0 1 0")}));
    QList<yearend::Yen> amounts;
    for (const yearend::Yen box : {r.lifeNewGeneral, r.lifeOldGeneral, r.lifeCareMedical, r.lifeNewPension,
                                   r.lifeOldPension, r.earthquake, r.oldLongTermDamage, r.socialOutsidePay,
                                   r.smallBusinessMutualAid, r.housingLoanCredit, r.previousPay,
                                   r.previousSocialInsurance, r.previousTax})
        amounts << box;
    QCOMPARE(amounts, (QList<yearend::Yen>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}));

    // Refused: a relative without a birth date, a negative amount. The stored papers stay.
    yearend::Declarations bad = d;
    bad.relatives.append({QStringLiteral("三郎"), QDate(), 0, false, {}});
    QVERIFY(!yearend::writeDeclarations(main, name, 2026, bad));
    bad = d;
    bad.previousTax = -1;
    QVERIFY(!yearend::writeDeclarations(main, name, 2026, bad));
    const auto again = yearend::readDeclarations(main, name, 2026);
    QVERIFY(again && *again && (*again)->relatives.size() == 2);
    // The spouse taken away, the other year's papers as they were.
    d.spouse.reset();
    QVERIFY(yearend::writeDeclarations(main, name, 2026, d));
    QVERIFY(!(*yearend::readDeclarations(main, name, 2026))->spouse);
    const auto other = yearend::readDeclarations(main, name, 2025);
    QVERIFY(other && *other && (*other)->relatives.isEmpty() && (*other)->otherIncome == 0);
    QVERIFY(!*yearend::readDeclarations(main, name, 2024));
}

void TestPayrollData::payDateRule_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDate>("lastLine");
    QTest::addColumn<QDate>("expected"); // invalid: the text is no rule
    QTest::newRow("翌月25日") << QStringLiteral("翌月25日") << QDate(2026, 4, 30) << QDate(2026, 5, 25);
    QTest::newRow("翌月末日 in February") << QStringLiteral("翌月末日") << QDate(2026, 1, 20) << QDate(2026, 2, 28);
    QTest::newRow("30日 in February") << QStringLiteral("当月30日") << QDate(2028, 2, 10) << QDate(2028, 2, 29);
    QTest::newRow("翌々月 over the year") << QStringLiteral("翌々月10日") << QDate(2026, 11, 30) << QDate(2027, 1, 10);
    QTest::newRow("no day") << QStringLiteral("翌月") << QDate(2026, 4, 30) << QDate();
    QTest::newRow("day 32") << QStringLiteral("翌月32日") << QDate(2026, 4, 30) << QDate();
}

void TestPayrollData::payDateRule()
{
    QFETCH(QString, rule);
    QFETCH(QDate, lastLine);
    QFETCH(QDate, expected);
    const auto read = settings::ruleFromText(rule);
    QCOMPARE(read.has_value(), expected.isValid());
    if (!read)
        return;
    QCOMPARE(settings::ruleText(*read), rule);
    QCOMPARE(settings::payDateFor(*read, lastLine), expected);
}

// A pay deducts the 住民税 of its month where the 年度 has amounts, the
// single figure of the details where it has none; what was deducted is
// summed by month and 市区町村 for paying over.
void TestPayrollData::residentTaxByMonth()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    for (const QString &name : {QStringLiteral("山田"), QStringLiteral("佐藤")}) {
        employees::EmployeePayroll payroll;
        payroll.name = name;
        payroll.details.residentTax = 3000; // the single figure of the details
        QVERIFY(employees::writeEmployeePayroll(main, payroll));
    }
    QVERIFY(employees::writeResidentTax(
        main, {QStringLiteral("山田"), {2026, QStringLiteral("杉並区"), pay::noticeAmounts(5600, 5500), {}}}));
    QVERIFY(employees::writeResidentTax(
        main, {QStringLiteral("佐藤"), {2026, QStringLiteral("中野区"), pay::noticeAmounts(2100, 2000), {}}}));
    statements::PayItems items;
    items.basic = items.total = 100000;
    QStringList deducted;
    for (const auto &[name, lastLine] :
         {std::pair{QStringLiteral("山田"), QDate(2026, 4, 30)}, std::pair{QStringLiteral("山田"), QDate(2026, 5, 31)},
          std::pair{QStringLiteral("山田"), QDate(2026, 6, 30)},
          std::pair{QStringLiteral("佐藤"), QDate(2026, 6, 30)}}) {
        items.lastDate = lastLine;
        const auto computed = statements::computePayOf(main, name, items, std::nullopt, 0, {});
        QVERIFY(computed);
        const auto tax = computed->result.deduction(pay::Deduction::ResidentTax);
        deducted << QStringLiteral("%1 %2 %3").arg(name, computed->input.payDate.toString(Qt::ISODate)).arg(*tax);
        statements::StatementPay pay = statements::fromComputed(name, lastLine.toString(QStringLiteral("yyyy-MM")),
                                                                computed->input, computed->result, std::nullopt);
        QVERIFY(statements::writeStatementPay(main, pay));
    }
    // Paid on the 25th of the next month: May's pay from the details (no
    // row for 2025年度), June's and July's from the notice.
    QCOMPARE(
        deducted,
        (QStringList{"山田 2026-05-25 3000", "山田 2026-06-25 5600", "山田 2026-07-25 5500", "佐藤 2026-07-25 2000"}));
    const auto payment = reports::residentTaxPayment(main, 2026);
    QVERIFY(payment);
    QStringList lines;
    for (const reports::ResidentTaxLine &line : payment->lines)
        lines << QStringLiteral("%1月 %2 %3人 %4 %5")
                     .arg(line.month)
                     .arg(line.municipality.isEmpty() ? QStringLiteral("-") : line.municipality)
                     .arg(line.people)
                     .arg(line.amount)
                     .arg(line.due.toString(Qt::ISODate));
    // May's pay is of 2025年度, for which nobody has a 市区町村.
    QCOMPARE(lines,
             (QStringList{"5月 - 1人 3000 2026-06-10", "6月 杉並区 1人 5600 2026-07-10",
                          "7月 中野区 1人 2000 2026-08-10", "7月 杉並区 1人 5500 2026-08-10"}));
    QCOMPARE(payment->total, 16100);
}

QTEST_GUILESS_MAIN(TestPayrollData)
#include "tst_payrolldata.moc"
