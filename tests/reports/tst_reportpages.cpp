#include "messages/ShowMsg.h"
#include "reports/ReportLayout.h"
#include "reports/ReportPrinter.h"
#include "store/ExportFile.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;
using payslip::PayslipItem;

namespace {

const QDate kPrinted(2024, 5, 10);

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return QStringLiteral("<%1 is missing: scripts/deps installs poppler-utils>").arg(program);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString &pdf)
{
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pageText(const QString &pdf, int page)
{
    const QString number = QString::number(page);
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), number, QStringLiteral("-l"), number, QStringLiteral("-layout"), pdf,
                QStringLiteral("-")});
}

QStringList texts(const reports::Page &page, const QString &name)
{
    QStringList found;
    for (const PayslipItem &item : page)
        if (item.name == name)
            found << item.text;
    return found;
}

reports::StoredStatement statement(const QString &name, int lines, bool premiums = false)
{
    reports::StoredStatement s;
    s.header.name = name;
    s.header.title = QStringLiteral("2024年4月分");
    s.header.wage = 1000.0;
    s.header.hours = 8.0 * lines;
    s.header.total = 8000.0 * lines;
    for (int i = 0; i < lines; ++i) {
        reports::DayLine line{QStringLiteral("202404%1").arg(i % 30 + 1, 2, 10, QLatin1Char('0')),
                              QStringLiteral("0900"),
                              QStringLiteral("1800"),
                              1.0,
                              8.0,
                              1000.0,
                              QVariant(),
                              8000.0,
                              QVariant(),
                              QVariant(),
                              QVariant(),
                              QVariant()};
        if (premiums && i == 0) {
            line.nightHours = 1.5;
            line.premium = 375.0;
        }
        s.lines << line;
    }
    s.days = lines;
    return s;
}

// Every text and rule lies on the printable area of its page.
bool insideArea(const reports::Page &page, bool landscape, QString *what)
{
    const QRectF area(QPointF(0, 0), reports::printableArea(landscape));
    for (const PayslipItem &item : page) {
        const bool inside = item.drawsText() ? area.contains(QRectF(item.rect))
                                             : area.contains(item.line.p1()) && area.contains(item.line.p2());
        if (!inside) {
            *what = item.name + u' ' + item.text;
            return false;
        }
    }
    return true;
}

} // namespace

class TestReportPages : public QObject {
    Q_OBJECT
private slots:
    void longTableRunsOverPages_data();
    void longTableRunsOverPages();
    void sixtyDayLinesFitOnePage();
    void premiumColumnsOnlyWhenPaid();
    void timesBeforeOneShowTheirHour();
    void batchSlipsPrintWhatWasStored_data();
    void batchSlipsPrintWhatWasStored();
    void batchPdfHasOneNamePerPage_data();
    void batchPdfHasOneNamePerPage();
    void ledgerIsLandscape();
    void failedPdfKeepsTheOldFile();
    void printToFileIsRefusedInTheDataFolder();
};

void TestReportPages::longTableRunsOverPages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("pages");
    QTest::newRow("a few employees") << 5 << false << 1;
    QTest::newRow("no rows, only the totals") << 0 << false << 1;
    QTest::newRow("a hundred employees") << 100 << false << 3;
    QTest::newRow("a hundred ledger rows, landscape") << 100 << true << 4;
}

void TestReportPages::longTableRunsOverPages()
{
    QFETCH(int, rows);
    QFETCH(bool, landscape);
    QFETCH(int, pages);
    reports::Summary summary;
    summary.title = QStringLiteral("2024年4月分");
    summary.totals.name = QStringLiteral("合計");
    for (int i = 0; i < rows; ++i) {
        reports::SummaryRow row;
        row.name = QStringLiteral("従業員%1").arg(i, 3, 10, QLatin1Char('0'));
        row.amount = 1000 + i;
        summary.rows << row;
        summary.totals.amount += row.amount;
    }
    reports::Table table = reports::summaryTable(summary, QStringLiteral("ペルマー"), kPrinted);
    table.landscape = landscape;
    const QList<reports::Page> printed = reports::tablePages(table);
    QCOMPARE(printed.size(), pages);

    // Every row once, in order, each page headed alike; the totals once, last.
    QStringList names;
    for (qsizetype p = 0; p < printed.size(); ++p) {
        QString outside;
        QVERIFY2(insideArea(printed[p], landscape, &outside), qPrintable(outside));
        QCOMPARE(texts(printed[p], QStringLiteral("heading")), QStringList{"給与一覧表"});
        QCOMPARE(texts(printed[p], QStringLiteral("subheading")), QStringList{"2024年4月分"});
        QCOMPARE(texts(printed[p], QStringLiteral("caption")).first(), QStringLiteral("氏名"));
        QCOMPARE(texts(printed[p], QStringLiteral("page")),
                 pages > 1 ? QStringList{QStringLiteral("%1 / %2").arg(p + 1).arg(pages)} : QStringList{});
        for (const PayslipItem &item : printed[p])
            if (item.name == QLatin1String("cell") && item.rect.left() < 200)
                names << item.text;
    }
    QStringList expected;
    for (const reports::SummaryRow &row : summary.rows)
        expected << row.name;
    expected << QStringLiteral("合計");
    QCOMPARE(names, expected);
    QVERIFY(texts(printed.last(), QStringLiteral("cell")).contains(QStringLiteral("%L1").arg(summary.totals.amount)));
}

