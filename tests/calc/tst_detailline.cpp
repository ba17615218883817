#include "calc/DetailLine.h"
#include "calc/WorkTime.h"

#include <QTest>

using namespace pelmar;
using namespace pelmar::daylines;

namespace {

const patterns::PatternTimes kDayShift{QStringLiteral("0900"), QStringLiteral("1800"), 1.0, 8.0};

Line lineOf(std::initializer_list<std::pair<int, QVariant>> cells)
{
    Line line;
    line[kLineNo] = 1;
    for (const auto &[column, value] : cells)
        line[column] = value;
    return line;
}

QString describe(const QVariant &v)
{
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

} // namespace

Q_DECLARE_METATYPE(pelmar::daylines::Line)

class TestDetailLine : public QObject {
    Q_OBJECT
private slots:
    void afterEdit_data();
    void afterEdit();
    void refusals_data();
    void refusals();
    void patternLookedUpOnlyForAValidDate();
    void fillFromPatternReplacesTheWage();
    void captions();
};

void TestDetailLine::afterEdit_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("patternType");
    QTest::addColumn<QVariant>("wageBox");
    QTest::addColumn<Line>("expected");
    QTest::addColumn<bool>("recalculate");

    const QVariant none;
    const QVariant wage(1000.0);
    const auto t = [](const char *s) {
        return QVariant(QString::fromLatin1(s));
    };
    // 31 March 2007 as the day shift A (9:00 to 18:00, an hour's break) fills it.
    const Line dayOf31March = lineOf({{kDate, t("20070331")},
                                      {kStart, t("0900")},
                                      {kEnd, t("1800")},
                                      {kBreak, 1.0},
                                      {kHours, 8.0},
                                      {kWage, 1000.0},
                                      {kAmount, 8000.0}});

