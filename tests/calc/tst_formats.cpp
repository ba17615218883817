#include "calc/Formats.h"

#include <QTest>

#include <cmath>

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
    void longPatterns_data();
    void longPatterns();
    void typedNumbers_data();
    void typedNumbers();
    void fullWidthBecomesAscii_data();
    void fullWidthBecomesAscii();
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
    // Hours as they are: two decimals when they have them, at least one.
    QTest::newRow("hours quarter") << fmt::kHours << 0.75 << "0.75";
    QTest::newRow("hours 7.75") << fmt::kHours << 7.75 << "7.75";
    QTest::newRow("hours 40.25") << fmt::kHours << 40.25 << "40.25";
    QTest::newRow("hours eight") << fmt::kHours << 8.0 << "8.0";
    QTest::newRow("hours zero") << fmt::kHours << 0.0 << "0.0";
    QTest::newRow("hours thousands") << fmt::kHours << 1234.5 << "1,234.5";
    QTest::newRow("hours eighth rounds half away") << fmt::kHours << 0.125 << "0.13";
    QTest::newRow("hours third") << fmt::kHours << 8.333333333333334 << "8.33";
    QTest::newRow("hours sum with noise") << fmt::kHours << 0.1 + 0.2 << "0.3";
    QTest::newRow("hours carry") << fmt::kHours << 9.999 << "10.0";
    QTest::newRow("hours negative") << fmt::kHours << -1.25 << "-1.25";
    QTest::newRow("hours tiny negative is zero") << fmt::kHours << -0.001 << "0.0";
    // The same for a total box that shows zero as nothing.
    QTest::newRow("blank zero: zero") << fmt::kHoursBlankZero << 0.0 << "";
    QTest::newRow("blank zero: rounds to zero") << fmt::kHoursBlankZero << 0.004 << "";
    QTest::newRow("blank zero: negative rounds to zero") << fmt::kHoursBlankZero << -0.004 << "";
    QTest::newRow("blank zero: quarter") << fmt::kHoursBlankZero << 0.75 << "0.75";
    QTest::newRow("blank zero: eight") << fmt::kHoursBlankZero << 8.0 << "8.0";
    QTest::newRow("blank zero: thousands") << fmt::kHoursBlankZero << 1234.5 << "1,234.5";
    QTest::newRow("blank zero: negative") << fmt::kHoursBlankZero << -16.5 << "-16.5";
    QTest::newRow("blank zero: 0.005 rounds up") << fmt::kHoursBlankZero << 0.005 << "0.01";
    // Sections in general: a zero section is literal text.
    QTest::newRow("sections: zero text") << "#,###;-#,###;-" << 0.0 << "-";
    QTest::newRow("sections: negative pattern") << "#,###;-#,##0.0" << -1234.0 << "-1,234.0";
    QTest::newRow("sections: empty negative as positive") << "#,###;;" << -1234.0 << "-1,234";
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
    QTest::newRow("half past midnight shows its hour") << QVariant(QStringLiteral("0030")) << "0:30";
    QTest::newRow("five past midnight keeps two minute digits") << QVariant(QStringLiteral("0005")) << "0:05";
    QTest::newRow("midnight") << QVariant(QStringLiteral("0000")) << "0:00";
    QTest::newRow("half past nine") << QVariant(QStringLiteral("0930")) << "9:30";
    QTest::newRow("hour 24") << QVariant(QStringLiteral("2400")) << "24:00";
    QTest::newRow("minute 60") << QVariant(QStringLiteral("0960")) << "9:60";
    QTest::newRow("three digits as typed") << QVariant(QStringLiteral("930")) << "9:30";
    QTest::newRow("empty") << QVariant(QString()) << "";
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("letters stay") << QVariant(QStringLiteral("ab")) << "ab";
    // Only ASCII digits are a time; other text stays as it stands.
    QTest::newRow("arabic-indic digits are no time") << QVariant(QStringLiteral("٠٩٠٠")) << "٠٩٠٠";
    QTest::newRow("sign is no time") << QVariant(QStringLiteral("+900")) << "+900";
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
    QTest::newRow("full-width numeric text") << QVariant(QStringLiteral("１，２００")) << fmt::kYen << "1,200";
    QTest::newRow("exponent text is no number") << QVariant(QStringLiteral("1e3")) << fmt::kYen << "1e3";
    QTest::newRow("nan text is no number") << QVariant(QStringLiteral("nan")) << fmt::kHours << "nan";
    QTest::newRow("stored nan shows nothing") << QVariant(qQNaN()) << fmt::kHours << "";
    QTest::newRow("stored infinity shows nothing") << QVariant(qInf()) << fmt::kYen << "";
    QTest::newRow("stored large double as before") << QVariant(1e12) << fmt::kYen << "1,000,000,000,000";
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

// However many decimals a pattern asks for, its text has them all, and
// rounding never reads past the digits it has.
void TestFormats::longPatterns_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    const auto zeros = [](int n) {
        return QString(n, u'0');
    };
    QTest::newRow("11 places") << 11 << 0.5 << "0.5" + zeros(10);
    QTest::newRow("12 places") << 12 << 0.5 << "0.5" + zeros(11);
    QTest::newRow("13 places") << 13 << 2.5 << "2.5" + zeros(12);
    QTest::newRow("20 places") << 20 << 1.0 << "1." + zeros(20);
    QTest::newRow("60 places") << 60 << 3.0 << "3." + zeros(60);
    QTest::newRow("200 places") << 200 << 0.0 << "0." + zeros(200);
}

