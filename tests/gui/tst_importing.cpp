// Punches of a time recorder imported through the real window: 取込 on the
// history page, the columns chosen, the preview, and what 取込 stores.
#include "app/FrmPelmar.h"
#include "payroll/MonthClose.h"
#include "payroll/StatementStore.h"
#include "statements/StatementPage.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include "../support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

namespace {

const QString kTitle = QStringLiteral("2026年11月分");

} // namespace

class TestImporting : public test::WindowFixture {
    Q_OBJECT
private slots:
    void importPreviewAndConfirm();
    void unsavedPageAndImportNameEachOther();
    void pageAndImportStoreTheSame();

protected:
    void seed() override
    {
        QVERIFY(test::addEmployee(mainDb(), 1, QStringLiteral("山田 太郎"), 1000));
        QVERIFY(test::addEmployee(mainDb(), 2, QStringLiteral("佐藤 花子"), 1200));
        QVERIFY(test::addEmployee(mainDb(), 3, QStringLiteral("鈴木 一郎"), 1000));
        // 鈴木 already has the month's statement: he is to be skipped.
        test::SeedLine line;
        line.date = QStringLiteral("20261102");
        QVERIFY(test::storeStatement(mainDb(), QStringLiteral("鈴木 一郎"), kTitle, 1000, {line}));
        // October is paid and closed.
        line.date = QStringLiteral("20261002");
        QVERIFY(
            test::storeStatement(mainDb(), QStringLiteral("鈴木 一郎"), QStringLiteral("2026年10月分"), 1000, {line}));
        QVERIFY(closing::setClosed(mainDb(), QStringLiteral("2026年10月分"), true, QDateTime::currentDateTime()));
    }

    template <class T> T *control(const QString &name) const
    {
        T *found = window()->findChild<T *>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }
    QDialog *openDialog()
    {
        control<QPushButton>(QStringLiteral("cmd取込"))->click();
        return control<QDialog>(QStringLiteral("dlg取込"));
    }
    void choose(const QString &picker, int column)
    {
        QComboBox *box = control<QComboBox>(picker);
        box->setCurrentIndex(box->findData(column));
    }
};