void TestReportPages::sixtyDayLinesFitOnePage()
{
    const reports::Table table = reports::dayLinesTable(statement(QStringLiteral("佐藤"), 60), QString(), kPrinted);
    QCOMPARE(table.rows.size(), 60);
    const QList<reports::Page> pages = reports::tablePages(table);
    QCOMPARE(pages.size(), 1);
    QString outside;
    QVERIFY2(insideArea(pages.first(), false, &outside), qPrintable(outside));
    QCOMPARE(table.totals.mid(3, 2), QStringList({"60.0", "480.0"})); // breaks and hours
    QCOMPARE(table.totals.last(), QStringLiteral("480,000"));
}

void TestReportPages::premiumColumnsOnlyWhenPaid()
{
    const reports::Table plain = reports::dayLinesTable(statement(QStringLiteral("佐藤"), 3), QString(), kPrinted);
    const reports::Table paid = reports::dayLinesTable(statement(QStringLiteral("佐藤"), 3, true), QString(), kPrinted);
    QCOMPARE(plain.columns.size(), 8);
    QCOMPARE(paid.columns.size(), 11);
    QCOMPARE(paid.columns.last().caption, QStringLiteral("割増額"));
    QCOMPARE(paid.rows[0].mid(8), QStringList({"1.5", "", "375"}));
    QCOMPARE(paid.rows[1].mid(8), QStringList({"", "", ""})); // nothing paid: blank, not 0
    QCOMPARE(paid.totals.mid(8), QStringList({"1.5", "", "375"}));
}

// A night shift to half past midnight prints its end as 0:30, not ":30".
void TestReportPages::timesBeforeOneShowTheirHour()
{
    reports::StoredStatement night = statement(QStringLiteral("佐藤"), 1);
    night.lines[0].start = QStringLiteral("0005");
    night.lines[0].end = QStringLiteral("0030");
    const reports::Table table = reports::dayLinesTable(night, QString(), kPrinted);
    QCOMPARE(table.rows[0].mid(1, 2), QStringList({"0:05", "0:30"}));
}

void TestReportPages::batchSlipsPrintWhatWasStored_data()
{
    QTest::addColumn<bool>("night");
    QTest::addColumn<bool>("overtime");
    QTest::newRow("stored without premiums: the slip as before") << false << false;
    QTest::newRow("stored with night hours") << true << false;
    QTest::newRow("stored with night and overtime hours") << true << true;
}

// A batch slip prints what the statement stored, whatever the settings of
// today, as the statement page's own 印刷 does for the same figures.
void TestReportPages::batchSlipsPrintWhatWasStored()
{
    QFETCH(bool, night);
    QFETCH(bool, overtime);
    reports::StoredStatement stored = statement(QStringLiteral("佐藤"), 2, true);
    if (night || overtime)
        stored.header.premium = 937.0;
    if (night)
        stored.header.nightHours = 1.5;
    if (overtime)
        stored.header.overtimeHours = 2.25;
    // Today's settings say the opposite of what was stored.
    settings::PaySettings pay;
    pay.night = !night;
    pay.overtime = !overtime;
    const QList<reports::Page> pages = reports::batchPages({stored}, false, {}, {}, kPrinted, pay);
    QCOMPARE(pages.size(), 1);
    QStringList texts;
    for (const payslip::PayslipItem &item : pages.first())
        texts << item.text;
    const QString all = texts.join(u'|');
    QCOMPARE(all.contains(QStringLiteral("937")), night || overtime);
    QCOMPARE(texts.contains(QStringLiteral("1.5")), night);
    QCOMPARE(texts.contains(QStringLiteral("2.25")), overtime);
    QVERIFY2(all.contains(QStringLiteral("16,000")), qPrintable(all));
}

void TestReportPages::batchPdfHasOneNamePerPage_data()
{
    QTest::addColumn<bool>("dayLines");
    QTest::newRow("slips only") << false;
    QTest::newRow("each slip followed by its day lines") << true;
}

