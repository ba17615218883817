#include "app/FrmPelmar.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"

#include "../support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using namespace pelmar;

using test::Rows;

namespace {
enum { kDate = 1 };
} // namespace

// The pay of a month from the owner's side: the employee's details set on
// the employee page, the lines typed, the pay on the statement page, a
// deduction typed over, 登録, and the statement reopened as it was paid.
class TestPay : public test::WindowFixture {
    Q_OBJECT
private slots:
    void detailsToStoredPay();
    void payWithoutTaxIsNamedBeforeItIsSaved();

private:
    void seed() override
    {
        QVERIFY(
            execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
        QVERIFY(execBound(mainDb(),
                          QStringLiteral("insert into 従業員 values (1, '山田', 1500, 'A', '0900', '1800', 1, 8)")));
    }
    template <typename T> T *control(const QString &name) const
    {
        T *found = window()->findChild<T *>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }
    QString shown(const QString &label) const { return control<QLabel>(label)->text(); }
    void click(const QString &button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
};

void TestPay::detailsToStoredPay()
{
    // 給与設定 for the employee on the current row: 甲欄 with no dependants,
    // insured, 5,000 yen of health insurance and 3,000 of resident tax.
    auto *tabs = control<QTabWidget>(QStringLiteral("SSTab1"));
    tabs->setCurrentWidget(control<QWidget>(QStringLiteral("page従業員")));
    auto *employees = control<DataGrid>(QStringLiteral("Grid従業員"));
    employees->setCurrentIndex(employees->model()->index(0, 2));
    click(QStringLiteral("cmd給与設定"));
    QDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = window()->findChild<QDialog *>(QStringLiteral("dlg給与設定"))));
    dialog->findChild<QComboBox *>(QStringLiteral("cmb税区分"))->setCurrentText(QStringLiteral("甲"));
    dialog->findChild<QCheckBox *>(QStringLiteral("chk雇用保険"))->setChecked(true);
    dialog->findChild<QSpinBox *>(QStringLiteral("num健康保険料"))->setValue(5000);
    dialog->findChild<QSpinBox *>(QStringLiteral("num住民税"))->setValue(3000);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmd給与保存")), Qt::LeftButton);
    QCOMPARE(query(mainDb(),
                   QStringLiteral("select 税区分, 雇用保険, 健康保険料, 住民税 from 従業員給与 where 氏名 = '山田'")),
             (Rows{{"甲", "1", "5000", "3000"}}));

