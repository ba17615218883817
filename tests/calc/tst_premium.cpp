#include "calc/Premium.h"
#include "calc/WorkTime.h"
#include "masters/PaySettings.h"

#include <QTest>

#include <cmath>

using namespace pelmar;
using premium::DayLine;
using premium::LinePay;
using premium::Rounding;
using premium::Rules;

Q_DECLARE_METATYPE(Rounding)
Q_DECLARE_METATYPE(Rules)

namespace {

// "-" is an empty cell.
QVariant cell(const QString &text)
{
    return text == u"-" ? QVariant() : QVariant(text);
}

// One line as "date start end break hours wage adjustment".
DayLine line(int row, const QString &fields)
{
    const QStringList f = fields.split(u' ', Qt::SkipEmptyParts);
    Q_ASSERT(f.size() == 7);
    DayLine l;
    l.row = row;
    l.date = cell(f[0]);
    l.start = cell(f[1]);
    l.end = cell(f[2]);
    l.breakHours = cell(f[3]);
    l.hours = cell(f[4]);
    l.wage = cell(f[5]);
    l.adjustment = cell(f[6]);
    return l;
}

// A line's pay as "night overtime premium amount", "-" for none.
QString payText(const LinePay &pay)
{
    const auto text = [](const QVariant &value) {
        if (value.isNull())
            return QStringLiteral("-");
        // Hours to the second and yen to the hundredth read the same.
        return QString::number(std::round(value.toDouble() * 3600) / 3600, 'g', 10);
    };
    return QStringList{text(pay.night), text(pay.overtime), text(pay.premium),
                       pay.amount ? text(*pay.amount) : QStringLiteral("-")}
        .join(u' ');
}

Rules both(Rounding rounding = Rounding::None)
{
    Rules rules;
    rules.night = true;
    rules.overtime = true;
    rules.rounding = rounding;
    return rules;
}

// Monday 2 March 2026 to Saturday 7 March, each from `start` to `end` with the break and hours given.
QStringList sixDays(const QString &times)
{
    QStringList lines;
    for (int day = 2; day <= 7; ++day)
        lines << QStringLiteral("2026030%1 %2").arg(day).arg(times);
    return lines;
}

} // namespace

class TestPremium : public QObject {
    Q_OBJECT
private slots:
    void nightSpan_data();
    void nightSpan();
    void statementPay_data();
    void statementPay();
    void premiumsOffPayExactlyThePlainRule();
    void lawCases_data();
    void lawCases();
    void roundYen_data();
    void roundYen();
    void breakCheck_data();
    void breakCheck();
    void damagedBreakCountsAsNone_data();
    void damagedBreakCountsAsNone();
};

void TestPremium::nightSpan_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<double>("hours"); // -1: none
    QTest::newRow("day shift") << "0900"
                               << "1800" << 0.0;
    QTest::newRow("into the night") << "1800"
                                    << "2300" << 1.0;
    QTest::newRow("over midnight") << "2200"
                                   << "0600" << 7.0;
    QTest::newRow("evening to morning") << "2000"
                                        << "0800" << 7.0;
    QTest::newRow("early morning") << "0400"
                                   << "1300" << 1.0;
    QTest::newRow("from midnight") << "0000"
                                   << "0500" << 5.0;
    QTest::newRow("hour 24 starts the night's rest") << "2400"
                                                     << "0300" << 3.0;
    QTest::newRow("ends as the next night starts") << "2300"
                                                   << "2200" << 6.0;
    QTest::newRow("end equals start") << "1700"
                                      << "1700" << 0.0;
    QTest::newRow("quarter hours") << "2145"
                                   << "0515" << 7.0;
    QTest::newRow("no end") << "2200"
                            << "-" << -1.0;
    QTest::newRow("unreadable start") << "22:0"
                                      << "0600" << -1.0;
}

void TestPremium::nightSpan()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(double, hours);
    const std::optional<double> night = premium::nightSpanHours(cell(start), cell(end));
    if (hours < 0) {
        QVERIFY(!night);
        return;
    }
    QVERIFY(night);
    QCOMPARE(*night, hours);
}

