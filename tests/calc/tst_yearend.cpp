#include "calc/YearEnd.h"

#include <QFile>
#include <QTest>

using namespace pelmar::yearend;

Q_DECLARE_METATYPE(YearPay)
Q_DECLARE_METATYPE(Declarations)

namespace {

const YearEndTable &table2026()
{
    const YearEndTable *table = shippedYearEnd().forYear(2026);
    if (!table)
        qFatal("no 2026 figures: %s", qPrintable(shippedYearEnd().errors.join(u'\n')));
    return *table;
}

QString resourceText(const QString &name)
{
    QFile file(pelmar::pay::kTablesResource + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every figure of a result by the name the worksheet gives it.
QHash<QString, Yen> figures(const YearEndResult &r)
{
    return {
        {QStringLiteral("対象外"), Yen(r.notSettled)},
        {QStringLiteral("給与"), r.pay},
        {QStringLiteral("G"), r.afterEmploymentDeduction},
        {QStringLiteral("C"), r.incomeAdjustment},
        {QStringLiteral("G'"), r.employmentIncome},
        {QStringLiteral("合計所得"), r.ownIncome},
        {QStringLiteral("社保"), r.socialInsurance},
        {QStringLiteral("小規模"), r.smallBusinessMutualAid},
        {QStringLiteral("生保一般"), r.lifeGeneral},
        {QStringLiteral("生保介護"), r.lifeCareMedical},
        {QStringLiteral("生保年金"), r.lifePension},
        {QStringLiteral("生保"), r.life},
        {QStringLiteral("地震"), r.earthquake},
        {QStringLiteral("配偶"), r.spouse},
        {QStringLiteral("配特"), r.spouseSpecial},
        {QStringLiteral("扶養"), r.dependants},
        {QStringLiteral("特定親族"), r.specificRelatives},
        {QStringLiteral("障害"), r.disability},
        {QStringLiteral("寡婦"), r.widowhood},
        {QStringLiteral("勤労"), r.workingStudent},
        {QStringLiteral("基礎"), r.basic},
        {QStringLiteral("K"), r.deductionTotal},
        {QStringLiteral("B"), r.taxable},
        {QStringLiteral("算出"), r.computedTax},
        {QStringLiteral("住宅"), r.housingCredit},
        {QStringLiteral("年調"), r.taxAfterCredit},
        {QStringLiteral("年税"), r.annualTax},
        {QStringLiteral("徴収"), r.withheld},
        {QStringLiteral("過不足"), r.balance},
    };
}

// "name value name value …": the figures a published example gives, each
// compared; the ones it does not give are not asserted.
void compareFigures(const YearEndResult &r, const QString &expected)
{
    const QHash<QString, Yen> actual = figures(r);
    const QStringList words = expected.split(u' ', Qt::SkipEmptyParts);
    QVERIFY(words.size() % 2 == 0);
    QStringList wrong;
    for (qsizetype i = 0; i < words.size(); i += 2) {
        QVERIFY2(actual.contains(words[i]), qPrintable(words[i]));
        const Yen value = actual.value(words[i]);
        if (QString::number(value) != words[i + 1])
            wrong.append(QStringLiteral("%1 %2 (expected %3)").arg(words[i]).arg(value).arg(words[i + 1]));
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u", ")));
}

Relative relative(const char *birth, Yen income = 0, Disability disability = Disability::None, bool parent = false)
{
    return {QStringLiteral("親族"), QDate::fromString(QLatin1String(birth), Qt::ISODate), income, parent, disability};
}

Declarations withSpouse(Yen income, const char *birth = "1980-05-01", Disability disability = Disability::None)
{
    Declarations d;
    d.spouse = Spouse{QStringLiteral("配偶者"), QDate::fromString(QLatin1String(birth), Qt::ISODate), income, disability};
    return d;
}

Declarations withRelatives(const QList<Relative> &relatives)
{
    Declarations d;
    d.relatives = relatives;
    return d;
}

Declarations earning(Yen otherIncome, Declarations d = {})
{
    d.otherIncome = otherIncome;
    return d;
}

void row(const char *name, YearPay pay, Declarations declared, const char *expected)
{
    QTest::newRow(name) << pay << declared << QString::fromUtf8(expected);
}

} // namespace

class TestYearEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(shippedYearEnd().errors.isEmpty(), qPrintable(shippedYearEnd().errors.join(u'\n'))); }

    void tableMatchesShared();
    void onlyItsYear();
    void examples_data();
    void examples();
    void deductions_data();
    void deductions();
    void tableEdges_data();
    void tableEdges();
    void damagedTableRefused_data();
    void damagedTableRefused();
};

// The program computes with exactly the published figures and their notes.
void TestYearEnd::tableMatchesShared()
{
    const QString shared = QStringLiteral(PELMAR_SHARED_TABLES "/year-end-2026.tsv");
    QFile file(shared);
    if (!file.open(QIODevice::ReadOnly))
        QSKIP(qPrintable(QStringLiteral("the shared tables are not beside the project folder (%1)").arg(shared)));
    QCOMPARE(resourceText(QStringLiteral("year-end-2026.tsv")).split(u'\n'), QString::fromUtf8(file.readAll()).split(u'\n'));
}

// 令和8年分's figures serve 2026 alone: no other year borrows them.
void TestYearEnd::onlyItsYear()
{
    QVERIFY(shippedYearEnd().forYear(2026));
    QVERIFY(!shippedYearEnd().forYear(2025));
    QVERIFY(!shippedYearEnd().forYear(2027));
    QVERIFY(!table2026().notVerified.isEmpty());
}

// The worked examples of year-end-2026-examples.md, each with the figures it
// publishes (E1–E5; E6 does not give its 社会保険料).
void TestYearEnd::examples_data()
{
    QTest::addColumn<YearPay>("pay");
    QTest::addColumn<Declarations>("declared");
    QTest::addColumn<QString>("expected");

    Declarations e1 = withSpouse(500000);
    e1.relatives = {relative("1990-01-01"), relative("2006-04-01"), relative("1950-03-03", 0, Disability::General, true),
                    relative("2005-06-01", 1000000)};
    e1.lifeNewGeneral = 80000;
    e1.lifeOldGeneral = 35000;
    e1.lifeCareMedical = 80000;
    e1.lifeNewPension = 30000;
    e1.lifeOldPension = 90000;
    e1.earthquake = 42000;
    e1.oldLongTermDamage = 14800;
    e1.housingLoanCredit = 76500;
    row("E1 NTA 設例", {8970000, 1386102, 156670}, e1,
        "G 7020000 C 47000 G' 6973000 社保 1386102 生保一般 60000 生保介護 40000 生保年金 47500 生保 120000 地震 50000 "
        "配偶 380000 特定親族 410000 扶養 1590000 障害 270000 基礎 620000 K 4826102 B 2146000 算出 117100 住宅 76500 "
        "年調 40600 年税 41400 過不足 115270");

    Declarations e2 = withSpouse(0);
    e2.relatives = {relative("1990-01-01")};
    e2.lifeOldGeneral = 50200;
    e2.lifeNewPension = 56000;
    e2.earthquake = 45000;
    row("E2 NTA 203", {4390000, 641525, 51845}, e2,
        "G 3070400 C 0 社保 641525 生保 71550 地震 45000 配偶 380000 扶養 380000 基礎 1040000 K 2558075 B 512000 "
        "算出 25600 年税 26100 過不足 25745");

    row("E3", {5000000, 734500, 119400}, {},
        "G 3560000 基礎 1040000 K 1774500 B 1785000 算出 89250 年税 91100 過不足 28300");
    Declarations life;
    life.lifeNewGeneral = 80000;
    row("E3 生命保険 40,000", {5000000, 734500, 0}, life, "生保 40000 B 1745000 算出 87250 年税 89000");
    Declarations housing;
    housing.housingLoanCredit = 50000;
    row("E3 住宅 50,000", {5000000, 734500, 0}, housing, "算出 89250 年調 39250 年税 40000");
    row("E3 1,780,000", {1780000, 0, 0}, {}, "G 1040000 基礎 1040000 B 0 年税 0");
    row("E3 1,790,000", {1790000, 0, 0}, {}, "B 10000 算出 500 年税 500");

    row("E4 1", {5000000, 720000, 120000}, {}, "G 3560000 B 1800000 算出 90000 年税 91800 過不足 28200");
    row("E4 2", {1800000, 0, 0}, {}, "G 1060000 B 20000 算出 1000 年税 1000");
    row("E4 3", {3000000, 0, 0}, {}, "G 2020000 B 980000 算出 49000 年税 50000");
    row("E4 3 社保 123", {3000000, 123, 0}, {}, "B 979000 算出 48950 年税 49900");
    row("E5 36頁", {7654321, 0, 0}, {}, "G 5788888");
}

