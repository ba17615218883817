#include "calc/Bonus.h"
#include "calc/SocialInsurance.h"
#include "calc/SocialTables.h"

#include <QFile>
#include <QTest>

using namespace pelmar::pay;

using ThreeMonths = std::array<MonthPay, 3>;

Q_DECLARE_METATYPE(Worker)
Q_DECLARE_METATYPE(ThreeMonths)
Q_DECLARE_METATYPE(YearMonth)
Q_DECLARE_METATYPE(BonusCounted)
Q_DECLARE_METATYPE(BonusTaxInput)
Q_DECLARE_METATYPE(BonusInput)
Q_DECLARE_METATYPE(Collection)
Q_DECLARE_METATYPE(TaxColumn)

namespace {

const SocialTables &social()
{
    return shippedSocialTables().tables;
}

const QList<GradeRow> &gradeTable()
{
    return social().grades;
}

QString gradesText(const Grades &g)
{
    return QStringLiteral("健%1 %2 厚%3 %4").arg(g.health).arg(g.healthStandard).arg(g.pension).arg(g.pensionStandard);
}

YearMonth month(const char *text)
{
    return *YearMonth::fromText(QString::fromLatin1(text));
}

QDate date(const char *text)
{
    return text[0] ? QDate::fromString(QString::fromLatin1(text), Qt::ISODate) : QDate();
}

// The months from 2026-01 to 2026-06 for which `applies` holds, as "1 2 3".
template <typename Applies> QString firstHalfOf2026(Applies applies)
{
    QStringList months;
    for (int m = 1; m <= 6; ++m) {
        if (applies(YearMonth{2026, m}))
            months.append(QString::number(m));
    }
    return months.join(u' ');
}

QString premiumText(const MonthPremium &p)
{
    return QStringLiteral("健康 %1 介護 %2 支援 %3 計 %4 厚年 %5")
        .arg(p.health)
        .arg(p.care)
        .arg(p.childSupport)
        .arg(p.healthSide)
        .arg(p.pension);
}

ThreeMonths months3(Yen a, int da, Yen b, int db, Yen c, int dc)
{
    return {MonthPay{a, da}, MonthPay{b, db}, MonthPay{c, dc}};
}

QString tableText(const QString &name)
{
    QFile file(kTablesResource + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestSocialInsurance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(shippedSocialTables().errors.isEmpty(), qPrintable(shippedSocialTables().errors.join(u'\n')));
    }

    void grades_data();
    void grades();
    void monthsOwed_data();
    void monthsOwed();
    void ages_data();
    void ages();
    void premiums_data();
    void premiums();
    void halfShareOfTypedRate_data();
    void halfShareOfTypedRate();
    void deducted_data();
    void deducted();
    void regularDecision_data();
    void regularDecision();
    void occasionalRevision_data();
    void occasionalRevision();
    void bonusPremiums_data();
    void bonusPremiums();
    void bonusTax_data();
    void bonusTax();
    void bonusStatement_data();
    void bonusStatement();
    void damagedTablesRefused_data();
    void damagedTablesRefused();
};

void TestSocialInsurance::grades_data()
{
    QTest::addColumn<Yen>("remuneration");
    QTest::addColumn<QString>("expected");
    // 1級 is 報酬月額 below 63,000; 厚生年金 below 93,000 is its 1級 of 88,000.
    QTest::newRow("62,999") << Yen(62999) << "健1 58000 厚1 88000";
    QTest::newRow("63,000") << Yen(63000) << "健2 68000 厚1 88000";
    QTest::newRow("93,000") << Yen(93000) << "健5 98000 厚2 98000";
    // 厚生年金 32級 from 635,000 up, whatever the 健康保険 grade.
    QTest::newRow("634,999") << Yen(634999) << "健34 620000 厚31 620000";
    QTest::newRow("635,000") << Yen(635000) << "健35 650000 厚32 650000";
    QTest::newRow("1,355,000") << Yen(1355000) << "健50 1390000 厚32 650000";
}

void TestSocialInsurance::grades()
{
    QFETCH(Yen, remuneration);
    QFETCH(QString, expected);
    const Grades found = gradesOf(gradeTable(), remuneration);
    QCOMPARE(gradesText(found), expected);
    // A stored standard amount gives back the same grades.
    QCOMPARE(gradesOfStandard(gradeTable(), found.healthStandard), found);
    QVERIFY(!gradesOfStandard(gradeTable(), found.healthStandard + 1000));
}

void TestSocialInsurance::monthsOwed_data()
{
    QTest::addColumn<QDate>("acquired");
    QTest::addColumn<QDate>("lost");
    QTest::addColumn<QString>("owed"); // months of 2026, January to June
    QTest::newRow("joined on the last day") << date("2026-03-31") << date("") << "3 4 5 6";
    QTest::newRow("left on the last day") << date("2025-10-01") << date("2026-04-01") << "1 2 3";
    QTest::newRow("left the day before") << date("2025-10-01") << date("2026-03-31") << "1 2";
    QTest::newRow("joined and left in May") << date("2026-05-11") << date("2026-05-21") << "5";
    QTest::newRow("joined in April, left in May") << date("2026-04-11") << date("2026-05-21") << "4";
}

void TestSocialInsurance::monthsOwed()
{
    QFETCH(QDate, acquired);
    QFETCH(QDate, lost);
    QFETCH(QString, owed);
    QCOMPARE(firstHalfOf2026([&](YearMonth m) { return owesMonth({acquired, lost}, m); }), owed);
}

void TestSocialInsurance::ages_data()
{
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QString>("expected"); // months of 2026 each applies in
    // 40th birthday 2026-04-01: reached 03-31, 介護 from March; on 04-02: from April.
    QTest::newRow("40 on the 1st") << date("1986-04-01") << "介護 3 4 5 6 | 厚年 1 2 3 4 5 6 | 健保 1 2 3 4 5 6";
    QTest::newRow("40 on the 2nd") << date("1986-04-02") << "介護 4 5 6 | 厚年 1 2 3 4 5 6 | 健保 1 2 3 4 5 6";
    // 65th birthday 2026-04-01: reached in March, 介護 ends with February; on 04-02 with March.
    QTest::newRow("65 on the 1st") << date("1961-04-01") << "介護 1 2 | 厚年 1 2 3 4 5 6 | 健保 1 2 3 4 5 6";
    QTest::newRow("65 on the 2nd") << date("1961-04-02") << "介護 1 2 3 | 厚年 1 2 3 4 5 6 | 健保 1 2 3 4 5 6";
    // 70th birthday 2026-04-01: the pension ends on 03-31, so March is not owed.
    QTest::newRow("70 on the 1st") << date("1956-04-01") << "介護  | 厚年 1 2 | 健保 1 2 3 4 5 6";
    // 75th birthday 2026-05-01: 健康保険 ends on the birthday itself, owed to April.
    QTest::newRow("75 on the 1st") << date("1951-05-01") << "介護  | 厚年  | 健保 1 2 3 4";
    // Born 29 February: 70 reached on 2026-02-28, so February is not owed.
    QTest::newRow("29 February") << date("1956-02-29") << "介護  | 厚年 1 | 健保 1 2 3 4 5 6";
}

void TestSocialInsurance::ages()
{
    QFETCH(QDate, birth);
    QFETCH(QString, expected);
    const QString care = firstHalfOf2026([&](YearMonth m) { return careApplies(birth, m); });
    const QString pension = firstHalfOf2026([&](YearMonth m) { return pensionAgeApplies(birth, m); });
    const QString health = firstHalfOf2026([&](YearMonth m) { return healthAgeApplies(birth, m); });
    QCOMPARE(QStringLiteral("介護 %1 | 厚年 %2 | 健保 %3").arg(care, pension, health), expected);
}

void TestSocialInsurance::premiums_data()
{
    QTest::addColumn<int>("prefecture");
    QTest::addColumn<YearMonth>("premiumMonth");
    QTest::addColumn<Yen>("standard"); // 健康保険's; 厚生年金's from its grade
    QTest::addColumn<bool>("care");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, int prefecture, const char *m, Yen standard, bool care, const char *text) {
        QTest::newRow(name) << prefecture << month(m) << standard << care << QString::fromUtf8(text);
    };
    // 東京 令和7年度 9.91 %: 300,000 × 9.91 % ÷ 2 = 14,865; 厚年 300,000 × 18.3 % ÷ 2 = 27,450.
    row("February at 令和7年度", 13, "2026-02", 300000, false, "健康 14865 介護 0 支援 0 計 14865 厚年 27450");
    // 令和8年度 9.85 % from March's premium: 300,000 × 9.85 % ÷ 2 = 14,775.
    row("March at 令和8年度", 13, "2026-03", 300000, false, "健康 14775 介護 0 支援 0 計 14775 厚年 27450");
    // 介護 1.59 % then 1.62 %: (9.91 + 1.59) % → 17,250; (9.85 + 1.62) % → 17,205.
    row("February with care", 13, "2026-02", 300000, true, "健康 14865 介護 2385 支援 0 計 17250 厚年 27450");
    row("March with care", 13, "2026-03", 300000, true, "健康 14775 介護 2430 支援 0 計 17205 厚年 27450");
    // 支援金 0.23 % from April's premium: (9.85 + 0.23) % → 15,120, of which 345.
    row("April's first 支援金", 13, "2026-04", 300000, false, "健康 14775 介護 0 支援 345 計 15120 厚年 27450");
    // Rounded once on the combined rate: 110,000 × 11.70 % ÷ 2 = 6,435 exactly, though
    // 9.85 % (5,417.50), 1.62 % (891) and 0.23 % (126.50) rounded apart make 6,434.
    row("rounded once", 13, "2026-04", 110000, true, "健康 5418 介護 891 支援 126 計 6435 厚年 10065");
    // 58,000 × 9.85 % ÷ 2 = 2,856.50: dropped. 大阪 10.13 %: 2,937.70 rounds up.
    row("x.50 dropped", 13, "2026-03", 58000, false, "健康 2856 介護 0 支援 0 計 2856 厚年 8052");
    row("x.70 up", 27, "2026-03", 58000, false, "健康 2938 介護 0 支援 0 計 2938 厚年 8052");
    // The 令和8年度 lines serve through February 2027 and no further.
    row("last month served", 13, "2027-02", 300000, false, "健康 14775 介護 0 支援 345 計 15120 厚年 27450");
    row("after the 年度", 13, "2027-03", 300000, false, "no rates");
    row("before the tables", 13, "2025-02", 300000, false, "no rates");
    row("no 支部", 48, "2026-04", 300000, false, "no rates");
}

