#include "app/FrmPelmar.h"
#include "masters/SettingsPage.h"
#include "messages/ShowMsg.h"
#include "statements/HistoryPage.h"
#include "statements/StatementPage.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include "../support/WindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace pelmar;

using test::Rows;

namespace {

// A day line as w明細 holds it: date, start, end, break, hours, wage, adjustment, amount.
struct Day {
    QVariant date, start, end, rest, hours, wage, adjustment, amount;
};

Day workedDay(const QString &date, double amount = 8000.0)
{
    return {date, QStringLiteral("0900"), QStringLiteral("1800"), 1.0, 8.0, 1000.0, QVariant(), amount};
}

} // namespace

class TestSaving : public test::WindowFixture {
    Q_OBJECT
private slots:
    void saveAndReopen();
    void resaveReplacesTheLines();
    void reopeningReplacesEveryLine_data();
    void reopeningReplacesEveryLine();
    void incompleteAndUnorderedLines();
    void twoTitlesAreIndependent();
    void missingNameOrTitle_data();
    void missingNameOrTitle();
    void declinedSaveWritesNothing();
    void failedSaveKeepsThePage();
    void historyList();
    void selectReopensOnTheFirstPage();
    void deleteOneStatement();
    void bulkDelete();
    void bulkDeleteDefaultsToNo();
    void hostileNamesAndTitles_data();
    void hostileNamesAndTitles();

private:
    void seed() override;
    void putLines(const QList<Day> &days);
    void setStatement(const QString &name, const QString &title);
    void saveStatement(const QString &name, const QString &title, const QList<Day> &days);
};

void TestSaving::seed()
{
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
    QVERIFY(
        execBound(mainDb(), QStringLiteral("insert into 従業員 values (3, '山田', 1000, 'A', '0900', '1800', 1, 8)")));
}

void TestSaving::putLines(const QList<Day> &days)
{
    for (int i = 0; i < days.size(); ++i) {
        const Day &d = days.at(i);
        QVERIFY(execBound(workDb(),
                          // As typed into 金額: the page has the hours worked
                          // out and keeps no premium yen inside the amount.
                          QStringLiteral("update w明細 set 日付 = ?, 開始時間 = ?, 終了時間 = ?, 休憩 = ?, 時間 = ?,"
                                         " 時給 = ?, 調整額 = ?, 金額 = ?, 深夜 = 0 where 行番号 = ?"),
                          {d.date, d.start, d.end, d.rest, d.hours, d.wage, d.adjustment, d.amount, i + 1}));
    }
    control<DataGrid>("Grid明細")->refresh();
    page()->Calc明細();
}

void TestSaving::setStatement(const QString &name, const QString &title)
{
    control<QComboBox>("cmb氏名")->setEditText(name);
    control<QLineEdit>("txtタイトル")->setText(title);
}

void TestSaving::saveStatement(const QString &name, const QString &title, const QList<Day> &days)
{
    setStatement(name, title);
    control<NumberBox>("num時給")->setValue(1000.0);
    control<QComboBox>("cmb勤務形態")->setEditText(QStringLiteral("A"));
    putLines(days);
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
}