void TestImporting::importPreviewAndConfirm()
{
    QVERIFY(openWindow());
    // As a spreadsheet writes it: Shift_JIS, CRLF, quoted cells, a header
    // the program does not know by itself.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("打刻.csv"));
    const QString text = QStringLiteral("\"名前\",\"勤務日\",\"出社\",\"退社\",\"休憩(分)\"\r\n"
                                        "\"山田 太郎\",2026/11/02,9:00,18:00,60\r\n"
                                        "\"佐藤 花子\",2026/11/02,22:00,25:00,0\r\n"
                                        "\"田中 次郎\",2026/11/02,9:00,18:00,60\r\n"
                                        "\"鈴木 一郎\",2026/11/03,9:00,17:00,60\r\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("Shift_JIS").encode(text));
    file.close();

    QDialog *dialog = openDialog();
    QVERIFY(dialog);
    control<QLineEdit>(QStringLiteral("txt取込ファイル"))->setText(path);
    QTest::keyClick(control<QLineEdit>(QStringLiteral("txt取込ファイル")), Qt::Key_Return);
    QCOMPARE(control<QComboBox>(QStringLiteral("cmb文字コード"))->currentText(), QStringLiteral("Shift_JIS"));
    QCOMPARE(control<QTableWidget>(QStringLiteral("tbl取込先頭行"))->item(0, 0)->text(), QStringLiteral("山田 太郎"));
    choose(QStringLiteral("cmb列氏名"), 0);
    choose(QStringLiteral("cmb列日付"), 1);
    choose(QStringLiteral("cmb列出勤"), 2);
    choose(QStringLiteral("cmb列退勤"), 3);
    choose(QStringLiteral("cmb列休憩"), 4);

    // A closed month takes nothing.
    control<QLineEdit>(QStringLiteral("txt取込タイトル"))->setText(QStringLiteral("2026年10月分"));
    control<QPushButton>(QStringLiteral("cmd取込次へ"))->click();
    QVERIFY2(asked().join(u'\n').contains(QStringLiteral("締め/変更不可")), qPrintable(asked().join(u'\n')));
    QVERIFY(!control<QTableWidget>(QStringLiteral("tbl取込プレビュー"))->isVisible());

    // The preview: every line with its yen, the unknown employee's row with
    // its reason, and nothing written yet.
    control<QLineEdit>(QStringLiteral("txt取込タイトル"))->setText(kTitle);
    control<QPushButton>(QStringLiteral("cmd取込次へ"))->click();
    const QTableWidget *preview = control<QTableWidget>(QStringLiteral("tbl取込プレビュー"));
    QVERIFY(preview->isVisible());
    const auto shown = [preview](const QString &first) {
        for (int row = 0; row < preview->rowCount(); ++row)
            if (preview->item(row, 1)->text() == first)
                return QStringList{preview->item(row, 10)->text(), preview->item(row, 11)->text()};
        return QStringList();
    };
    // 佐藤: 3 hours at 1,200 yen, all of them night hours at 25 %.
    QCOMPARE(shown(QStringLiteral("佐藤 花子")), QStringList({"4,500", ""}));
    QVERIFY(shown(QStringLiteral("田中 次郎")).value(1).contains(QStringLiteral("登録されていません")));
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("時給明細")), 2);

    // 取込: the bad row is left out on Yes, 鈴木's statement is kept on No.
    clearAsked();
    whenAsked([this](const MessageRequest &request) { answer(request.subKey != QStringLiteral("置換確認")); });
    control<QPushButton>(QStringLiteral("cmd取込実行"))->click();
    QVERIFY2(asked().size() == 3 && asked().at(0).startsWith(QStringLiteral("取込/エラー行確認"))
                 && asked().at(1).startsWith(QStringLiteral("取込/置換確認/鈴木 一郎"))
                 && asked().at(2).contains(QStringLiteral("明細 2 件（2 行）")),
             qPrintable(asked().join(u'\n')));
    QCOMPARE(query(mainDb(),
                   QStringLiteral("select 氏名, 合計, 割増額 from 時給ヘッダ where タイトル = ? order by 氏名"),
                   {kTitle}),
             test::Rows({{"佐藤 花子", "4500", "900"}, {"山田 太郎", "8000", "0"}, {"鈴木 一郎", "8000", "<null>"}}));
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("時給明細")), 4);
    QVERIFY(
        !QDir(data().path() + QStringLiteral("/backup")).entryList({QStringLiteral("*-punch-import.mdb")}).isEmpty());
    QCOMPARE(test::rowCount(workDb(), QStringLiteral("w履歴")), 4);
    // The pay the import stored is offered to the yearly reports at once.
    QVERIFY(control<QComboBox>(QStringLiteral("cmb支給年"))->findText(QStringLiteral("2026")) >= 0);

    // The row left out, beside the file, with its reason.
    const test::CsvReadBack errors = test::readCsvWithPython(folder.filePath(QStringLiteral("打刻_取込エラー.csv")));
    QVERIFY2(errors.ok, qPrintable(errors.error));
    QCOMPARE(errors.rows.size(), 2);
    QCOMPARE(errors.rows.at(1).first(), QStringLiteral("田中 次郎"));
    QVERIFY(errors.rows.at(1).last().contains(QStringLiteral("登録されていません")));

    // The next file with the same header needs no choice.
    QTRY_VERIFY(!window()->findChild<QDialog *>(QStringLiteral("dlg取込")));
    QVERIFY(openDialog());
    control<QLineEdit>(QStringLiteral("txt取込ファイル"))->setText(path);
    QTest::keyClick(control<QLineEdit>(QStringLiteral("txt取込ファイル")), Qt::Key_Return);
    QCOMPARE(control<QComboBox>(QStringLiteral("cmb列退勤"))->currentData().toInt(), 3);
    QCOMPARE(control<QComboBox>(QStringLiteral("cmb休憩単位"))->currentText(), QStringLiteral("書き方から判断"));
}