void TestYearEnd::examples()
{
    QFETCH(YearPay, pay);
    QFETCH(Declarations, declared);
    QFETCH(QString, expected);
    compareFigures(computeYearEnd(table2026(), pay, declared), expected);
}

// Each deduction on both sides of its edges; the income tested is the
// employee's 合計所得金額, moved by the other income declared.
void TestYearEnd::deductions_data()
{
    QTest::addColumn<YearPay>("pay");
    QTest::addColumn<Declarations>("declared");
    QTest::addColumn<QString>("expected");
    row("基礎 4,890,000", {}, earning(4890000), "基礎 1040000");
    row("基礎 4,890,001", {}, earning(4890001), "基礎 670000");
    row("基礎 6,550,001", {}, earning(6550001), "基礎 620000");
    row("基礎 23,500,001", {}, earning(23500001), "基礎 480000");
    row("基礎 25,000,001", {}, earning(25000001), "基礎 0");
    row("配偶 620,000", {}, withSpouse(620000), "配偶 380000 配特 0");
    row("配特 620,001", {}, withSpouse(620001), "配偶 0 配特 380000");
    row("配特 1,330,000", {}, withSpouse(1330000), "配特 30000");
    row("配特 1,330,001", {}, withSpouse(1330001), "配偶 0 配特 0");
    row("配特 own 9,500,000", {}, earning(9500000, withSpouse(1000000)), "配特 240000");
    row("配偶 own 9,000,001", {}, earning(9000001, withSpouse(0)), "配偶 260000");
    row("配偶 own 10,000,001", {}, earning(10000001, withSpouse(0)), "配偶 0 配特 0");
    row("老人配偶 1957-01-01", {}, withSpouse(0, "1957-01-01"), "配偶 480000");
    row("配偶 1957-01-02", {}, withSpouse(0, "1957-01-02"), "配偶 380000");
    // A disabled spouse counts whatever the employee earns, but only within the household's limit.
    row("同居特別障害 spouse", {}, earning(12000000, withSpouse(0, "1980-01-01", Disability::SpecialLivingTogether)),
        "配偶 0 障害 750000");
    row("spouse over limit", {}, withSpouse(620001, "1980-01-01", Disability::General), "障害 0");
    row("16 at year end", {}, withRelatives({relative("2010-12-31")}), "扶養 380000");
    row("15 at year end", {}, withRelatives({relative("2011-01-02", 0, Disability::Special)}), "扶養 0 障害 400000");
    row("特定扶養 edges", {}, withRelatives({relative("2004-01-02"), relative("2004-01-01"), relative("2008-01-01")}),
        "扶養 1640000");
    row("老人 and 同居老親等", {}, withRelatives({relative("1957-01-01"), relative("1957-01-01", 0, Disability::None, true)}),
        "扶養 1060000");
    row("扶養 620,000", {}, withRelatives({relative("1990-01-01", 620000)}), "扶養 380000");
    row("not 扶養 620,001", {}, withRelatives({relative("1990-01-01", 620001, Disability::General)}),
        "扶養 0 特定親族 0 障害 0");
    row("特定親族 edges", {}, withRelatives({relative("2006-01-01", 620001), relative("2006-01-01", 1230000)}),
        "扶養 0 特定親族 660000");
    row("特定親族 1,230,001", {}, withRelatives({relative("2006-01-01", 1230001)}), "特定親族 0");
    Declarations widow = earning(5000000);
    widow.widowhood = Widowhood::Widow;
    row("寡婦 5,000,000", {}, widow, "寡婦 270000");
    widow.otherIncome = 5000001;
    row("寡婦 5,000,001", {}, widow, "寡婦 0");
    Declarations single = earning(0);
    single.widowhood = Widowhood::SingleParent;
    row("ひとり親", {}, single, "寡婦 350000");
    Declarations student;
    student.workingStudent = true;
    row("勤労学生 pay 1,630,000", {1630000, 0, 0}, student, "合計所得 890000 勤労 270000");
    row("勤労学生 pay 1,630,001", {1630001, 0, 0}, student, "合計所得 890001 勤労 0");
    student.otherIncome = 100001;
    row("勤労学生 other 100,001", {}, student, "勤労 0");
    // 所得金額調整控除: a 扶養親族 under 23 or a 特別障害者, pay above 8,500,000.
    row("調整 8,500,001", {8500001, 0, 0}, withRelatives({relative("2005-01-01")}), "C 1");
    row("調整 capped", {12000000, 0, 0}, withRelatives({relative("2020-01-01")}), "C 150000");
    row("調整 nobody", {9000000, 0, 0}, withRelatives({relative("1990-01-01")}), "C 0");
    row("調整 disabled spouse", {9000000, 0, 0}, withSpouse(0, "1970-01-01", Disability::Special), "C 50000");
    row("調整 not a 特定親族", {9000000, 0, 0}, withRelatives({relative("2005-01-01", 700000)}), "C 0");
    // 生命保険: formula II for 新 一般 only with a 扶養親族 under 23; fractions up.
    Declarations lifeAlone;
    lifeAlone.lifeNewGeneral = 120001;
    row("新一般 alone", {}, lifeAlone, "生保一般 40000");
    Declarations lifeChild = withRelatives({relative("2015-01-01")});
    lifeChild.lifeNewGeneral = 120001;
    row("新一般 with a child", {}, lifeChild, "生保一般 60000");
    lifeChild.lifeNewGeneral = 30001;
    row("新一般 fraction up", {}, lifeChild, "生保一般 30001");
    Declarations quake;
    quake.earthquake = 40000;
    quake.oldLongTermDamage = 10001;
    row("地震 + 旧長期 capped", {}, quake, "地震 50000");
    // The credit cannot go below 0 and what is left is not refunded.
    Declarations bigCredit;
    bigCredit.housingLoanCredit = 500000;
    row("住宅 over the tax", {5000000, 734500, 100000}, bigCredit, "算出 89250 住宅 89250 年調 0 年税 0 過不足 100000");
    // 前職分 adds to the pay, the insurance and the tax withheld.
    Declarations previous;
    previous.previousPay = 3000000;
    previous.previousSocialInsurance = 400000;
    previous.previousTax = 50000;
    previous.socialOutsidePay = 100000;
    row("前職分", {2000000, 334500, 69400}, previous, "給与 5000000 G 3560000 社保 834500 徴収 119400");
    row("pay 20,000,000", {20000000, 0, 0}, {}, "対象外 0 G 18050000");
    row("pay 20,000,001", {20000001, 0, 0}, {}, "対象外 1 G 0 年税 0");
}