void TestPremium::statementPay_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QStringList>("lines"); // date start end break hours wage adjustment
    QTest::addColumn<QStringList>("pay"); // night overtime premium amount

    QTest::newRow("premiums off: amounts as ever, the hours still counted")
        << Rules{} << QStringList{"20260302 0900 1800 1 8 1000 -", "20260303 2200 0600 0 8 1000 -500"}
        << QStringList{"0 0 0 8000", "7 0 0 7500"};
    QTest::newRow("day shift") << both() << QStringList{"20260302 0900 1800 1 8 1000 -"} << QStringList{"0 0 0 8000"};
    QTest::newRow("22:00-06:00 without a break")
        << both() << QStringList{"20260302 2200 0600 - 8 1000 -"} << QStringList{"7 0 1750 9750"};
    QTest::newRow("22:00-06:00, the hour's break out of 05:00-06:00")
        << both() << QStringList{"20260302 2200 0600 1 7 1000 -"} << QStringList{"7 0 1750 8750"};
    QTest::newRow("22:00-06:00, a two-hour break reaches the night")
        << both() << QStringList{"20260302 2200 0600 2 6 1000 -"} << QStringList{"6 0 1500 7500"};
    QTest::newRow("10-hour day") << both() << QStringList{"20260302 0800 1900 1 10 1000 -"}
                                 << QStringList{"0 2 500 10500"};
    QTest::newRow("night and overtime hours both paid")
        << both() << QStringList{"20260302 1800 0500 1 10 1000 300"} << QStringList{"7 2 2250 12550"};
    QTest::newRow("hours typed without times: overtime only")
        << both() << QStringList{"20260302 - - - 10 1000 -"} << QStringList{"0 2 500 10500"};
    QTest::newRow("night hours never above the hours worked")
        << both() << QStringList{"20260302 2200 0600 - 5 1000 -"} << QStringList{"5 0 1250 6250"};

    QTest::newRow("week crosses 40 hours on Saturday")
        << both()
        << sixDays(QStringLiteral("0900 1800 1 8 1000 -")).mid(0, 5) + QStringList{"20260307 0900 1500 1 5 1000 -"}
        << QStringList{"0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 5 1250 6250"};
    QTest::newRow("daily overtime is not counted again for the week")
        << both() << sixDays(QStringLiteral("0800 1800 1 9 1000 -"))
        << QStringList{"0 1 250 9250", "0 1 250 9250", "0 1 250 9250",
                       "0 1 250 9250", "0 1 250 9250", "0 9 2250 11250"};
    Rules fromThursday = both();
    fromThursday.weekStart = Qt::Thursday;
    QTest::newRow("week from Thursday: two weeks of 24 hours")
        << fromThursday << sixDays(QStringLiteral("0900 1800 1 8 1000 -"))
        << QStringList{"0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000"};
    QTest::newRow("the next week starts from nothing")
        << both()
        << sixDays(QStringLiteral("0900 1800 1 8 1000 -")).mid(0, 5) + QStringList{"20260308 0900 1800 1 8 1000 -"}
        << QStringList{"0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000"};
    QTest::newRow("lines in any order: the week's last day gets the overtime")
        << both()
        << QStringList{"20260307 0900 1500 1 5 1000 -"} + sixDays(QStringLiteral("0900 1800 1 8 1000 -")).mid(0, 5)
        << QStringList{"0 5 1250 6250", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000"};
    QTest::newRow("a split day: its later shift gets the day's overtime")
        << both() << QStringList{"20260302 1400 1900 - 5 1000 -", "20260302 0900 1300 - 4 1000 -"}
        << QStringList{"0 1 250 5250", "0 0 0 4000"};
    QTest::newRow("a night shift counts as the day it started, not the morning after")
        << both() << QStringList{"20260302 2200 0600 - 8 1000 -", "20260303 0900 1300 - 4 1000 -"}
        << QStringList{"7 0 1750 9750", "0 0 0 4000"};
    QTest::newRow("long day then long night")
        << both() << QStringList{"20260302 1300 2300 1 9 1000 -", "20260303 2200 0800 1 9 1000 -"}
        << QStringList{"1 1 500 9500", "7 1 2000 11000"};
    QTest::newRow("a line without a date stands alone")
        << both() << sixDays(QStringLiteral("0900 1800 1 8 1000 -")).mid(0, 5) + QStringList{"- 0800 1900 1 10 1000 -"}
        << QStringList{"0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 0 0 8000", "0 2 500 10500"};

    Rules overtimeOnly;
    overtimeOnly.overtime = true;
    QTest::newRow("overtime only: no night hours")
        << overtimeOnly << QStringList{"20260302 2200 0800 1 9 1000 -"} << QStringList{"7 1 250 9250"};
    Rules nightAtHalf;
    nightAtHalf.night = true;
    nightAtHalf.nightRate = 50;
    QTest::newRow("night only, at 50 %") << nightAtHalf << QStringList{"20260302 2200 0800 1 9 1000 -"}
                                         << QStringList{"7 1 3500 12500"};
    QTest::newRow("no wage: hours without yen, amount left as it is")
        << both() << QStringList{"20260302 2200 0600 - 8 - -"} << QStringList{"7 0 - -"};
    QTest::newRow("no hours: nothing at all")
        << both() << QStringList{"20260302 2200 0600 - - 1000 -", "- - - - - - -"} << QStringList{"- - - -", "- - - -"};

    // 7.75 hours over 8 at 1000 yen × 1.25: 9687.5 yen, of which 1937.5 premium.
    const QStringList overtimeOf775{"20260302 - - - 15.75 1000 -"};
    QTest::newRow("7.75 overtime hours, no rounding")
        << both() << overtimeOf775 << QStringList{"0 7.75 1937.5 17687.5"};
    QTest::newRow("7.75 overtime hours, down")
        << both(Rounding::Down) << overtimeOf775 << QStringList{"0 7.75 1937.5 17687"};
    QTest::newRow("7.75 overtime hours, half up")
        << both(Rounding::HalfUp) << overtimeOf775 << QStringList{"0 7.75 1937.5 17688"};
    QTest::newRow("7.75 overtime hours, up")
        << both(Rounding::Up) << overtimeOf775 << QStringList{"0 7.75 1937.5 17688"};
    // 8 h 20 min at 1013 yen: 8441.67 + a premium of 84.42, rounded once:
    // 8526.08, so down pays 8526, not 8441 + 84 = 8525.
    const QStringList twentyPast{"20260302 0900 1720 - 8.333333333333334 1013 -"};
    QTest::newRow("a third of an hour over, half up")
        << both(Rounding::HalfUp) << twentyPast << QStringList{"0 0.3333333333 84.41666667 8526"};
    QTest::newRow("a third of an hour over, down")
        << both(Rounding::Down) << twentyPast << QStringList{"0 0.3333333333 84.41666667 8526"};
    QTest::newRow("a third of an hour over, up")
        << both(Rounding::Up) << twentyPast << QStringList{"0 0.3333333333 84.41666667 8527"};
    Rules roundingOnly;
    roundingOnly.rounding = Rounding::Down;
    QTest::newRow("rounding without premiums: 8.2 h at 950 yen is 7790, not 7789")
        << roundingOnly << QStringList{"20260302 - - - 8.2 950 -"} << QStringList{"0 0.2 0 7790"};
    roundingOnly.rounding = Rounding::HalfUp;
    QTest::newRow("rounding a deduction: its size is rounded")
        << roundingOnly << QStringList{"20260302 - - - 0.5 25 -25"} << QStringList{"0 0 0 -13"};
}