// Unsaved lines on the statement page for the employee and title an import
// stores: the import names them before storing, and the page's 登録 then
// says that the stored statement changed, instead of the usual question.
void TestImporting::unsavedPageAndImportNameEachOther()
{
    QVERIFY(openWindow());
    const QString title = QStringLiteral("2026-11");
    chooseEmployee(QStringLiteral("山田 太郎"));
    auto *titleBox = control<QLineEdit>(QStringLiteral("txtタイトル"));
    titleBox->setFocus();
    QTest::keyClicks(titleBox, title);
    type(0, 1, QStringLiteral("20261105"));
    type(0, 2, QStringLiteral("0900"));
    type(0, 3, QStringLiteral("1700"));
    QTRY_VERIFY(page()->hasUnsavedEdits());

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("punches.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("氏名,日付,出勤,退勤,休憩\r\n山田 太郎,2026/11/04,9:00,18:00,1:00\r\n").toUtf8());
    file.close();
    control<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
    QVERIFY(openDialog());
    control<QLineEdit>(QStringLiteral("txt取込ファイル"))->setText(path);
    QTest::keyClick(control<QLineEdit>(QStringLiteral("txt取込ファイル")), Qt::Key_Return);
    control<QLineEdit>(QStringLiteral("txt取込タイトル"))->setText(title);
    control<QPushButton>(QStringLiteral("cmd取込次へ"))->click();

    // No: nothing stored.
    clearAsked();
    answer(false);
    control<QPushButton>(QStringLiteral("cmd取込実行"))->click();
    QCOMPARE(asked(), QStringList{QStringLiteral("取込/未保存確認/山田 太郎（2026-11）")});
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("時給明細")), 2);
    // Yes: stored.
    clearAsked();
    answer(true);
    control<QPushButton>(QStringLiteral("cmd取込実行"))->click();
    QCOMPARE(asked().value(0), QStringLiteral("取込/未保存確認/山田 太郎（2026-11）"));
    QCOMPARE(query(mainDb(), QStringLiteral("select 日付 from 時給明細 where タイトル = ?"), {title}),
             test::Rows({{"20261104"}}));
    QTRY_VERIFY(!window()->findChild<QDialog *>(QStringLiteral("dlg取込")));

    // The page's 登録 names the import; No keeps the imported statement.
    control<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(0);
    clearAsked();
    whenAsked([this](const MessageRequest &request) { answer(request.subKey != QStringLiteral("取込後確認")); });
    control<QPushButton>(QStringLiteral("cmd登録"))->click();
    QVERIFY2(asked().contains(QStringLiteral("登録/取込後確認/山田 太郎（2026-11）"))
                 && !asked().join(u'\n').contains(QStringLiteral("登録/上書き確認")),
             qPrintable(asked().join(u'\n')));
    QCOMPARE(query(mainDb(), QStringLiteral("select 日付 from 時給明細 where タイトル = ?"), {title}),
             test::Rows({{"20261104"}}));
}

// The same shifts typed on the statement page and saved with 登録, or read
// from a time recorder's file and imported, are stored byte for byte alike:
// header, lines and pay.
void TestImporting::pageAndImportStoreTheSame()
{
    QVERIFY(openWindow());
    const QString name = QStringLiteral("佐藤 花子");
    const QString title = QStringLiteral("2026年12月分");
    const auto stored = [&] {
        test::Rows all;
        for (const char *table : {"時給ヘッダ", "時給明細", "時給支給"}) {
            QStringList quoted;
            for (const QStringList &column : query(mainDb(), QStringLiteral("select name from pragma_table_info('%1')")
                                                                  .arg(QString::fromUtf8(table))))
                quoted << QStringLiteral("quote(\"%1\")").arg(column.first());
            all += query(mainDb(),
                         QStringLiteral("select %1 from %2 where 氏名 = ? and タイトル = ? order by rowid")
                             .arg(quoted.join(QStringLiteral(" || ',' || ")), QString::fromUtf8(table)),
                         {name, title});
        }
        return all;
    };

    // Typed on the page: the page works each line out as after an edit.
    control<QComboBox>(QStringLiteral("cmb氏名"))->setEditText(name);
    control<QLineEdit>(QStringLiteral("txtタイトル"))->setText(title);
    control<NumberBox>(QStringLiteral("num時給"))->setValue(1200.0);
    QVERIFY(execBound(workDb(),
                      QStringLiteral("update w明細 set 日付 = '20261201', 開始時間 = '2200', 終了時間 = '0100',"
                                     " 休憩 = 0, 時間 = 3, 時給 = 1200 where 行番号 = 1")));
    QVERIFY(execBound(workDb(),
                      QStringLiteral("update w明細 set 日付 = '20261202', 開始時間 = '0900', 終了時間 = '1800',"
                                     " 休憩 = 1, 時間 = 8, 時給 = 1200 where 行番号 = 2")));
    control<DataGrid>(QStringLiteral("Grid明細"))->refresh();
    page()->Calc明細();
    QTest::mouseClick(control<QPushButton>(QStringLiteral("cmd登録")), Qt::LeftButton);
    const test::Rows saved = stored();
    QCOMPARE(saved.size(), 4);
    QVERIFY(statements::remove(mainDb(), name, title));

    // The same shifts from a file.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("12月.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("氏名,日付,出勤,退勤,休憩\r\n%1,2026/12/01,22:00,25:00,0\r\n"
                              "%1,2026/12/02,9:00,18:00,1:00\r\n")
                   .arg(name)
                   .toUtf8());
    file.close();
    QVERIFY(openDialog());
    control<QLineEdit>(QStringLiteral("txt取込ファイル"))->setText(path);
    QTest::keyClick(control<QLineEdit>(QStringLiteral("txt取込ファイル")), Qt::Key_Return);
    control<QLineEdit>(QStringLiteral("txt取込タイトル"))->setText(title);
    control<QPushButton>(QStringLiteral("cmd取込次へ"))->click();
    control<QPushButton>(QStringLiteral("cmd取込実行"))->click();
    QCOMPARE(stored(), saved);
}

QTEST_MAIN(TestImporting)
#include "tst_importing.moc"
