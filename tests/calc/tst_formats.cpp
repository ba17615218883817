#include "calc/Formats.h"

#include <QTest>

using namespace pelmar;

class TestFormats : public QObject {
    Q_OBJECT
private slots:
    void numbers_data();
    void numbers();
    void times_data();
    void times();
    void dates_data();
    void dates();
    void japaneseDate();
    void emptyAndText_data();
    void emptyAndText();
    void plainNumbers_data();
    void plainNumbers();
};

void TestFormats::numbers_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    // Money.
    QTest::newRow("yen zero is empty") << fmt::kYen << 0.0 << "";
    QTest::newRow("yen thousands") << fmt::kYen << 1200.0 << "1,200";
    QTest::newRow("yen millions") << fmt::kYen << 1234567.0 << "1,234,567";
    QTest::newRow("yen half rounds up") << fmt::kYen << 1234.5 << "1,235";
    QTest::newRow("yen negative half rounds away") << fmt::kYen << -2.5 << "-3";
    QTest::newRow("yen below half") << fmt::kYen << 8333.333333333334 << "8,333";
    QTest::newRow("yen negative keeps sign") << fmt::kYen << -500.0 << "-500";
    QTest::newRow("yen negative thousands") << fmt::kYen << -1500.0 << "-1,500";
    QTest::newRow("yen tiny rounds to empty") << fmt::kYen << 0.4 << "";
    QTest::newRow("yen tiny negative shows no lone sign") << fmt::kYen << -0.4 << "";
    QTest::newRow("yen binary noise") << fmt::kYen << 2.4999999999999996 << "3";
    QTest::newRow("yen carry into new digit") << fmt::kYen << 999.5 << "1,000";
    // Hours total: one decimal, zero shows ".0".
    QTest::newRow("hours total zero") << fmt::kHoursTotal << 0.0 << ".0";
    QTest::newRow("hours total 7.5") << fmt::kHoursTotal << 7.5 << "7.5";
    QTest::newRow("hours total half") << fmt::kHoursTotal << 0.5 << ".5";
    QTest::newRow("hours total thousands") << fmt::kHoursTotal << 1234.56 << "1,234.6";
    QTest::newRow("hours total 8.333") << fmt::kHoursTotal << 8.333333333333334 << "8.3";
    QTest::newRow("hours total 1.45 decimal rounding") << fmt::kHoursTotal << 1.45 << "1.5";
    QTest::newRow("hours total 0.05") << fmt::kHoursTotal << 0.05 << ".1";
    QTest::newRow("hours total negative") << fmt::kHoursTotal << -16.0 << "-16.0";
    // Hours on a line: a zero digit before the point.
    QTest::newRow("hours line zero") << fmt::kHoursLine << 0.0 << "0.0";
    QTest::newRow("hours line half") << fmt::kHoursLine << 0.5 << "0.5";
    QTest::newRow("hours line eight") << fmt::kHoursLine << 8.0 << "8.0";
    QTest::newRow("hours line thousands") << fmt::kHoursLine << 1000.25 << "1,000.3";
    // Hours in the masters: no separator, no leading zero.
    QTest::newRow("hours short half") << fmt::kHoursShort << 0.5 << ".5";
    QTest::newRow("hours short eight") << fmt::kHoursShort << 8.0 << "8.0";
    QTest::newRow("hours short 7.75") << fmt::kHoursShort << 7.75 << "7.8";
    QTest::newRow("hours short wide") << fmt::kHoursShort << 1234.5 << "1234.5";
}

void TestFormats::numbers()
{
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(fmt::format(value, pattern), expected);
    QCOMPARE(fmt::formatNumber(value, pattern), expected);
}

void TestFormats::times_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nine") << QVariant(QStringLiteral("0900")) << "9:00";
    QTest::newRow("eighteen") << QVariant(QStringLiteral("1800")) << "18:00";
    QTest::newRow("half past midnight") << QVariant(QStringLiteral("0030")) << ":30";
    QTest::newRow("five past midnight keeps two minute digits") << QVariant(QStringLiteral("0005")) << ":05";
    QTest::newRow("half past nine") << QVariant(QStringLiteral("0930")) << "9:30";
    QTest::newRow("hour 24") << QVariant(QStringLiteral("2400")) << "24:00";
    QTest::newRow("minute 60") << QVariant(QStringLiteral("0960")) << "9:60";
    QTest::newRow("three digits as typed") << QVariant(QStringLiteral("930")) << "9:30";
    QTest::newRow("empty") << QVariant(QString()) << "";
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("letters stay") << QVariant(QStringLiteral("ab")) << "ab";
}

void TestFormats::times()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(fmt::format(value, fmt::kTime), expected);
}

void TestFormats::dates_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("march") << QVariant(QStringLiteral("20070331")) << "2007/03/31";
    QTest::newRow("new year") << QVariant(QStringLiteral("20260101")) << "2026/01/01";
    QTest::newRow("seven digits unchanged") << QVariant(QStringLiteral("2007033")) << "2007033";
    QTest::newRow("empty") << QVariant(QString()) << "";
    QTest::newRow("null") << QVariant() << "";
}

void TestFormats::dates()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(fmt::format(value, fmt::kDate), expected);
}

void TestFormats::japaneseDate()
{
    QCOMPARE(fmt::formatJapaneseDate(QDate(2026, 3, 6)), QStringLiteral("2026年03月06日"));
    QCOMPARE(fmt::formatJapaneseDate(QDate(2026, 12, 31)), QStringLiteral("2026年12月31日"));
    QCOMPARE(fmt::format(QDate(2007, 4, 1), fmt::kJapaneseDate), QStringLiteral("2007年04月01日"));
    QCOMPARE(fmt::formatJapaneseDate(QDate()), QString());
}

void TestFormats::emptyAndText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("null money") << QVariant() << fmt::kYen << "";
    QTest::newRow("null hours total") << QVariant() << fmt::kHoursTotal << "";
    QTest::newRow("empty text money") << QVariant(QString()) << fmt::kYen << "";
    QTest::newRow("numeric text") << QVariant(QStringLiteral("1500")) << fmt::kYen << "1,500";
    QTest::newRow("letters shown as typed") << QVariant(QStringLiteral("abc")) << fmt::kHoursLine << "abc";
    QTest::newRow("integer value") << QVariant(1000) << fmt::kYen << "1,000";
    QTest::newRow("no pattern plain") << QVariant(8.0) << QString() << "8";
    QTest::newRow("no pattern text") << QVariant(QStringLiteral("A")) << QString() << "A";
}

void TestFormats::emptyAndText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(fmt::format(value, pattern), expected);
}

void TestFormats::plainNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 8.0 << "8";
    QTest::newRow("half") << 1.5 << "1.5";
    QTest::newRow("quarter") << 0.75 << "0.75";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative") << -16.0 << "-16";
    QTest::newRow("round trip") << 8.333333333333334 << "8.333333333333334";
}

void TestFormats::plainNumbers()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(fmt::plainNumber(value), expected);
    QCOMPARE(fmt::plainNumber(value).toDouble(), value);
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