void TestSocialInsurance::premiums()
{
    QFETCH(int, prefecture);
    QFETCH(YearMonth, premiumMonth);
    QFETCH(Yen, standard);
    QFETCH(bool, care);
    QFETCH(QString, expected);
    const auto rates = social().ratesFor(premiumMonth, prefecture);
    const auto standards = gradesOfStandard(gradeTable(), standard);
    QVERIFY(standards);
    const PremiumBasis basis{standard, standards->pensionStandard, true, true, care};
    QCOMPARE(rates ? premiumText(monthPremium(basis, *rates)) : QStringLiteral("no rates"), expected);
}

void TestSocialInsurance::halfShareOfTypedRate_data()
{
    QTest::addColumn<PartsPerMillion>("rate");
    QTest::addColumn<Yen>("share");
    // A 健康保険組合's typed rates on 58,000: 10.05 % ÷ 2 = 2,914.50 → 2,914; 10.019 % → 2,905.51 → 2,906.
    QTest::newRow("x.50") << PartsPerMillion(100500) << Yen(2914);
    QTest::newRow("x.51") << PartsPerMillion(100190) << Yen(2906);
}

void TestSocialInsurance::halfShareOfTypedRate()
{
    QFETCH(PartsPerMillion, rate);
    QFETCH(Yen, share);
    QCOMPARE(halfShare(58000, rate), share);
}