void TestPremium::statementPay()
{
    QFETCH(Rules, rules);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, pay);
    QList<DayLine> dayLines;
    for (int i = 0; i < lines.size(); ++i)
        dayLines << line(i + 1, lines.at(i));
    const QList<LinePay> computed = premium::payOfLines(dayLines, rules);
    QCOMPARE(computed.size(), lines.size());
    QStringList got;
    for (const LinePay &p : computed)
        got << payText(p);
    QCOMPARE(got, pay);
    // The premium yen is inside the amount.
    for (int i = 0; i < computed.size(); ++i) {
        const LinePay &p = computed.at(i);
        if (p.amount && !p.premium.isNull() && rules.rounding == Rounding::None) {
            const auto plain = worktime::amountOf(dayLines[i].hours, dayLines[i].wage, dayLines[i].adjustment);
            QVERIFY(plain);
            QCOMPARE(*p.amount, *plain + p.premium.toDouble());
        }
    }
}

// The cases the Labour Standards Act settles at the edges of a statement.
void TestPremium::lawCases_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QStringList>("earlier"); // lines of other statements
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("pay"); // night overtime over60 rest premium amount

    // 4.25 h at 1,350 yen with half an hour of night: 5,737.5 + 168.75.
    const QStringList nightHalfHour{"20261201 1800 2230 0.25 4.25 1350 -"};
    const Rounding modes[] = {Rounding::None, Rounding::Down, Rounding::HalfUp, Rounding::Up};
    const char *const amounts[] = {"5906.25", "5906", "5906", "5907"};
    for (int i = 0; i < 4; ++i)
        QTest::addRow("rounded once: %s", qPrintable(settings::roundingName(modes[i])))
            << both(modes[i]) << QStringList{} << nightHalfHour
            << QStringList{QStringLiteral("0.5 0 0 0 168.75 %1").arg(amounts[i])};

    // Sunday 29 November to Saturday 5 December 2026, split between two statements.
    const QStringList december{"20261201 0900 1800 1 8 1000 -", "20261202 0900 1800 1 8 1000 -",
                               "20261203 0900 1800 1 8 1000 -", "20261204 0900 1800 1 8 1000 -",
                               "20261205 0900 1800 1 8 1000 -"};
    QTest::newRow("a week across two statements: its hours over 40 on the December lines")
        << both() << QStringList{"20261130 0900 1800 1 8 1000 -"} << december
        << QStringList{"0 0 0 0 0 8000", "0 0 0 0 0 8000", "0 0 0 0 0 8000", "0 0 0 0 0 8000", "0 8 0 0 2000 10000"};
    QTest::newRow("a later statement's lines change nothing")
        << both() << december << QStringList{"20261130 0900 1800 1 8 1000 -"} << QStringList{"0 0 0 0 0 8000"};

    // 15.25 h of daily overtime on each of four days: the 61st hour at 50 %,
    // lying in a night shift that also earns the night premium.
    QTest::newRow("61 hours of overtime")
        << both() << QStringList{}
        << QStringList{"20260302 - - - 23.25 1000 -", "20260303 - - - 23.25 1000 -", "20260304 - - - 23.25 1000 -",
                       "20260305 0600 0530 0.25 23.25 1000 -"}
        << QStringList{"0 15.25 0 0 3812.5 27062.5", "0 15.25 0 0 3812.5 27062.5", "0 15.25 0 0 3812.5 27062.5",
                       "7 15.25 1 0 5812.5 29062.5"};

    Rules sundayRest = both();
    sundayRest.restDay = Qt::Sunday;
    QTest::newRow("into the rest day at night: its hours after midnight are rest-day hours")
        << sundayRest << QStringList{} << QStringList{"20260307 2000 0400 - 8 1000 -"}
        << QStringList{"6 0 0 4 2900 10900"};
    QTest::newRow("out of the rest day: its hours after midnight are the next day's")
        << sundayRest << QStringList{} << QStringList{"20260308 2000 0600 - 10 1000 -"}
        << QStringList{"7 0 0 4 3150 13150"};
    QTest::newRow("rest-day hours count towards neither 8 nor 40 hours")
        << sundayRest << QStringList{}
        << QStringList{"20260301 0800 2000 1 11 1000 -"} + sixDays(QStringLiteral("0900 1800 1 8 1000 -")).mid(0, 5)
        << QStringList{"0 0 0 11 3850 14850", "0 0 0 0 0 8000", "0 0 0 0 0 8000",
                       "0 0 0 0 0 8000",      "0 0 0 0 0 8000", "0 0 0 0 0 8000"};

    // Sunday 6 December 2026 is the rest day. 22:00-07:00 with an hour's
    // break: 2 rest-day hours (both night), then 00:00-07:00 of Monday, whose
    // hour of break comes out of 05:00-07:00: 5 night hours and 1 plain, 6
    // hours of Monday. Monday's 09:00-13:00 makes the day 10 hours: 2 over 8.
    //   line 1: 8 h × 1000 + night 7 × 250 + rest 2 × 350 = 10,450
    //   line 2: 4 h × 1000 + overtime 2 × 250 = 4,500
    QTest::newRow("out of the rest day: the hours after midnight count in the next day's 8")
        << sundayRest << QStringList{} << QStringList{"20261206 2200 0700 1 8 1000 -", "20261207 0900 1300 - 4 1000 -"}
        << QStringList{"7 0 0 2 2450 10450", "0 2 0 0 500 4500"};
    QTest::newRow("out of the rest day, typed as two lines at midnight")
        << sundayRest << QStringList{}
        << QStringList{"20261206 2200 2400 - 2 1000 -", "20261207 0000 0700 1 6 1000 -",
                       "20261207 0900 1300 - 4 1000 -"}
        << QStringList{"2 0 0 2 1200 3200", "5 0 0 0 1250 7250", "0 2 0 0 500 4500"};
    // A week from Monday: the 40 hours of Monday 30 November to Friday 4
    // December are full, and the shift out of Sunday opens the next week.
    Rules sundayRestMondayWeek = sundayRest;
    sundayRestMondayWeek.weekStart = Qt::Monday;
    QTest::newRow("out of the rest day: the hours after midnight count in the next week's 40")
        << sundayRestMondayWeek
        << QStringList{"20261130 0900 1800 1 8 1000 -", "20261201 0900 1800 1 8 1000 -",
                       "20261202 0900 1800 1 8 1000 -", "20261203 0900 1800 1 8 1000 -",
                       "20261204 0900 1800 1 8 1000 -"}
        << QStringList{"20261206 2200 0700 1 8 1000 -"} << QStringList{"7 0 0 2 2450 10450"};
    // The mirror: Saturday 5 December 08:00-17:00 is 8 hours; 22:00-07:00
    // runs into Sunday. Its hours before midnight are Saturday's (the hour's
    // break out of them, the lower premium): 1 hour over the day's 8; the
    // seven after midnight are rest-day hours, five of them night.
    //   line 2: 8 h × 1000 + night 6 × 250 + overtime 1 × 250 + rest 7 × 350 = 12,200
    QTest::newRow("into the rest day: the hours before midnight count in the day's 8")
        << sundayRest << QStringList{} << QStringList{"20261205 0800 1700 1 8 1000 -", "20261205 2200 0700 1 8 1000 -"}
        << QStringList{"0 0 0 0 0 8000", "6 1 0 7 4200 12200"};
    QTest::newRow("into the rest day, typed as two lines at midnight")
        << sundayRest << QStringList{}
        << QStringList{"20261205 0800 1700 1 8 1000 -", "20261205 2200 2400 - 2 1000 -",
                       "20261206 0000 0700 1 6 1000 -"}
        << QStringList{"0 0 0 0 0 8000", "2 2 0 0 1000 3000", "5 0 0 6 3350 9350"};
    QTest::newRow("a shift split at midnight is one shift of its first day")
        << both() << QStringList{}
        << QStringList{"20260302 1600 2400 1 7 1000 -", "20260303 0000 0300 - 3 1000 -",
                       "20260303 0900 1500 - 6 1000 -"}
        << QStringList{"2 0 0 0 500 7500", "3 2 0 0 1250 4250", "0 0 0 0 0 6000"};
    QTest::newRow("ended at 0000 as well")
        << both() << QStringList{} << QStringList{"20260302 1600 0000 1 7 1000 -", "20260303 0000 0300 - 3 1000 -"}
        << QStringList{"2 0 0 0 500 7500", "3 2 0 0 1250 4250"};
}

