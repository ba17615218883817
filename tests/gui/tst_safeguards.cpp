// The traps a shop owner falls into with ordinary clicks: stale totals,
// a wiped master, a reopened statement that takes today's wage, work thrown
// away without a question. Each is driven through the real window.
#include "app/FrmPelmar.h"
#include "hints/HintWindow.h"
#include "masters/EmployeePage.h"
#include "masters/PatternPage.h"
#include "masters/SettingsPage.h"
#include "messages/ShowMsg.h"
#include "statements/HistoryPage.h"
#include "statements/StatementPage.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include "../support/WindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace pelmar;
using test::Rows;

namespace {

enum { kDate = 1, kStart, kEnd, kBreak, kHours, kWage, kAdjustment, kAmount };

enum class Trap {
    SaveOverStored,
    SaveWithLeftOutLines,
    RegisterEmployeesAfterClear,
    ReadEmployeesOverTypedRows,
    ReopenOverUnsavedLines,
    SelectOverUnsavedLines,
    CloseOverUnsavedLines,
    HintOverUnsavedText,
};

} // namespace

class TestSafeguards : public test::WindowFixture {
    Q_OBJECT
private slots:
    void totalsFollowEveryEditAndAddUp();
    void confirmationsAnsweredNo_data();
    void confirmationsAnsweredNo();
    void employeeMasterIsOnThePageFromTheStart();
    void reopenedStatementKeepsItsWage();
    void pickersNeverChangeByThemselves();
    void missingStatementIsTold_data();
    void missingStatementIsTold();
    void deletedCompanyStopsPrinting();
    void pickersFollowTheMasters();
    void failuresKeepWhatWasTyped();
    void failedMasterReadRefusesRegistration();
    void hoursShowTheirRealValue_data();
    void hoursShowTheirRealValue();
    void breakLongerThanTheShiftIsRefused();
    void fullWidthDigitsAreDigits();
    void typedNamesAreWhatTheyLookLike_data();
    void typedNamesAreWhatTheyLookLike();
    void typedEmployeeNameLosesWhatCannotBeSeen();

private:
    void seed() override;
    void saveWeek(const QString &title);
};

void TestSafeguards::seed()
{
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
    const QString employee = QStringLiteral("insert into 従業員 values (?, ?, ?, 'A', '0900', '1800', 1, 8)");
    QVERIFY(execBound(mainDb(), employee, {1, QStringLiteral("山田"), 1000.0}));
    QVERIFY(execBound(mainDb(), employee, {2, QStringLiteral("田中一郎"), 1200.0}));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 自社情報 values ('有限会社ペルマー', '東京都')")));
}

// 山田's week of three days under shift type A, saved under the title.
void TestSafeguards::saveWeek(const QString &title)
{
    chooseEmployee(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(title);
    type(0, kDate, QStringLiteral("20260302"));
    type(1, kDate, QStringLiteral("20260303"));
    type(2, kDate, QStringLiteral("20260304"));
    QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 24000.0);
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select count(*) from 時給明細"), (Rows{{"3"}}));
}

void TestSafeguards::totalsFollowEveryEditAndAddUp()
{
    chooseEmployee(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("3月"));
    type(0, kDate, QStringLiteral("20260302"));
    type(1, kDate, QStringLiteral("20260303"));
    QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 16000.0);
    type(1, kAmount, QStringLiteral("9500"), Qt::Key_Tab); // typed straight into 金額
    QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 17500.0);
    type(0, kAdjustment, QStringLiteral("-500"));
    QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 17000.0);
    QCOMPARE(control<NumberBox>("num調整額")->value().toDouble(), -500.0);
    type(0, kWage, QStringLiteral("1100"));
    QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 17800.0);
    // A line without a date is not stored, so it is not in the totals either.
    type(4, kHours, QStringLiteral("3"));
    QTRY_COMPARE(control<NumberBox>("num時間")->value().toDouble(), 16.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 17800.0);

    QCOMPARE(print().text(QStringLiteral("txt合計")), QStringLiteral("¥17,800"));
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QVERIFY2(asked().contains(QStringLiteral("登録/除外確認/5")), qPrintable(asked().join(u' ')));
    QCOMPARE(query(mainDb(), "select 合計, 時間, 休憩, 調整額 from 時給ヘッダ"),
             query(mainDb(), "select total(金額), total(時間), total(休憩), total(調整額) from 時給明細"));
    QCOMPARE(query(mainDb(), "select 合計 from 時給ヘッダ"), (Rows{{"17800"}}));
}

