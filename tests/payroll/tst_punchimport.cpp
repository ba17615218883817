#include "calc/Formats.h"
#include "payroll/PunchImport.h"
#include "masters/PaySettings.h"
#include "payroll/PunchCommit.h"
#include "store/CsvRead.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pelmar;
using punch::Problem;

Q_DECLARE_METATYPE(csv::Encoding)

namespace {

const QString kHeader = "氏名,日付,出勤,退勤,休憩,備考\r\n";

punch::ImportContext shop()
{
    punch::ImportContext context;
    context.employees = {{"山田 太郎", "7"}, {"髙橋 美咲", "12"}, {"佐藤 花子", ""}, {"佐藤　花子", ""}};
    context.yearWhenNone = 2026;
    context.storedDates["髙橋 美咲"] = {"20261110"};
    return context;
}

QString problemName(Problem problem)
{
    // In the order of the enum.
    static const QStringList names{"None",           "NoEmployee",  "UnknownEmployee", "AmbiguousEmployee",
                                   "UnreadableDate", "MissingTime", "UnreadableTime",  "StartAfterMidnight",
                                   "EmptyShift",     "LongShift",   "UnreadableBreak", "BreakUnitUnknown",
                                   "BreakTooLong",   "Overlap",     "AlreadyStored",   "TooManyLines"};
    return names.value(int(problem));
}

// A row as the table below writes what it expects: the line it makes
// ("山田 太郎 20261105 0900-1800 b1 8h", the break left out when the file
// gives none), or its problem and file line ("Overlap@3").
QString described(const punch::PunchRow &row)
{
    if (!row.isTaken())
        return problemName(row.problem) + (row.reason.isEmpty() ? "(no reason)@" : "@") + QString::number(row.line);
    QString text = QStringLiteral("%1 %2 %3-%4").arg(row.employee, row.date, row.start, row.end);
    if (!row.breakHours.isNull())
        text += " b" + fmt::plainNumber(row.breakHours.toDouble());
    return text + u' ' + fmt::plainNumber(row.hours.toDouble()) + u'h';
}

QStringList describedRows(const QList<csv::ReadRecord> &records, const punch::ColumnMapping &mapping)
{
    QStringList rows;
    for (const punch::PunchRow &row : punch::readPunches(records, mapping, shop()))
        rows << described(row);
    return rows;
}

} // namespace

class TestPunchImport : public QObject {
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void encodings_data();
    void encodings();
    void records_data();
    void records();
    void headers_data();
    void headers();
    void mappingText();
    void fileRefusedAndRowsLeftOut();
    void leftOutCellsStayText();
    void manyIdenticalRowsEachRefused();
    void onlyAnOrdinaryFileIsRead_data();
    void onlyAnOrdinaryFileIsRead();
    void employeeFillingMoreThanOneStatement();
    void planAgainstTheStore_data();
    void planAgainstTheStore();
    void lawFindingsOfImportedStatements();
};