void TestSocialInsurance::deducted_data()
{
    QTest::addColumn<Collection>("collection");
    QTest::addColumn<QDate>("payDate");
    QTest::addColumn<bool>("lastPay");
    QTest::addColumn<QDate>("acquired");
    QTest::addColumn<QDate>("lost");
    QTest::addColumn<QString>("months");
    const auto next = Collection::NextMonth;
    const QDate since = date("2025-04-01");
    QTest::newRow("翌月徴収") << next << date("2026-05-25") << false << since << QDate() << "2026-04";
    QTest::newRow("当月徴収") << Collection::SameMonth << date("2026-05-25") << false << since << QDate() << "2026-05";
    QTest::newRow("joiner's first pay") << next << date("2026-05-25") << false << date("2026-05-01") << QDate() << "";
    // Left on 31 May, last paid on 25 May: April and May from that pay.
    QTest::newRow("leaver's last pay") << next << date("2026-05-25") << true << since << date("2026-06-01")
                                       << "2026-04 2026-05";
    // Left on 20 May: May is not owed, the last pay deducts April only.
    QTest::newRow("left before the month's end")
        << next << date("2026-05-25") << true << since << date("2026-05-21") << "2026-04";
    QTest::newRow("paid after leaving") << next << date("2026-06-25") << true << since << date("2026-06-01")
                                        << "2026-05";
}