void TestFormats::longPatterns()
{
    QFETCH(int, decimals);
    QFETCH(double, value);
    QFETCH(QString, expected);
    const QString required = QStringLiteral("0.") + QString(decimals, u'0');
    QCOMPARE(fmt::formatNumber(value, required), expected);
    QCOMPARE(fmt::formatNumber(-value, required), value == 0 ? expected : u'-' + expected);
    // Optional decimals drop their zeros, whatever their number.
    const QString optional = QStringLiteral("0.0") + QString(decimals, u'#');
    QCOMPARE(fmt::formatNumber(value, optional), QString::number(value, 'f', 1));
}

void TestFormats::typedNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "1200" << true << 1200.0;
    QTest::newRow("thousands") << "1,200" << true << 1200.0;
    QTest::newRow("millions") << "12,345,678" << true << 12345678.0;
    // Commas only as thousands separators.
    QTest::newRow("commas not in threes") << "1,2,00" << false << 0.0;
    QTest::newRow("single digits") << "1,2,3" << false << 0.0;
    QTest::newRow("a group of two") << "12,00" << false << 0.0;
    QTest::newRow("a group of four") << "1,2000" << false << 0.0;
    QTest::newRow("four before a comma") << "1000,000" << false << 0.0;
    QTest::newRow("negative") << "-30" << true << -30.0;
    QTest::newRow("decimals") << "0.75" << true << 0.75;
    QTest::newRow("point first") << ".5" << true << 0.5;
    QTest::newRow("point last") << "7." << true << 7.0;
    QTest::newRow("spaces around") << "  8.5 " << true << 8.5;
    QTest::newRow("minus zero") << "-0" << true << 0.0;
    QTest::newRow("bound") << "99,999,999" << true << 99999999.0;
    QTest::newRow("negative bound") << "-99999999" << true << -99999999.0;
    QTest::newRow("full-width") << "１２００" << true << 1200.0;
    QTest::newRow("full-width point and comma") << "１，２３４．５" << true << 1234.5;
    QTest::newRow("full-width minus") << "－５００" << true << -500.0;
    QTest::newRow("minus sign") << "−５００" << true << -500.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("spaces") << "   " << false << 0.0;
    QTest::newRow("lone minus") << "-" << false << 0.0;
    QTest::newRow("lone point") << "." << false << 0.0;
    QTest::newRow("plus") << "+5" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("two minus") << "--5" << false << 0.0;
    QTest::newRow("comma after point") << "1.2,3" << false << 0.0;
    QTest::newRow("leading comma") << ",5" << false << 0.0;
    QTest::newRow("double comma") << "1,,200" << false << 0.0;
    QTest::newRow("inner space") << "12 00" << false << 0.0;
    QTest::newRow("over the bound") << "100000000" << false << 0.0;
    QTest::newRow("just over the bound") << "99999999.01" << false << 0.0;
    QTest::newRow("many digits") << QString(400, u'9') << false << 0.0;
    QTest::newRow("exponent") << "1e3" << false << 0.0;
    QTest::newRow("large exponent") << "1e308" << false << 0.0;
    QTest::newRow("capital exponent") << "1E5" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("NaN") << "NaN" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("infinity") << "-infinity" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("letters") << "12a" << false << 0.0;
    QTest::newRow("arabic-indic digits") << "٠٣٠١" << false << 0.0;
    QTest::newRow("devanagari digits") << "१२" << false << 0.0;
    QTest::newRow("long vowel mark is no minus") << "ー５" << false << 0.0;
    QTest::newRow("full-width space inside") << "１　２" << false << 0.0;
}

void TestFormats::typedNumbers()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    const std::optional<double> parsed = fmt::parseTypedNumber(typed);
    QCOMPARE(parsed.has_value(), accepted);
    double number = -1;
    QCOMPARE(fmt::toNumber(QVariant(typed), &number), accepted);
    if (accepted) {
        QCOMPARE(*parsed, value);
        QVERIFY(!std::signbit(*parsed) || *parsed != 0);
        QCOMPARE(number, value);
    }
}

void TestFormats::fullWidthBecomesAscii_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ascii");
    QTest::newRow("time") << "０９００"
                          << "0900";
    QTest::newRow("date") << "２０２４０４０１"
                          << "20240401";
    QTest::newRow("number") << "－１，２００．５"
                            << "-1,200.5";
    QTest::newRow("mixed widths") << "1２3４"
                                  << "1234";
    QTest::newRow("ascii unchanged") << "0900"
                                     << "0900";
    QTest::newRow("arabic-indic stays") << "٠٣٠١"
                                        << "٠٣٠١";
    QTest::newRow("long vowel mark stays") << "ー"
                                           << "ー";
    QTest::newRow("full-width space stays") << "　"
                                            << "　";
    QTest::newRow("digits inside other text") << "山田２号"
                                              << "山田2号";
}

void TestFormats::fullWidthBecomesAscii()
{
    QFETCH(QString, typed);
    QFETCH(QString, ascii);
    QCOMPARE(fmt::asciiDigits(typed), ascii);
    QCOMPARE(fmt::asciiDigits(typed).size(), typed.size());
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
