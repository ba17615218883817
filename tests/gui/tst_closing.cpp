// A month closed once it is paid, through the real window: what a closed
// statement refuses, reopening it, the bulk delete, and the 給与一覧表.
#include "app/FrmPelmar.h"
#include "masters/SettingsPage.h"
#include "reports/ReportDialog.h"
#include "reports/ReportPrinter.h"
#include "statements/HistoryPage.h"
#include "payroll/MonthClose.h"
#include "store/Database.h"
#include "statements/StatementPage.h"
#include "widgets/DataGrid.h"

#include "../support/WindowFixture.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;
using test::SeedLine;

namespace {

const QString kApril = QStringLiteral("2024年4月分");
// 渡辺 has the April statement; 山田 and 佐藤 are registered without one.
const QString kPaid = QStringLiteral("渡辺 一郎");
const QString kForgotten = QStringLiteral("山田 太郎");
const QString kNew = QStringLiteral("佐藤 花子");

SeedLine day(const QString &date, double hours, double amount)
{
    SeedLine line;
    line.date = date;
    line.hours = hours;
    line.amount = amount;
    return line;
}

QString closedToday()
{
    return QStringLiteral("締め済（%1）").arg(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
}

} // namespace

class TestClosing : public test::WindowFixture {
    Q_OBJECT
private slots:
    void closedStatementRefusesChangesUntilReopened();
    void summaryOfAClosedMonthListsWhoIsMissing();
    void bulkDeleteRefusedWhileAMonthIsClosed();
    void daysOfAClosedMonthAreNotPaidAgain();

protected:
    void seed() override;

private:
    HistoryPage *history() const { return window()->historyPage(); }
    void chooseApril()
    {
        control<QTabWidget>("SSTab1")->setCurrentWidget(history());
        control<QComboBox>("cmbタイトル選択")->setCurrentIndex(control<QComboBox>("cmbタイトル選択")->findText(kApril));
        QCOMPARE(control<QComboBox>("cmbタイトル選択")->currentText(), kApril);
    }
    test::Rows stored() const
    {
        return query(mainDb(),
                     QStringLiteral("select 氏名, タイトル, 合計, (select count(*) from 時給明細 l"
                                    " where l.氏名 = h.氏名 and l.タイトル = h.タイトル) from 時給ヘッダ h"
                                    " order by rowid"));
    }
};

void TestClosing::seed()
{
    // Numbered so that the missing are listed by number, not by name.
    QVERIFY(test::addEmployee(mainDb(), 1, kPaid, 1000));
    QVERIFY(test::addEmployee(mainDb(), 2, kNew, 1000));
    QVERIFY(test::addEmployee(mainDb(), 3, kForgotten, 1100));
    QVERIFY(test::storeStatement(mainDb(), kPaid, kApril, 1000, {day("20240401", 8, 8000), day("20240402", 7, 7000)}));
    QVERIFY(
        test::storeStatement(mainDb(), kForgotten, QStringLiteral("2024年3月分"), 1100, {day("20240301", 8, 8800)}));
}

void TestClosing::closedStatementRefusesChangesUntilReopened()
{
    const test::Rows before = stored();
    chooseApril();

    // No to the question closes nothing.
    answer(false);
    QTest::mouseClick(control<QPushButton>("cmd締め"), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("締め/確認/") + kApril});
    QVERIFY(!requests().first().yesIsDefault());
    QCOMPARE(query(mainDb(), QStringLiteral("select count(*) from 締め")), (test::Rows{{"0"}}));

    answer(true);
    QTest::mouseClick(control<QPushButton>("cmd締め"), Qt::LeftButton);
    QVERIFY(control<QLabel>("lbl締め状態")->text().startsWith(closedToday()));

    // Reopened on the statement page, it is only looked at.
    QVERIFY(page()->openStatement(kPaid, kApril));
    QVERIFY(control<QLabel>("lbl締め")->isVisibleTo(page()));
    QCOMPARE(control<QLabel>("lbl締め")->text(), closedToday() + QStringLiteral("— 変更できません"));
    QVERIFY(!(control<DataGrid>("Grid明細")->model()->flags(control<DataGrid>("Grid明細")->model()->index(0, 1))
              & Qt::ItemIsEditable));