void TestSocialInsurance::deducted()
{
    QFETCH(Collection, collection);
    QFETCH(QDate, payDate);
    QFETCH(bool, lastPay);
    QFETCH(QDate, acquired);
    QFETCH(QDate, lost);
    QFETCH(QString, months);
    const Coverage coverage{acquired, lost};
    QStringList texts;
    for (const YearMonth m :
         monthsDeducted(collection, payDate, lastPay, [&](YearMonth m) { return owesMonth(coverage, m); }))
        texts.append(m.text());
    QCOMPARE(texts.join(u' '), months);
}

void TestSocialInsurance::regularDecision_data()
{
    QTest::addColumn<ThreeMonths>("months");
    QTest::addColumn<Worker>("worker");
    QTest::addColumn<QString>("expected"); // months counted, average, grades
    const auto r = Worker::Regular;
    // (200,000 + 210,000 + 220,000) ÷ 3 = 210,000: 18級 from 210,000.
    QTest::newRow("all three") << months3(200000, 20, 210000, 21, 220000, 17) << r
                               << "0 1 2: 210000 健18 220000 厚15 220000";
    // April's 16 days do not count: 405,001 ÷ 2 = 202,500 (.5 dropped), 17級.
    QTest::newRow("16 days left out") << months3(150000, 16, 200000, 20, 205001, 20) << r
                                      << "1 2: 202500 健17 200000 厚14 200000";
    QTest::newRow("none counts: kept") << months3(90000, 12, 95000, 16, 99000, 15) << r << ": -";
    // A part-timer with no month of 17 days: the 15-day months, 210,001 ÷ 2 = 105,000.
    QTest::newRow("part-time 15 days") << months3(100000, 15, 110001, 16, 90000, 14) << Worker::PartTime
                                       << "0 1: 105000 健6 104000 厚3 104000";
    // One month of 17 days: the 15-day rule does not come in.
    QTest::newRow("part-time 17 days") << months3(120000, 17, 110000, 16, 100000, 15) << Worker::PartTime
                                       << "0: 120000 健8 118000 厚5 118000";
    // 短時間労働者: 11 days count; (80,000 + 90,000) ÷ 2 = 85,000.
    QTest::newRow("short-time 11 days") << months3(80000, 11, 70000, 10, 90000, 12) << Worker::ShortTime
                                        << "0 2: 85000 健4 88000 厚1 88000";
}

void TestSocialInsurance::regularDecision()
{
    QFETCH(ThreeMonths, months);
    QFETCH(Worker, worker);
    QFETCH(QString, expected);
    const RegularDecision d = pelmar::pay::regularDecision(gradeTable(), months, worker);
    QStringList counted;
    for (const int i : d.counted)
        counted.append(QString::number(i));
    const QString result =
        d.grades ? QStringLiteral("%1 %2").arg(*d.average).arg(gradesText(*d.grades)) : QStringLiteral("-");
    QCOMPARE(counted.join(u' ') + QStringLiteral(": ") + result, expected);
}