void TestSafeguards::confirmationsAnsweredNo_data()
{
    QTest::addColumn<Trap>("trap");
    QTest::addColumn<QString>("question");
    QTest::newRow("save over a stored statement") << Trap::SaveOverStored << "登録/上書き確認/山田（4月）";
    QTest::newRow("save with lines left out") << Trap::SaveWithLeftOutLines << "登録/除外確認/2";
    QTest::newRow("register a cleared employee page") << Trap::RegisterEmployeesAfterClear << "登録/マスタ削除確認/2";
    QTest::newRow("read over typed employees") << Trap::ReadEmployeesOverTypedRows << "その他/未保存確認/従業員";
    QTest::newRow("reopen over unsaved lines") << Trap::ReopenOverUnsavedLines << "その他/未保存確認/勤務表";
    QTest::newRow("select over unsaved lines") << Trap::SelectOverUnsavedLines << "その他/未保存確認/勤務表";
    QTest::newRow("close over unsaved lines") << Trap::CloseOverUnsavedLines << "その他/未保存確認/勤務表";
    QTest::newRow("another hint over unsaved text") << Trap::HintOverUnsavedText << "その他/未保存確認/ヒント";
}

// Each question that guards stored or typed work is asked, defaults to No,
// and No leaves everything as it was.
void TestSafeguards::confirmationsAnsweredNo()
{
    QFETCH(Trap, trap);
    QFETCH(QString, question);
    const bool withStoredStatement =
        trap == Trap::SaveOverStored || trap == Trap::ReopenOverUnsavedLines || trap == Trap::SelectOverUnsavedLines;
    if (withStoredStatement)
        saveWeek(QStringLiteral("4月"));
    if (trap == Trap::SelectOverUnsavedLines) {
        QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
        control<DataGrid>("Grid履歴")->setCurrentIndex(control<DataGrid>("Grid履歴")->model()->index(0, 0));
    }
    if (trap == Trap::SaveOverStored) {
        // Taxed by 甲欄: the question is the one about the stored statement.
        QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員給与 (氏名, 税区分) values ('山田', '甲')")));
        control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
        control<QLineEdit>("txtタイトル")->setText(QStringLiteral("4月"));
        QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
        QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 24000.0);
    }
    if (trap != Trap::RegisterEmployeesAfterClear && trap != Trap::ReadEmployeesOverTypedRows
        && trap != Trap::HintOverUnsavedText) {
        chooseEmployee(QStringLiteral("山田"));
        control<QLineEdit>("txtタイトル")->setText(QStringLiteral("4月"));
        type(0, kDate, QStringLiteral("20260309"));
    }
    if (trap == Trap::SaveWithLeftOutLines)
        type(1, kStart, QStringLiteral("0900"));
    if (trap == Trap::RegisterEmployeesAfterClear)
        QTest::mouseClick(control<QPushButton>("cmdクリア従業員"), Qt::LeftButton);
    if (trap == Trap::ReadEmployeesOverTypedRows)
        typeInto(control<DataGrid>("Grid従業員"), 2, 3, QStringLiteral("1300"));
    QString hintText; // the statement page's hint with "draft" typed into it
    if (trap == Trap::HintOverUnsavedText) {
        QTest::mouseClick(control<QToolButton>("cmdHint"), Qt::LeftButton);
        auto *hint = window()->findChild<HintWindow *>();
        QVERIFY(hint);
        QTest::mouseClick(hint->cmd編集, Qt::LeftButton);
        QTest::keyClicks(hint->txtContents, QStringLiteral("draft"));
        hintText = hint->txtContents->toPlainText();
        QVERIFY(hintText.startsWith(QStringLiteral("draft")));
    }
    // Every row of the saved statements, the employee master and the page's
    // lines, table after table.
    const auto everything = [this](const QSqlDatabase &db, const QStringList &tables) {
        Rows all;
        for (const QString &table : tables)
            all << QStringList{table} << query(db, QStringLiteral("select * from ") + table);
        return all;
    };
    const QStringList mainTables{QStringLiteral("時給ヘッダ"), QStringLiteral("時給明細"), QStringLiteral("従業員")};
    const QStringList workTables{QStringLiteral("w明細"), QStringLiteral("w従業員")};
    const Rows mainBefore = everything(mainDb(), mainTables);
    const Rows pageBefore = everything(workDb(), workTables);
    QVERIFY(!mainBefore.contains(QStringList{QStringLiteral("<query failed>")}));
    QVERIFY(!pageBefore.contains(QStringList{QStringLiteral("<query failed>")}));
    clearAsked();
    answer(false);

    switch (trap) {
    case Trap::SaveOverStored:
    case Trap::SaveWithLeftOutLines:
        QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
        break;
    case Trap::RegisterEmployeesAfterClear:
        QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
        break;
    case Trap::ReadEmployeesOverTypedRows:
        QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
        break;
    case Trap::ReopenOverUnsavedLines:
        QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
        break;
    case Trap::SelectOverUnsavedLines:
        QTest::mouseClick(control<QPushButton>("cmd履歴選択"), Qt::LeftButton);
        break;
    case Trap::CloseOverUnsavedLines:
        QVERIFY(!window()->close());
        QVERIFY(window()->isVisible());
        break;
    case Trap::HintOverUnsavedText:
        QTest::mouseClick(control<QToolButton>("cmdHint2"), Qt::LeftButton);
        QCOMPARE(window()->findChild<HintWindow *>()->txtContents->toPlainText(), hintText);
        break;
    }
    QCOMPARE(asked(), QStringList{question});
    QCOMPARE(requests().value(0).style, MessageStyle::ConfirmDefaultNo);
    QCOMPARE(everything(mainDb(), mainTables), mainBefore);
    QCOMPARE(everything(workDb(), workTables), pageBefore);
}

