#include "app/FrmPelmar.h"
#include "payroll/StatementPay.h"
#include "reports/ReportDialog.h"
#include "reports/ReportPrinter.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"

#include "../support/TestData.h"
#include "../support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTableWidgetItem>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

using test::Rows;

// The 申告書 of the 年末調整 from the owner's side: opened from the employee
// page, copied from the papers box by box, saved, reopened as typed.
class TestYearEndPapers : public test::WindowFixture {
    Q_OBJECT
private slots:
    void papersSavedAndReopened();

private:
    void seed() override
    {
        QVERIFY(execBound(mainDb(),
                          QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (1, 'O''Brien', 1500)")));
    }
    QDialog *openPapers()
    {
        auto *tabs = control<QTabWidget>("SSTab1");
        tabs->setCurrentWidget(control<QWidget>("page従業員"));
        auto *employees = control<DataGrid>("Grid従業員");
        employees->setCurrentIndex(employees->model()->index(0, 2));
        QTest::mouseClick(control<QPushButton>("cmd年調申告"), Qt::LeftButton);
        QDialog *dialog = nullptr;
        [&] { QTRY_VERIFY((dialog = window()->findChild<QDialog *>(QStringLiteral("dlg年末調整申告")))); }();
        return dialog;
    }
};

void TestYearEndPapers::papersSavedAndReopened()
{
    QDialog *dialog = openPapers();
    QVERIFY(dialog);
    dialog->findChild<QSpinBox *>(QStringLiteral("spn申告年"))->setValue(2026);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmd親族追加")), Qt::LeftButton);
    auto *relatives = dialog->findChild<QTableWidget *>(QStringLiteral("tbl扶養親族"));
    QCOMPARE(relatives->rowCount(), 1);
    relatives->item(0, 0)->setText(QStringLiteral("一郎"));
    relatives->item(0, 1)->setText(QStringLiteral("2007/13/01")); // no such month
    relatives->item(0, 2)->setText(QStringLiteral("500,000"));
    dialog->findChild<QCheckBox *>(QStringLiteral("chk配偶者"))->setChecked(true);
    dialog->findChild<QLineEdit *>(QStringLiteral("txt配偶者生年月日"))->setText(QStringLiteral("1980/05/01"));
    dialog->findChild<QSpinBox *>(QStringLiteral("num配偶者所得"))->setValue(700000);
    dialog->findChild<QSpinBox *>(QStringLiteral("num一般生命新"))->setValue(80000);
    dialog->findChild<QSpinBox *>(QStringLiteral("num前職源泉徴収税額"))->setValue(12345);
    auto *save = dialog->findChild<QPushButton *>(QStringLiteral("cmd申告保存"));
    // The date that does not read is named, and nothing is stored.
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(asked().size(), 1);
    QVERIFY2(asked().first().startsWith(QStringLiteral("年調/申告不正/扶養親族 1 行目")), qPrintable(asked().first()));
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("年末調整申告")), 0);
    relatives->item(0, 1)->setText(QStringLiteral("2007/12/01"));
    QTest::mouseClick(save, Qt::LeftButton);
    QTRY_VERIFY(!dialog->isVisible());
    QCOMPARE(query(mainDb(), QStringLiteral("select 年, 配偶者生年月日, 配偶者所得, 一般生命新, 前職源泉徴収税額"
                                            " from 年末調整申告 where 氏名 = 'O''Brien'")),
             (Rows{{"2026", "19800501", "700000", "80000", "12345"}}));
    QCOMPARE(query(mainDb(), QStringLiteral("select 親族氏名, 生年月日, 所得見積 from 年末調整親族")),
             (Rows{{"一郎", "20071201", "500000"}}));

    // Reopened on the same year, the papers show as typed; another year is empty.
    dialog = openPapers();
    QVERIFY(dialog);
    auto *year = dialog->findChild<QSpinBox *>(QStringLiteral("spn申告年"));
    year->setValue(2026);
    relatives = dialog->findChild<QTableWidget *>(QStringLiteral("tbl扶養親族"));
    QCOMPARE(relatives->rowCount(), 1);
    QCOMPARE(relatives->item(0, 1)->text(), QStringLiteral("2007/12/01"));
    QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("num一般生命新"))->value(), 80000);
    year->setValue(2025);
    QCOMPARE(relatives->rowCount(), 0);
    QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("num一般生命新"))->value(), 0);
    dialog->reject();

    // One pay of 1,200,000 with 30,000 withheld: the deductions the papers
    // give take the tax to 0, and the worksheet on the history page refunds
    // this year's tax and the previous employer's 12,345.
    statements::StatementPay pay;
    pay.name = QStringLiteral("O'Brien");
    pay.title = QStringLiteral("2026年11月分");
    pay.kept = true;
    pay.payDate = QDate(2026, 12, 10);
    pay.basic = pay.gross = 1200000;
    pay.deductions = {0, 0, 0, 0, 30000, 0};
    pay.socialInsurance = 0;
    pay.column = pay::TaxColumn::Kou;
    QSqlDatabase main = mainDb();
    test::SeedLine line;
    line.date = QStringLiteral("20261101");
    line.amount = 1200000;
    QVERIFY(test::storeStatement(main, pay.name, pay.title, 1000, {line}));
    QVERIFY(statements::writeStatementPay(main, pay));
    control<QTabWidget>("SSTab1")->setCurrentWidget(control<QWidget>("page履歴"));
    control<QComboBox>("cmb台帳氏名")->setCurrentText(QStringLiteral("O'Brien"));
    control<QComboBox>("cmb支給年")->setCurrentText(QStringLiteral("2026"));
    QTest::mouseClick(control<QPushButton>("cmd年末調整"), Qt::LeftButton);
    ReportDialog *sheet = nullptr;
    QTRY_VERIFY((sheet = window()->findChild<ReportDialog *>(QStringLiteral("frm年末調整"))));
    QStringList lines;
    for (int row = 0; row < sheet->Grid帳票->rowCount(); ++row)
        lines << sheet->Grid帳票->item(row, 0)->text().trimmed() + u' ' + sheet->Grid帳票->item(row, 1)->text();
    for (const char *line : {"給与の総額 1,200,000", "配偶者特別控除 380,000", "扶養控除 630,000", "生命保険料控除 50,000",
                             "年調年税額 0", "源泉徴収税額 42,345", "差引超過額（還付） 42,345"})
        QVERIFY2(lines.contains(QString::fromUtf8(line)), line);
    // On paper every source is printed whole, none cut short.
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("sheet.pdf"));
    const reports::Table &table = sheet->table();
    QVERIFY(reports::writePdf(pdf, {table.heading, table.landscape, reports::tablePages(table)}));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished() || text.exitCode() != 0)
        QSKIP("pdftotext is not installed");
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString &line : printed.split(u'\n'))
        QVERIFY2(!line.contains(QChar(0x2026)), qPrintable(line));
    for (const QStringList &row : table.rows)
        QVERIFY2(printed.contains(row.value(2).section(u'、', 0, 0)), qPrintable(row.value(2)));
    sheet->close();
}

QTEST_MAIN(TestYearEndPapers)
#include "tst_yearendpapers.moc"