void TestSocialInsurance::occasionalRevision_data()
{
    QTest::addColumn<Yen>("current"); // 健康保険's standard
    QTest::addColumn<ThreeMonths>("months");
    QTest::addColumn<Worker>("worker");
    QTest::addColumn<bool>("raised");
    QTest::addColumn<QString>("expected"); // which grades change
    const auto r = Worker::Regular;
    // From 17級 (200,000): 230,000 is 19級, two away; 229,999 is 18級, one.
    QTest::newRow("two grades") << Yen(200000) << months3(230000, 20, 230000, 20, 230000, 20) << r << true
                                << "健康 厚年";
    QTest::newRow("one grade") << Yen(200000) << months3(229999, 20, 229999, 20, 229999, 20) << r << true << "-";
    QTest::newRow("a month of 16 days") << Yen(200000) << months3(260000, 20, 260000, 16, 260000, 20) << r << true
                                        << "days";
    // A raise whose months average lower (fewer hours) changes nothing.
    QTest::newRow("against the change") << Yen(200000) << months3(160000, 20, 160000, 20, 160000, 20) << r << true
                                        << "-";
    QTest::newRow("lowered") << Yen(200000) << months3(160000, 20, 160000, 20, 160000, 20) << r << false << "健康 厚年";
    // 厚生年金 stays at its top grade while 健康保険 moves three.
    QTest::newRow("pension at its top") << Yen(650000) << months3(730000, 20, 730000, 20, 730000, 20) << r << true
                                        << "健康";
    QTest::newRow("short-time 11 days") << Yen(88000) << months3(110000, 11, 110000, 11, 110000, 11)
                                        << Worker::ShortTime << true << "健康 厚年";
    QTest::newRow("part-time 15 days") << Yen(88000) << months3(110000, 15, 110000, 20, 110000, 20) << Worker::PartTime
                                       << true << "days";
}

void TestSocialInsurance::occasionalRevision()
{
    QFETCH(Yen, current);
    QFETCH(ThreeMonths, months);
    QFETCH(Worker, worker);
    QFETCH(bool, raised);
    QFETCH(QString, expected);
    const auto standards = gradesOfStandard(gradeTable(), current);
    QVERIFY(standards);
    const OccasionalRevision o = pelmar::pay::occasionalRevision(gradeTable(), *standards, months, worker, raised);
    QStringList changes;
    if (o.health)
        changes.append(QStringLiteral("健康"));
    if (o.pension)
        changes.append(QStringLiteral("厚年"));
    QCOMPARE(!o.daysMet              ? QStringLiteral("days")
                 : changes.isEmpty() ? QStringLiteral("-")
                                     : changes.join(u' '),
             expected);
}

void TestSocialInsurance::bonusPremiums_data()
{
    QTest::addColumn<Yen>("bonus");
    QTest::addColumn<BonusCounted>("counted");
    QTest::addColumn<YearMonth>("paidIn");
    QTest::addColumn<bool>("care");
    QTest::addColumn<QString>("expected"); // 標準賞与額 and premiums
    // 300,999 → 300,000; June 2026 東京 (9.85 + 0.23) % ÷ 2 = 15,120; 厚年 27,450.
    QTest::newRow("fractions of 1,000") << Yen(300999) << BonusCounted{} << month("2026-06") << false
                                        << "300000 300000 健康 14775 介護 0 支援 345 計 15120 厚年 27450";
    // February: 令和7年度 9.91 % + 1.59 % and no 支援金: 300,000 × 11.50 % ÷ 2 = 17,250.
    QTest::newRow("February with care") << Yen(300000) << BonusCounted{} << month("2026-02") << true
                                        << "300000 300000 健康 14865 介護 2385 支援 0 計 17250 厚年 27450";
    // 3,000,000 counted in July: December's 3,000,500 is capped at 2,730,000
    // (× 10.08 % ÷ 2 = 137,592, 支援金 3,139.50 → 3,139); 厚生年金 at 1,500,000 (× 18.3 % ÷ 2 = 137,250).
    QTest::newRow("573万円 crossed in December")
        << Yen(3000500) << BonusCounted{3000000, 0} << month("2026-12") << false
        << "2730000 1500000 健康 134453 介護 0 支援 3139 計 137592 厚年 137250";
    // A second bonus of the month: 1,000,000 already counted for 厚生年金.
    QTest::newRow("150万円 a month") << Yen(800000) << BonusCounted{0, 1000000} << month("2026-06") << false
                                     << "800000 500000 健康 39400 介護 0 支援 920 計 40320 厚年 45750";
}

