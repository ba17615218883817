#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "app/Version.h"
#include "payroll/StatementPay.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace pelmar;
using cli::Action;

namespace {

const QString kApril = QStringLiteral("2024年4月分");
const QStringList kNames{"渡辺 一郎", "山田, \"太郎\"", "鈴木\n一郎"};

struct Ran {
    int exitCode = -1;
    QString out;
    QString err;
};

// The real program, as a shell starts it with no display at all.
Ran runPelmar(const QStringList &arguments, const QString &program = QStringLiteral(PELMAR_EXE))
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Ran ran;
    if (!process.waitForStarted() || !process.waitForFinished(60000))
        return ran;
    ran.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    ran.out = QString::fromUtf8(process.readAllStandardOutput());
    ran.err = QString::fromUtf8(process.readAllStandardError());
    return ran;
}

QString describe(const Ran &ran)
{
    return QStringLiteral("exit %1\nstdout: %2\nstderr: %3").arg(ran.exitCode).arg(ran.out, ran.err);
}

bool seed(const QSqlDatabase &main)
{
    bool ok = true;
    for (qsizetype i = 0; i < kNames.size(); ++i) {
        test::SeedLine line;
        line.date = QStringLiteral("202404%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        line.amount = 8000 + 1000 * double(i);
        ok = ok && test::addEmployee(main, int(i) + 1, kNames[i])
            && test::storeStatement(main, kNames[i], kApril, 1000, {line});
    }
    test::SeedLine december;
    december.date = QStringLiteral("20231225");
    // The first statement kept its pay, paid in May; the others were saved before pay was kept.
    statements::StatementPay pay;
    pay.name = kNames[0];
    pay.title = kApril;
    pay.kept = true;
    pay.payDate = QDate(2024, 5, 25);
    pay.basic = pay.gross = 8000;
    pay.deductions = {0, 0, 0, 44, 0, 0};
    pay.socialInsurance = pay.deductionTotal = 44;
    pay.taxable = pay.netPay = 7956;
    pay.column = pay::TaxColumn::Kou;
    QSqlDatabase db = main;
    return ok && test::storeStatement(main, kNames[0], QStringLiteral("2023年12月分"), 1000, {december})
        && statements::writeStatementPay(db, pay);
}

int pdfPages(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(60000);
    const auto m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pdfPageText(const QString &pdf, int page)
{
    QProcess text;
    const QString number = QString::number(page);
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf, QStringLiteral("-")});
    text.waitForFinished(60000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void parsing_data();
    void parsing();
    void mistakes_data();
    void mistakes();
    void helpAndVersionNeedNoDisplay();
    void exports_data();
    void exports();
    void defaultFolderWhileTheProgramRuns();
    void refusedPlaces_data();
    void refusedPlaces();
    void formulaLikeTextStaysText();
    void importPunchesWholeOrNothing();

private:
    test::TestDataFolder m_data;
    QTemporaryDir m_out;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(m_data.isValid());
    QSqlDatabase main = m_data.mainDb();
    QVERIFY(seed(main));
    QVERIFY(execBound(main, QStringLiteral("insert into 自社情報 values ('有限会社ペルマー', '東京都')")));
}

void TestCommandLine::parsing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("values"); // data folder, title, name, year, file, day lines
    const QStringList none{"", "", "", "0", "", "no"};
    QTest::newRow("nothing: the window") << QStringList{} << int(Action::RunProgram) << none;
    QTest::newRow("Qt's own options go to the window")
        << QStringList{"-platform", "offscreen", "--style=fusion", "-reverse"} << int(Action::RunProgram) << none;
    QTest::newRow("--help") << QStringList{"--help"} << int(Action::Help) << none;
    QTest::newRow("-h after an export") << QStringList{"--export-pdf", "T", "a.pdf", "-h"} << int(Action::Help) << none;
    QTest::newRow("--version") << QStringList{"--version"} << int(Action::Version) << none;
    QTest::newRow("-v") << QStringList{"-v"} << int(Action::Version) << none;
    QTest::newRow("batch PDF") << QStringList{"--export-pdf", "2024年4月分", "out.pdf"} << int(Action::ExportPdf)
                               << QStringList{"", "2024年4月分", "", "0", "out.pdf", "no"};
    QTest::newRow("batch PDF with day lines and a folder")
        << QStringList{"--data", "/srv/shop/data", "--export-pdf", "T", "out.pdf", "--with-lines"}
        << int(Action::ExportPdf) << QStringList{"/srv/shop/data", "T", "", "0", "out.pdf", "yes"};
    QTest::newRow("a title that starts with a dash")
        << QStringList{"--export-summary", "-4月", "s.csv"} << int(Action::ExportSummary)
        << QStringList{"", "-4月", "", "0", "s.csv", "no"};
    QTest::newRow("summary, folder after =")
        << QStringList{"--export-summary", "T", "s.csv", "--data=/d"} << int(Action::ExportSummary)
        << QStringList{"/d", "T", "", "0", "s.csv", "no"};
    QTest::newRow("values behind --, even an option's name")
        << QStringList{"--data", "/d", "--export-ledger", "--", "-v", "2024", "-"} << int(Action::ExportLedger)
        << QStringList{"/d", "", "-v", "2024", "-", "no"};
    QTest::newRow("punches: the file, then the title")
        << QStringList{"--import-punches", "p.csv", "2026年11月分"} << int(Action::ImportPunches)
        << QStringList{"", "2026年11月分", "", "0", "p.csv", "no"};
    QTest::newRow("ledger") << QStringList{"--export-ledger", "山田, \"太郎\"", "2024", "l.csv"}
                            << int(Action::ExportLedger)
                            << QStringList{"", "", "山田, \"太郎\"", "2024", "l.csv", "no"};
}