    // 行削除, 登録 and 削除 are refused, each with the reason; a new
    // statement under the closed title as well.
    clearAsked();
    control<DataGrid>("Grid明細")->setCurrentIndex(control<DataGrid>("Grid明細")->model()->index(0, 1));
    const auto refusal = [&](const QString &name, const QString &what) {
        return QStringLiteral("締め/変更不可/%1（%2） は%3のため、%4できません。")
            .arg(name, kApril, closedToday(), what);
    };
    QTest::mouseClick(control<QPushButton>("cmd行削除"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("cmd削除"), Qt::LeftButton);
    page()->Clear時給();
    QVERIFY(!control<DataGrid>("Grid明細")->isReadOnly());
    control<QComboBox>("cmb氏名")->setEditText(kForgotten);
    control<QLineEdit>("txtタイトル")->setText(kApril);
    emit control<QLineEdit>("txtタイトル")->editingFinished();
    QVERIFY(control<DataGrid>("Grid明細")->isReadOnly());
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(asked(),
             QStringList({refusal(kPaid, QStringLiteral("行削除")), refusal(kPaid, QStringLiteral("登録")),
                          refusal(kPaid, QStringLiteral("削除")), refusal(kForgotten, QStringLiteral("登録"))}));
    QCOMPARE(stored(), before);

    // Reopening asks (No by default) and opens the page again at once.
    QVERIFY(page()->openStatement(kPaid, kApril));
    control<QTabWidget>("SSTab1")->setCurrentWidget(history());
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd締め解除"), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("締め/解除確認/") + kApril});
    QVERIFY(!requests().first().yesIsDefault());
    QVERIFY(!control<DataGrid>("Grid明細")->isReadOnly());
    QVERIFY(!control<QLabel>("lbl締め")->isVisibleTo(page()));
    QVERIFY(control<QLabel>("lbl締め状態")->text().startsWith(QStringLiteral("締めていません\n締め　")));

    // Closed again, the history says so; reopened, the statement can go.
    QTest::mouseClick(control<QPushButton>("cmd締め"), Qt::LeftButton);
    QVERIFY(control<QLabel>("lbl締め状態")->text().contains(QStringLiteral(" → 再締め　")));
    QCOMPARE(query(mainDb(), QStringLiteral("select タイトル, 締め from 締め order by rowid")),
             (test::Rows{{kApril, "-1"}, {kApril, "0"}, {kApril, "-1"}}));
    QVERIFY(closing::setClosed(mainDb(), kApril, false, QDateTime::currentDateTime()));
    control<QTabWidget>("SSTab1")->setCurrentWidget(page());
    QVERIFY(page()->openStatement(kPaid, kApril));
    QTest::mouseClick(control<QPushButton>("cmd削除"), Qt::LeftButton);
    QCOMPARE(stored().size(), before.size() - 1);
}

void TestClosing::summaryOfAClosedMonthListsWhoIsMissing()
{
    QTemporaryDir out;
    chooseApril();
    QTest::mouseClick(control<QPushButton>("cmd締め"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("cmd一覧表"), Qt::LeftButton);
    ReportDialog *shown = history()->reportWindow();
    QVERIFY(shown);
    QCOMPARE(shown->findChild<QLabel *>(QStringLiteral("lbl帳票"))->text(),
             kApril + QStringLiteral("　") + closedToday());
    // The missing are below the table, by number, and in no total.
    QCOMPARE(shown->Grid帳票->rowCount(), 2);
    QCOMPARE(shown->Grid帳票->item(1, 7)->text(), QStringLiteral("15,000"));
    QCOMPARE(shown->findChild<QLabel *>(QStringLiteral("lbl帳票注記"))->text(),
             QStringLiteral("明細のない従業員（合計に含みません）： %1、%2").arg(kNew, kForgotten));

    // On paper: the mark under the title, the names after the table.
    QList<reports::Document> previews;
    reports::setPreviewHook([&](const reports::Document &document, const QString &) { previews << document; });
    QString savePath = QDir(out.path()).filePath(QStringLiteral("summary.csv"));
    reports::setSaveNameHook([&](const QString &) { return savePath; });
    QTest::mouseClick(shown->cmd帳票印刷, Qt::LeftButton);
    QTest::mouseClick(shown->cmd帳票CSV, Qt::LeftButton);
    reports::setPreviewHook({});
    reports::setSaveNameHook({});
    QCOMPARE(previews.size(), 1);
    QStringList subheadings, notes;
    for (const payslip::PayslipItem &item : previews.first().pages.first()) {
        if (item.name == QStringLiteral("subheading"))
            subheadings << item.text;
        if (item.name == QStringLiteral("note"))
            notes << item.text;
    }
    QCOMPARE(subheadings, QStringList({kApril, closedToday()}));
    QCOMPARE(notes, QStringList({QStringLiteral("明細のない従業員（合計に含みません）："), kNew, kForgotten}));

    const test::CsvReadBack back = test::readCsvWithPython(savePath);
    QVERIFY2(back.ok, qPrintable(back.error));
    QCOMPARE(back.rows.size(), 1 + 1 + 1 + 4);
    QCOMPARE(back.rows[2].first(), QStringLiteral("合計"));
    QCOMPARE(back.rows.mid(3),
             (QList<QStringList>{
                 {closedToday()}, {QStringLiteral("明細のない従業員（合計に含みません）")}, {kNew}, {kForgotten}}));
}

void TestClosing::bulkDeleteRefusedWhileAMonthIsClosed()
{
    // A title with nothing under it cannot be closed: it could never be
    // chosen again to be reopened, and would hold the bulk delete for ever.
    QVERIFY(!closing::setClosed(mainDb(), QStringLiteral("2024年5月分"), true, QDateTime::currentDateTime()));
    QVERIFY(closing::setClosed(mainDb(), kApril, true, QDateTime::currentDateTime()));
    const test::Rows before = stored();
    QPushButton *bulkDelete = control<QPushButton>("cmd一括削除7");
    control<QTabWidget>("SSTab1")->setCurrentWidget(window()->settingsPage());
    QTest::mouseClick(bulkDelete, Qt::LeftButton);
    // Refused before anything is asked or backed up.
    QCOMPARE(asked(), QStringList{QStringLiteral("締め/一括削除不可/") + kApril});
    QCOMPARE(stored(), before);
    QVERIFY(QDir(QDir(data().path()).filePath(QStringLiteral("backup")))
                .entryList({QStringLiteral("*bulk-delete*")}, QDir::Files)
                .isEmpty());

    // Reopened, the delete asks as before.
    QVERIFY(closing::setClosed(mainDb(), kApril, false, QDateTime::currentDateTime()));
    clearAsked();
    answer(false);
    QTest::mouseClick(bulkDelete, Qt::LeftButton);
    QCOMPARE(asked().size(), 1);
    QVERIFY(asked().first().startsWith(QStringLiteral("削除/確認/")));
    QCOMPARE(stored(), before);
}

// A day already paid in a closed month is not paid again under another
// title: 登録 refuses the statement and names the month, asking nothing.
void TestClosing::daysOfAClosedMonthAreNotPaidAgain()
{
    QVERIFY(closing::setClosed(mainDb(), kApril, true, QDateTime::currentDateTime()));
    const test::Rows before = stored();
    control<QComboBox>("cmb氏名")->setEditText(kPaid);
    control<QLineEdit>("txtタイトル")->setText(kApril + QStringLiteral("追加"));
    QVERIFY(execBound(workDb(), QStringLiteral("update w明細 set 日付 = ?, 開始時間 = '0900', 終了時間 = '1800',"
                                               " 休憩 = 1, 時間 = 8, 時給 = 1000 where 行番号 = ?"),
                      {QStringLiteral("20240403"), 1}));
    QVERIFY(execBound(workDb(), QStringLiteral("update w明細 set 日付 = ?, 開始時間 = '0900', 終了時間 = '1800',"
                                               " 休憩 = 1, 時間 = 8, 時給 = 1000 where 行番号 = ?"),
                      {QStringLiteral("20240402"), 2}));
    control<DataGrid>("Grid明細")->refresh();
    page()->Calc明細();
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("締め/変更不可/2024/04/02 の勤務は %1（%2） で支払い済み（%3）のため、"
                                                 "登録できません。")
                                      .arg(kPaid, kApril, closedToday())});
    QCOMPARE(stored(), before);
}

QTEST_MAIN(TestClosing)
#include "tst_closing.moc"