void TestSafeguards::employeeMasterIsOnThePageFromTheStart()
{
    QCOMPARE(query(workDb(), "select 氏名, 時給 from w従業員 where 氏名 is not null order by \"No\""),
             (Rows{{"山田", "1000"}, {"田中一郎", "1200"}}));
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("登録/確認/従業員")});
    QCOMPARE(query(mainDb(), "select 氏名, 時給, 勤務形態 from 従業員 order by \"No\""),
             (Rows{{"山田", "1000", "A"}, {"田中一郎", "1200", "A"}}));
}

void TestSafeguards::reopenedStatementKeepsItsWage()
{
    saveWeek(QStringLiteral("4月"));
    QVERIFY(execBound(mainDb(), QStringLiteral("update 従業員 set 時給 = 1500, 勤務形態 = null where 氏名 = '山田'")));
    control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("4月"));
    QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1000.0);
    // Moving through the name box without changing the name changes nothing.
    chooseEmployee(QStringLiteral("山田"));
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1000.0);
    QCOMPARE(control<QComboBox>("cmb勤務形態")->currentText(), QStringLiteral("A"));
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 24000.0);
    // Another employee brings that employee's wage.
    chooseEmployee(QStringLiteral("田中一郎"));
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1200.0);
}

void TestSafeguards::pickersNeverChangeByThemselves()
{
    control<QComboBox>("cmb氏名")->setFocus();
    test::commitText(control<QComboBox>("cmb氏名")->lineEdit(), QStringLiteral("田中"));
    QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), QStringLiteral("田中"));
    control<QLineEdit>("txtタイトル")->setFocus();
    QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), QStringLiteral("田中"));

    for (QComboBox *picker : {control<QComboBox>("cmb氏名"), control<QComboBox>("cmb勤務形態")}) {
        picker->setCurrentIndex(0);
        const QString before = picker->currentText();
        const QPointF centre = QRectF(picker->rect()).center();
        QWheelEvent wheel(centre, picker->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(picker, &wheel);
        QCOMPARE(picker->currentText(), before);
    }
}