void TestCommandLine::parsing()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, values);
    const cli::Command command = cli::parse(QStringList{QStringLiteral("pelmar")} + arguments);
    QVERIFY2(command.error.isEmpty(), qPrintable(command.error));
    QCOMPARE(int(command.action), action);
    QCOMPARE(QStringList({command.dataFolder, command.title, command.name, QString::number(command.year), command.file,
                          command.dayLines ? QStringLiteral("yes") : QStringLiteral("no")}),
             values);
}

void TestCommandLine::mistakes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said"); // part of what the user is told
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "--bogus";
    QTest::newRow("unknown short option") << QStringList{"-x"} << "-x";
    QTest::newRow("stray word") << QStringList{"2024年4月分"} << "2024年4月分";
    QTest::newRow("file missing") << QStringList{"--export-pdf", "T"} << "タイトルとファイル";
    QTest::newRow("a year of two digits") << QStringList{"--export-tax-payments", "24", "t.csv"} << "4 桁";
    QTest::newRow("an option taken for a value")
        << QStringList{"--export-pdf", "--data", "d", "x.pdf"} << "タイトルとファイル";
    QTest::newRow("two exports") << QStringList{"--export-pdf", "T", "a.pdf", "--export-summary", "T", "b.csv"}
                                 << "一つだけ";
    QTest::newRow("day lines without the PDF")
        << QStringList{"--with-lines", "--export-summary", "T", "b.csv"} << "--with-lines";
    QTest::newRow("folder without an export") << QStringList{"--data", "/d"} << "--data";
    QTest::newRow("folder missing") << QStringList{"--export-summary", "T", "b.csv", "--data"} << "--data";
    QTest::newRow("folder twice") << QStringList{"--data", "a", "--data=b", "--export-summary", "T", "b.csv"}
                                  << "一度だけ";
    QTest::newRow("year of two digits") << QStringList{"--export-ledger", "山田", "24", "l.csv"} << "4 桁";
    QTest::newRow("year in kanji") << QStringList{"--export-ledger", "山田", "二〇二四", "l.csv"} << "4 桁";
    QTest::newRow("empty file name") << QStringList{"--export-summary", "T", ""} << "ファイル";
    QTest::newRow("year with a sign") << QStringList{"--export-ledger", "山田", "+202", "l.csv"} << "4 桁";
    QTest::newRow("a word behind --") << QStringList{"--export-summary", "T", "s.csv", "--", "x"} << "x が何の";
}

void TestCommandLine::mistakes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    const cli::Command command = cli::parse(QStringList{QStringLiteral("pelmar")} + arguments);
    QCOMPARE(int(command.action), int(Action::UsageError));
    QVERIFY2(command.error.contains(said), qPrintable(command.error));
    const cli::Result result = cli::execute(command, m_data.path());
    QCOMPARE(result.exitCode, cli::kUsage);
    QVERIFY(result.out.isEmpty());
    QVERIFY(result.err.contains(command.error) && result.err.contains(cli::usage()));
}