void TestSaving::saveAndReopen()
{
    // A save that returned has reached the disk: the main file is written
    // with full synchronous commits (2), never with them switched off.
    QCOMPARE(query(window()->state().MainDb, "PRAGMA synchronous"), (Rows{{"2"}}));

    setStatement(QStringLiteral("山田"), QStringLiteral("2026年3月分"));
    control<NumberBox>("num時給")->setValue(1100.0);
    control<QComboBox>("cmb勤務形態")->setEditText(QStringLiteral("A"));
    putLines({{"20260302", "0900", "1730", 0.75, 7.75, 1100.0, -500.0, 8025.0},
              {"20260303", "2200", "0600", QVariant(), 8.0, 1100.0, QVariant(), 8800.0},
              workedDay("20260304")});
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    // The 8-hour night without a break is named before the question; the
    // wage other than the master's is asked about after it.
    // No 給与設定: the pay without 所得税 is named before the last question.
    QCOMPARE(asked().size(), 4);
    QCOMPARE(asked().at(0), QStringLiteral("登録/休憩不足/2026/03/03"));
    QVERIFY(asked().at(1).startsWith(QStringLiteral("給与/所得税なし確認/山田 の税区分は「未設定」")));
    QCOMPARE(asked().at(2), QStringLiteral("登録/確認/山田"));
    QVERIFY(asked().last().startsWith(QStringLiteral("登録/時給変更確認/")));
    // The page is empty again, without a completion notice.
    QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), QString());
    QCOMPARE(control<QLineEdit>("txtタイトル")->text(), QString());
    QVERIFY(!control<NumberBox>("num合計")->value().isValid());
    QCOMPARE(query(workDb(), "select count(*) from w明細 where 日付 is not null"), (Rows{{"0"}}));

    QCOMPARE(
        query(mainDb(), "select * from 時給ヘッダ"),
        // The hours are kept as facts; the amounts typed are kept, with no
        // premium yen inside them.
        (Rows{{"山田", "2026年3月分", "A", "1100", "1.75", "-500", "23.75", "24825", "7", "0", "<null>", "0", "0"}}));
    QCOMPARE(query(mainDb(),
                   "select 行番号, 日付, 開始時間, 終了時間, 休憩, 時間, 時給, 調整額, 金額 from 時給明細"
                   " order by 行番号"),
             (Rows{{"1", "20260302", "0900", "1730", "0.75", "7.75", "1100", "-500", "8025"},
                   {"2", "20260303", "2200", "0600", "<null>", "8", "1100", "<null>", "8800"},
                   {"3", "20260304", "0900", "1800", "1", "8", "1000", "<null>", "8000"}}));
    // The employee master takes the statement's wage, as the user said.
    QCOMPARE(query(mainDb(), "select \"No\", 時給, 勤務形態 from 従業員"), (Rows{{"3", "1100", "A"}}));

    // Reopen after a restart.
    QVERIFY(openWindow());
    setStatement(QStringLiteral("山田"), QStringLiteral("2026年3月分"));
    QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1100.0);
    QCOMPARE(control<NumberBox>("num休憩")->value().toDouble(), 1.75);
    QCOMPARE(control<NumberBox>("num調整額")->value().toDouble(), -500.0);
    QCOMPARE(control<NumberBox>("num時間")->value().toDouble(), 23.75);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 24825.0);
    QCOMPARE(control<QComboBox>("cmb勤務形態")->currentText(), QStringLiteral("A"));
    QCOMPARE(control<QLabel>("Lbl勤務形態")->text(), QStringLiteral("9:00 ～ 18:00   休憩 1  実労 8"));
    QCOMPARE(
        query(workDb(), "select 行番号, 日付, 開始時間, 調整額, 金額 from w明細 where 行番号 <= 4 order by 行番号"),
        (Rows{{"1", "20260302", "0900", "-500", "8025"},
              {"2", "20260303", "2200", "<null>", "8800"},
              {"3", "20260304", "0900", "<null>", "8000"},
              {"4", "<null>", "<null>", "<null>", "<null>"}}));
    QCOMPARE(control<DataGrid>("Grid明細")->model()->rowCount(), 60);
    QCOMPARE(control<DataGrid>("Grid明細")->model()->index(0, 1).data().toString(), QStringLiteral("2026/03/02"));
}

void TestSaving::resaveReplacesTheLines()
{
    const QList<Day> week{workedDay("20260302"), workedDay("20260303"), workedDay("20260304"), workedDay("20260305"),
                          workedDay("20260306")};
    saveStatement(QStringLiteral("山田"), QStringLiteral("3月"), week);
    saveStatement(QStringLiteral("山田"), QStringLiteral("3月"), week.mid(0, 2));
    QCOMPARE(query(mainDb(), "select count(*), max(合計) from 時給ヘッダ"), (Rows{{"1", "16000"}}));
    QCOMPARE(query(mainDb(), "select 行番号, 日付 from 時給明細 order by 行番号"),
             (Rows{{"1", "20260302"}, {"2", "20260303"}}));
}