void TestPunchImport::rows_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char *body, const char *expected) {
        const QString text = QString::fromUtf8(body);
        QTest::addRow("%s", qPrintable(QString(text).replace(u'\n', QStringLiteral(" / "))))
            << text << QString::fromUtf8(expected).split(u'|');
    };
    // Times and breaks in every form.
    row("山田 太郎,2026/11/05,9:00,18:00,1:00", "山田 太郎 20261105 0900-1800 b1 8h");
    row("山田 太郎,2026-11-05,09:00,18:00,45", "山田 太郎 20261105 0900-1800 b0.75 8.25h");
    row("山田 太郎,20261105,0900,1730,0.75", "山田 太郎 20261105 0900-1730 b0.75 7.75h");
    row("山田 太郎,11/5,900,1800,1.5", "山田 太郎 20261105 0900-1800 b1.5 7.5h");
    row("山田 太郎,2026年11月5日,9:00:00,18:00:59,60分", "山田 太郎 20261105 0900-1800 b1 8h");
    row("山田 太郎,11/05(木),９：００,１８：００,1時間", "山田 太郎 20261105 0900-1800 b1 8h");
    // Past midnight, written both ways, and midnight itself.
    row("山田 太郎,11/5,22:00,26:00,", "山田 太郎 20261105 2200-0200 4h");
    row("山田 太郎,11/5,22:00,2:30,0:30", "山田 太郎 20261105 2200-0230 b0.5 4h");
    row("山田 太郎,11/5,15:00,24:00", "山田 太郎 20261105 1500-2400 9h");
    // Names as they look, and by space-less spelling only when that is one.
    row(" 山田太郎\u200B,11/5,9:00,10:00", "山田 太郎 20261105 0900-1000 1h");
    row("佐藤花子,11/5,9:00,10:00", "AmbiguousEmployee@2");
    row("佐藤　花子,11/5,9:00,10:00", "佐藤　花子 20261105 0900-1000 1h");
    // Every reason a row is refused.
    row("田中 一郎,11/5,9:00,18:00,1:00", "UnknownEmployee@2");
    row(",11/5,9:00,18:00,1:00", "NoEmployee@2");
    row("山田 太郎,2026/13/01,9:00,18:00", "UnreadableDate@2");
    row("山田 太郎,11/5,9:00,,1:00", "MissingTime@2");
    row("山田 太郎,11/5,9時,18:00", "UnreadableTime@2");
    row("山田 太郎,11/5,25:00,27:00", "StartAfterMidnight@2");
    row("山田 太郎,11/5,9:00,9:00", "EmptyShift@2");
    row("山田 太郎,11/5,2:00,26:00", "LongShift@2");
    row("山田 太郎,11/5,9:00,18:00,1", "BreakUnitUnknown@2");
    row("山田 太郎,11/5,9:00,18:00,-1:00", "UnreadableBreak@2");
    row("山田 太郎,11/5,9:00,10:00,60", "BreakTooLong@2");
    row("山田 太郎,11/5,22:00,2:00,4.5", "BreakTooLong@2");
    row("髙橋 美咲,11/10,9:00,18:00", "AlreadyStored@2");
    // Overlaps within the file: each of the pair is refused; touching shifts,
    // and the same hours of another employee, are not overlaps.
    row("山田 太郎,11/5,9:00,13:00\n山田 太郎,11/5,12:00,18:00\n髙橋 美咲,11/5,9:00,13:00",
        "Overlap@2|Overlap@3|髙橋 美咲 20261105 0900-1300 4h");
    row("山田 太郎,11/5,9:00,12:00\n\n山田 太郎,11/5,12:00,15:00\n,,,,",
        "山田 太郎 20261105 0900-1200 3h|山田 太郎 20261105 1200-1500 3h");
    row("山田 太郎,11/5,22:00,27:00\n山田 太郎,11/6,2:00,6:00", "Overlap@2|Overlap@3");
    // A long shift around two short ones that do not meet: all three; the
    // same row three times: each.
    row("山田 太郎,11/5,8:00,20:00\n山田 太郎,11/5,9:00,10:00\n山田 太郎,11/5,12:00,13:00",
        "Overlap@2|Overlap@3|Overlap@4");
    row("山田 太郎,11/5,9:00,10:00\n山田 太郎,11/5,9:00,10:00\n山田 太郎,11/5,9:00,10:00",
        "Overlap@2|Overlap@3|Overlap@4");
}

void TestPunchImport::rows()
{
    QFETCH(QString, body);
    QFETCH(QStringList, expected);
    QCOMPARE(describedRows(csv::parse(kHeader + body).records, *punch::recogniseHeader(kHeader.trimmed().split(u','))),
             expected);
}

void TestPunchImport::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<csv::Encoding>("guessed");
    // The characters of CP932 that plain Shift_JIS maps otherwise or lacks:
    // ～ (U+FF5E, not the wave dash), ① and 髙; a quoted note with a comma,
    // a line break and a doubled quote.
    const QString text = "社員番号,日付,出勤時刻,退勤時刻,休憩時間,備考\r\n"
                         "0012,2026/11/05,9:00,18:00,1:00,\"①早番～遅番, \"\"交代\"\"\r\n髙\"\r\n"
                         "7,2026/11/06,22:00,26:00,45,\r\n";
    QStringEncoder shiftJis("Shift_JIS");
    const QByteArray sjis = shiftJis(text);
    QVERIFY(!shiftJis.hasError());
    QTest::newRow("Shift_JIS") << sjis << csv::Encoding::ShiftJis;
    QTest::newRow("UTF-8") << text.toUtf8() << csv::Encoding::Utf8;
    QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF" + text.toUtf8() << csv::Encoding::Utf8;
}