void TestReportPages::batchPdfHasOneNamePerPage()
{
    QFETCH(bool, dayLines);
    const QStringList names{"渡辺 一郎", "佐藤 花子", "山田, \"太郎\""};
    QList<reports::StoredStatement> statements;
    for (qsizetype i = 0; i < names.size(); ++i)
        statements << statement(names[i], int(i) + 1);
    const reports::Document document{QStringLiteral("給与明細"), false,
                                     reports::batchPages(statements, dayLines, QStringLiteral("有限会社ペルマー"),
                                                         QStringLiteral("東京都"), kPrinted)};
    QTemporaryDir dir;
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("batch.pdf"));
    QString error;
    QVERIFY2(reports::writePdf(pdf, document, &error), qPrintable(error));

    const int perStatement = dayLines ? 2 : 1;
    QCOMPARE(pageCount(pdf), int(names.size()) * perStatement);
    for (qsizetype i = 0; i < names.size(); ++i) {
        for (int part = 0; part < perStatement; ++part) {
            const QString text = pageText(pdf, int(i) * perStatement + part + 1);
            // The page's employee, and no other.
            for (qsizetype other = 0; other < names.size(); ++other)
                QVERIFY2(text.contains(names[other]) == (other == i), qPrintable(text));
            if (part == 0) {
                QVERIFY2(text.contains(QStringLiteral("給与明細")), qPrintable(text));
                QVERIFY2(text.contains(QStringLiteral("¥%L1").arg(8000 * (i + 1))), qPrintable(text));
                QVERIFY(!text.contains(QStringLiteral("2024/04/01")));
            } else {
                QVERIFY2(text.contains(QStringLiteral("勤務明細")), qPrintable(text));
                // Each of its lines, and only its lines.
                for (int d = 1; d <= 3; ++d)
                    QCOMPARE(text.contains(QStringLiteral("2024/04/%1").arg(d, 2, 10, QLatin1Char('0'))), d <= i + 1);
            }
        }
    }
}

void TestReportPages::ledgerIsLandscape()
{
    reports::Ledger ledger;
    ledger.name = QStringLiteral("佐藤 花子");
    ledger.year = 2024;
    reports::LedgerRow row;
    row.title = QStringLiteral("2024年4月分");
    row.firstDate = QStringLiteral("20240401");
    row.lastDate = QStringLiteral("20240430");
    row.amount = 123456;
    ledger.rows << row;
    const reports::Table table = reports::ledgerTable(ledger, QString(), kPrinted);
    QVERIFY(table.landscape);
    QVERIFY(table.subheadings.join(u' ').contains(reports::kLedgerYearRule));
    QTemporaryDir dir;
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("ledger.pdf"));
    QVERIFY(reports::writePdf(pdf, {table.heading, true, reports::tablePages(table)}));
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    QVERIFY2(size.hasMatch(), qPrintable(info));
    QVERIFY(size.captured(1).toDouble() > size.captured(2).toDouble());
    const QString text = pageText(pdf, 1);
    QVERIFY2(text.contains(QStringLiteral("2024/04/01〜2024/04/30")) && text.contains(QStringLiteral("123,456")),
             qPrintable(text));
}

void TestReportPages::failedPdfKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("fixed"));
    QVERIFY(QDir().mkpath(folder));
    const QString pdf = QDir(folder).filePath(QStringLiteral("old.pdf"));
    {
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    const reports::Document document{
        QStringLiteral("給与明細"), false,
        reports::batchPages({statement(QStringLiteral("佐藤"), 1)}, false, {}, {}, kPrinted)};
    QString error;
    QVERIFY(!reports::writePdf(QDir(folder).filePath(QStringLiteral("no/such/x.pdf")), document, &error));
    QVERIFY(!error.isEmpty());
    const test::Immutable fixed(folder);
    if (!fixed.ok)
        QSKIP("the file system has no immutable attribute");
    QVERIFY(!reports::writePdf(pdf, document, &error));
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
}

void TestReportPages::printToFileIsRefusedInTheDataFolder()
{
    // The print dialog's "print to file" names the file on the printer.
    QTemporaryDir data;
    exportfile::protectDataFolder(data.path());
    QStringList told;
    setMessageAnswerer([&told](const MessageRequest &request) {
        told << request.subKey;
        return false;
    });
    const reports::Document document{
        QStringLiteral("給与明細"), false,
        reports::batchPages({statement(QStringLiteral("佐藤"), 1)}, false, {}, {}, kPrinted)};
    QPrintPreviewDialog *preview = reports::createPreview(nullptr, document, QStringLiteral("x.pdf"));
    preview->printer()->setOutputFileName(QDir(data.path()).filePath(QStringLiteral("x.pdf")));
    // The preview still draws, through its own engine.
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    pages->updatePreview();
    QCOMPARE(pages->pageCount(), 1);
    emit preview->paintRequested(preview->printer());
    delete preview;
    setMessageAnswerer({});
    QCOMPARE(told, QStringList{QStringLiteral("書出し先")});
    QVERIFY(QDir(data.path()).isEmpty());
}

QTEST_MAIN(TestReportPages)
#include "tst_reportpages.moc"