void TestSafeguards::missingStatementIsTold_data()
{
    QTest::addColumn<bool>("deleting");
    QTest::newRow("読込") << false;
    QTest::newRow("削除") << true;
}

void TestSafeguards::missingStatementIsTold()
{
    QFETCH(bool, deleting);
    saveWeek(QStringLiteral("4月"));
    control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("5月"));
    control<NumberBox>("num時給")->setValue(1000.0);
    type(0, kHours, QStringLiteral("8"));
    clearAsked();
    QTest::mouseClick(deleting ? control<QPushButton>("cmd削除") : control<QPushButton>("cmd読込"), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("その他/明細なし/山田（5月）")});
    QCOMPARE(control<QLineEdit>("txtタイトル")->text(), QStringLiteral("5月"));
    QCOMPARE(query(workDb(), "select 時間, 金額 from w明細 where 行番号 = 1"), (Rows{{"8", "8000"}}));
    QCOMPARE(query(mainDb(), "select count(*) from 時給明細 where タイトル = '4月'"), (Rows{{"3"}}));
}

void TestSafeguards::deletedCompanyStopsPrinting()
{
    QCOMPARE(print().text(QStringLiteral("txt自社名")), QStringLiteral("有限会社ペルマー"));
    QTest::mouseClick(control<QPushButton>("cmd設定削除"), Qt::LeftButton);
    QCOMPARE(print().text(QStringLiteral("txt自社名")), QString());
    QCOMPARE(print().text(QStringLiteral("txt自社情報")), QString());
}

void TestSafeguards::pickersFollowTheMasters()
{
    commitInto(control<DataGrid>("Grid従業員"), 2, 2, QStringLiteral("佐藤"));
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QVERIFY(control<QComboBox>("cmb氏名")->findText(QStringLiteral("佐藤")) >= 0);

    typeInto(control<DataGrid>("Grid勤務形態"), 1, 2, QStringLiteral("1700"));
    typeInto(control<DataGrid>("Grid勤務形態"), 1, 3, QStringLiteral("2200"));
    QTest::mouseClick(control<QPushButton>("cmd勤務登録"), Qt::LeftButton);
    QVERIFY(control<QComboBox>("cmb勤務形態")->findText(QStringLiteral("B")) >= 0);
    QCOMPARE(query(workDb(), "select 開始時間, 終了時間 from w勤務形態参照 where タイプ = 'B'"),
             (Rows{{"1700", "2200"}}));
    QTRY_VERIFY(control<DataGrid>("DD勤務形態")->model()->rowCount() >= 2);
}