    QTest::newRow("date fills the day from the shift type")
        << lineOf({{kDate, t("20070331")}}) << int(kDate) << "A" << wage << dayOf31March << true;
    QTest::newRow("30 February is emptied and fills nothing")
        << lineOf({{kDate, t("20070230")}}) << int(kDate) << "A" << wage << lineOf({{kWage, 1000.0}}) << true;
    QTest::newRow("date without a shift type fills only the wage")
        << lineOf({{kDate, t("20070331")}}) << int(kDate) << "" << wage
        << lineOf({{kDate, t("20070331")}, {kWage, 1000.0}}) << true;
    QTest::newRow("start and end give the hours and the amount")
        << lineOf({{kStart, t("0900")}, {kEnd, t("1720")}, {kWage, 1000.0}}) << int(kEnd) << "" << none
        << lineOf({{kStart, t("0900")},
                   {kEnd, t("1720")},
                   {kHours, 500.0 / 60.0},
                   {kWage, 1000.0},
                   {kAmount, 500000.0 / 60.0}})
        << true;
    QTest::newRow("night shift")
        << lineOf({{kStart, t("2200")}, {kEnd, t("0600")}, {kWage, 1000.0}}) << int(kEnd) << "" << none
        << lineOf({{kStart, t("2200")}, {kEnd, t("0600")}, {kHours, 8.0}, {kWage, 1000.0}, {kAmount, 8000.0}}) << true;
    QTest::newRow("start alone computes nothing")
        << lineOf({{kStart, t("0900")}}) << int(kStart) << "" << none << lineOf({{kStart, t("0900")}}) << true;
    QTest::newRow("0960 is no time") << lineOf({{kStart, t("0960")}, {kEnd, t("1800")}}) << int(kStart) << "" << none
                                     << lineOf({{kEnd, t("1800")}}) << true;
    QTest::newRow("2500 is emptied, hours keep their value")
        << lineOf({{kStart, t("2500")}, {kEnd, t("1800")}, {kHours, 3.0}}) << int(kStart) << "" << none
        << lineOf({{kEnd, t("1800")}, {kHours, 3.0}}) << true;
    QTest::newRow("930 is 9:30") << lineOf({{kEnd, t("930")}}) << int(kEnd) << "" << none << lineOf({{kEnd, t("0930")}})
                                 << true;
    QTest::newRow("letters as a break are emptied and count as no break")
        << lineOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, t("abc")}}) << int(kBreak) << "" << none
        << lineOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kHours, 9.0}}) << true;
    QTest::newRow("a break lowers the hours")
        << lineOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, t("0.5")}, {kWage, 1000.0}}) << int(kBreak) << ""
        << none
        << lineOf({{kStart, t("0900")},
                   {kEnd, t("1800")},
                   {kBreak, 0.5},
                   {kHours, 8.5},
                   {kWage, 1000.0},
                   {kAmount, 8500.0}})
        << true;
    QTest::newRow("a wage on the line is never replaced")
        << lineOf({{kHours, 8.0}, {kWage, 900.0}, {kAdjustment, t("500")}}) << int(kAdjustment) << "" << wage
        << lineOf({{kHours, 8.0}, {kWage, 900.0}, {kAdjustment, 500.0}, {kAmount, 7700.0}}) << true;
    QTest::newRow("an emptied wage is filled from the box")
        << lineOf({{kHours, 8.0}, {kWage, none}}) << int(kWage) << "" << QVariant(1200.0)
        << lineOf({{kHours, 8.0}, {kWage, 1200.0}, {kAmount, 9600.0}}) << true;
    QTest::newRow("a wage typed as 0 shows nothing and is taken as empty")
        << lineOf({{kHours, 8.0}, {kWage, t("0")}}) << int(kWage) << "" << none << lineOf({{kHours, 8.0}}) << true;
    QTest::newRow("empty text wage ends as null") << lineOf({{kHours, 8.0}, {kWage, QVariant(QString(""))}})
                                                  << int(kWage) << "" << none << lineOf({{kHours, 8.0}}) << true;
    QTest::newRow("negative adjustment")
        << lineOf({{kHours, 8.0}, {kWage, 1000.0}, {kAdjustment, t("-500")}}) << int(kAdjustment) << "" << none
        << lineOf({{kHours, 8.0}, {kWage, 1000.0}, {kAdjustment, -500.0}, {kAmount, 7500.0}}) << true;
    QTest::newRow("adjustment alone makes no amount") << lineOf({{kAdjustment, t("500")}}) << int(kAdjustment) << ""
                                                      << none << lineOf({{kAdjustment, 500.0}}) << true;
    QTest::newRow("no wage leaves the amount alone") << lineOf({{kHours, t("8")}, {kAmount, 123.0}}) << int(kHours)
                                                     << "" << none << lineOf({{kHours, 8.0}, {kAmount, 123.0}}) << true;
    // A typed amount is not computed over, but the totals must follow it.
    QTest::newRow("an amount typed over stays and updates the totals")
        << lineOf({{kHours, 8.0}, {kWage, 1000.0}, {kAmount, t("7000")}}) << int(kAmount) << "" << none
        << lineOf({{kHours, 8.0}, {kWage, 1000.0}, {kAmount, 7000.0}}) << true;
    QTest::newRow("an emptied amount ends as null and updates the totals")
        << lineOf({{kHours, 8.0}, {kWage, 1000.0}, {kAmount, none}}) << int(kAmount) << "" << none
        << lineOf({{kHours, 8.0}, {kWage, 1000.0}}) << true;
    QTest::newRow("a line number edit touches nothing")
        << lineOf({{kHours, 8.0}}) << int(kLineNo) << "" << none << lineOf({{kHours, 8.0}}) << false;

    // Full-width digits from Japanese input are the same digits.
    QTest::newRow("full-width date fills the day")
        << lineOf({{kDate, QStringLiteral("２００７０３３１")}}) << int(kDate) << "A" << wage << dayOf31March << true;
    QTest::newRow("full-width times")
        << lineOf({{kStart, t("0900")}, {kEnd, QStringLiteral("１７３０")}, {kWage, 1000.0}}) << int(kEnd) << "" << none
        << lineOf({{kStart, t("0900")}, {kEnd, t("1730")}, {kHours, 8.5}, {kWage, 1000.0}, {kAmount, 8500.0}}) << true;
    QTest::newRow("full-width break and wage text")
        << lineOf({{kHours, 8.0}, {kWage, QStringLiteral("１，２００")}}) << int(kWage) << "" << none
        << lineOf({{kHours, 8.0}, {kWage, 1200.0}, {kAmount, 9600.0}}) << true;
    // Anything else that is no ASCII digit is refused as letters are.
    QTest::newRow("arabic-indic time is emptied")
        << lineOf({{kStart, QStringLiteral("٠٩٠٠")}, {kEnd, t("1800")}, {kHours, 3.0}}) << int(kStart) << "" << none
        << lineOf({{kEnd, t("1800")}, {kHours, 3.0}}) << true;
    QTest::newRow("devanagari date is emptied")
        << lineOf({{kDate, QStringLiteral("२००७०३३१")}}) << int(kDate) << "A" << none << lineOf({}) << true;
    QTest::newRow("date with a space is emptied")
        << lineOf({{kDate, t("2007 331")}}) << int(kDate) << "A" << none << lineOf({}) << true;
    QTest::newRow("seven digits fill nothing")
        << lineOf({{kDate, t("2007031")}}) << int(kDate) << "A" << none << lineOf({}) << true;
    QTest::newRow("an exponent as hours is no number")
        << lineOf({{kHours, t("1e308")}, {kWage, 1000.0}, {kAmount, 5.0}}) << int(kHours) << "" << none
        << lineOf({{kWage, 1000.0}, {kAmount, 5.0}}) << true;
    QTest::newRow("nan as a wage is no number")
        << lineOf({{kHours, 8.0}, {kWage, t("nan")}}) << int(kWage) << "" << none << lineOf({{kHours, 8.0}}) << true;
    QTest::newRow("a refused negative wage takes the box's, as any emptied wage")
        << lineOf({{kHours, 8.0}, {kWage, t("-900")}}) << int(kWage) << "" << QVariant(1200.0)
        << lineOf({{kHours, 8.0}, {kWage, 1200.0}, {kAmount, 9600.0}}) << true;
    QTest::newRow("a wage over the bound is no number") << lineOf({{kHours, 8.0}, {kWage, t("123456789")}})
                                                        << int(kWage) << "" << none << lineOf({{kHours, 8.0}}) << true;
}

