#include "app/FrmPelmar.h"
#include "calc/SocialInsurance.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"

#include "../support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace pelmar;

using test::Rows;

// The owner keeps an employee's 健康保険・厚生年金 and the office's settings
// through their dialogs: what reads is stored, what does not is refused
// with the reason and nothing is written.
class TestInsuranceDialogs : public test::WindowFixture {
    Q_OBJECT
private slots:
    void employeeInsurance();
    void officeSettings();

private:
    void seed() override
    {
        QVERIFY(execBound(mainDb(),
                          QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (1, 'O''Brien', 1500)")));
    }
    template <typename T> T *in(QDialog *dialog, const char *name) const
    {
        T *found = dialog->findChild<T *>(QString::fromUtf8(name));
        if (!found)
            qWarning("no control %s", name);
        return found;
    }
    QDialog *openDialog(const char *button, const char *dialogName)
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
        QDialog *dialog = nullptr;
        [&] {
            QTRY_VERIFY((dialog = window()->findChild<QDialog *>(QString::fromUtf8(dialogName))));
        }();
        return dialog;
    }
};

void TestInsuranceDialogs::employeeInsurance()
{
    auto *tabs = control<QTabWidget>("SSTab1");
    tabs->setCurrentWidget(control<QWidget>("page従業員"));
    auto *employees = control<DataGrid>("Grid従業員");
    employees->setCurrentIndex(employees->model()->index(0, 2));
    QDialog *dialog = openDialog("cmd社会保険", "dlg社会保険");
    QVERIFY(dialog);
    in<QCheckBox>(dialog, "chk健康保険")->setChecked(true);
    in<QCheckBox>(dialog, "chk厚生年金")->setChecked(true);
    in<QLineEdit>(dialog, "txt資格取得日")->setText(QStringLiteral("2026/04/01"));
    // The grade of a 報酬月額 of 215,000 for April 2026: 220,000 in both.
    QTest::mouseClick(in<QPushButton>(dialog, "cmd標準報酬追加"), Qt::LeftButton);
    auto *history = in<QTableWidget>(dialog, "tbl標準報酬月額");
    history->item(0, 0)->setText(QStringLiteral("2026/4"));
    // Commas out of their places make no amount, as in the grid: 2,15,000 is not 215,000.
    in<QLineEdit>(dialog, "txt報酬月額")->setText(QStringLiteral("2,15,000"));
    clearAsked();
    QTest::mouseClick(in<QPushButton>(dialog, "cmd等級"), Qt::LeftButton);
    QCOMPARE(asked().size(), 1);
    QVERIFY2(asked().first().startsWith(QStringLiteral("社会保険/詳細不正/標準報酬月額の行を選び")),
             qPrintable(asked().first()));
    QCOMPARE(history->item(0, 1)->text(), QString());
    clearAsked();
    in<QLineEdit>(dialog, "txt報酬月額")->setText(QStringLiteral("215,000"));
    QTest::mouseClick(in<QPushButton>(dialog, "cmd等級"), Qt::LeftButton);
    QCOMPARE(history->item(0, 1)->text(), QStringLiteral("220,000"));
    QCOMPARE(history->item(0, 2)->text(), QStringLiteral("220,000"));

    // No birth date: refused, nothing stored.
    auto *save = in<QPushButton>(dialog, "cmd社会保険保存");
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(asked().size(), 1);
    QVERIFY2(asked().first().startsWith(QStringLiteral("社会保険/詳細不正/加入している人には")),
             qPrintable(asked().first()));
    QCOMPARE(query(mainDb(), QStringLiteral("select count(*) from 従業員社会保険")), (Rows{{"0"}}));

    in<QLineEdit>(dialog, "txt生年月日")->setText(QStringLiteral("1986/04/02"));
    QTest::mouseClick(save, Qt::LeftButton);
    QTRY_VERIFY(!dialog->isVisible());
    QCOMPARE(query(mainDb(),
                   QStringLiteral("select 健康保険加入, 厚生年金加入, 資格取得日, 資格喪失日, 生年月日, 勤務区分"
                                  " from 従業員社会保険 where 氏名 = 'O''Brien'")),
             (Rows{{"1", "1", "20260401", "<null>", "19860402", "一般"}}));
    QCOMPARE(query(mainDb(), QStringLiteral("select 適用年月, 健康保険, 厚生年金, 決定区分 from 標準報酬月額")),
             (Rows{{"202604", "220000", "220000", "資格取得時決定"}}));
}

void TestInsuranceDialogs::officeSettings()
{
    control<QTabWidget>("SSTab1")->setCurrentWidget(control<QWidget>("page設定情報"));
    QDialog *dialog = openDialog("cmd社会保険設定", "dlg社会保険設定");
    QVERIFY(dialog);
    // A society with a rate that does not read: refused.
    in<QRadioButton>(dialog, "opt健康保険組合")->setChecked(true);
    in<QLineEdit>(dialog, "txt組合健康保険料率")->setText(QStringLiteral("9.5"));
    in<QLineEdit>(dialog, "txt組合介護保険料率")->setText(QStringLiteral("1,8"));
    in<QLineEdit>(dialog, "txt組合支援金率")->setText(QStringLiteral("0.25"));
    auto *save = in<QPushButton>(dialog, "cmd社会保険設定保存");
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(asked().size(), 1);
    QVERIFY2(asked().first().contains(QStringLiteral("料率「1,8」")), qPrintable(asked().first()));
    QCOMPARE(query(mainDb(), QStringLiteral("select count(*) from 設定 where 項目 like '組合%'")), (Rows{{"0"}}));

    in<QLineEdit>(dialog, "txt組合介護保険料率")->setText(QStringLiteral("1.80"));
    auto *collection = in<QComboBox>(dialog, "cmb社会保険料の徴収");
    collection->setCurrentIndex(collection->findData(int(pay::Collection::SameMonth)));
    QTest::mouseClick(save, Qt::LeftButton);
    QTRY_VERIFY(!dialog->isVisible());
    QCOMPARE(
        query(mainDb(),
              QStringLiteral("select 項目, 値 from 設定 where 項目 in ('健康保険の保険者',"
                             " '組合介護保険料率', '社会保険料の徴収') order by 項目")),
        (Rows{{"健康保険の保険者", "健康保険組合"}, {"社会保険料の徴収", "当月徴収"}, {"組合介護保険料率", "1.80"}}));
}

QTEST_MAIN(TestInsuranceDialogs)
#include "tst_insurancedialogs.moc"