void TestPunchImport::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(csv::Encoding, guessed);
    const punch::PunchFile file = punch::readPunchFile(bytes);
    QCOMPARE(file.encoding, guessed);
    QVERIFY(!file.damagedText);
    QCOMPARE(file.problem, QString());
    const QList<csv::ReadRecord> &records = file.read.records;
    QCOMPARE(records.size(), 3);
    const auto mapping = punch::recogniseHeader(file.header());
    QVERIFY(mapping && mapping->employeeByNumber);
    QCOMPARE(QString(records.at(1).fields.last()).remove(u'\r'), "①早番～遅番, \"交代\"\n髙");
    QCOMPARE(records.at(2).line, 4);
    QCOMPARE(describedRows(records, *mapping),
             QStringList({"髙橋 美咲 20261105 0900-1800 b1 8h", "山田 太郎 20261106 2200-0200 b0.75 3.25h"}));

    // Read in the other encoding, as the user may choose, the file shows as
    // damaged or as other text, never as the same names.
    const auto other = guessed == csv::Encoding::Utf8 ? csv::Encoding::ShiftJis : csv::Encoding::Utf8;
    const punch::PunchFile wrong = punch::readPunchFile(bytes, other);
    QCOMPARE(wrong.encoding, other);
    QVERIFY(wrong.damagedText || !wrong.read.records.first().fields.join(u',').contains("髙"));
}

void TestPunchImport::records_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("records");
    QTest::addColumn<int>("unclosedQuoteLine");
    const auto row = [](const char *name, const char *text, const char *records, int unclosedQuoteLine = 0) {
        QTest::newRow(name) << QString::fromLatin1(text) << QString::fromLatin1(records) << unclosedQuoteLine;
    };
    row("CRLF, trailing empty lines", "a,b\r\nc,\r\n\r\n\r\n", "1:a|b 2:c|");
    row("lone CR, no final break", "a\rb,\"\"", "1:a 2:b|");
    row("break in quotes moves the line", "\"x\r\ny\",\"a\"\"b\"\n\nz", "1:x\r\ny|a\"b 4:z");
    row("stray quotes taken as text", "ab\"c,\"d\"e", "1:ab\"c|de");
    row("unclosed quote", "a\nb,\"c\nd,e\n", "1:a 2:b|c\nd,e\n", 2);
}

void TestPunchImport::records()
{
    QFETCH(QString, text);
    QFETCH(QString, records);
    QFETCH(int, unclosedQuoteLine);
    const csv::ReadFile file = csv::parse(text);
    QStringList read;
    for (const csv::ReadRecord &record : file.records)
        read << QString::number(record.line) + u':' + record.fields.join(u'|');
    QCOMPARE(read.join(u' '), records);
    QCOMPARE(file.unclosedQuoteLine, unclosedQuoteLine);
}

void TestPunchImport::headers_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("mapping"); // empty: not recognised
    const auto row = [](const char *name, const char *header, const char *mapping) {
        QTest::newRow(name) << QString::fromUtf8(header) << QString::fromUtf8(mapping);
    };
    row("the program's own names", "氏名,日付,出勤,退勤,休憩",
        "name=0;date=1;start=2;end=3;break=4;unit=auto;header=1");
    row("a recorder's spellings, no break", "備考,従業員番号,勤務日,出勤時刻,退勤時刻",
        "number=1;date=2;start=3;end=4;header=1");
    row("spaced names, name before number", "社員番号,氏　名,日 付,出勤時間,退勤時間,休憩時間",
        "name=1;date=2;start=3;end=4;break=5;unit=auto;header=1");
    row("no end", "氏名,日付,出勤,休憩", "");
    row("two dates", "氏名,日付,勤務日,出勤,退勤", "");
}

void TestPunchImport::headers()
{
    QFETCH(QString, header);
    QFETCH(QString, mapping);
    const auto recognised = punch::recogniseHeader(header.split(u','));
    QCOMPARE(recognised ? recognised->toText() : QString(), mapping);
}