void TestSaving::reopeningReplacesEveryLine_data()
{
    QTest::addColumn<bool>("linesReadable");
    QTest::newRow("stored lines") << true;
    QTest::newRow("lines that cannot be read") << false;
}

void TestSaving::reopeningReplacesEveryLine()
{
    QFETCH(bool, linesReadable);
    saveStatement(QStringLiteral("山田"), QStringLiteral("3月"), {workedDay("20260302"), workedDay("20260303")});
    // Another statement typed over more lines, not saved.
    setStatement(QStringLiteral("鈴木"), QStringLiteral("4月"));
    putLines({workedDay("20260401"), workedDay("20260402"), workedDay("20260403"), workedDay("20260404")});
    if (!linesReadable)
        QVERIFY(execBound(mainDb(), QStringLiteral("alter table 時給明細 rename to 時給明細_away")));
    clearAsked();
    setStatement(QStringLiteral("山田"), QStringLiteral("3月"));
    QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
    if (!linesReadable)
        QVERIFY(execBound(mainDb(), QStringLiteral("alter table 時給明細_away rename to 時給明細")));

    // Every one of the 60 lines is the reopened statement's or empty, never
    // one left from the statement typed before.
    const Rows lines = query(workDb(), "select 行番号, 日付 from w明細 where 日付 is not null order by 行番号");
    QCOMPARE(query(workDb(), "select count(*), min(行番号), max(行番号) from w明細"), (Rows{{"60", "1", "60"}}));
    if (linesReadable) {
        QCOMPARE(lines, (Rows{{"1", "20260302"}, {"2", "20260303"}}));
        QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 16000.0);
    } else {
        QCOMPARE(lines, Rows{});
        // The message names the file and why its lines could not be read.
        const QStringList told = asked().filter(QStringLiteral("エラー/明細行読込/"));
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(QStringLiteral("Pelmar.mdb"))
                     && told.first().contains(QStringLiteral("時給明細")),
                 qPrintable(told.first()));
        QVERIFY(!control<NumberBox>("num合計")->value().isValid());
    }
    QCOMPARE(control<DataGrid>("Grid明細")->model()->rowCount(), 60);
}

void TestSaving::incompleteAndUnorderedLines()
{
    saveStatement(QStringLiteral("山田"), QStringLiteral("3月"),
                  {workedDay("20260310"),
                   {"20260301", "0900", "1800", 1.0, 8.0, QVariant(), QVariant(), QVariant()}, // no amount
                   workedDay("20260305"),
                   {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), 3000.0},
                   workedDay("20260307")});
    QCOMPARE(query(mainDb(), "select 行番号, 日付 from 時給明細 order by 行番号"),
             (Rows{{"1", "20260305"}, {"2", "20260307"}, {"3", "20260310"}}));
    // The two lines a save leaves out were named before saving, and the
    // header's totals are the sums of the stored lines alone.
    QVERIFY(asked().contains(QStringLiteral("登録/除外確認/2, 4")));
    QCOMPARE(query(mainDb(), "select 合計, 時間, 休憩 from 時給ヘッダ"), (Rows{{"24000", "24", "3"}}));
}

void TestSaving::twoTitlesAreIndependent()
{
    saveStatement(QStringLiteral("山田"), QStringLiteral("4月"), {workedDay("20260401"), workedDay("20260402")});
    saveStatement(QStringLiteral("山田"), QStringLiteral("5月"), {workedDay("20260501")});
    saveStatement(QStringLiteral("山田"), QStringLiteral("5月"), {workedDay("20260502", 7000.0)});
    QCOMPARE(query(mainDb(), "select タイトル, 合計 from 時給ヘッダ order by タイトル"),
             (Rows{{"4月", "16000"}, {"5月", "7000"}}));
    QCOMPARE(query(mainDb(), "select タイトル, 日付 from 時給明細 order by タイトル, 行番号"),
             (Rows{{"4月", "20260401"}, {"4月", "20260402"}, {"5月", "20260502"}}));
}

