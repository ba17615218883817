#include "calc/WorkTime.h"

#include <QRegularExpression>
#include <QTest>

using namespace pelmar;

Q_DECLARE_METATYPE(std::optional<double>)

class TestWorkTime : public QObject {
    Q_OBJECT
private slots:
    void duration_data();
    void duration();
    void amount_data();
    void amount();
    void timeEntry_data();
    void timeEntry();
    void dateEntry_data();
    void dateEntry();
    void nextDay_data();
    void nextDay();
    void breakFits_data();
    void breakFits();
};

void TestWorkTime::duration_data()
{
    QTest::addColumn<QVariant>("start");
    QTest::addColumn<QVariant>("end");
    QTest::addColumn<QVariant>("rest");
    QTest::addColumn<bool>("computed");
    QTest::addColumn<double>("hours");
    const QVariant none;
    const auto t = [](const char *s) {
        return QVariant(QString::fromLatin1(s));
    };
    QTest::newRow("day with break") << t("0900") << t("1800") << QVariant(1.0) << true << 8.0;
    QTest::newRow("no break") << t("0900") << t("1720") << none << true << 500.0 / 60.0;
    QTest::newRow("empty break text") << t("0930") << t("1800") << QVariant(QString()) << true << 8.5;
    QTest::newRow("half-hour break") << t("0900") << t("1800") << QVariant(0.5) << true << 8.5;
    QTest::newRow("break as text") << t("0900") << t("1800") << QVariant(QStringLiteral("0.75")) << true << 8.25;
    QTest::newRow("night shift") << t("2200") << t("0600") << none << true << 8.0;
    QTest::newRow("night shift with break") << t("2200") << t("0600") << QVariant(1.0) << true << 7.0;
    QTest::newRow("end equals start") << t("0900") << t("0900") << none << true << 0.0;
    QTest::newRow("hour 24 is midnight") << t("1800") << t("2400") << none << true << 6.0;
    QTest::newRow("minute 60 is the next hour") << t("0960") << t("1800") << none << true << 8.0;
    QTest::newRow("break longer than the shift") << t("0900") << t("1000") << QVariant(2.0) << true << -1.0;
    QTest::newRow("start empty") << none << t("1800") << none << false << 0.0;
    QTest::newRow("end empty") << t("0900") << QVariant(QString()) << none << false << 0.0;
    QTest::newRow("three digits") << t("930") << t("1800") << none << false << 0.0;
}

void TestWorkTime::duration()
{
    QFETCH(QVariant, start);
    QFETCH(QVariant, end);
    QFETCH(QVariant, rest);
    QFETCH(bool, computed);
    QFETCH(double, hours);
    const std::optional<double> result = worktime::durationHours(start, end, rest);
    QCOMPARE(result.has_value(), computed);
    if (computed)
        QCOMPARE(*result, hours);
}

void TestWorkTime::amount_data()
{
    QTest::addColumn<QVariant>("hours");
    QTest::addColumn<QVariant>("wage");
    QTest::addColumn<QVariant>("adjustment");
    QTest::addColumn<bool>("computed");
    QTest::addColumn<double>("amount");
    const QVariant none;
    QTest::newRow("eight hours") << QVariant(8.0) << QVariant(1000.0) << none << true << 8000.0;
    QTest::newRow("adjustment added once") << QVariant(8.0) << QVariant(1000.0) << QVariant(500.0) << true << 8500.0;
    QTest::newRow("negative adjustment") << QVariant(8.0) << QVariant(1000.0) << QVariant(-500.0) << true << 7500.0;
    QTest::newRow("not rounded") << QVariant(500.0 / 60.0) << QVariant(1000.0) << none << true << 500000.0 / 60.0;
    QTest::newRow("wage as text") << QVariant(7.5) << QVariant(QStringLiteral("1200")) << none << true << 9000.0;
    QTest::newRow("zero wage counts") << QVariant(8.0) << QVariant(0.0) << QVariant(300.0) << true << 300.0;
    QTest::newRow("no wage") << QVariant(8.0) << none << QVariant(500.0) << false << 0.0;
    QTest::newRow("no hours") << none << QVariant(1000.0) << QVariant(500.0) << false << 0.0;
    QTest::newRow("empty wage text") << QVariant(8.0) << QVariant(QString()) << none << false << 0.0;
    QTest::newRow("full-width wage text")
        << QVariant(8.0) << QVariant(QStringLiteral("１，０００")) << none << true << 8000.0;
    QTest::newRow("exponent wage text") << QVariant(8.0) << QVariant(QStringLiteral("1e3")) << none << false << 0.0;
    QTest::newRow("nan wage text") << QVariant(8.0) << QVariant(QStringLiteral("nan")) << none << false << 0.0;
    QTest::newRow("infinite hours text") << QVariant(QStringLiteral("inf")) << QVariant(1000.0) << none << false << 0.0;
    QTest::newRow("exponent adjustment adds nothing")
        << QVariant(8.0) << QVariant(1000.0) << QVariant(QStringLiteral("1e308")) << true << 8000.0;
    QTest::newRow("stored numbers that overflow") << QVariant(1e200) << QVariant(1e200) << none << false << 0.0;
    QTest::newRow("stored infinite adjustment")
        << QVariant(8.0) << QVariant(1000.0) << QVariant(qInf()) << true << 8000.0;
    QTest::newRow("largest typed values stay finite")
        << QVariant(99999999.0) << QVariant(99999999.0) << QVariant(-99999999.0) << true
        << 99999999.0 * 99999999.0 - 99999999.0;
}

