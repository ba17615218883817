#include "calc/TypedText.h"

#include <QTest>

using namespace pelmar;

class TestTypedText : public QObject {
    Q_OBJECT
private slots:
    void cleaned_data();
    void cleaned();
    void settled_data();
    void settled();
};

void TestTypedText::cleaned_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    const QString yamada = QStringLiteral("山田");
    QTest::newRow("already clean") << yamada << yamada;
    QTest::newRow("ASCII spaces around") << QStringLiteral("  山田 ") << yamada;
    QTest::newRow("full-width spaces around") << QStringLiteral("\u3000山田\u3000\u3000") << yamada;
    QTest::newRow("tab and line break after") << QStringLiteral("山田\t\r\n") << yamada;
    QTest::newRow("no-break space") << QStringLiteral("\u00a0山田") << yamada;
    QTest::newRow("byte-order mark before") << QStringLiteral("\ufeff山田") << yamada;
    QTest::newRow("zero-width space inside") << QStringLiteral("山\u200b田") << yamada;
    QTest::newRow("zero-width joiners") << QStringLiteral("\u200c山\u200d田") << yamada;
    QTest::newRow("word joiner") << QStringLiteral("山田\u2060") << yamada;
    QTest::newRow("direction marks") << QStringLiteral("\u200e山田\u200f") << yamada;
    QTest::newRow("bidi isolate") << QStringLiteral("\u2066山田\u2069") << yamada;
    QTest::newRow("soft hyphen") << QStringLiteral("O\u00adBrien") << QStringLiteral("OBrien");
    QTest::newRow("Hangul filler") << QStringLiteral("山田\u3164") << yamada;
    // An invisible character between blanks must not shield the blanks.
    QTest::newRow("blank behind an invisible one") << QStringLiteral(" \u200b 山田 \ufeff ") << yamada;
    QTest::newRow("tag character beyond the BMP")
        << QStringLiteral("山田") + QString::fromUcs4(U"\U000E0041") << yamada;
    // What is seen stays as typed.
    QTest::newRow("space between family and given name")
        << QStringLiteral(" 山田 太郎 ") << QStringLiteral("山田 太郎");
    QTest::newRow("full-width space inside") << QStringLiteral("山田\u3000太郎") << QStringLiteral("山田\u3000太郎");
    QTest::newRow("two spaces inside") << QStringLiteral("山田  太郎") << QStringLiteral("山田  太郎");
    QTest::newRow("half-width kana") << QStringLiteral("ﾔﾏﾀﾞ") << QStringLiteral("ﾔﾏﾀﾞ");
    QTest::newRow("full-width letters") << QStringLiteral("ＡＢＣ") << QStringLiteral("ＡＢＣ");
    // A variation selector picks the glyph of a kanji (葛 with its IVS).
    const QString katsuraIvs = QStringLiteral("葛") + QString::fromUcs4(U"\U000E0100");
    QTest::newRow("ideographic variation selector") << katsuraIvs + QStringLiteral(" ") << katsuraIvs;
    QTest::newRow("surrogate pair kanji") << QString::fromUcs4(U" \U00020B9F田 ") << QString::fromUcs4(U"\U00020B9F田");
    QTest::newRow("nothing but blanks") << QStringLiteral(" \u3000\t") << QString();
    QTest::newRow("nothing but invisible characters") << QStringLiteral("\ufeff\u200b") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestTypedText::cleaned()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(typed::cleaned(typed), expected);
    QCOMPARE(typed::isClean(typed), typed == expected);
    // Cleaning twice changes nothing more.
    QCOMPARE(typed::cleaned(expected), expected);
}

void TestTypedText::settled_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("expected");
    const QString yamada = QStringLiteral("山田");
    const QString yamadaBom = QStringLiteral("山田\ufeff");
    const QString yamadaSpace = QStringLiteral("山田 ");
    QTest::newRow("new name, cleaned") << QStringLiteral(" 佐藤 ") << QStringList{yamada} << QStringLiteral("佐藤");
    QTest::newRow("stray space finds the stored name") << yamadaSpace << QStringList{yamada} << yamada;
    QTest::newRow("stored name with a mark, typed exactly") << yamadaBom << QStringList{yamadaBom} << yamadaBom;
    QTest::newRow("clean text finds the stored look-alike") << yamada << QStringList{yamadaBom} << yamadaBom;
    QTest::newRow("a clean stored one comes first")
        << QStringLiteral("\u200b山田") << QStringList{yamadaBom, yamada} << yamada;
    QTest::newRow("several look-alikes: the first given")
        << QStringLiteral("山田\u3000") << QStringList{yamadaBom, yamadaSpace} << yamadaBom;
    QTest::newRow("stored text with a space, typed exactly")
        << yamadaSpace << QStringList{yamada, yamadaSpace} << yamadaSpace;
    QTest::newRow("different name stays different")
        << QStringLiteral("山田 太郎") << QStringList{QStringLiteral("山田太郎")} << QStringLiteral("山田 太郎");
    QTest::newRow("blank text is empty, even beside a blank stored one")
        << QStringLiteral("  ") << QStringList{QStringLiteral(" ")} << QString();
    QTest::newRow("nothing stored") << QStringLiteral("\ufeff4月分 ") << QStringList{} << QStringLiteral("4月分");
}

void TestTypedText::settled()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, stored);
    QFETCH(QString, expected);
    QCOMPARE(typed::settled(typed, stored), expected);
}

QTEST_APPLESS_MAIN(TestTypedText)
#include "tst_typedtext.moc"