void TestYearEnd::deductions()
{
    examples();
}

// Both sides of every edge of the table and the rules around it, and of the 速算表.
void TestYearEnd::tableEdges_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<Yen>("in");
    QTest::addColumn<Yen>("out"); // -1: none
    const auto row = [](const char *what, Yen in, Yen out) {
        QTest::addRow("%s %lld", what, in) << QString::fromUtf8(what) << in << out;
    };
    for (const auto &[in, out] : std::initializer_list<std::pair<Yen, Yen>>{
             {740999, 0}, {741000, 1000}, {2190999, 1450999}, {2191000, 1451000}, {2192999, 1451000},
             {2193000, 1453000}, {2199999, 1456000}, {2200000, 1460000}, {3599999, 2437200}, {3600000, 2440000},
             {6599999, 4836800}, {6600000, 4840000}, {8499999, 6549999}, {8500000, 6550000}, {20000000, 18050000},
             {20000001, -1}})
        row("G", in, out);
    for (const auto &[in, out] : std::initializer_list<std::pair<Yen, Yen>>{
             {0, 0}, {1950000, 97500}, {1951000, 97600}, {2696000, 172100}, {3301000, 232700}, {6950000, 962500},
             {6951000, 962730}, {18000000, 4404000}, {18001000, 4404400}, {18050000, 4424000}, {18051000, -1}})
        row("算出", in, out);
    for (const auto &[in, out] : std::initializer_list<std::pair<Yen, Yen>>{{97, 0}, {98, 100}, {40600, 41400}})
        row("年税", in, out);
}