    // Ten days from Wednesday 1 April 2026, 8 hours each at 1,500 yen: the
    // week from Sunday the 5th passes 40 hours on the 10th, 8 hours of
    // overtime at 25 %. 120,000 + 3,000 = 123,000 yen.
    tabs->setCurrentIndex(0);
    chooseEmployee(QStringLiteral("山田"));
    auto *title = control<QLineEdit>(QStringLiteral("txtタイトル"));
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("2026-04"));
    type(0, kDate, QStringLiteral("20260401"), Qt::Key_Down);
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(control<DataGrid>(QStringLiteral("Grid明細")), Qt::Key_Down);
    QTRY_COMPARE(shown(QStringLiteral("lbl総支給額")), QStringLiteral("123,000"));
    QCOMPARE(shown(QStringLiteral("lbl基本給")), QStringLiteral("120,000"));
    QCOMPARE(shown(QStringLiteral("lbl時間外手当")), QStringLiteral("3,000"));
    // Paid on the 25th of the next month; 雇用保険 5 ‰ of 123,000 = 615; the
    // tax of 123,000 − 5,000 − 615 = 117,385 in the 117,000 row, 甲 0 人: 790.
    QCOMPARE(control<QLineEdit>(QStringLiteral("txt支給日"))->text(), QStringLiteral("2026/05/25"));
    QCOMPARE(control<QLineEdit>(QStringLiteral("txt雇用保険"))->text(), QStringLiteral("615"));
    QCOMPARE(control<QLineEdit>(QStringLiteral("txt所得税"))->text(), QStringLiteral("790"));
    QCOMPARE(shown(QStringLiteral("lbl差引支給額")), QStringLiteral("113,595"));

    // The owner types the tax over: marked, and the totals follow.
    auto *tax = control<QLineEdit>(QStringLiteral("txt所得税"));
    tax->setFocus();
    tax->selectAll();
    QTest::keyClicks(tax, QStringLiteral("1000"));
    QTest::keyClick(tax, Qt::Key_Tab);
    QVERIFY(shown(QStringLiteral("lbl所得税")).contains(QStringLiteral("✎")));
    QCOMPARE(shown(QStringLiteral("lbl差引支給額")), QStringLiteral("113,385"));

    click(QStringLiteral("cmd登録"));
    QCOMPARE(query(mainDb(),
                   QStringLiteral("select 支給日, 総支給額, 雇用保険, 所得税, 控除合計, 差引支給額, 上書き,"
                                  " 雇用保険料率 from 時給支給 where 氏名 = '山田'")),
             (Rows{{"20260525", "123000", "615", "1000", "9615", "113385", "所得税", "5000"}}));

    // The details change afterwards; the statement reopens as it was paid.
    QVERIFY(execBound(mainDb(), QStringLiteral("update 従業員給与 set 住民税 = 9999")));
    chooseEmployee(QStringLiteral("山田"));
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("2026-04"));
    click(QStringLiteral("cmd読込"));
    QTRY_COMPARE(shown(QStringLiteral("lbl差引支給額")), QStringLiteral("113,385"));
    QCOMPARE(control<QLineEdit>(QStringLiteral("txt住民税"))->text(), QStringLiteral("3,000"));
    QCOMPARE(tax->text(), QStringLiteral("1,000"));
    QVERIFY(shown(QStringLiteral("lbl所得税")).contains(QStringLiteral("✎")));
    QVERIFY(shown(QStringLiteral("lbl支給状態")).contains(QStringLiteral("保存した時の金額")));

    // Emptying the typed tax goes back to the computed one, under today's details.
    tax->setFocus();
    tax->selectAll();
    QTest::keyClick(tax, Qt::Key_Backspace);
    QTest::keyClick(tax, Qt::Key_Tab);
    QCOMPARE(tax->text(), QStringLiteral("790"));
    QVERIFY(!shown(QStringLiteral("lbl所得税")).contains(QStringLiteral("✎")));
    QCOMPARE(control<QLineEdit>(QStringLiteral("txt住民税"))->text(), QStringLiteral("9,999"));

    // Deleting the statement deletes its pay.
    click(QStringLiteral("cmd削除"));
    QCOMPARE(query(mainDb(), QStringLiteral("select count(*) from 時給支給")), (Rows{{"0"}}));
}

// An employee never given 給与設定 has the 税区分 unset, not なし: the
// dialog and the pay panel say so, and 登録 names who is paid how much
// with no 所得税 withheld, saving only when the owner says yes.
void TestPay::payWithoutTaxIsNamedBeforeItIsSaved()
{
    auto *tabs = control<QTabWidget>(QStringLiteral("SSTab1"));
    tabs->setCurrentWidget(control<QWidget>(QStringLiteral("page従業員")));
    auto *employees = control<DataGrid>(QStringLiteral("Grid従業員"));
    employees->setCurrentIndex(employees->model()->index(0, 2));
    click(QStringLiteral("cmd給与設定"));
    QDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = window()->findChild<QDialog *>(QStringLiteral("dlg給与設定"))));
    QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("cmb税区分"))->currentText(), QStringLiteral("未設定"));
    dialog->reject();

    // One day of 8 hours at 1,500 yen.
    tabs->setCurrentIndex(0);
    chooseEmployee(QStringLiteral("山田"));
    auto *title = control<QLineEdit>(QStringLiteral("txtタイトル"));
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("2026-04"));
    type(0, kDate, QStringLiteral("20260401"));
    QTRY_COMPARE(shown(QStringLiteral("lbl総支給額")), QStringLiteral("12,000"));
    QCOMPARE(control<QLineEdit>(QStringLiteral("txt所得税"))->text(), QStringLiteral("0"));
    QVERIFY(shown(QStringLiteral("lbl支給状態")).contains(QStringLiteral("税区分が未設定です")));

    clearAsked();
    answer(false);
    click(QStringLiteral("cmd登録"));
    QCOMPARE(asked().value(0), QStringLiteral("給与/所得税なし確認/山田 の税区分は「未設定」です。"
                                              "総支給額 12,000 円から所得税を差し引いていません。"));
    QCOMPARE(asked().size(), 1);
    QCOMPARE(query(mainDb(), QStringLiteral("select count(*) from 時給ヘッダ")), (Rows{{"0"}}));

    // Saved on a yes, with the 税区分 kept as it was paid.
    answer(true);
    click(QStringLiteral("cmd登録"));
    QCOMPARE(query(mainDb(), QStringLiteral("select 税区分, 所得税 from 時給支給 where 氏名 = '山田'")),
             (Rows{{"未設定", "0"}}));
}

QTEST_MAIN(TestPay)
#include "tst_pay.moc"
