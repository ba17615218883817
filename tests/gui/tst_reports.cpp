// The reports of the history page through the real window: every slip of a
// title at once, the monthly summary and the wage ledger.
#include "app/FrmPelmar.h"
#include "reports/ReportDialog.h"
#include "reports/ReportPrinter.h"
#include "statements/HistoryPage.h"
#include "statements/StatementPage.h"
#include "payroll/StatementPay.h"
#include "store/Database.h"

#include "../support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;
using test::SeedLine;

namespace {

const QString kApril = QStringLiteral("2024年4月分");
const QString kMarch = QStringLiteral("2024年3月分");
// In the order of their numbers in the employee master.
const QStringList kNames{"渡辺 一郎", "山田, \"太郎\"", "O'Brien\n二郎"};

SeedLine day(const QString &date, double hours, double amount)
{
    SeedLine line;
    line.date = date;
    line.hours = hours;
    line.amount = amount;
    return line;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QString textOf(const reports::Page &page, const QString &control)
{
    for (const payslip::PayslipItem &item : page)
        if (item.name == control)
            return item.text;
    return QStringLiteral("<none>");
}

int pdfPages(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(60000);
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    const qsizetype at = text.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? -1 : text.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

// What the report buttons hand over instead of showing a preview or a file dialog.
struct Hooks {
    QList<reports::Document> previews;
    QString savePath; // the answer to every file dialog
    QStringList offered; // what each file dialog suggested
    Hooks()
    {
        reports::setPreviewHook([this](const reports::Document &document, const QString &) { previews << document; });
        reports::setSaveNameHook([this](const QString &suggested) {
            offered << QFileInfo(suggested).fileName();
            return savePath;
        });
    }
    ~Hooks()
    {
        reports::setPreviewHook({});
        reports::setSaveNameHook({});
    }
};

} // namespace

class TestReports : public test::WindowFixture {
    Q_OBJECT
private slots:
    void cleanup() override;
    void controlsAreThereFromTheStart();
    void choosersOfferWhatIsStored();
    void batchPrintIsTheSingleSlipOfEach();
    void batchPdfWithDayLines();
    void nothingToReport_data();
    void nothingToReport();
    void fileThatCannotBeWritten_data();
    void fileThatCannotBeWritten();
    void summaryOnScreenAndAsCsv();
    void ledgerOnScreenAndAsCsv();
    void payReportsOpenFromTheHistoryPage_data();
    void payReportsOpenFromTheHistoryPage();

protected:
    void seed() override;

private:
    HistoryPage *history() const { return window()->historyPage(); }
    void showHistory() { control<QTabWidget>("SSTab1")->setCurrentWidget(history()); }
    QTemporaryDir m_out;
};

void TestReports::seed()
{
    for (qsizetype i = 0; i < kNames.size(); ++i)
        QVERIFY(test::addEmployee(mainDb(), int(i) + 1, kNames[i], 1000 + 100 * double(i)));
    // Saved in another order than the numbers.
    QVERIFY(test::storeStatement(mainDb(), kNames[2], kApril, 1200, {day("20240405", 8, 9600)}));
    QVERIFY(test::storeStatement(mainDb(), kNames[0], kApril, 1000,
                                 {day("20240401", 8, 8000), day("20240402", 7.5, 7500)}));
    QVERIFY(test::storeStatement(mainDb(), kNames[1], kApril, 1100, {day("20240410", 4, 4400)}));
    QVERIFY(test::storeStatement(mainDb(), kNames[0], kMarch, 1000, {day("20240301", 8, 8000)}));
    QVERIFY(
        test::storeStatement(mainDb(), kNames[0], QStringLiteral("2023年12月分"), 1000, {day("20231225", 8, 8000)}));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 自社情報 values ('有限会社ペルマー', '東京都')")));
}

void TestReports::cleanup()
{
    reports::setPreviewHook({});
    reports::setSaveNameHook({});
    WindowFixture::cleanup();
}

void TestReports::controlsAreThereFromTheStart()
{
    for (const char *name : {"frame帳票", "cmbタイトル選択", "cmd一括印刷", "cmd一括PDF", "chk明細付き", "cmd一覧表",
                             "cmb台帳氏名", "cmb台帳年", "cmd台帳"})
        QVERIFY2(window()->findChild<QWidget *>(QString::fromUtf8(name)), name);
    // Start-up does not read them: the history page has not shown yet.
    QCOMPARE(control<QComboBox>("cmbタイトル選択")->count(), 0);
}

void TestReports::choosersOfferWhatIsStored()
{
    showHistory();
    QCOMPARE(comboItems(control<QComboBox>("cmbタイトル選択")), QStringList({kApril, kMarch, "2023年12月分"}));
    QCOMPARE(comboItems(control<QComboBox>("cmb台帳氏名")), kNames);
    QCOMPARE(comboItems(control<QComboBox>("cmb台帳年")), QStringList({"2024", "2023"}));
    control<QComboBox>("cmb台帳氏名")->setCurrentIndex(1);
    QCOMPARE(comboItems(control<QComboBox>("cmb台帳年")), QStringList({"2024"}));

    // Deleted meanwhile: the next time the page shows, it is no longer offered.
    control<QTabWidget>("SSTab1")->setCurrentIndex(0);
    QVERIFY(statements::remove(mainDb(), kNames[1], kApril));
    showHistory();
    QCOMPARE(comboItems(control<QComboBox>("cmb台帳氏名")), QStringList({kNames[0], kNames[2]}));
    QCOMPARE(control<QComboBox>("cmb台帳氏名")->currentText(), kNames[0]);
}

void TestReports::batchPrintIsTheSingleSlipOfEach()
{
    showHistory();
    Hooks hooks;
    QTest::mouseClick(control<QPushButton>("cmd一括印刷"), Qt::LeftButton);
    QCOMPARE(hooks.previews.size(), 1);
    const reports::Document &batch = hooks.previews.first();
    QCOMPARE(batch.pages.size(), kNames.size());
    QVERIFY(!batch.landscape);
    QVERIFY(asked().isEmpty());

    // Each page is the slip the statement page prints for that statement reopened.
    for (qsizetype i = 0; i < kNames.size(); ++i) {
        QVERIFY(page()->openStatement(kNames[i], kApril));
        const test::Printed single = print();
        QCOMPARE(single.previews.size(), 1);
        const reports::Page &slip = batch.pages[i];
        QCOMPARE(slip.size(), single.previews.first().size());
        for (const payslip::PayslipItem &item : single.previews.first())
            QVERIFY2(textOf(slip, item.name) == item.text, qPrintable(item.name + u' ' + item.text));
    }
    QCOMPARE(textOf(batch.pages[0], QStringLiteral("txt合計")), QStringLiteral("¥15,500"));
    QCOMPARE(textOf(batch.pages[0], QStringLiteral("txt自社名")), QStringLiteral("有限会社ペルマー"));
}

void TestReports::batchPdfWithDayLines()
{
    showHistory();
    Hooks hooks;
    hooks.savePath = QDir(m_out.path()).filePath(QStringLiteral("april"));
    control<QCheckBox>("chk明細付き")->setChecked(true);
    QTest::mouseClick(control<QPushButton>("cmd一括PDF"), Qt::LeftButton);
    // The user hears where the file went: the name as written, extension and all.
    QCOMPARE(asked(),
             QStringList{QStringLiteral("その他/保存完了/")
                         + QDir::toNativeSeparators(hooks.savePath + QStringLiteral(".pdf"))});
    QCOMPARE(hooks.offered, QStringList{QStringLiteral("給与明細_2024年4月分.pdf")});
    // The extension is added to a name typed without one.
    const QString pdf = hooks.savePath + QStringLiteral(".pdf");
    QCOMPARE(pdfPages(pdf), 2 * int(kNames.size()));
}

void TestReports::nothingToReport_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("emptyStore"); // else the chosen title was deleted after it was listed
    QTest::addColumn<QString>("message");
    for (const char *button : {"cmd一括印刷", "cmd一括PDF", "cmd一覧表"}) {
        QTest::addRow("%s, nothing stored", button) << QString::fromUtf8(button) << true << "その他/未選択/タイトル";
        QTest::addRow("%s, title deleted", button)
            << QString::fromUtf8(button) << false << QStringLiteral("その他/明細なし/") + kMarch;
    }
    QTest::newRow("cmd台帳, nothing stored") << "cmd台帳" << true << "その他/未選択/氏名と年";
    QTest::newRow("cmd台帳, statements deleted")
        << "cmd台帳" << false << QStringLiteral("その他/明細なし/%1（2023年）").arg(kNames[0]);
}

void TestReports::nothingToReport()
{
    QFETCH(QString, button);
    QFETCH(bool, emptyStore);
    QFETCH(QString, message);
    if (emptyStore)
        QVERIFY(statements::removeEverything(mainDb()));
    showHistory();
    control<QComboBox>("cmbタイトル選択")->setCurrentIndex(control<QComboBox>("cmbタイトル選択")->findText(kMarch));
    control<QComboBox>("cmb台帳年")->setCurrentIndex(control<QComboBox>("cmb台帳年")->findText(QStringLiteral("2023")));
    if (!emptyStore) {
        QVERIFY(statements::remove(mainDb(), kNames[0], kMarch));
        QVERIFY(statements::remove(mainDb(), kNames[0], QStringLiteral("2023年12月分")));
    }
    Hooks hooks;
    hooks.savePath = QDir(m_out.path()).filePath(QStringLiteral("nothing.pdf"));
    clearAsked();
    QTest::mouseClick(window()->findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{message});
    QVERIFY(hooks.previews.isEmpty());
    QVERIFY(hooks.offered.isEmpty());
    QVERIFY(!history()->reportWindow());
    QVERIFY(!QFile::exists(hooks.savePath));
}

void TestReports::fileThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("report"); // the window whose button saves, or the batch
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("intoTheData"); // the data folder, where no export may go
    QTest::newRow("batch PDF") << ""
                               << "cmd一括PDF" << false;
    QTest::newRow("summary PDF") << "cmd一覧表"
                                 << "cmd帳票PDF" << false;
    QTest::newRow("summary CSV") << "cmd一覧表"
                                 << "cmd帳票CSV" << false;
    QTest::newRow("ledger CSV") << "cmd台帳"
                                << "cmd帳票CSV" << false;
    QTest::newRow("batch PDF into the data folder") << ""
                                                    << "cmd一括PDF" << true;
    QTest::newRow("summary CSV into the data folder") << "cmd一覧表"
                                                      << "cmd帳票CSV" << true;
}

