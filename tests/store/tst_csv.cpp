#include "store/Csv.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void quoting_data();
    void quoting();
    void formulaLikeText_data();
    void formulaLikeText();
    void documentBytes();
    void roundTripThroughAnotherParser_data();
    void roundTripThroughAnotherParser();
    void numbers_data();
    void numbers();
    void failedWriteKeepsTheOldFile();
};

void TestCsv::quoting_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "佐藤 花子"
                           << "佐藤 花子";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("comma") << "山田, 太郎"
                           << "\"山田, 太郎\"";
    QTest::newRow("quote doubled") << "O\"Brien"
                                   << "\"O\"\"Brien\"";
    QTest::newRow("line feed") << "鈴木\n一郎"
                               << "\"鈴木\n一郎\"";
    QTest::newRow("carriage return") << "a\rb"
                                     << "\"a\rb\"";
    QTest::newRow("only a quote") << "\""
                                  << "\"\"\"\"";
    QTest::newRow("full-width comma needs nothing") << "山田，太郎"
                                                    << "山田，太郎";
    QTest::newRow("spaces kept") << "  x  "
                                 << "  x  ";
}

void TestCsv::quoting()
{
    QFETCH(QString, value);
    QFETCH(QString, written);
    QCOMPARE(csv::field(value), written);
}

void TestCsv::formulaLikeText_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("prefixed");
    // What a spreadsheet runs or reads as a sign; full-width signs are read
    // as the ASCII ones, and a line feed may stand before a formula.
    for (const char *formula : {"=HYPERLINK(\"http://x\",\"y\")", "+81 3", "-佐藤", "@SUM(A1)", "\t田中", "\r=1",
                                "\n=1", "＝HYPERLINK(\"http://x\")", "＋1", "－1", "＠SUM(A1)"})
        QTest::addRow("%s", formula) << QString::fromUtf8(formula) << true;
    for (const char *plain : {"佐藤 花子", "a=b", "1-2", "", "ー1"})
        QTest::addRow("plain %s", plain) << QString::fromUtf8(plain) << false;
}

void TestCsv::formulaLikeText()
{
    QFETCH(QString, value);
    QFETCH(bool, prefixed);
    QCOMPARE(csv::text(value), prefixed ? u'\'' + value : value);
}

void TestCsv::documentBytes()
{
    const QByteArray bytes = csv::document({{"氏名", "金額"}, {"a,b", "1"}, {"", "x\ny"}});
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF") + QStringLiteral("氏名,金額\r\n\"a,b\",1\r\n,\"x\ny\"\r\n").toUtf8());
}

void TestCsv::roundTripThroughAnotherParser_data()
{
    QTest::addColumn<QList<QStringList>>("records");
    QTest::newRow("names that need quoting")
        << QList<QStringList>{{"氏名", "支給額"},     {"山田, 太郎", "9000"}, {"O\"Brien \"Jr\"", "1.5"},
                              {"鈴木\n一郎", "-500"}, {"改行\r\nふたつ", ""}, {"\"", ","}};
    QTest::newRow("empty fields") << QList<QStringList>{{"a", "", ""}, {"", "", "c"}};
    QTest::newRow("japanese only") << QList<QStringList>{{"給与一覧表", "２０２４年４月分"}};
}

void TestCsv::roundTripThroughAnotherParser()
{
    QFETCH(QList<QStringList>, records);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("t.csv"));
    QString error;
    QVERIFY2(csv::writeFile(path, records, &error), qPrintable(error));
    const test::CsvReadBack back = test::readCsvWithPython(path);
    QVERIFY2(back.ok, qPrintable(back.error));
    QVERIFY(back.bom);
    QVERIFY(back.sameAsPythonWrites);
    QCOMPARE(back.rows, records);
}

void TestCsv::numbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("whole yen") << 9000.0 << "9000";
    QTest::newRow("a million, no exponent, no separator") << 1000000.0 << "1000000";
    QTest::newRow("half an hour") << 7.5 << "7.5";
    QTest::newRow("fraction of a yen kept") << 8433.25 << "8433.25";
    QTest::newRow("third of a yen to six places") << 1150.0 / 3 << "383.333333";
    QTest::newRow("noise of a sum dropped") << 0.1 + 0.2 << "0.3";
    QTest::newRow("negative adjustment") << -500.0 << "-500";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("tiny negative remainder is zero") << -1e-9 << "0";
}

void TestCsv::numbers()
{
    QFETCH(double, value);
    QFETCH(QString, written);
    QCOMPARE(csv::number(value), written);
}

void TestCsv::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("no/such/folder/t.csv"));
    QString error;
    QVERIFY(!csv::writeFile(missing, {{"a"}}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(missing));

    // A file in a folder that cannot change: the old contents stay whole.
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("fixed"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("t.csv"));
    QVERIFY(csv::writeFile(path, {{"old"}}));
    const test::Immutable fixed(folder);
    if (!fixed.ok)
        QSKIP("the file system has no immutable attribute");
    QVERIFY(!csv::writeFile(path, {{"new", "longer"}}, &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBFold\r\n"));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