void TestPremium::lawCases()
{
    QFETCH(Rules, rules);
    QFETCH(QStringList, earlier);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, pay);
    QList<DayLine> dayLines, earlierLines;
    for (int i = 0; i < lines.size(); ++i)
        dayLines << line(i + 1, lines.at(i));
    for (int i = 0; i < earlier.size(); ++i)
        earlierLines << line(i + 1, earlier.at(i));
    QStringList got;
    for (const LinePay &p : premium::payOfLines(dayLines, rules, earlierLines)) {
        const QStringList fields = payText(p).split(u' ');
        const auto hours = [](const QVariant &value) {
            return QString::number(std::round(value.toDouble() * 3600) / 3600, 'g', 10);
        };
        got << QStringList{fields[0], fields[1], hours(p.over60), hours(p.restDay), fields[2], fields[3]}.join(u' ');
    }
    QCOMPARE(got, pay);
}

// With no premium and no rounding every amount is bit for bit what the
// plain rule gives, so statements pay exactly as before.
void TestPremium::premiumsOffPayExactlyThePlainRule()
{
    QList<DayLine> lines;
    int row = 0;
    for (const char *hours : {"8.333333333333334", "7.75", "0.57", "12", "-3"})
        for (const char *wage : {"1013", "100", "1234.5"})
            for (const char *adjustment : {"-", "-500", "0.1"})
                lines << line(++row, QStringLiteral("20260302 - - - %1 %2 %3").arg(hours, wage, adjustment));
    const QList<LinePay> pay = premium::payOfLines(lines, Rules{});
    for (int i = 0; i < lines.size(); ++i) {
        const auto plain = worktime::amountOf(lines[i].hours, lines[i].wage, lines[i].adjustment);
        QVERIFY(plain && pay[i].amount);
        QVERIFY2(*pay[i].amount == *plain, qPrintable(QString::number(*pay[i].amount, 'g', 17)));
        QCOMPARE(pay[i].premium.toDouble(), 0.0);
    }
}