void TestYearEnd::tableEdges()
{
    QFETCH(QString, what);
    QFETCH(Yen, in);
    QFETCH(Yen, out);
    const YearEndTable &t = table2026();
    const std::optional<Yen> actual =
        what == u"G" ? afterEmploymentDeduction(t, in) : what == u"算出" ? computedTax(t, in) : annualTax(t, in);
    QCOMPARE(actual.value_or(-1), out);
}

void TestYearEnd::damagedTableRefused_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("said"); // where and why, as every public table says it
    QTest::newRow("row missing") << QStringLiteral("4000000\t4004000\t2760000\n") << QString()
                                 << QStringLiteral("行目: 前の行の終わりから始まっていません");
    QTest::newRow("band gap") << QStringLiteral("#@kiso\t4890000\t6550000") << QStringLiteral("#@kiso\t4890001\t6550000")
                              << QStringLiteral("行目: 帯が前の帯の終わりから");
    QTest::newRow("not whole yen") << QStringLiteral("\t380000\t480000\t") << QStringLiteral("\t380000.5\t480000\t")
                                   << QStringLiteral("の「380000.5」は 0 以上の数");
    QTest::newRow("name missing") << QStringLiteral("#@jinteki\thitorioya") << QStringLiteral("#@jinteki\thitorioya2")
                                  << QStringLiteral("jinteki に hitorioya がありません");
    QTest::newRow("no status") << QStringLiteral("10\t150000\tceil\tCHECKED") << QStringLiteral("10\t150000\tceil\tok")
                               << QStringLiteral("行目: status が");
    QTest::newRow("other rounding") << QStringLiteral("\t100\tfloor\t") << QStringLiteral("\t100\tround\t")
                                    << QStringLiteral("行目: rate_den か unit が 0 か");
    QTest::newRow("formula overlaps")
        << QStringLiteral("#@kyuyo_formula\t741000\t2191000") << QStringLiteral("#@kyuyo_formula\t741000\t2192000")
        << QStringLiteral("給与の表が");
    QTest::newRow("table missing") << QStringLiteral("#@sokusan\t") << QStringLiteral("#@other\t")
                                   << QStringLiteral("表 sokusan がありません");
}

// A damaged file gives no year, and so no 年末調整: never a wrong one.
void TestYearEnd::damagedTableRefused()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, said);
    QString text = resourceText(QStringLiteral("year-end-2026.tsv"));
    QString error;
    QVERIFY2(readYearEndTable(text, &error), qPrintable(error));
    QVERIFY2(text.contains(from), qPrintable(from));
    text.replace(from, to);
    QVERIFY(!readYearEndTable(text, &error));
    QVERIFY2(error.contains(said), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestYearEnd)
#include "tst_yearend.moc"