void TestSocialInsurance::bonusPremiums()
{
    QFETCH(Yen, bonus);
    QFETCH(BonusCounted, counted);
    QFETCH(YearMonth, paidIn);
    QFETCH(bool, care);
    QFETCH(QString, expected);
    const auto healthCap = social().healthBonusCap(paidIn);
    const auto pensionCap = social().pensionBonusCap(paidIn);
    const auto rates = social().ratesFor(paidIn, 13);
    QVERIFY(healthCap && pensionCap && rates);
    const StandardBonus standard = standardBonus(bonus, counted, *healthCap, *pensionCap);
    const MonthPremium premium = bonusPremium(standard, {0, 0, true, true, care}, *rates);
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(standard.health).arg(standard.pension).arg(premiumText(premium)), expected);
}

void TestSocialInsurance::bonusTax_data()
{
    QTest::addColumn<BonusTaxInput>("input");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, TaxColumn column, int dependants, Yen bonus, std::optional<Yen> previous,
                        const char *expected, bool overSix = false, QDate paid = QDate(2026, 12, 10)) {
        QTest::newRow(name) << BonusTaxInput{paid, column, dependants, bonus, previous, overSix}
                            << QString::fromUtf8(expected);
    };
    const auto kou = TaxColumn::Kou;
    // 甲 0 人, previous month 250,000: 4.084 % of 500,000 = 20,420; from 260,000 6.126 %.
    row("甲 rate", kou, 0, 500000, 250000, "rate 20420");
    row("甲 band edge", kou, 0, 500000, 260000, "rate 30630");
    // 2 人 at 250,000: 2.042 %; 乙 at 250,000: 20.42 %.
    row("甲 2 人", kou, 2, 500000, 250000, "rate 10210");
    row("乙 rate", TaxColumn::Otsu, 0, 500000, 250000, "rate 102100");
    // Ten times the previous month's 50,000 still takes the table (0 % below 82,000).
    row("ten times", kou, 0, 500000, 50000, "rate 0");
    // No pay the month before: 900,000 ÷ 6 = 150,000, taxed 2,420 by the 月額表, × 6.
    row("no pay before", kou, 0, 900000, std::nullopt, "monthly 14520");
    // Over ten times 50,000: 600,000 ÷ 6 + 50,000 = 150,000 → 2,420, less 0 on 50,000, × 6.
    row("over ten times", kou, 0, 600000, 50000, "monthly 14520");
    // A period over six months divides by 12: 1,800,000 ÷ 12 = 150,000 → 2,420 × 12.
    row("over six months", kou, 0, 1800000, std::nullopt, "monthly 29040", true);
    // 乙 with no pay before: 100,000 at 3.063 % = 3,063, × 6.
    row("乙 no pay before", TaxColumn::Otsu, 0, 600000, 0, "monthly 18378");
    // 8 人: the rates do not carry the rule; the 月額表 does.
    row("甲 8 人 rate", kou, 8, 500000, 250000, "rate no rule");
    row("甲 8 人 monthly", kou, 8, 900000, std::nullopt, "monthly 0");
    row("2027 rate", kou, 0, 500000, 250000, "rate no rate table", false, QDate(2027, 1, 10));
    // In 2027 the 月額表 way takes the 令和9年分 table: 1,200,000 ÷ 6 = 200,000 → 4,170, × 6.
    row("2027 monthly", kou, 0, 1200000, std::nullopt, "monthly 25020", false, QDate(2027, 1, 10));
    row("2028 monthly", kou, 0, 500000, std::nullopt, "monthly no monthly table", false, QDate(2028, 1, 10));
}

void TestSocialInsurance::bonusTax()
{
    QFETCH(BonusTaxInput, input);
    QFETCH(QString, expected);
    static const char *const gaps[] = {"", "no pay date", "no rate table", "no monthly table", "no rule"};
    static const char *const methods[] = {"none", "rate", "monthly"};
    const BonusTax tax = pelmar::pay::bonusTax(input, shippedTables().tables, social());
    const QString figure = tax.tax ? QString::number(*tax.tax) : QString::fromLatin1(gaps[int(tax.gap)]);
    QCOMPARE(QString::fromLatin1(methods[int(tax.method)]) + u' ' + figure, expected);
}