void TestPunchImport::mappingText()
{
    // A kept mapping reads back as itself, every field of it.
    const QString kept = QStringLiteral("number=3;date=0;start=1;end=2;break=5;unit=minutes;header=0");
    const auto mapping = punch::ColumnMapping::fromText(kept);
    QVERIFY(mapping);
    QCOMPARE(mapping->toText(), kept);
    // A kept text that is damaged, or maps two things to one column, is no mapping.
    for (const char *text :
         {"", "name=0;date=1;start=2", "name=0;date=1;start=2;end=2;header=1", "name=0;number=1;date=2;start=3;end=4",
          "name=0;date=1;start=2;end=3;break=4;unit=days", "name=x;date=1;start=2;end=3"})
        QVERIFY2(!punch::ColumnMapping::fromText(QString::fromUtf8(text)), text);
    // The same header with blanks around a name is remembered as the same.
    QCOMPARE(punch::headerKey({"氏名 ", "\uFEFF日付", "出勤,時刻"}), "氏名,日付,\"出勤,時刻\"");
}

void TestPunchImport::fileRefusedAndRowsLeftOut()
{
    QVERIFY(!punch::readPunchFile("氏名,日付\r\n\"山田,11/5\r\n").problem.isEmpty());
    QVERIFY(!punch::readPunchFile("\r\n\r\n").problem.isEmpty());
    QVERIFY(!punch::readPunchFile(QByteArray("\xFF\xFE") + QStringLiteral("氏名\t日付").toUtf8()).problem.isEmpty());

    const punch::PunchFile file = punch::readPunchFile((kHeader
                                                        + "田中 一郎,11/5,9:00,18:00\r\n"
                                                          "山田 太郎,11/5,9:00,18:00,1:00,\"遅刻, 1回\"\r\n")
                                                           .toUtf8());
    const auto rows = punch::readPunches(file.read.records, *punch::recogniseHeader(file.header()), shop());
    const QList<csv::Record> leftOut = punch::leftOutRecords(file.header(), rows);
    QCOMPARE(leftOut.size(), 2);
    QCOMPARE(leftOut.at(0).last(), "取込できない理由");
    QCOMPARE(leftOut.at(1).mid(0, 4), QStringList({"田中 一郎", "11/5", "9:00", "18:00"}));
    QCOMPARE(leftOut.at(1).size(), leftOut.at(0).size());
    QCOMPARE(leftOut.at(1).last(), rows.first().reason);
}

// The error file goes to a spreadsheet: a cell of the punch file that reads
// as a formula there is written as text, as the exports write theirs.
void TestPunchImport::leftOutCellsStayText()
{
    const punch::PunchFile file =
        punch::readPunchFile((kHeader + "=HYPERLINK(\"http://x\"),＋1,@SUM(A1),－1,\"\n=1\",＝2\r\n").toUtf8());
    const auto rows = punch::readPunches(file.read.records, *punch::recogniseHeader(file.header()), shop());
    const QList<csv::Record> leftOut = punch::leftOutRecords(file.header(), rows);
    QCOMPARE(leftOut.size(), 2);
    QCOMPARE(leftOut.at(1).mid(0, 6),
             QStringList({"'=HYPERLINK(\"http://x\")", "'＋1", "'@SUM(A1)", "'－1", "'\n=1", "'＝2"}));
}

// Every copy of one row overlaps every other: each is refused, naming
// another of them, without a list of every pair (which grew to gigabytes).
void TestPunchImport::manyIdenticalRowsEachRefused()
{
    constexpr int kRows = 20'000;
    QString text = kHeader;
    for (int i = 0; i < kRows; ++i)
        text += "山田 太郎,11/5,9:00,18:00,1:00\r\n";
    const auto rows =
        punch::readPunches(csv::parse(text).records, *punch::recogniseHeader(kHeader.split(u',')), shop());
    QCOMPARE(rows.size(), kRows);
    for (const punch::PunchRow &row : rows) {
        QCOMPARE(row.problem, Problem::Overlap);
        QVERIFY(!row.reason.startsWith(QStringLiteral("%1行目").arg(row.line)));
    }
}

void TestPunchImport::onlyAnOrdinaryFileIsRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("a folder") << "folder"
                              << "フォルダです";
    QTest::newRow("a named pipe no one writes") << "fifo"
                                                << "普通のファイルではありません";
    QTest::newRow("an endless device") << "/dev/zero"
                                       << "普通のファイルではありません";
    QTest::newRow("a link to a device") << "link"
                                        << "普通のファイルではありません";
    QTest::newRow("larger than any punch file") << "large"
                                                << "大きすぎます";
    QTest::newRow("no file") << "missing"
                             << "ありません";
    QTest::newRow("an ordinary file") << "file"
                                      << "";
}