void TestSaving::missingNameOrTitle_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("focused");
    for (const char *button : {"cmd登録", "cmd読込", "cmd削除"}) {
        QTest::addRow("%s, both empty", button) << ""
                                                << "" << button << "氏名を記入してください。"
                                                << "cmb氏名";
        QTest::addRow("%s, no title", button) << "山田"
                                              << "" << button << "タイトルを記入してください。"
                                              << "txtタイトル";
    }
}

void TestSaving::missingNameOrTitle()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, button);
    QFETCH(QString, notice);
    QFETCH(QString, focused);
    saveStatement(QStringLiteral("山田"), QStringLiteral("前の分"), {workedDay("20260301")});
    clearAsked();
    setStatement(name, title);
    putLines({workedDay("20260401")});
    QTest::mouseClick(window()->findChild<QAbstractButton *>(button), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("その他/メッセージ/") + notice});
    QWidget *focus = QApplication::focusWidget();
    while (focus && focus->objectName() != focused)
        focus = focus->parentWidget();
    QVERIFY2(focus, qPrintable(QApplication::focusWidget()->objectName()));
    QCOMPARE(query(mainDb(), "select count(*) from 時給ヘッダ"), (Rows{{"1"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 時給明細"), (Rows{{"1"}}));
    QCOMPARE(query(workDb(), "select 日付 from w明細 where 行番号 = 1"), (Rows{{"20260401"}}));
}

void TestSaving::declinedSaveWritesNothing()
{
    answer(false);
    saveStatement(QStringLiteral("新人"), QStringLiteral("3月"), {workedDay("20260301")});
    QCOMPARE(asked(), (QStringList{"登録/新規従業員確認/新人"}));
    QCOMPARE(query(mainDb(), "select count(*) from 時給ヘッダ"), (Rows{{"0"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 時給明細"), (Rows{{"0"}}));
    QCOMPARE(query(mainDb(), "select 氏名 from 従業員"), (Rows{{"山田"}}));
    QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), QStringLiteral("新人"));
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 8000.0);
}

void TestSaving::failedSaveKeepsThePage()
{
    saveStatement(QStringLiteral("山田"), QStringLiteral("3月"), {workedDay("20260301")});
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("create trigger refuse before insert on 時給明細"
                                     " when new.日付 = '20260309' begin select raise(abort, 'no'); end")));
    clearAsked();
    saveStatement(QStringLiteral("山田"), QStringLiteral("3月"),
                  {workedDay("20260308", 1.0), workedDay("20260309", 2.0)});
    QCOMPARE(requests().size(), 3); // 所得税なし, 上書き, and the failure
    QVERIFY(requests().last().prompt.contains(QStringLiteral("保存できませんでした")));
    // The stored statement is the old one, whole; the page still holds the new one.
    QCOMPARE(query(mainDb(), "select 合計 from 時給ヘッダ"), (Rows{{"8000"}}));
    QCOMPARE(query(mainDb(), "select 日付 from 時給明細"), (Rows{{"20260301"}}));
    QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), QStringLiteral("山田"));
    QCOMPARE(query(workDb(), "select 日付 from w明細 where 行番号 = 2"), (Rows{{"20260309"}}));
}