void TestSafeguards::failuresKeepWhatWasTyped()
{
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("create trigger refuse before update on 自社情報"
                                     " begin select raise(abort, 'refused'); end")));
    control<QLineEdit>("txt自社名")->setText(QStringLiteral("書きかけの社名"));
    QTest::mouseClick(control<QPushButton>("cmd設定登録"), Qt::LeftButton);
    QVERIFY2(asked().last().startsWith(QStringLiteral("エラー/自社情報登録/\n\nファイル: ")),
             qPrintable(asked().last()));
    QVERIFY2(asked().last().contains(u"refused"), qPrintable(asked().last()));
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("書きかけの社名"));
    QTest::mouseClick(control<QPushButton>("cmd設定削除"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("書きかけの社名"));
    QCOMPARE(window()->state().CompanyName, QStringLiteral("有限会社ペルマー"));

    // Totals that cannot be worked out are emptied and told, never left stale.
    control<NumberBox>("num合計")->setValue(12345.0);
    QVERIFY(execBound(workDb(), QStringLiteral("alter table w明細 rename to w明細_away")));
    clearAsked();
    page()->Calc明細();
    QCOMPARE(asked().size(), 1);
    QVERIFY(!control<NumberBox>("num合計")->hasValue());
    QVERIFY(execBound(workDb(), QStringLiteral("alter table w明細_away rename to w明細")));
}

void TestSafeguards::failedMasterReadRefusesRegistration()
{
    QVERIFY(execBound(mainDb(), QStringLiteral("alter table 従業員 rename to 従業員_away")));
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    QVERIFY(execBound(mainDb(), QStringLiteral("alter table 従業員_away rename to 従業員")));
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(asked().size(), 1);
    QCOMPARE(asked().first(), QStringLiteral("登録/従業員未読込/"));
    QCOMPARE(query(mainDb(), "select count(*) from 従業員"), (Rows{{"2"}}));
    // A read that succeeds lifts the refusal.
    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("登録/確認/従業員")});
}

void TestSafeguards::hoursShowTheirRealValue_data()
{
    QTest::addColumn<double>("rest");
    QTest::addColumn<double>("hours");
    QTest::addColumn<QString>("restShown");
    QTest::addColumn<QString>("hoursShown");
    QTest::addColumn<QString>("restTotalShown");
    QTest::newRow("quarters") << 0.75 << 7.75 << "0.75"
                              << "7.75"
                              << "0.75";
    QTest::newRow("whole hours") << 1.0 << 8.0 << "1.0"
                                 << "8.0"
                                 << "1.0";
    QTest::newRow("a long week") << 0.5 << 40.25 << "0.5"
                                 << "40.25"
                                 << "0.5";
    QTest::newRow("nothing") << 0.0 << 0.0 << "0.0"
                             << "0.0"
                             << "";
}

// 時給 × 時間 + 調整額 must be checkable from what is shown and printed.
void TestSafeguards::hoursShowTheirRealValue()
{
    QFETCH(double, rest);
    QFETCH(double, hours);
    QFETCH(QString, restShown);
    QFETCH(QString, hoursShown);
    QFETCH(QString, restTotalShown);
    QVERIFY(execBound(workDb(),
                      QStringLiteral("update w明細 set 日付 = '20260302', 開始時間 = '0900', 終了時間 = '1800',"
                                     " 休憩 = ?, 時間 = ?, 時給 = 1000, 金額 = ? where 行番号 = 1"),
                      {rest, hours, hours * 1000}));
    QVERIFY(execBound(mainDb(), QStringLiteral("update 従業員 set 休憩時間 = ?, 実労時間 = ?"), {rest, hours}));
    QVERIFY(execBound(mainDb(), QStringLiteral("update 勤務形態マスタ set 休憩時間 = ?, 実労時間 = ?"), {rest, hours}));
    control<DataGrid>("Grid明細")->refresh();
    page()->Calc明細();
    control<DataGrid>("Grid明細")->setCurrentIndex(control<DataGrid>("Grid明細")->model()->index(0, kBreak));
    QCOMPARE(control<DataGrid>("Grid明細")->cellText(kBreak), restShown);
    QCOMPARE(control<DataGrid>("Grid明細")->cellText(kHours), hoursShown);
    QCOMPARE(control<NumberBox>("num休憩")->text(), restTotalShown);
    QCOMPARE(control<NumberBox>("num時間")->text(), hoursShown);
    QCOMPARE(print().text(QStringLiteral("txt時間")), hoursShown);

    QTest::mouseClick(control<QPushButton>("cmd従業員読込"), Qt::LeftButton);
    control<DataGrid>("Grid従業員")->setCurrentIndex(control<DataGrid>("Grid従業員")->model()->index(0, 7));
    QCOMPARE(control<DataGrid>("Grid従業員")->cellText(7), restShown);
    QCOMPARE(control<DataGrid>("Grid従業員")->cellText(8), hoursShown);
    QTest::mouseClick(control<QPushButton>("cmd勤務読込"), Qt::LeftButton);
    control<DataGrid>("Grid勤務形態")->setCurrentIndex(control<DataGrid>("Grid勤務形態")->model()->index(0, 4));
    QCOMPARE(control<DataGrid>("Grid勤務形態")->cellText(4), restShown);
    QCOMPARE(control<DataGrid>("Grid勤務形態")->cellText(5), hoursShown);
}