void TestDetailLine::afterEdit()
{
    QFETCH(Line, line);
    QFETCH(int, column);
    QFETCH(QString, patternType);
    QFETCH(QVariant, wageBox);
    QFETCH(Line, expected);
    QFETCH(bool, recalculate);
    const EditOutcome outcome = completeAfterEdit(
        line, column, patternType, [] { return kDayShift; }, wageBox);
    for (int c = 0; c < kColumnCount; ++c) {
        const QVariant &got = outcome.line[c];
        const QVariant &want = expected[c];
        QVERIFY2(worktime::sameValue(got, want),
                 qPrintable(QStringLiteral("column %1: got %2, want %3").arg(c).arg(describe(got), describe(want))));
    }
    QCOMPARE(outcome.recalculateTotals, recalculate);
}

void TestDetailLine::refusals_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("patternBreak");
    QTest::addColumn<Line>("expected");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<int>("refusedColumn");

    const auto t = [](const char *s) {
        return QVariant(QString::fromLatin1(s));
    };
    const int breakRange = int(Refusal::BreakOutOfRange);
    const int negative = int(Refusal::Negative);
    const int none = int(Refusal::None);
    const QVariant dayBreak(1.0);

    QTest::newRow("45 minutes typed as a break on a one-hour line") << lineOf(
        {{kStart, t("0900")}, {kEnd, t("1000")}, {kBreak, t("45")}, {kHours, 1.0}, {kWage, 1000.0}, {kAmount, 1000.0}})
                                                                    << int(kBreak) << dayBreak
                                                                    << lineOf({{kStart, t("0900")},
                                                                               {kEnd, t("1000")},
                                                                               {kHours, 1.0},
                                                                               {kWage, 1000.0},
                                                                               {kAmount, 1000.0}})
                                                                    << breakRange << int(kBreak);
    QTest::newRow("a break as long as the span")
        << lineOf({{kStart, t("0900")}, {kEnd, t("1000")}, {kBreak, t("1")}, {kWage, 1000.0}}) << int(kBreak)
        << dayBreak
        << lineOf({{kStart, t("0900")}, {kEnd, t("1000")}, {kHours, 1.0}, {kWage, 1000.0}, {kAmount, 1000.0}})
        << breakRange << int(kBreak);
    QTest::newRow("a break just shorter than the span stays")
        << lineOf({{kStart, t("0900")}, {kEnd, t("1000")}, {kBreak, t("0.75")}, {kWage, 1000.0}}) << int(kBreak)
        << dayBreak
        << lineOf({{kStart, t("0900")},
                   {kEnd, t("1000")},
                   {kBreak, 0.75},
                   {kHours, 0.25},
                   {kWage, 1000.0},
                   {kAmount, 250.0}})
        << none << -1;
    QTest::newRow("a zero break on a zero span stays")
        << lineOf({{kStart, t("0900")}, {kEnd, t("0900")}, {kBreak, t("0")}}) << int(kBreak) << dayBreak
        << lineOf({{kStart, t("0900")}, {kEnd, t("0900")}, {kBreak, 0.0}, {kHours, 0.0}}) << none << -1;
    QTest::newRow("a negative break")
        << lineOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, t("-1")}, {kWage, 1000.0}}) << int(kBreak)
        << dayBreak
        << lineOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kHours, 9.0}, {kWage, 1000.0}, {kAmount, 9000.0}})
        << breakRange << int(kBreak);
    QTest::newRow("a negative break without times")
        << lineOf({{kBreak, t("-0.5")}}) << int(kBreak) << dayBreak << lineOf({}) << breakRange << int(kBreak);
    QTest::newRow("a break without times waits for them")
        << lineOf({{kBreak, t("2")}}) << int(kBreak) << dayBreak << lineOf({{kBreak, 2.0}}) << none << -1;
    QTest::newRow("a break beyond a day is refused without times")
        << lineOf({{kBreak, t("45")}}) << int(kBreak) << dayBreak << lineOf({}) << breakRange << int(kBreak);
    QTest::newRow("an end that leaves the break too long empties the break") << lineOf(
        {{kStart, t("0900")}, {kEnd, t("0930")}, {kBreak, 1.0}, {kHours, 8.0}, {kWage, 1000.0}, {kAmount, 8000.0}})
                                                                             << int(kEnd) << dayBreak
                                                                             << lineOf({{kStart, t("0900")},
                                                                                        {kEnd, t("0930")},
                                                                                        {kHours, 0.5},
                                                                                        {kWage, 1000.0},
                                                                                        {kAmount, 500.0}})
                                                                             << breakRange << int(kBreak);
    QTest::newRow("a start that leaves the break too long empties the break")
        << lineOf({{kStart, t("1730")}, {kEnd, t("1800")}, {kBreak, 1.0}, {kWage, 1000.0}}) << int(kStart) << dayBreak
        << lineOf({{kStart, t("1730")}, {kEnd, t("1800")}, {kHours, 0.5}, {kWage, 1000.0}, {kAmount, 500.0}})
        << breakRange << int(kBreak);
    QTest::newRow("a refused start leaves the break alone")
        << lineOf({{kStart, t("2500")}, {kEnd, t("0930")}, {kBreak, 1.0}, {kHours, 8.0}}) << int(kStart) << dayBreak
        << lineOf({{kEnd, t("0930")}, {kBreak, 1.0}, {kHours, 8.0}}) << int(Refusal::Unreadable) << int(kStart);
    QTest::newRow("a shift type whose break is too long")
        << lineOf({{kDate, t("20070331")}, {kWage, 1000.0}}) << int(kDate) << QVariant(9.0)
        << lineOf({{kDate, t("20070331")},
                   {kStart, t("0900")},
                   {kEnd, t("1800")},
                   {kHours, 9.0},
                   {kWage, 1000.0},
                   {kAmount, 9000.0}})
        << breakRange << int(kBreak);
    QTest::newRow("a shift type whose break is negative")
        << lineOf({{kDate, t("20070331")}}) << int(kDate) << QVariant(-1.0)
        << lineOf({{kDate, t("20070331")}, {kStart, t("0900")}, {kEnd, t("1800")}, {kHours, 9.0}}) << breakRange
        << int(kBreak);
    QTest::newRow("negative hours") << lineOf({{kHours, t("-8")}, {kWage, 1000.0}, {kAmount, 8000.0}}) << int(kHours)
                                    << dayBreak << lineOf({{kWage, 1000.0}, {kAmount, 8000.0}}) << negative
                                    << int(kHours);
    QTest::newRow("negative full-width hours")
        << lineOf({{kHours, QStringLiteral("－８")}, {kWage, 1000.0}}) << int(kHours) << dayBreak
        << lineOf({{kWage, 1000.0}}) << negative << int(kHours);
    QTest::newRow("negative wage") << lineOf({{kHours, 8.0}, {kWage, t("-1000")}}) << int(kWage) << dayBreak
                                   << lineOf({{kHours, 8.0}}) << negative << int(kWage);
    QTest::newRow("a negative wage stored as a number")
        << lineOf({{kHours, 8.0}, {kWage, -1000.0}}) << int(kWage) << dayBreak << lineOf({{kHours, 8.0}}) << negative
        << int(kWage);
    QTest::newRow("a negative adjustment is a deduction")
        << lineOf({{kHours, 8.0}, {kWage, 1000.0}, {kAdjustment, t("-9000")}}) << int(kAdjustment) << dayBreak
        << lineOf({{kHours, 8.0}, {kWage, 1000.0}, {kAdjustment, -9000.0}, {kAmount, -1000.0}}) << none << -1;
    QTest::newRow("a negative amount typed over stays")
        << lineOf({{kAmount, t("-500")}}) << int(kAmount) << dayBreak << lineOf({{kAmount, -500.0}}) << none << -1;
}