void TestSaving::historyList()
{
    saveStatement(QStringLiteral("渡辺"), QStringLiteral("3月"), {workedDay("20260301")});
    saveStatement(QStringLiteral("伊藤"), QStringLiteral("3月"), {workedDay("20260301", 5000.0)});
    QCOMPARE(query(workDb(), "select count(*) from w履歴"), (Rows{{"0"}}));
    QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
    const Rows listed{{"伊藤", "5000", "3月"}, {"渡辺", "8000", "3月"}};
    QCOMPARE(query(workDb(), "select 氏名, 合計, タイトル from w履歴"), listed);
    QCOMPARE(control<DataGrid>("Grid履歴")->model()->rowCount(), 2);
    QCOMPARE(control<DataGrid>("Grid履歴")->model()->index(0, 1).data().toString(), QStringLiteral("5,000"));
    // A later save shows only after reading again.
    saveStatement(QStringLiteral("阿部"), QStringLiteral("3月"), {workedDay("20260301")});
    QCOMPARE(query(workDb(), "select 氏名, 合計, タイトル from w履歴"), listed);
    QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
    QCOMPARE(query(workDb(), "select 氏名 from w履歴"), (Rows{{"伊藤"}, {"渡辺"}, {"阿部"}}));
    QTest::mouseClick(control<QPushButton>("cmd履歴クリア"), Qt::LeftButton);
    QCOMPARE(control<DataGrid>("Grid履歴")->model()->rowCount(), 0);
}

void TestSaving::selectReopensOnTheFirstPage()
{
    saveStatement(QStringLiteral("山田"), QStringLiteral("4月"), {workedDay("20260401")});
    saveStatement(QStringLiteral("山田"), QStringLiteral("5月"), {workedDay("20260501"), workedDay("20260502")});
    auto *tabs = window()->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    tabs->setCurrentIndex(1);
    // Nothing listed: nothing happens.
    QTest::mouseClick(control<QPushButton>("cmd履歴選択"), Qt::LeftButton);
    QCOMPARE(tabs->currentIndex(), 1);
    QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
    control<DataGrid>("Grid履歴")->setCurrentIndex(control<DataGrid>("Grid履歴")->model()->index(1, 0));
    QTest::mouseClick(control<QPushButton>("cmd履歴選択"), Qt::LeftButton);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), QStringLiteral("山田"));
    QCOMPARE(control<QLineEdit>("txtタイトル")->text(), QStringLiteral("5月"));
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 16000.0);
    QCOMPARE(query(workDb(), "select count(*) from w明細 where 日付 is not null"), (Rows{{"2"}}));
}