void TestReports::fileThatCannotBeWritten()
{
    QFETCH(QString, report);
    QFETCH(QString, button);
    QFETCH(bool, intoTheData);
    showHistory();
    Hooks hooks;
    hooks.savePath = QDir(intoTheData ? data().path() : m_out.path() + QStringLiteral("/no such folder"))
                         .filePath(QStringLiteral("report.file"));
    const QByteArray before = test::fileBytes(hooks.savePath);
    QAbstractButton *save = window()->findChild<QPushButton *>(button);
    if (!report.isEmpty()) {
        QTest::mouseClick(window()->findChild<QPushButton *>(report), Qt::LeftButton);
        QVERIFY(history()->reportWindow());
        save = history()->reportWindow()->findChild<QPushButton *>(button);
    }
    QVERIFY(save);
    clearAsked();
    QTest::mouseClick(save, Qt::LeftButton);
    // The user hears which file was not written, and why when it may not be.
    if (intoTheData) {
        QCOMPARE(asked().size(), 1);
        QVERIFY2(asked().first().startsWith(QStringLiteral("エラー/書出し先/")
                                            + QDir::toNativeSeparators(hooks.savePath) + QStringLiteral("\n理由: ")),
                 qPrintable(asked().first()));
    } else {
        QCOMPARE(asked(), QStringList{QStringLiteral("エラー/書出し/") + QDir::toNativeSeparators(hooks.savePath)});
    }
    QCOMPARE(test::fileBytes(hooks.savePath), before);
}