void TestCommandLine::helpAndVersionNeedNoDisplay()
{
    const Ran help = runPelmar({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    for (const char *option :
         {"--export-pdf", "--with-lines", "--export-summary", "--export-ledger", "--export-withholding",
          "--export-year-end", "--export-tax-payments", "--export-cash", "--data", "--help", "--version"})
        QVERIFY2(help.out.contains(QString::fromUtf8(option)), option);
    QVERIFY(help.out.contains(QStringLiteral("使い方")));

    const Ran version = runPelmar({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("Pelmar ") + kPelmarVersion + u'\n');

    const Ran wrong = runPelmar({QStringLiteral("--bogus")});
    QCOMPARE(wrong.exitCode, 2);
    QVERIFY(wrong.out.isEmpty());
    QVERIFY2(wrong.err.contains(QStringLiteral("--bogus")) && wrong.err.contains(QStringLiteral("使い方")),
             qPrintable(wrong.err));
}

void TestCommandLine::exports_data()
{
    QTest::addColumn<QStringList>("arguments"); // {folder} and {out} stand for the data folder and the output folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // part of stdout on success, of stderr otherwise
    QTest::addColumn<int>("pages"); // of the PDF written; -1: no PDF; -2: the file must not exist
    const QString data = QStringLiteral("{folder}");
    QTest::newRow("batch PDF") << QStringList{"--data", data, "--export-pdf", kApril, "{out}/april.pdf"} << 0
                               << "3 ページ" << 3;
    QTest::newRow("batch PDF with day lines")
        << QStringList{"--export-pdf", kApril, "{out}/lines.pdf", "--with-lines", "--data", data} << 0 << "6 ページ"
        << 6;
    QTest::newRow("summary") << QStringList{"--data", data, "--export-summary", kApril, "{out}/summary.csv"} << 0
                             << "4 行" << -1;
    QTest::newRow("ledger") << QStringList{"--data", data, "--export-ledger", kNames[0], "2024", "{out}/ledger.csv"}
                            << 0 << "明細 1 件" << -1;
    QTest::newRow("withholding book")
        << QStringList{"--data", data, "--export-withholding", kNames[0], "2024", "{out}/withholding.csv"} << 0
        << "支給 1 件" << -1;
    // 2024 has no 年末調整 figures: the worksheet says so and why.
    QTest::newRow("year-end worksheet")
        << QStringList{"--data", data, "--export-year-end", kNames[0], "2024", "{out}/year-end.csv"} << 0
        << "year-end.csv に年末調整の計算書を書き出しました（渡辺 一郎 の 2024 年分、年末調整をしない。" << -1;
    QTest::newRow("tax withheld by month")
        << QStringList{"--data", data, "--export-tax-payments", "2024", "{out}/payments.csv"} << 0
        << "2024 年の源泉所得税" << -1;
    QTest::newRow("cash table") << QStringList{"--data", data, "--export-cash", kApril, "{out}/cash.csv"} << 0
                                << "うち 2 名は差引支給額がなく" << -1;
    QTest::newRow("withholding of a year with no pay date")
        << QStringList{"--data", data, "--export-withholding", kNames[0], "2023", "{out}/none.csv"} << 1
        << "（2023年支給） の明細は保存されていません" << -2;
    // The whole sentence told, every value in its place.
    QTest::newRow("batch PDF with day lines, as told")
        << QStringList{"--data", data, "--export-pdf", kApril, "{out}/told.pdf", "--with-lines"} << 0
        << "told.pdf に 6 ページを書き出しました（タイトル「2024年4月分」の給与明細 3 名、日ごとの明細付き）。\n"
        << 6;
    QTest::newRow("summary, as told")
        << QStringList{"--data", data, "--export-summary", kApril, "{out}/told-summary.csv"} << 0
        << "told-summary.csv に給与一覧表を書き出しました"
           "（タイトル「2024年4月分」、3 名と合計の 4 行、見出しの行を除く）。\n"
        << -1;
    QTest::newRow("ledger, as told")
        << QStringList{"--data", data, "--export-ledger", kNames[0], "2024", "{out}/told-ledger.csv"} << 0
        << "told-ledger.csv に賃金台帳を書き出しました（渡辺 一郎 の 2024 年、明細 1 件、見出しの行を除いて 1 行）。\n"
        << -1;
    QTest::newRow("title that holds nothing")
        << QStringList{"--data", data, "--export-pdf", "2024年5月分", "{out}/may.pdf"} << 1
        << "2024年5月分 の明細は保存されていません" << -2;
    QTest::newRow("summary of a title that holds nothing")
        << QStringList{"--data", data, "--export-summary", "2024年5月分", "{out}/may.csv"} << 1
        << "2024年5月分 の明細は保存されていません" << -2;
    QTest::newRow("name that holds nothing in that year")
        << QStringList{"--data", data, "--export-ledger", kNames[1], "2023", "{out}/none.csv"} << 1
        << "（2023年） の明細は保存されていません" << -2;
    QTest::newRow("file that cannot be written")
        << QStringList{"--data", data, "--export-summary", kApril, "{out}/no folder/s.csv"} << 1 << "書き込めません"
        << -2;
    QTest::newRow("PDF that cannot be written")
        << QStringList{"--data", data, "--export-pdf", kApril, "{out}/no folder/a.pdf"} << 1 << "no folder" << -2;
    QTest::newRow("data folder without files")
        << QStringList{"--data", "{out}", "--export-summary", kApril, "{out}/s.csv"} << 1 << "ファイルがありません"
        << -2;
}

void TestCommandLine::exports()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(int, pages);
    QString file;
    for (QString &argument : arguments) {
        argument.replace(QStringLiteral("{folder}"), m_data.path()).replace(QStringLiteral("{out}"), m_out.path());
        if (argument.endsWith(QStringLiteral(".pdf")) || argument.endsWith(QStringLiteral(".csv")))
            file = argument;
    }
    const QByteArray dataBefore = [&] {
        QFile main(m_data.mainPath());
        return main.open(QIODevice::ReadOnly) ? main.readAll() : QByteArray();
    }();
    QFile::remove(file);
    const Ran ran = runPelmar(arguments);
    QVERIFY2(ran.exitCode == exitCode, qPrintable(describe(ran)));
    if (exitCode == 0) {
        // What was written, and where.
        QVERIFY2(ran.out.contains(said) && ran.out.contains(QDir::toNativeSeparators(file)), qPrintable(describe(ran)));
        QVERIFY(QFile::exists(file));
    } else {
        QVERIFY2(ran.out.isEmpty() && ran.err.contains(said), qPrintable(describe(ran)));
        QVERIFY(!QFile::exists(file));
    }
    if (pages > 0) {
        QCOMPARE(pdfPages(file), pages);
        const int perSlip = pages / int(kNames.size());
        for (qsizetype i = 0; i < kNames.size(); ++i) {
            const QString text = pdfPageText(file, int(i) * perSlip + 1);
            for (qsizetype other = 0; other < kNames.size(); ++other)
                QVERIFY2(text.contains(kNames[other].section(u'\n', 0, 0)) == (other == i), qPrintable(text));
        }
    }
    if (file.endsWith(QStringLiteral(".csv")) && exitCode == 0) {
        const test::CsvReadBack back = test::readCsvWithPython(file);
        QVERIFY2(back.ok, qPrintable(back.error));
        QVERIFY(back.bom && back.sameAsPythonWrites);
        if (file.endsWith(QStringLiteral("summary.csv"))) {
            // A record a statement, the totals, and the statements the totals leave out.
            QCOMPARE(back.rows.size(), kNames.size() + 3);
            for (qsizetype i = 0; i < kNames.size(); ++i)
                QCOMPARE(back.rows[i + 1].first(), kNames[i]);
            const QStringList totals = back.rows.at(kNames.size() + 1);
            QCOMPARE(totals.mid(0, 11), QStringList({"合計", "3", "24", "0", "0", "", "0", "27000", "0", "0", ""}));
            QVERIFY2(back.rows.last().first().startsWith(QStringLiteral("控除・差引支給額の合計に含まない明細：")),
                     qPrintable(back.rows.last().join(u',')));
            // The pay of the one statement that kept it; the gross of all three.
            QCOMPARE(totals.mid(11),
                     QStringList({"0", "27000", "0", "0", "0", "44", "0", "0", "0", "44", "7956"}));
            QCOMPARE(back.rows[2].mid(11), QStringList({"", "9000", "", "", "", "", "", "", "", "", ""}));
        } else if (file.endsWith(QStringLiteral("ledger.csv"))) {
            QCOMPARE(back.rows.size(), 2);
            QCOMPARE(back.rows[1].mid(0, 4), QStringList({kNames[0], kApril, "2024/04/01", "2024/04/01"}));
        } else if (file.endsWith(QStringLiteral("withholding.csv"))) {
            QCOMPARE(back.rows.size(), 3); // the header, the May payment, the year
            QCOMPARE(back.rows[1],
                     QStringList({kNames[0], "2024/05/25", kApril, "甲", "0", "8000", "0", "44", "7956", "0"}));
        } else if (file.endsWith(QStringLiteral("payments.csv"))) {
            QCOMPARE(back.rows.size(), 16); // twelve months, two halves and the year
            QCOMPARE(back.rows[5], QStringList({"2024", "5月", "1", "1", "8000", "0", "0"}));
        } else if (file.endsWith(QStringLiteral("cash.csv"))) {
            // 7,956 yen: a 5,000, two 1,000, a 500, four 100, a 50, a 5 and a 1.
            QCOMPARE(back.rows[1], QStringList({kNames[0], "7956", "0", "1", "2", "1", "4", "1", "0", "1", "1", ""}));
            QCOMPARE(back.rows[2].first(), kNames[1]);
            QCOMPARE(back.rows[2].at(1), QString()); // no net pay: listed, never counted as 0
            QCOMPARE(back.rows.last().mid(0, 2), QStringList({"合計", "7956"}));
        }
    }
    // Exporting only reads.
    QFile main(m_data.mainPath());
    QVERIFY(main.open(QIODevice::ReadOnly));
    QVERIFY(main.readAll() == dataBefore);
}

void TestCommandLine::defaultFolderWhileTheProgramRuns()
{
    // A copy of the program with its data folder beside it, running.
    QTemporaryDir dir;
    const QString exe = QDir(dir.path()).filePath(QStringLiteral("pelmar"));
    const QString data = QDir(dir.path()).filePath(QStringLiteral("data"));
    QVERIFY(QFile::copy(QStringLiteral(PELMAR_EXE), exe));
    QVERIFY(QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(QProcess::execute(QStringLiteral(PELMAR_NEWDATA_EXE), {data}), 0);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(QDir(data).filePath(kMainDbFileName));
        QVERIFY(db.open());
        QVERIFY(seed(db));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));

    QProcess running;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    running.setProcessEnvironment(env);
    running.start(exe, {});
    QVERIFY(running.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(data).filePath(kLockFileName)), 20000);

    const QString out = QDir(m_out.path()).filePath(QStringLiteral("beside.csv"));
    const Ran ran = runPelmar({QStringLiteral("--export-summary"), kApril, out}, exe);
    QVERIFY2(ran.exitCode == 0, qPrintable(describe(ran)));
    QCOMPARE(test::readCsvWithPython(out).rows.size(), kNames.size() + 3);
    // The running copy goes on as it was.
    QCOMPARE(running.state(), QProcess::Running);

    running.terminate();
    if (!running.waitForFinished(10000)) {
        running.kill();
        running.waitForFinished(5000);
    }
}