void TestDetailLine::refusals()
{
    QFETCH(Line, line);
    QFETCH(int, column);
    QFETCH(QVariant, patternBreak);
    QFETCH(Line, expected);
    QFETCH(int, refusal);
    QFETCH(int, refusedColumn);
    const patterns::PatternTimes pattern{QStringLiteral("0900"), QStringLiteral("1800"), patternBreak, 8.0};
    const EditOutcome outcome = completeAfterEdit(line, column, QStringLiteral("A"), [&] { return pattern; }, {});
    for (int c = 0; c < kColumnCount; ++c) {
        const QVariant &got = outcome.line[c];
        const QVariant &want = expected[c];
        QVERIFY2(worktime::sameValue(got, want),
                 qPrintable(QStringLiteral("column %1: got %2, want %3").arg(c).arg(describe(got), describe(want))));
    }
    QCOMPARE(int(outcome.refusal), refusal);
    QCOMPARE(outcome.refusedColumn, refusedColumn);
    QVERIFY(outcome.recalculateTotals);
}

void TestDetailLine::patternLookedUpOnlyForAValidDate()
{
    int lookups = 0;
    const auto lookUp = [&lookups] {
        ++lookups;
        return patterns::PatternTimes{};
    };
    completeAfterEdit(lineOf({{kDate, QStringLiteral("20070230")}}), kDate, QStringLiteral("A"), lookUp, {});
    completeAfterEdit(lineOf({{kStart, QStringLiteral("0900")}}), kStart, QStringLiteral("A"), lookUp, {});
    QCOMPARE(lookups, 0);
    // A type the master does not hold empties the day's times.
    const EditOutcome outcome = completeAfterEdit(
        lineOf({{kDate, QStringLiteral("20070331")}, {kStart, QStringLiteral("0800")}, {kHours, 4.0}}), kDate,
        QStringLiteral("Z"), lookUp, {});
    QCOMPARE(lookups, 1);
    QVERIFY(outcome.line[kStart].isNull());
    QVERIFY(outcome.line[kHours].isNull());
}