void TestReports::summaryOnScreenAndAsCsv()
{
    showHistory();
    QTest::mouseClick(control<QPushButton>("cmd一覧表"), Qt::LeftButton);
    ReportDialog *shown = history()->reportWindow();
    QVERIFY(shown);
    QCOMPARE(shown->objectName(), QStringLiteral("frm一覧表"));
    QVERIFY(shown->isVisible());
    QTableWidget *grid = shown->Grid帳票;
    QCOMPARE(grid->rowCount(), int(kNames.size()) + 1);
    for (int r = 0; r < int(kNames.size()); ++r)
        QCOMPARE(grid->item(r, 0)->text(), kNames[r]);
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("2")); // days
    QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("合計"));
    QCOMPARE(grid->item(3, 7)->text(), QStringLiteral("29,500"));

    Hooks hooks;
    hooks.savePath = QDir(m_out.path()).filePath(QStringLiteral("summary.csv"));
    QTest::mouseClick(shown->cmd帳票CSV, Qt::LeftButton);
    QCOMPARE(hooks.offered, QStringList{QStringLiteral("給与一覧表_2024年4月分.csv")});
    const test::CsvReadBack back = test::readCsvWithPython(hooks.savePath);
    QVERIFY2(back.ok, qPrintable(back.error));
    QVERIFY(back.bom && back.sameAsPythonWrites);
    QCOMPARE(back.rows.size(), kNames.size() + 2);
    QCOMPARE(back.rows[0].first(), QStringLiteral("氏名"));
    QCOMPARE(back.rows[1].mid(0, 11),
             QStringList({kNames[0], "2", "15.5", "0", "0", "1000", "0", "15500", "0", "0", ""}));
    QCOMPARE(back.rows[2].first(), kNames[1]);
    QCOMPARE(back.rows[3].first(), kNames[2]);
    QCOMPARE(back.rows[4].mid(0, 11), QStringList({"合計", "4", "27.5", "0", "0", "", "0", "29500", "0", "0", ""}));

    // 印刷 hands the same table to the preview, one page.
    QTest::mouseClick(shown->cmd帳票印刷, Qt::LeftButton);
    QCOMPARE(hooks.previews.size(), 1);
    QCOMPARE(hooks.previews.first().pages.size(), 1);
    QCOMPARE(textOf(hooks.previews.first().pages.first(), QStringLiteral("heading")), QStringLiteral("給与一覧表"));
    QCOMPARE(asked(), QStringList{QStringLiteral("その他/保存完了/") + QDir::toNativeSeparators(hooks.savePath)});
}