void TestPremium::roundYen_data()
{
    QTest::addColumn<double>("yen");
    QTest::addColumn<Rounding>("rounding");
    QTest::addColumn<double>("rounded");
    QTest::newRow("none keeps the fraction") << 9687.5 << Rounding::None << 9687.5;
    QTest::newRow("half up: .5") << 9687.5 << Rounding::HalfUp << 9688.0;
    QTest::newRow("half up: .4999") << 2.4999 << Rounding::HalfUp << 2.0;
    QTest::newRow("down") << 9687.5 << Rounding::Down << 9687.0;
    QTest::newRow("up") << 9687.01 << Rounding::Up << 9688.0;
    QTest::newRow("whole yen stays") << 8000.0 << Rounding::Up << 8000.0;
    QTest::newRow("down: 100 × 0.57 is 57") << 100 * 0.57 << Rounding::Down << 57.0;
    QTest::newRow("down: 950 × 8.2 is 7790") << 950 * 8.2 << Rounding::Down << 7790.0;
    QTest::newRow("up: 1100 × 0.14 is 154") << 1100 * 0.14 << Rounding::Up << 154.0;
    QTest::newRow("half up, negative") << -12.5 << Rounding::HalfUp << -13.0;
    QTest::newRow("down, negative") << -12.5 << Rounding::Down << -12.0;
    QTest::newRow("up, negative") << -12.1 << Rounding::Up << -13.0;
    QTest::newRow("down, a deduction under a yen") << -0.4 << Rounding::Down << 0.0;
}