void TestCommandLine::refusedPlaces_data()
{
    QTest::addColumn<QString>("file"); // {data}: a data folder; {out}: a folder of links and other things
    QTest::addColumn<QString>("said");
    const auto row = [](const char *name, const char *file, const char *said) {
        QTest::newRow(name) << QString::fromUtf8(file) << QString::fromUtf8(said);
    };
    // Inside the data folder or its backup folder, as named or through links.
    row("the main file", "{data}/Pelmar.mdb", "データフォルダー");
    row("the lock", "{data}/Pelmar.lock", "データフォルダー");
    row("a new name in the backup folder", "{data}/backup/s.csv", "データフォルダー");
    row("a link to the main file", "{out}/link.csv", "データフォルダー");
    row("through a link to the folder", "{out}/folder-link/Pelmar.mdb", "データフォルダー");
    row("a database outside", "{out}/copy.mdb", "データベース");
    row("a folder", "{out}", "フォルダーです");
    row("a link to nowhere", "{out}/dangling", "リンク");
#ifdef Q_OS_UNIX
    row("a device", "/dev/null", "ふつうのファイル");
    row("a named pipe", "{out}/pipe", "ふつうのファイル");
#endif
}

void TestCommandLine::refusedPlaces()
{
    QFETCH(QString, file);
    QFETCH(QString, said);
    // A data folder that holds statements, with everything a running Pelmar
    // keeps beside them, and a folder of what else a name can reach.
    QTemporaryDir dir;
    const QString data = QDir(dir.path()).filePath(QStringLiteral("data"));
    const QString out = QDir(dir.path()).filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(data + QStringLiteral("/backup")) && QDir().mkpath(out));
    QVERIFY(QFile::copy(m_data.mainPath(), data + QStringLiteral("/Pelmar.mdb")));
    QVERIFY(QFile::copy(m_data.mainPath(), data + QStringLiteral("/backup/Pelmar-20240401-120000-daily.mdb")));
    QVERIFY(QFile::copy(m_data.mainPath(), out + QStringLiteral("/copy.mdb")));
    QVERIFY(QFile::copy(m_data.workPath(), data + QStringLiteral("/PelmarWork.mdb")));
    // An empty journal: one with content would be a crash's, which only the
    // window may roll back.
    QFile lock(data + QStringLiteral("/Pelmar.lock")), journal(data + QStringLiteral("/Pelmar.mdb-journal"));
    QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write("4242") == 4 && journal.open(QIODevice::WriteOnly));
    lock.close();
    journal.close();
    QVERIFY(QFile::link(data + QStringLiteral("/Pelmar.mdb"), out + QStringLiteral("/link.csv")));
    QVERIFY(QFile::link(data, out + QStringLiteral("/folder-link")));
    QVERIFY(QFile::link(out + QStringLiteral("/gone/x.csv"), out + QStringLiteral("/dangling")));
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(out + QStringLiteral("/pipe")).constData(), 0600), 0);
#endif
    const auto everything = [&] {
        QStringList seen;
        for (const QString &folder : {data, data + QStringLiteral("/backup"), out})
            for (const QFileInfo &info :
                 QDir(folder).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
                seen << info.fileName() + u' ' + QString::number(info.isSymLink()) + QString::number(info.isFile())
                        + (info.isFile() && !info.isSymLink() ? test::fileBytes(info.filePath()).toHex() : QString());
        return seen;
    };
    const QStringList before = everything();
    file.replace(QStringLiteral("{data}"), data).replace(QStringLiteral("{out}"), out);

    for (const QStringList &export_ : {QStringList{"--export-pdf", kApril}, QStringList{"--export-summary", kApril},
                                       QStringList{"--export-ledger", kNames[0], "2024"}}) {
        const Ran ran = runPelmar(QStringList{"--data", data} + export_ + QStringList{file});
        QVERIFY2(ran.exitCode == 1 && ran.out.isEmpty(), qPrintable(describe(ran)));
        QVERIFY2(ran.err.contains(said) && ran.err.contains(QDir::toNativeSeparators(file)), qPrintable(describe(ran)));
    }
    QCOMPARE(everything(), before);
#ifdef Q_OS_UNIX
    struct stat device {};
    QVERIFY(::stat("/dev/null", &device) == 0 && S_ISCHR(device.st_mode));
#endif
}