void TestSocialInsurance::bonusStatement_data()
{
    QTest::addColumn<BonusInput>("input");
    QTest::addColumn<QString>("expected"); // premiums, 雇用保険, tax, total, net
    BonusInput bonus;
    bonus.payDate = QDate(2026, 12, 10);
    bonus.amount = 500000;
    bonus.column = TaxColumn::Kou;
    bonus.employmentInsured = true;
    bonus.insured = {0, 0, true, true, false};
    bonus.rates = social().ratesFor({2026, 12}, 13);
    bonus.previousPayAfterInsurance = 250000;
    // 500,000 × 10.08 % ÷ 2 = 25,200; × 18.3 % ÷ 2 = 45,750; × 5 ‰ = 2,500;
    // 426,550 left, × 4.084 % (the band of 250,000) = 17,420.30 → 17,420.
    QTest::newRow("December") << bonus << "25200 45750 2500 rate 17420 90870 409130";
    BonusInput noRates = bonus;
    noRates.rates.reset();
    QTest::newRow("no rates") << noRates << "- 2500 - - -";
    // January 2027: rates and 雇用保険 still, but no 算出率の表 for 2027.
    BonusInput nextYear = bonus;
    nextYear.payDate = QDate(2027, 1, 10);
    nextYear.rates = social().ratesFor({2027, 1}, 13);
    QTest::newRow("2027") << nextYear << "25200 45750 2500 rate - - -";
}

void TestSocialInsurance::bonusStatement()
{
    QFETCH(BonusInput, input);
    QFETCH(QString, expected);
    const BonusResult r = computeBonus(input, shippedTables().tables, social());
    const auto yen = [](std::optional<Yen> y) {
        return y ? QString::number(*y) : QStringLiteral("-");
    };
    const QString premiums =
        r.premium ? QStringLiteral("%1 %2").arg(r.premium->healthSide).arg(r.premium->pension) : QStringLiteral("-");
    static const char *const methods[] = {"-", "rate ", "monthly "};
    QString tax = QString::fromLatin1(methods[int(r.tax.method)]);
    if (r.tax.method != BonusTaxMethod::None)
        tax += yen(r.tax.tax);
    QCOMPARE(QStringList({premiums, yen(r.employment), tax, yen(r.deductionTotal), yen(r.netPay)}).join(u' '),
             expected);
}

void TestSocialInsurance::damagedTablesRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const QString rates = QStringLiteral("social-insurance-rates.tsv");
    const QString grades = QStringLiteral("standard-remuneration-grades.tsv");
    const QString bonus = QStringLiteral("bonus-withholding-2026.tsv");
    const QString terms = QStringLiteral("social-insurance-terms.tsv");
    QTest::newRow("rates overlap") << rates << "2026-03\t\thealth\t13"
                                   << "2026-02\t\thealth\t13";
    QTest::newRow("no such prefecture") << rates << "\t47\t沖縄県\t9.44\n2026"
                                        << "\t48\t沖縄県\t9.44\n2026";
    QTest::newRow("no such month") << rates << "2026-04\t\tchild"
                                   << "2026-13\t\tchild";
    QTest::newRow("grade gap") << grades << "\t104000\t101000"
                               << "\t104000\t102000";
    QTest::newRow("pension grade skipped") << grades << "7\t4\t110000"
                                           << "7\t5\t110000";
    QTest::newRow("bonus band gap") << bonus << "kou3\t354000"
                                    << "kou3\t355000";
    QTest::newRow("bonus rate not exact") << bonus << "2.042\nkou0\t94000"
                                          << "2.04201\nkou0\t94000";
    QTest::newRow("term missing") << terms << "pension\t\t\t\n"
                                  << "";
    QTest::newRow("cap without amount") << terms << "\t5730000"
                                        << "\t";
}

// A damaged file is refused with its reason: no premium is worked out from it.
void TestSocialInsurance::damagedTablesRefused()
{
    QFETCH(QString, file);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QString text = tableText(file);
    QVERIFY2(text.contains(from), qPrintable(from));
    text.replace(text.indexOf(from), from.size(), to);
    QString error;
    bool read = false;
    if (file.startsWith(u"social-insurance-rates"))
        read = readSocialRates(text, &error).has_value();
    else if (file.startsWith(u"standard"))
        read = readGrades(text, &error).has_value();
    else if (file.startsWith(u"bonus"))
        read = readBonusWithholding(text, &error).has_value();
    else
        read = readTerms(text, &error).has_value();
    QVERIFY(!read);
    QVERIFY2(!error.isEmpty(), qPrintable(file));
}

QTEST_GUILESS_MAIN(TestSocialInsurance)
#include "tst_socialinsurance.moc"