void TestSafeguards::breakLongerThanTheShiftIsRefused()
{
    chooseEmployee(QStringLiteral("山田"));
    type(0, kDate, QStringLiteral("20260302"));
    type(0, kEnd, QStringLiteral("1000")); // a one-hour line with the shift's hour of break: nothing left
    QCOMPARE(asked().value(0), QStringLiteral("入力/範囲外/休憩"));
    type(0, kBreak, QStringLiteral("45")); // minutes meant, hours typed
    QCOMPARE(asked().value(1), QStringLiteral("入力/範囲外/休憩「45」"));
    QCOMPARE(query(workDb(), "select 休憩, 時間, 金額 from w明細 where 行番号 = 1"), (Rows{{"<null>", "1", "1000"}}));
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 1000.0);

    typeInto(control<DataGrid>("Grid勤務形態"), 0, 4, QStringLiteral("9"));
    QCOMPARE(asked().value(2), QStringLiteral("入力/範囲外/休憩「9」"));
    // The refused break leaves the hour it held, and the working time with it.
    QCOMPARE(query(workDb(), "select 休憩時間, 実労時間 from w勤務形態 where タイプ = 'A'"), (Rows{{"1", "8"}}));
}

// Japanese input gives full-width digits; they are the same digits.
void TestSafeguards::fullWidthDigitsAreDigits()
{
    chooseEmployee(QStringLiteral("山田"));
    commitInto(control<DataGrid>("Grid明細"), 0, kDate, QStringLiteral("２０２６０３０２"));
    commitInto(control<DataGrid>("Grid明細"), 0, kStart, QStringLiteral("０８３０"));
    QTRY_COMPARE(query(workDb(), "select 日付, 開始時間, 時間, 金額 from w明細 where 行番号 = 1"),
                 (Rows{{"20260302", "0830", "8.5", "8625"}})); // half an hour of overtime at 25 %
    clearAsked();
    commitInto(control<DataGrid>("Grid明細"), 1, kDate, QStringLiteral("٢٠٢٦٠٣٠٣")); // Arabic-Indic digits
    QTRY_COMPARE(query(workDb(), "select 日付 from w明細 where 行番号 = 2"), (Rows{{"<null>"}}));
    QTRY_COMPARE(asked(), QStringList{QStringLiteral("入力/日付形式/日付「٢٠٢٦٠٣٠٣」")});
    control<NumberBox>("num時給")->setFocus();
    control<NumberBox>("num時給")->selectAll();
    test::commitText(control<NumberBox>("num時給"), QStringLiteral("１２００"));
    control<QLineEdit>("txtタイトル")->setFocus();
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1200.0);
}

void TestSafeguards::typedNamesAreWhatTheyLookLike_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QString>("storedTitle");
    const QString marked = QStringLiteral("田中\ufeff"); // stored long ago with a byte-order mark
    QTest::newRow("spaces around") << QStringLiteral(" 山田\u3000") << QStringLiteral(" 5月 ") << "山田"
                                   << "5月";
    QTest::newRow("invisible characters") << QStringLiteral("\u200b山田\u2060") << QStringLiteral("\ufeff5月") << "山田"
                                          << "5月";
    QTest::newRow("stored name with a mark, picked as it is") << marked << QStringLiteral("3月") << marked << "3月";
    QTest::newRow("the mark's name typed without it")
        << QStringLiteral("田中") << QStringLiteral("3月 ") << marked << "3月";
}