void TestCommandLine::formulaLikeTextStaysText()
{
    // Names and a title a spreadsheet would take for formulas; the title is
    // one of Qt's own options too, which must stay a title.
    const QStringList names{"=HYPERLINK(\"http://x\",\"y\")", "+81 3", "-佐藤", "@SUM(A1)", "\t田中", "\r中村"};
    QSqlDatabase main = m_data.mainDb();
    for (qsizetype i = 0; i < names.size(); ++i) {
        test::SeedLine line;
        line.date = QStringLiteral("20220105");
        line.adjustment = -500;
        QVERIFY(test::storeStatement(main, names[i], QStringLiteral("-style"), 1000, {line}));
    }
    const QString summary = QDir(m_out.path()).filePath(QStringLiteral("formulas.csv"));
    Ran ran = runPelmar({"--data", m_data.path(), "--export-summary", "-style", summary});
    QVERIFY2(ran.exitCode == 0, qPrintable(describe(ran)));
    const test::CsvReadBack back = test::readCsvWithPython(summary);
    QVERIFY2(back.ok && back.sameAsPythonWrites, qPrintable(back.error));
    // The header, a row a name and the totals; the registered employees
    // without a statement under the title follow.
    QCOMPARE(back.rows.value(names.size() + 1).value(0), QStringLiteral("合計"));
    QList<QStringList> todays;
    for (const QStringList &row : back.rows)
        todays << row.mid(0, 11);
    for (qsizetype i = 0; i < names.size(); ++i) {
        QVERIFY(todays.contains(QStringList({u'\'' + names[i], "1", "8", "0", "0", "1000", "-500", "8000", "0", "0", ""})));
    }
    const QString ledger = QDir(m_out.path()).filePath(QStringLiteral("ledger-formula.csv"));
    ran = runPelmar({"--data", m_data.path(), "--export-ledger", names[0], "2022", ledger});
    QVERIFY2(ran.exitCode == 0, qPrintable(describe(ran)));
    QCOMPARE(test::readCsvWithPython(ledger).rows.value(1).mid(0, 13),
             QStringList({u'\'' + names[0], "'-style", "2022/01/05", "2022/01/05", "1", "8", "0", "0", "8500", "0",
                          "-500", "8000", "0"}));
}