void TestSaving::deleteOneStatement()
{
    saveStatement(QStringLiteral("山田"), QStringLiteral("4月"), {workedDay("20260401")});
    saveStatement(QStringLiteral("山田"), QStringLiteral("5月"), {workedDay("20260501")});
    setStatement(QStringLiteral("山田"), QStringLiteral("4月"));
    answer(false);
    QTest::mouseClick(control<QPushButton>("cmd削除"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select count(*) from 時給ヘッダ"), (Rows{{"2"}}));
    QCOMPARE(control<QLineEdit>("txtタイトル")->text(), QStringLiteral("4月"));
    answer(true);
    QTest::mouseClick(control<QPushButton>("cmd削除"), Qt::LeftButton);
    QCOMPARE(asked().last(), QStringLiteral("削除/確認/山田（4月）"));
    QCOMPARE(query(mainDb(), "select タイトル from 時給ヘッダ"), (Rows{{"5月"}}));
    QCOMPARE(query(mainDb(), "select タイトル, 日付 from 時給明細"), (Rows{{"5月", "20260501"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 従業員"), (Rows{{"1"}}));
    QCOMPARE(control<QLineEdit>("txtタイトル")->text(), QString());
}

void TestSaving::bulkDelete()
{
    saveStatement(QStringLiteral("山田"), QStringLiteral("4月"), {workedDay("20260401")});
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 自社情報 values ('ペルマー', '東京')")));
    QVERIFY(
        execBound(workDb(), QStringLiteral("insert into ClHint values ('FrmPelmar', 'cmdHint', 'Pelmar', '残す')")));
    const Rows hints = query(workDb(), "select * from ClHint order by rowid");
    QVERIFY(hints.contains(QStringList{"FrmPelmar", "cmdHint", "Pelmar", "残す"}));
    control<QLineEdit>("txt自社名")->setText(QStringLiteral("ペルマー"));
    QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
    setStatement(QStringLiteral("山田"), QStringLiteral("表示中"));
    QTest::mouseClick(control<QPushButton>("cmd一括削除7"), Qt::LeftButton);
    QCOMPARE(asked().last(), QStringLiteral("削除/確認/保存したすべての明細・従業員・勤務形態・自社情報"));
    for (const char *table : {"時給ヘッダ", "時給明細", "従業員", "勤務形態マスタ", "自社情報"})
        QCOMPARE(test::rowCount(mainDb(), QString::fromUtf8(table)), 0);
    QCOMPARE(query(workDb(), "select * from ClHint order by rowid"), hints);
    QCOMPARE(test::rowCount(workDb(), QStringLiteral("w履歴")), 0);
    QCOMPARE(query(workDb(), "select count(*) from w従業員 where 氏名 is null"), (Rows{{"100"}}));
    QCOMPARE(query(workDb(), "select count(*) from w勤務形態 where 開始時間 is null"), (Rows{{"10"}}));
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QString());
    QCOMPARE(window()->state().CompanyName, QString());
    // Nothing of the deleted data stays on the statement page.
    QCOMPARE(control<QLineEdit>("txtタイトル")->text(), QString());
    QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), QString());
    QCOMPARE(control<QComboBox>("cmb氏名")->count(), 0);
    QVERIFY(!control<NumberBox>("num合計")->hasValue());
    QVERIFY(!control<NumberBox>("num時給")->hasValue());
    QCOMPARE(query(workDb(), "select count(*) from w明細 where 日付 is null"), (Rows{{"60"}}));
}

void TestSaving::bulkDeleteDefaultsToNo()
{
    saveStatement(QStringLiteral("山田"), QStringLiteral("4月"), {workedDay("20260401")});
    setMessageAnswerer({}); // the real dialog this time
    QString shownTitle;
    QTimer::singleShot(0, this, [&shownTitle] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        shownTitle = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Enter);
    });
    QTest::mouseClick(control<QPushButton>("cmd一括削除7"), Qt::LeftButton);
    QCOMPARE(shownTitle, QStringLiteral("削除の確認"));
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("時給ヘッダ")), 1);
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("従業員")), 1);
}

void TestSaving::hostileNamesAndTitles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("quotes") << "O'Brien"
                            << "4月'分";
    QTest::newRow("percent") << "%"
                             << "%";
    QTest::newRow("underscore") << "山_田"
                                << "_";
    QTest::newRow("sql") << "x' or '1'='1"
                         << "'; delete from 時給ヘッダ; --";
    QTest::newRow("emoji") << "笑顔😀"
                           << "🎉 3月";
    QTest::newRow("very long") << QString(300, QChar(u'長')) << QString(500, u'x');
}

void TestSaving::hostileNamesAndTitles()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    // Neighbours that a loose match (LIKE, unescaped quotes) would reach.
    saveStatement(QStringLiteral("山田"), QStringLiteral("4月分"), {workedDay("20260401")});
    saveStatement(QStringLiteral("山田"), QStringLiteral("x"), {workedDay("20260402")});
    saveStatement(name, title, {workedDay("20260403", 1234.0), workedDay("20260404", 1.0)});
    QCOMPARE(query(mainDb(), "select 合計 from 時給ヘッダ where 氏名 = ? and タイトル = ?", {name, title}),
             (Rows{{"1235"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 時給明細 where 氏名 = ? and タイトル = ?", {name, title}),
             (Rows{{"2"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 従業員 where 氏名 = ?", {name}), (Rows{{"1"}}));

    QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
    QCOMPARE(query(workDb(), "select count(*) from w履歴"), (Rows{{"3"}}));

    setStatement(name, title);
    QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 1235.0);
    QCOMPARE(query(workDb(), "select 日付 from w明細 where 日付 is not null"), (Rows{{"20260403"}, {"20260404"}}));

    QTest::mouseClick(control<QPushButton>("cmd削除"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select 氏名, タイトル from 時給ヘッダ order by タイトル"),
             (Rows{{"山田", "4月分"}, {"山田", "x"}}));
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("時給明細")), 2);
}

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