void TestPremium::roundYen()
{
    QFETCH(double, yen);
    QFETCH(Rounding, rounding);
    QFETCH(double, rounded);
    const double result = premium::roundYen(yen, rounding);
    QCOMPARE(result, rounded);
    QVERIFY(!std::signbit(result) || rounded < 0); // no "-0" on a slip
    QVERIFY(std::isnan(premium::roundYen(std::nan(""), rounding)));
}

void TestPremium::breakCheck_data()
{
    QTest::addColumn<QVariant>("hours");
    QTest::addColumn<QVariant>("rest");
    QTest::addColumn<bool>("tooShort");
    const QVariant none;
    QTest::newRow("6 hours, no break") << QVariant(6.0) << none << false;
    QTest::newRow("6 hours and a minute, no break") << QVariant(6 + 1 / 60.0) << none << true;
    QTest::newRow("6 hours from float noise") << QVariant(6.0000000001) << QVariant(0.0) << false;
    QTest::newRow("6.5 hours, 30 minutes") << QVariant(6.5) << QVariant(0.5) << true;
    QTest::newRow("6.5 hours, 45 minutes") << QVariant(6.5) << QVariant(0.75) << false;
    QTest::newRow("8 hours, 45 minutes") << QVariant(8.0) << QVariant(0.75) << false;
    QTest::newRow("8.5 hours, 45 minutes") << QVariant(8.5) << QVariant(0.75) << true;
    QTest::newRow("8.5 hours, an hour") << QVariant(8.5) << QVariant(1.0) << false;
    QTest::newRow("9 hours, break as text") << QVariant(9.0) << QVariant(QStringLiteral("1")) << false;
    QTest::newRow("7 hours, empty break text") << QVariant(7.0) << QVariant(QString()) << true;
    QTest::newRow("no hours") << none << none << false;
    QTest::newRow("5 hours, no break") << QVariant(5.0) << none << false;
}

void TestPremium::breakCheck()
{
    QFETCH(QVariant, hours);
    QFETCH(QVariant, rest);
    QFETCH(bool, tooShort);
    QCOMPARE(premium::breakTooShort(hours, rest), tooShort);
}

void TestPremium::damagedBreakCountsAsNone_data()
{
    QTest::addColumn<double>("breakHours");
    // Only a damaged or hand-edited file holds these; in seconds they do not
    // fit a 64-bit count.
    QTest::newRow("2.6e15 hours") << 2.6e15;
    QTest::newRow("-2.6e15 hours") << -2.6e15;
    QTest::newRow("1e300 hours") << 1e300;
}

// The line is paid as one without a break: its premium hours are never
// understated by a value no one could have typed.
void TestPremium::damagedBreakCountsAsNone()
{
    QFETCH(double, breakHours);
    DayLine damaged = line(1, "20260302 2200 0600 - 8 1000 -");
    damaged.breakHours = breakHours;
    const QList<LinePay> computed = premium::payOfLines({damaged}, both());
    QCOMPARE(computed.size(), 1);
    QCOMPARE(payText(computed.first()), QStringLiteral("7 0 1750 9750"));
}

QTEST_GUILESS_MAIN(TestPremium)
#include "tst_premium.moc"