void TestDetailLine::fillFromPatternReplacesTheWage()
{
    const Line filled =
        fillFromPattern(lineOf({{kDate, QStringLiteral("20070401")}, {kWage, 900.0}}), kDayShift, QVariant(1100.0));
    QCOMPARE(filled[kStart].toString(), QStringLiteral("0900"));
    QCOMPARE(filled[kHours].toDouble(), 8.0);
    QCOMPARE(filled[kWage].toDouble(), 1100.0);
    QCOMPARE(filled[kAmount].toDouble(), 8800.0);
    // Without a wage in the box the line keeps its own.
    const Line kept = fillFromPattern(lineOf({{kWage, 900.0}}), kDayShift, QVariant());
    QCOMPARE(kept[kWage].toDouble(), 900.0);
    QCOMPARE(kept[kAmount].toDouble(), 7200.0);
}

void TestDetailLine::captions()
{
    QCOMPARE(patternCaption(QStringLiteral("0900"), QStringLiteral("1800"), 1.0, 8.0, 3),
             QStringLiteral("9:00 ～ 18:00   休憩 1   実労 8"));
    QCOMPARE(patternCaption(QStringLiteral("0900"), QStringLiteral("1730"), 0.75, 7.75, 2),
             QStringLiteral("9:00 ～ 17:30   休憩 0.75  実労 7.75"));
    QCOMPARE(patternCaption(QVariant(), QVariant(), QVariant(), QVariant(), 2), QStringLiteral(" ～    休憩   実労 "));
}

QTEST_GUILESS_MAIN(TestDetailLine)
#include "tst_detailline.moc"