void TestWorkTime::amount()
{
    QFETCH(QVariant, hours);
    QFETCH(QVariant, wage);
    QFETCH(QVariant, adjustment);
    QFETCH(bool, computed);
    QFETCH(double, amount);
    const std::optional<double> result = worktime::amountOf(hours, wage, adjustment);
    QCOMPARE(result.has_value(), computed);
    if (computed)
        QCOMPARE(*result, amount);
}

void TestWorkTime::timeEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("accepted"); // as a stored hhmm
    QTest::addColumn<QString>("typedAs"); // what typing it stores; empty: refused
    QTest::newRow("0900") << "0900" << true << "0900";
    QTest::newRow("0000") << "0000" << true << "0000";
    QTest::newRow("2400") << "2400" << true << "2400";
    // Minutes below 60, and 24 only as 24:00.
    QTest::newRow("0960") << "0960" << false << "";
    QTest::newRow("2460") << "2460" << false << "";
    QTest::newRow("2500") << "2500" << false << "";
    QTest::newRow("0961") << "0961" << false << "";
    QTest::newRow("09000") << "09000" << false << "";
    QTest::newRow("letters") << "ab00" << false << "";
    QTest::newRow("empty") << "" << false << "";
    // The forms people type: three digits, a colon, an hour alone.
    QTest::newRow("930") << "930" << false << "0930";
    QTest::newRow("230 is before dawn") << "230" << false << "0230";
    QTest::newRow("colon") << "9:00" << false << "0900";
    QTest::newRow("0:30") << "0:30" << false << "0030";
    QTest::newRow("hour alone") << "9" << false << "0900";
    QTest::newRow("full-width colon") << "９：３０" << false << "0930";
    QTest::newRow("one minute digit") << "12:5" << false << "";
    QTest::newRow("point") << "9.30" << false << "";
    // Digits are ASCII digits: typed full-width ones are made ASCII, and no
    // other script's digits pass.
    QTest::newRow("arabic-indic") << "٠٩٠٠" << false << "";
    QTest::newRow("extended arabic-indic") << "۰۹۰۰" << false << "";
    QTest::newRow("devanagari") << "०९००" << false << "";
    QTest::newRow("full-width as such") << "０９００" << false << "0900";
    QTest::newRow("mixed") << "09٠٠" << false << "";
    QTest::newRow("space") << " 900" << false << "0900";
    QTest::newRow("inner space") << "09 0" << false << "";
    QTest::newRow("sign") << "+900" << false << "";
    QTest::newRow("minus") << "-900" << false << "";
}

void TestWorkTime::timeEntry()
{
    QFETCH(QString, entry);
    QFETCH(bool, accepted);
    QFETCH(QString, typedAs);
    QCOMPARE(worktime::isAcceptedTime(entry), accepted);
    // Stored times read arithmetically whatever their range.
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    QCOMPARE(worktime::minutesOf(entry).has_value(), fourDigits.match(entry).hasMatch());
    QCOMPARE(worktime::typedTime(entry).value_or(QString()), typedAs);
}