void TestReports::ledgerOnScreenAndAsCsv()
{
    showHistory();
    QCOMPARE(control<QComboBox>("cmb台帳氏名")->currentText(), kNames[0]);
    control<QComboBox>("cmb台帳年")->setCurrentIndex(control<QComboBox>("cmb台帳年")->findText(QStringLiteral("2024")));
    QTest::mouseClick(control<QPushButton>("cmd台帳"), Qt::LeftButton);
    ReportDialog *shown = history()->reportWindow();
    QVERIFY(shown);
    QCOMPARE(shown->objectName(), QStringLiteral("frm賃金台帳"));
    // March, then April; December 2023 is another year's.
    QCOMPARE(shown->Grid帳票->rowCount(), 3);
    QCOMPARE(shown->Grid帳票->item(0, 0)->text(), kMarch);
    QCOMPARE(shown->Grid帳票->item(1, 1)->text(), QStringLiteral("2024/04/01〜2024/04/02"));

    Hooks hooks;
    hooks.savePath = QDir(m_out.path()).filePath(QStringLiteral("ledger.csv"));
    QTest::mouseClick(shown->cmd帳票CSV, Qt::LeftButton);
    QCOMPARE(hooks.offered, QStringList{QStringLiteral("賃金台帳_渡辺 一郎_2024.csv")});
    const test::CsvReadBack back = test::readCsvWithPython(hooks.savePath);
    QVERIFY2(back.ok, qPrintable(back.error));
    QCOMPARE(back.rows.size(), 3);
    QCOMPARE(back.rows[2].mid(0, 13),
             QStringList({kNames[0], kApril, "2024/04/01", "2024/04/02", "2", "15.5", "0", "0", "15500", "0", "0",
                          "15500", "0"}));

    // A second report takes the first one's place.
    QTest::mouseClick(control<QPushButton>("cmd一覧表"), Qt::LeftButton);
    finishClosing();
    QCOMPARE(window()->findChildren<ReportDialog *>().size(), 1);
}

void TestReports::payReportsOpenFromTheHistoryPage_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("cells"); // the row's first three
    QTest::newRow("金種表") << "cmd金種表" << "frm金種表" << 0 << QStringList{kNames[0], "15,106", "1"};
    QTest::newRow("源泉徴収簿") << "cmd源泉徴収簿" << "frm源泉徴収簿" << 0
                                << QStringList{"2024/05/25", kApril, "甲"};
    QTest::newRow("納付集計") << "cmd納付集計" << "frm納付集計" << 4 << QStringList{"5月", "1", "1"};
    // 2024 has no 年末調整 figures: listed, and left out.
    QTest::newRow("年調一覧") << "cmd年調一覧" << "frm年調一覧" << 0 << QStringList{kNames[0], "しない", "15,500"};
}

void TestReports::payReportsOpenFromTheHistoryPage()
{
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(int, row);
    QFETCH(QStringList, cells);
    statements::StatementPay pay;
    pay.name = kNames[0];
    pay.title = kApril;
    pay.kept = true;
    pay.payDate = QDate(2024, 5, 25);
    pay.basic = pay.gross = 15500;
    pay.deductions = {0, 0, 0, 85, 309, 0};
    pay.socialInsurance = 85;
    pay.taxable = 15415;
    pay.deductionTotal = 394;
    pay.netPay = 15106;
    pay.column = pay::TaxColumn::Kou;
    QSqlDatabase main = mainDb();
    QVERIFY(statements::writeStatementPay(main, pay));
    showHistory();
    auto *years = window()->findChild<QComboBox *>(QStringLiteral("cmb支給年"));
    QVERIFY(years);
    QCOMPARE(comboItems(years), QStringList{"2024"});
    QTest::mouseClick(window()->findChild<QPushButton *>(button), Qt::LeftButton);
    ReportDialog *report = history()->reportWindow();
    QVERIFY2(report, qPrintable(asked().join(u'\n')));
    QCOMPARE(report->objectName(), shown);
    for (int c = 0; c < int(cells.size()); ++c)
        QCOMPARE(report->Grid帳票->item(row, c)->text(), cells[c]);
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