// The command line reads nothing but an ordinary file of a sane size, and
// says why otherwise: a named pipe would keep it waiting, a device would
// fill the memory.
void TestPunchImport::onlyAnOrdinaryFileIsRead()
{
    QFETCH(QString, kind);
    QFETCH(QString, said);
    test::TestDataFolder data;
    QVERIFY(test::addEmployee(data.mainDb(), 1, "山田 太郎", 1000));
    QTemporaryDir folder;
    QString path = folder.filePath("punches.csv");
    if (kind == u"folder") {
        QVERIFY(QDir(folder.path()).mkdir("punches.csv"));
    } else if (kind == u"fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind.startsWith(u'/')) {
        path = kind;
    } else if (kind == u"link") {
        QVERIFY(QFile::link("/dev/zero", path));
    } else if (kind == u"large" || kind == u"file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write((kHeader + "山田 太郎,2026/11/5,9:00,18:00,1:00\r\n").toUtf8()) > 0);
        if (kind == u"large")
            QVERIFY(file.resize(csv::kMaxInputBytes + 1)); // sparse: nothing is written
    }
    const punch::CommandOutcome outcome = punch::importFromCommandLine(data.path(), path, "2026年11月分");
    if (said.isEmpty()) {
        QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.err));
        return;
    }
    QCOMPARE(outcome.exitCode, 1);
    QVERIFY2(outcome.err.contains(said), qPrintable(outcome.err));
    QCOMPARE(test::rowCount(data.mainDb(), "時給ヘッダ"), 0);
}

void TestPunchImport::employeeFillingMoreThanOneStatement()
{
    // Two shifts a day for a month: 60 fit on a statement, 62 do not, and
    // then none is taken rather than the month cut short.
    for (const int days : {30, 31}) {
        QString text = kHeader;
        for (int day = 1; day <= days; ++day)
            text += QStringLiteral("山田 太郎,12/%1,9:00,12:00\n山田 太郎,12/%1,17:00,21:00\n").arg(day);
        text += "髙橋 美咲,12/1,9:00,12:00\n";
        const auto rows =
            punch::readPunches(csv::parse(text).records, *punch::recogniseHeader(kHeader.split(u',')), shop());
        QCOMPARE(rows.size(), days * 2 + 1);
        const auto taken = std::count_if(rows.cbegin(), rows.cend(), [](const auto &row) { return row.isTaken(); });
        QCOMPARE(taken, days == 30 ? 61 : 1);
    }
}

void TestPunchImport::planAgainstTheStore_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    // Each statement as "name total premium lines" (+ " replaces"), then
    // each row left out as "line: reason".
    QTest::addColumn<QStringList>("planned");
    const QString byNumber = "従業員番号,日付,出勤,退勤,休憩\r\n";
    const QString byName = "氏名,日付,出勤,退勤,休憩\r\n";
    // 山田 has 32 hours stored under another title in the week from Sunday
    // 22 November: his 28th goes past the week's 40 hours.
    QTest::newRow("by number, the week's earlier hours counted")
        << byNumber + "1,2026/11/27,9:00,18:00,1:00\r\n1,2026/11/28,9:00,18:00,1:00\r\n"
        << "2026年11月分" << QStringList{"山田 太郎 18000 2000 2 replaces"};
    QTest::newRow("the title's own statement is replaced, not in the way")
        << byName + "山田 太郎,2026/11/02,9:00,18:00,1:00\r\n佐藤 花子,2026/11/02,22:00,1:00,0\r\n"
        << "2026年１１月分" << QStringList{"山田 太郎 8000 0 1 replaces", "佐藤 花子 4500 900 1"};
    QTest::newRow("a day stored under another title, an employee without a wage")
        << byName + "山田 太郎,2026/11/23,9:00,18:00,1:00\r\n無給 三郎,2026/11/02,9:00,12:00,0\r\n"
        << "2026年11月分"
        << QStringList{"2: 2026/11/23 の勤務は、すでに登録された明細にあります。",
                       "3: 「無給 三郎」の時給が従業員に登録されていません。"};
}