void TestWorkTime::dateEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDate>("date");
    QTest::newRow("valid") << "20070331" << QDate(2007, 3, 31);
    QTest::newRow("leap day") << "20080229" << QDate(2008, 2, 29);
    QTest::newRow("no leap day") << "20070229" << QDate();
    QTest::newRow("30 February") << "20070230" << QDate();
    QTest::newRow("month 13") << "20071301" << QDate();
    QTest::newRow("day 0") << "20070300" << QDate();
    QTest::newRow("seven digits") << "2007033" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("space in the month") << "2024 401" << QDate();
    QTest::newRow("space in the day") << "202404 1" << QDate();
    QTest::newRow("leading space") << " 2024041" << QDate();
    QTest::newRow("sign in the month") << "2024+401" << QDate();
    QTest::newRow("arabic-indic") << "٢٠٢٤٠٤٠١" << QDate();
    QTest::newRow("arabic-indic day") << "202404٠١" << QDate();
    QTest::newRow("devanagari") << "२०२४०४०१" << QDate();
    QTest::newRow("year below 100") << "00990101" << QDate();
}

void TestWorkTime::dateEntry()
{
    QFETCH(QString, entry);
    QFETCH(QDate, date);
    const auto result = worktime::dateOfEntry(entry);
    QCOMPARE(result.value_or(QDate()), date);
}

void TestWorkTime::nextDay_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("next");
    QTest::newRow("month end") << "20070331"
                               << "20070401";
    QTest::newRow("year end") << "20261231"
                              << "20270101";
    QTest::newRow("leap") << "20080228"
                          << "20080229";
    QTest::newRow("not a date") << "20070230"
                                << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestWorkTime::nextDay()
{
    QFETCH(QString, day);
    QFETCH(QString, next);
    QCOMPARE(worktime::nextDay(day), next);
}

void TestWorkTime::breakFits_data()
{
    QTest::addColumn<QVariant>("start");
    QTest::addColumn<QVariant>("end");
    QTest::addColumn<QVariant>("rest");
    QTest::addColumn<bool>("fits");
    const QVariant none;
    const auto t = [](const char *s) {
        return QVariant(QString::fromLatin1(s));
    };
    QTest::newRow("no break") << t("0900") << t("1000") << none << true;
    QTest::newRow("zero break") << t("0900") << t("0900") << QVariant(0.0) << true;
    QTest::newRow("shorter") << t("0900") << t("1000") << QVariant(0.75) << true;
    QTest::newRow("as long") << t("0900") << t("1000") << QVariant(1.0) << false;
    QTest::newRow("minutes typed as hours") << t("0900") << t("1000") << QVariant(45.0) << false;
    QTest::newRow("negative") << t("0900") << t("1800") << QVariant(-0.5) << false;
    QTest::newRow("negative without times") << none << none << QVariant(-0.5) << false;
    QTest::newRow("positive without an end") << t("0900") << none << QVariant(45.0) << true;
    QTest::newRow("night shift") << t("2200") << t("0600") << QVariant(7.5) << true;
    QTest::newRow("night shift too long") << t("2200") << t("0600") << QVariant(8.0) << false;
    QTest::newRow("any break on a zero span") << t("0900") << t("0900") << QVariant(0.25) << false;
    QTest::newRow("break as text") << t("0900") << t("1000") << QVariant(QStringLiteral("45")) << false;
    QTest::newRow("letters count as none") << t("0900") << t("1000") << QVariant(QStringLiteral("ab")) << true;
}

void TestWorkTime::breakFits()
{
    QFETCH(QVariant, start);
    QFETCH(QVariant, end);
    QFETCH(QVariant, rest);
    QFETCH(bool, fits);
    QCOMPARE(worktime::breakFits(start, end, rest), fits);
    // A break that fits never makes the hours negative.
    if (fits) {
        if (const auto hours = worktime::durationHours(start, end, rest))
            QVERIFY(*hours >= 0);
    }
}

QTEST_GUILESS_MAIN(TestWorkTime)
#include "tst_worktime.moc"