// A name or title with blanks or invisible characters is the one it looks
// like: it reaches the stored employee and statement, never makes a second.
void TestSafeguards::typedNamesAreWhatTheyLookLike()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, storedName);
    QFETCH(QString, storedTitle);
    const QString marked = QStringLiteral("田中\ufeff");
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員 values (3, ?, 900, 'A', '0900', '1800', 1, 8)"),
                      {marked}));
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, 時間, "
                                     "合計) values (?, '3月', 'A', 900, 1, 0, 8, 7200)"),
                      {marked}));
    QVERIFY(
        execBound(mainDb(),
                  QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩, 時間, "
                                 "時給, 調整額, 金額) values (?, '3月', 1, '20260302', '0900', '1800', 1, 8, 900,"
                                 " 0, 7200)"),
                  {marked}));
    page()->refreshPickers();
    const bool stored = storedTitle == QStringLiteral("3月");

    control<QComboBox>("cmb氏名")->setEditText(name);
    control<QLineEdit>("txtタイトル")->setText(title);
    if (stored) {
        QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
        QCOMPARE(asked(), QStringList{});
        QCOMPARE(query(workDb(), "select 日付, 金額 from w明細 where 行番号 = 1"), (Rows{{"20260302", "7200"}}));
    } else {
        control<NumberBox>("num時給")->setValue(1000.0);
        type(0, kDate, QStringLiteral("20260501"));
        type(0, kHours, QStringLiteral("8"));
    }
    if (stored) {
        // 読込 shows the name and title it read.
        QCOMPARE(control<QComboBox>("cmb氏名")->currentText(), storedName);
        QCOMPARE(control<QLineEdit>("txtタイトル")->text(), storedTitle);
    }
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(
        query(mainDb(), "select count(*) from 時給ヘッダ where 氏名 = ? and タイトル = ?", {storedName, storedTitle}),
        (Rows{{"1"}}));
    QCOMPARE(
        query(mainDb(), "select count(*) from 時給明細 where 氏名 = ? and タイトル = ?", {storedName, storedTitle}),
        (Rows{{"1"}}));
    // No look-alike employee or statement came to be.
    QCOMPARE(query(mainDb(), "select count(*) from 時給ヘッダ"), (Rows{{stored ? "1" : "2"}}));
    QCOMPARE(query(mainDb(), "select 氏名 from 従業員 order by \"No\""), (Rows{{"山田"}, {"田中一郎"}, {marked}}));
}

void TestSafeguards::typedEmployeeNameLosesWhatCannotBeSeen()
{
    commitInto(control<DataGrid>("Grid従業員"), 2, 2, QStringLiteral("\u3000佐藤\u200b 花子 "));
    QTRY_COMPARE(query(workDb(), "select 氏名 from w従業員 where \"No\" = 3"), (Rows{{"佐藤 花子"}}));
    // Nothing but blanks is no name: the row stays blank.
    commitInto(control<DataGrid>("Grid従業員"), 3, 2, QStringLiteral("\u3000\ufeff"));
    QTRY_COMPARE(query(workDb(), "select 氏名 from w従業員 where \"No\" = 4"), (Rows{{"<null>"}}));
    QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select 氏名 from 従業員 order by \"No\""), (Rows{{"山田"}, {"田中一郎"}, {"佐藤 花子"}}));
    // A name of blanks on the statement page is no name either.
    clearAsked();
    control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("\u3000 "));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("5月"));
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("その他/メッセージ/氏名を記入してください。")});
}

QTEST_MAIN(TestSafeguards)
#include "tst_safeguards.moc"