void TestPunchImport::planAgainstTheStore()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QFETCH(QStringList, planned);
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    QVERIFY(test::addEmployee(main, 1, "山田 太郎", 1000) && test::addEmployee(main, 2, "佐藤 花子", 1200));
    QVERIFY(execBound(main, "insert into 従業員 (\"No\", 氏名) values (3, '無給 三郎')"));
    QList<test::SeedLine> week;
    for (const char *date : {"20261123", "20261124", "20261125", "20261126"}) {
        week << test::SeedLine{};
        week.last().date = QString::fromLatin1(date);
    }
    QVERIFY(test::storeStatement(main, "山田 太郎", "2026年11月前半", 1000, week));
    test::SeedLine own;
    own.date = "20261102";
    QVERIFY(test::storeStatement(main, "山田 太郎", "2026年11月分", 1000, {own}));

    const punch::PunchFile punches = punch::readPunchFile(file.toUtf8());
    const auto mapping = punch::knownMapping(main, punches.header());
    QVERIFY(mapping);
    const std::optional<punch::Plan> plan = punch::makePlan(main, punches.read.records, *mapping, title);
    QVERIFY(plan);
    QCOMPARE(plan->title, QStringLiteral("2026年11月分"));
    QStringList shown;
    for (const punch::PlannedStatement &statement : plan->statements) {
        const statements::Header &h = statement.statement.header;
        shown << QStringLiteral("%1 %2 %3 %4%5")
                     .arg(h.name, h.total.toString(), h.premium.toString())
                     .arg(statement.statement.lines.size())
                     .arg(statement.replaces ? " replaces" : "");
    }
    for (const punch::PunchRow &row : plan->rows)
        if (!row.isTaken())
            shown << QStringLiteral("%1: %2").arg(row.line).arg(row.reason);
    QCOMPARE(shown, planned);
}

// The law's findings are worked out for an imported statement as 登録
// works them out for a typed one, told by the preview and the command line,
// and the statement is stored all the same.
void TestPunchImport::lawFindingsOfImportedStatements()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    settings::PaySettings law;
    law.night = true;
    law.overtime = true;
    law.minimumWage = 1055;
    law.minimumWageFrom = QDate(2026, 10, 1);
    QVERIFY(settings::save(main, law));
    QVERIFY(test::addEmployee(main, 1, "山田 太郎", 1000) && test::addEmployee(main, 2, "佐藤 花子", 1200));
    // 山田: below the minimum wage, and 46 hours of overtime in the month
    // (four days of 19.5 hours); 佐藤: nothing to tell.
    QString rows = QStringLiteral("氏名,日付,出勤,退勤,休憩\r\n佐藤 花子,2026/11/02,9:00,18:00,1:00\r\n");
    for (const char *day : {"02", "03", "04", "05"})
        rows += QStringLiteral("山田 太郎,2026/11/%1,6:00,2:00,0:30\r\n").arg(QString::fromLatin1(day));
    QTemporaryDir folder;
    const QString path = folder.filePath("p.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(rows.toUtf8()) > 0);
    file.close();

    const punch::PunchFile punches = punch::readPunchFile(rows.toUtf8());
    const auto plan = punch::makePlan(main, punches.read.records, *punch::knownMapping(main, punches.header()), "11月分");
    QVERIFY(plan && plan->statements.size() == 2);
    const QStringList findings = plan->statements.at(0).findings;
    QCOMPARE(plan->statements.at(0).statement.header.name, QStringLiteral("山田 太郎"));
    QCOMPARE(findings.size(), 2);
    QCOMPARE(findings.at(0), QStringLiteral("・時給が最低賃金（1,055円）を下回る日: 2026/11/02、2026/11/03、2026/11/04、2026/11/05"));
    QVERIFY2(findings.at(1).contains(QStringLiteral("46.0 時間で、月45時間")), qPrintable(findings.at(1)));
    QVERIFY(plan->statements.at(1).findings.isEmpty());

    const punch::CommandOutcome outcome = punch::importFromCommandLine(data.path(), path, "11月分");
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY2(outcome.out.contains(QStringLiteral("山田 太郎（11月分）について、労働基準法に関わる次の点を確かめてください。\n")
                                  + findings.join(u'\n')),
             qPrintable(outcome.out));
    QVERIFY(!outcome.out.contains(QStringLiteral("佐藤 花子（")));
    QCOMPARE(test::rowCount(main, "時給ヘッダ"), 2);
}

QTEST_GUILESS_MAIN(TestPunchImport)
#include "tst_punchimport.moc"