void TestCommandLine::importPunchesWholeOrNothing()
{
    test::TestDataFolder data;
    QVERIFY(data.isValid());
    QSqlDatabase main = data.mainDb();
    QVERIFY(test::addEmployee(main, 1, QStringLiteral("山田 太郎"), 1000));
    QVERIFY(test::addEmployee(main, 2, QStringLiteral("佐藤 花子"), 1200));
    const auto write = [&](const QString &name, const QString &rows) {
        const QString path = QDir(m_out.path()).filePath(name);
        QFile file(path);
        const bool ok = file.open(QIODevice::WriteOnly)
            && file.write((QStringLiteral("氏名,日付,出勤,退勤,休憩\r\n") + rows).toUtf8()) > 0;
        return ok ? path : QString();
    };
    const QString good = write(QStringLiteral("good.csv"), QStringLiteral("山田 太郎,2026/11/02,9:00,18:00,1:00\r\n"
                                                                          "佐藤 花子,2026/11/02,22:00,1:00,0\r\n"
                                                                          "佐藤 花子,2026/11/03,22:00,1:00,0\r\n"));
    const QString bad = write(QStringLiteral("bad.csv"), QStringLiteral("山田 太郎,2026/11/04,9:00,18:00,1:00\r\n"
                                                                        "田中 次郎,2026/11/04,9:00,18:00,1:00\r\n"));
    const QString title = QStringLiteral("2026年11月分");
    const auto stored = [&] {
        return test::rows(main, QStringLiteral("select 氏名, 合計, 割増額, (select count(*) from 時給明細 l where l.氏名 = h.氏名)"
                                               " from 時給ヘッダ h order by 氏名"));
    };

    // One row that cannot be taken: nothing at all is written.
    Ran ran = runPelmar({"--data", data.path(), "--import-punches", bad, title});
    QVERIFY2(ran.exitCode == 1 && ran.err.contains(QStringLiteral("3行目")) && ran.err.contains(QStringLiteral("田中 次郎")),
             qPrintable(describe(ran)));
    QVERIFY(stored().isEmpty());

    // Night hours earn the shop's 25 %: 3 h × 1,200 yen + 900 yen a shift.
    ran = runPelmar({"--data", data.path(), "--import-punches", good, title});
    QVERIFY2(ran.exitCode == 0 && ran.out.contains(QStringLiteral("明細 2 件（3 行）")), qPrintable(describe(ran)));
    QCOMPARE(stored(), test::Rows({{"佐藤 花子", "9000", "1800", "2"}, {"山田 太郎", "8000", "0", "1"}}));
    // Neither has 給与設定: stored with no 所得税, and the owner is told whom.
    QVERIFY2(ran.err.contains(QStringLiteral("所得税を差し引いていません: 佐藤 花子、山田 太郎")), qPrintable(describe(ran)));
    QVERIFY(!QDir(data.path() + QStringLiteral("/backup")).entryList({QStringLiteral("*-punch-import.mdb")}).isEmpty());

    // The same file again would put a second statement over the first.
    ran = runPelmar({"--data", data.path(), "--import-punches", good, title});
    QVERIFY2(ran.exitCode == 1 && ran.err.contains(QStringLiteral("すでにあります")), qPrintable(describe(ran)));
    QCOMPARE(stored().size(), 2);
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
