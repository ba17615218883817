#include "app/FrmPelmar.h"
#include "masters/PaySettings.h"
#include "masters/SettingsPage.h"
#include "statements/StatementPage.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include "../support/TestData.h"
#include "../support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

using namespace pelmar;
using premium::Rounding;
using settings::PaySettings;

namespace {

enum { kDate = 1, kStart, kEnd, kBreak, kHours, kWage, kAdjustment, kAmount, kNight, kOvertime, kPremium };

PaySettings bothPremiums(Rounding rounding = Rounding::None)
{
    PaySettings paid;
    paid.night = paid.overtime = true;
    paid.rounding = rounding;
    return paid;
}

} // namespace

// Premiums, yen rounding and the break check, driven through the real window.
class TestPremiums : public test::WindowFixture {
    Q_OBJECT
private slots:
    void settingsPageStoresAndApplies();
    void declinedSettingsGoBack();
    void nightLineTypedWithPremiums();
    void anotherLineMovesTheWeeksOvertime();
    void savedAndReopenedWithPremiums();
    void oldStatementKeepsItsAmounts();
    void roundedLinesAddUpToTheTotal();
    void shortBreakMarkedAndNamed();
    void slipShowsPremiumsOnlyWhenPaid();
    void lawNoticesAtRegistration();

private:
    void seed() override;
    void useSettings(const PaySettings &paySettings);
    DataGrid *lines() const { return control<DataGrid>("Grid明細"); }
    SettingsPage *settingsPage() const { return window()->settingsPage(); }
    QVariant stored(int line, const char *column);
    // Lines written behind the grid's back, then the page works them out as
    // after an edit.
    void putLines(const QStringList &lines);
    PaySettings m_seeded;
};

void TestPremiums::seed()
{
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
    QVERIFY(
        execBound(mainDb(), QStringLiteral("insert into 従業員 values (1, '山田', 1000, 'A', '0900', '1800', 1, 8)")));
    // Every test starts from the settings it names; without, every premium
    // off, as in a shop that switched the new installation's premiums off.
    QVERIFY(settings::save(mainDb(), m_seeded));
}

void TestPremiums::useSettings(const PaySettings &paySettings)
{
    m_seeded = paySettings;
    cleanup();
    init();
    m_seeded = PaySettings{};
}

QVariant TestPremiums::stored(int line, const char *column)
{
    QSqlQuery query(workDb());
    query.prepare(QStringLiteral("select %1 from w明細 where 行番号 = ?").arg(QString::fromUtf8(column)));
    query.addBindValue(line);
    if (!query.exec() || !query.next())
        return QStringLiteral("<no row>");
    return query.value(0);
}

void TestPremiums::putLines(const QStringList &lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        QVariantList values;
        for (const QString &field : lines.at(i).split(u' '))
            values << (field == u"-" ? QVariant() : QVariant(field));
        // No amount: the page works it out, as after typing the line.
        values << i + 1;
        QVERIFY(execBound(workDb(),
                          QStringLiteral("update w明細 set 日付 = ?, 開始時間 = ?, 終了時間 = ?, 休憩 = ?, 時間 = ?,"
                                         " 時給 = ? where 行番号 = ?"),
                          values));
    }
    this->lines()->refresh();
    page()->Calc明細();
}

void TestPremiums::settingsPageStoresAndApplies()
{
    // Off until the shop switches them on: the statement looks as ever.
    QVERIFY(!control<QCheckBox>("chk深夜割増")->isChecked());
    QCOMPARE(control<QDoubleSpinBox>("num深夜割増率")->value(), 25.0);
    QVERIFY(!control<QDoubleSpinBox>("num深夜割増率")->isEnabled());
    QCOMPARE(control<QComboBox>("cmb週開始")->currentText(), QStringLiteral("日曜日"));
    QCOMPARE(control<QComboBox>("cmb端数処理")->currentText(), QStringLiteral("なし"));
    QVERIFY(control<QLabel>("lbl割増説明")->text().contains(QStringLiteral("休憩は割増の付かない時間から先に")));
    QVERIFY(lines()->isColumnHidden(kNight) && lines()->isColumnHidden(kOvertime));
    QVERIFY(!control<NumberBox>("num深夜")->isVisibleTo(page())
            && !control<NumberBox>("num割増額")->isVisibleTo(page()));

    // A night typed before premiums are paid...
    control<NumberBox>("num時給")->setValue(1000.0);
    type(0, kDate, QStringLiteral("20260302"));
    type(0, kStart, QStringLiteral("2200"));
    type(0, kEnd, QStringLiteral("0600"));
    QTRY_COMPARE(stored(1, "金額").toDouble(), 8000.0);
    QCOMPARE(stored(1, "深夜").toDouble(), 7.0); // the hours are kept all the same

    // ... follows the settings as soon as they are registered.
    control<QTabWidget>("SSTab1")->setCurrentWidget(settingsPage());
    control<QCheckBox>("chk深夜割増")->click();
    QVERIFY(control<QDoubleSpinBox>("num深夜割増率")->isEnabled());
    control<QDoubleSpinBox>("num深夜割増率")->setValue(30);
    control<QCheckBox>("chk時間外割増")->click();
    control<QComboBox>("cmb週開始")
        ->setCurrentIndex(control<QComboBox>("cmb週開始")->findText(QStringLiteral("月曜日")));
    control<QComboBox>("cmb端数処理")
        ->setCurrentIndex(control<QComboBox>("cmb端数処理")->findText(QStringLiteral("四捨五入")));
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd割増登録"), Qt::LeftButton);
    QCOMPARE(asked(), QStringList{QStringLiteral("登録/確認/割増・端数処理の設定")});

    PaySettings expected;
    expected.night = expected.overtime = true;
    expected.nightRate = 30;
    expected.weekStart = Qt::Monday;
    expected.rounding = Rounding::HalfUp;
    QCOMPARE(settings::load(mainDb()), std::optional(expected));
    QCOMPARE(page()->paySettings(), expected);
    QVERIFY(!lines()->isColumnHidden(kNight) && !lines()->isColumnHidden(kOvertime));
    QVERIFY(control<NumberBox>("num深夜")->isVisibleTo(page()) && control<NumberBox>("num時間外")->isVisibleTo(page()));
    // 7 night hours at 30 % on 1000 yen.
    QCOMPARE(stored(1, "深夜").toDouble(), 7.0);
    QCOMPARE(stored(1, "時間外").toDouble(), 0.0);
    QCOMPARE(stored(1, "割増額").toDouble(), 2100.0);
    QCOMPARE(stored(1, "金額").toDouble(), 10100.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 10100.0);
    QCOMPARE(control<NumberBox>("num深夜")->text(), QStringLiteral("7.0"));
    QCOMPARE(control<NumberBox>("num割増額")->text(), QStringLiteral("2,100"));

    // Kept across a restart.
    QVERIFY(openWindow());
    QCOMPARE(page()->paySettings(), expected);
    QVERIFY(control<QCheckBox>("chk時間外割増")->isChecked());
    QCOMPARE(control<QComboBox>("cmb端数処理")->currentText(), QStringLiteral("四捨五入"));

    // Off again: the line pays as before premiums, the columns go.
    control<QCheckBox>("chk深夜割増")->click();
    control<QCheckBox>("chk時間外割増")->click();
    QTest::mouseClick(control<QPushButton>("cmd割増登録"), Qt::LeftButton);
    QVERIFY(!page()->paySettings().premiumsOn());
    QVERIFY(lines()->isColumnHidden(kNight));
    QVERIFY(!control<NumberBox>("num割増額")->isVisibleTo(page()));
}

void TestPremiums::declinedSettingsGoBack()
{
    useSettings(bothPremiums());
    control<QCheckBox>("chk深夜割増")->click();
    control<QDoubleSpinBox>("num時間外割増率")->setValue(50);
    answer(false);
    QTest::mouseClick(control<QPushButton>("cmd割増登録"), Qt::LeftButton);
    QVERIFY(control<QCheckBox>("chk深夜割増")->isChecked());
    QCOMPARE(control<QDoubleSpinBox>("num時間外割増率")->value(), 25.0);
    QCOMPARE(settings::load(mainDb()), std::optional(bothPremiums()));
    QCOMPARE(page()->paySettings(), bothPremiums());
}

void TestPremiums::nightLineTypedWithPremiums()
{
    useSettings(bothPremiums());
    control<NumberBox>("num時給")->setValue(1000.0);
    type(0, kDate, QStringLiteral("20260302"));
    type(0, kStart, QStringLiteral("2200"));
    type(0, kEnd, QStringLiteral("0700"));
    QTRY_COMPARE(stored(1, "時間").toDouble(), 9.0);
    // 7 hours of night, 1 over the day's 8: both at 25 %.
    QCOMPARE(stored(1, "深夜").toDouble(), 7.0);
    QCOMPARE(stored(1, "時間外").toDouble(), 1.0);
    QCOMPARE(stored(1, "割増額").toDouble(), 2000.0);
    QCOMPARE(stored(1, "金額").toDouble(), 11000.0);
    // An hour's break comes out of 05:00-07:00 first: the night stays 7.
    type(0, kBreak, QStringLiteral("1"));
    QTRY_COMPARE(stored(1, "時間").toDouble(), 8.0);
    QCOMPARE(stored(1, "深夜").toDouble(), 7.0);
    QCOMPARE(stored(1, "時間外").toDouble(), 0.0);
    QCOMPARE(stored(1, "金額").toDouble(), 9750.0);
    QCOMPARE(control<NumberBox>("num時間外")->text(), QStringLiteral("0.0"));
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 9750.0);
    // The columns are worked out, not typed.
    const QModelIndex night = lines()->tableModel()->index(0, kNight);
    QVERIFY(!(lines()->tableModel()->flags(night) & Qt::ItemIsEditable));
    QCOMPARE(lines()->tableModel()->data(night).toString(), QStringLiteral("7.0"));
}

void TestPremiums::anotherLineMovesTheWeeksOvertime()
{
    useSettings(bothPremiums());
    control<NumberBox>("num時給")->setValue(1000.0);
    // Monday to Friday, 8 hours each.
    QStringList week;
    for (int day = 2; day <= 6; ++day)
        week << QStringLiteral("2026030%1 0900 1800 1 8 1000").arg(day);
    putLines(week);
    // Saturday's five hours are over the week's 40.
    type(5, kDate, QStringLiteral("20260307"));
    type(5, kStart, QStringLiteral("0900"));
    type(5, kEnd, QStringLiteral("1400"));
    QTRY_COMPARE(stored(6, "時間").toDouble(), 5.0);
    QCOMPARE(stored(6, "時間外").toDouble(), 5.0);
    QCOMPARE(stored(6, "金額").toDouble(), 6250.0);
    QCOMPARE(control<NumberBox>("num時間外")->value().toDouble(), 5.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 46250.0);

    // Monday an hour shorter: Saturday has one hour less over the week.
    type(0, kEnd, QStringLiteral("1700"));
    QTRY_COMPARE(stored(1, "時間").toDouble(), 7.0);
    QCOMPARE(stored(6, "時間外").toDouble(), 4.0);
    QCOMPARE(stored(6, "割増額").toDouble(), 1000.0);
    QCOMPARE(stored(6, "金額").toDouble(), 6000.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 45000.0);

    // Deleting Monday takes Saturday under the limit.
    lines()->setCurrentIndex(lines()->tableModel()->index(0, kDate));
    QTest::mouseClick(control<QPushButton>("cmd行削除"), Qt::LeftButton);
    QTRY_COMPARE(stored(6, "時間外").toDouble(), 0.0);
    QCOMPARE(stored(6, "金額").toDouble(), 5000.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 37000.0);
}

void TestPremiums::savedAndReopenedWithPremiums()
{
    useSettings(bothPremiums());
    control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("3月分"));
    control<NumberBox>("num時給")->setValue(1000.0);
    putLines({"20260302 2200 0600 1 7 1000", "20260303 0800 1900 1 10 1000"});
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select 時間, 合計, 深夜, 時間外, 割増額 from 時給ヘッダ"),
             (test::Rows{{"17", "19250", "7", "2", "2250"}}));
    QCOMPARE(query(mainDb(), "select 日付, 金額, 深夜, 時間外, 割増額 from 時給明細 order by 行番号"),
             (test::Rows{{"20260302", "8750", "7", "0", "1750"}, {"20260303", "10500", "0", "2", "500"}}));

    QVERIFY(page()->openStatement(QStringLiteral("山田"), QStringLiteral("3月分")));
    QCOMPARE(stored(1, "深夜").toDouble(), 7.0);
    QCOMPARE(stored(2, "時間外").toDouble(), 2.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 19250.0);
    QCOMPARE(control<NumberBox>("num深夜")->value().toDouble(), 7.0);
    QCOMPARE(control<NumberBox>("num時間外")->value().toDouble(), 2.0);
    QCOMPARE(control<NumberBox>("num割増額")->value().toDouble(), 2250.0);
    QVERIFY(!page()->hasUnsavedEdits());
}

// A statement saved before premiums, or with fractions before rounding, is
// reopened and saved again exactly as it was; a change of a line works the
// whole statement out again.
void TestPremiums::oldStatementKeepsItsAmounts()
{
    useSettings(bothPremiums(Rounding::HalfUp));
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額,"
                                     " 時間, 合計) values ('山田', '昔', 'A', 1000, 0, 0, 16.5, 16833.5)")));
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩,"
                                     " 時間, 時給, 調整額, 金額) values"
                                     " ('山田', '昔', 1, '20260302', '2200', '0600', null, 8, 1000, null, 8000),"
                                     " ('山田', '昔', 2, '20260303', '0900', '1730', null, 8.5, 1000, null, 8833.5)")));
    QVERIFY(page()->openStatement(QStringLiteral("山田"), QStringLiteral("昔")));
    QCOMPARE(stored(1, "金額").toDouble(), 8000.0);
    QCOMPARE(stored(2, "金額").toDouble(), 8833.5);
    QVERIFY(stored(1, "深夜").isNull());
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 16833.5);
    QVERIFY(!control<NumberBox>("num深夜")->value().isValid()); // no premium hours shown
    QVERIFY(control<NumberBox>("num深夜")->text().isEmpty());

    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select 合計, 深夜, 時間外, 割増額 from 時給ヘッダ"),
             (test::Rows{{"16833.5", "<null>", "<null>", "<null>"}}));
    QCOMPARE(query(mainDb(), "select 金額, 深夜 from 時給明細 order by 行番号"),
             (test::Rows{{"8000", "<null>"}, {"8833.5", "<null>"}}));

    // A change of one line brings the premiums and the rounding to all.
    QVERIFY(page()->openStatement(QStringLiteral("山田"), QStringLiteral("昔")));
    type(1, kAdjustment, QStringLiteral("-100"));
    QTRY_COMPARE(stored(2, "金額").toDouble(), 8525.0); // 8500 + 125 for half an hour over 8, - 100
    QCOMPARE(stored(1, "深夜").toDouble(), 7.0);
    QCOMPARE(stored(1, "金額").toDouble(), 9750.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 18275.0);
}

void TestPremiums::roundedLinesAddUpToTheTotal()
{
    PaySettings rounded;
    rounded.rounding = Rounding::HalfUp;
    useSettings(rounded);
    control<NumberBox>("num時給")->setValue(1013.0);
    for (int line = 0; line < 3; ++line) {
        type(line, kDate, QStringLiteral("2026030%1").arg(line + 2));
        type(line, kStart, QStringLiteral("0900"));
        type(line, kEnd, QStringLiteral("1720"));
        type(line, kBreak, QStringLiteral("0.75"));
    }
    // 7 h 35 min at 1013 yen: 7681.92… each, 7682 on every line.
    QTRY_COMPARE(stored(3, "金額").toDouble(), 7682.0);
    QCOMPARE(stored(1, "金額").toDouble(), 7682.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 3 * 7682.0);
    QCOMPARE(stored(1, "割増額").toDouble(), 0.0); // rounding alone pays no premium
    // An amount typed over is kept, in whole yen.
    type(1, kAmount, QStringLiteral("1234.5"));
    QTRY_COMPARE(stored(2, "金額").toDouble(), 1235.0);
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 2 * 7682.0 + 1235.0);
    type(2, kAdjustment, QStringLiteral("-0.5"));
    QTRY_COMPARE(stored(3, "金額").toDouble(), 7681.0); // 7681.42…
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), 7682.0 + 1235.0 + 7681.0);
}

void TestPremiums::shortBreakMarkedAndNamed()
{
    control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("3月分"));
    control<NumberBox>("num時給")->setValue(1000.0);
    putLines({"20260302 0900 1600 - 7 1000", "20260303 0900 1800 1 8 1000", "20260304 0900 1830 0.75 8.75 1000",
              "20260305 0900 1500 - 6 1000"});
    const auto marked = [this](int row) {
        const QModelIndex cell = lines()->tableModel()->index(row, kBreak);
        return lines()->tableModel()->data(cell, Qt::BackgroundRole).isValid()
            && lines()->tableModel()->data(cell, Qt::ToolTipRole).toString().contains(QStringLiteral("45分"));
    };
    QVERIFY(marked(0)); // 7 hours, no break
    QVERIFY(!marked(1)); // 8 hours, an hour
    QVERIFY(marked(2)); // 8.75 hours, 45 minutes
    QVERIFY(!marked(3)); // 6 hours
    QVERIFY(!lines()->tableModel()->data(lines()->tableModel()->index(0, kHours), Qt::BackgroundRole).isValid());
    // A break typed long enough clears the mark.
    type(0, kBreak, QStringLiteral("0.75"));
    QTRY_VERIFY(!marked(0));
    type(0, kBreak, QStringLiteral("0"));
    QTRY_VERIFY(marked(0));

    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(asked().size(), 4);
    QCOMPARE(asked().at(0), QStringLiteral("登録/休憩不足/2026/03/02、2026/03/04"));
    // With the overtime premium off, its hours are named too.
    QVERIFY(asked().at(1).startsWith(QStringLiteral("登録/労働時間確認/・時間外 0.75 時間 がありますが")));
    QVERIFY(asked().at(2).startsWith(QStringLiteral("給与/所得税なし確認/")));
    QCOMPARE(asked().at(3), QStringLiteral("登録/確認/山田"));
    // Told, not refused.
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("時給明細")), 4);
}

void TestPremiums::slipShowsPremiumsOnlyWhenPaid()
{
    control<NumberBox>("num時給")->setValue(1000.0);
    putLines({"20260302 2200 0700 1 8 1000"});
    test::Printed plain = print();
    QCOMPARE(plain.previews.size(), 1);
    QCOMPARE(plain.text(QStringLiteral("txt割増額")), QStringLiteral("<not printed>"));
    QCOMPARE(plain.text(QStringLiteral("txt深夜")), QStringLiteral("<not printed>"));

    PaySettings night;
    night.night = true;
    page()->applyPaySettings(night);
    type(0, kBreak, QStringLiteral("0.5")); // the line changes, and takes its premium
    QTRY_COMPARE(stored(1, "深夜").toDouble(), 7.0);
    test::Printed paid = print();
    QCOMPARE(paid.text(QStringLiteral("txt深夜")), QStringLiteral("7.0"));
    QCOMPARE(paid.text(QStringLiteral("txt割増額")), QStringLiteral("¥1,750"));
    QCOMPARE(paid.text(QStringLiteral("txt合計")), QStringLiteral("¥10,250"));
    // 8.5 hours: half an hour over 8 is overtime, a fact the slip shows
    // though its premium is off.
    QCOMPARE(paid.text(QStringLiteral("txt時間外")), QStringLiteral("0.5"));
}

// 登録 names in one notice what the law asks the shop to look at, and
// still saves: premium hours with the premium off, a line whose night hours
// cannot be known, a wage below the minimum wage, overtime and rest-day work
// past 45 hours in the month and 360 in the year with the stored statements.
void TestPremiums::lawNoticesAtRegistration()
{
    PaySettings law;
    law.night = true;
    law.restDay = Qt::Sunday;
    law.minimumWage = 1055;
    law.minimumWageFrom = QDate(2026, 10, 1);
    useSettings(law);
    // 320 hours of overtime stored in the year's earlier statements.
    QList<test::SeedLine> earlier;
    for (int month = 1; month <= 8; ++month) {
        test::SeedLine line;
        line.date = QStringLiteral("2026%1").arg(month * 100 + 10, 4, 10, QLatin1Char('0'));
        line.overtime = 40.0;
        earlier << line;
    }
    QVERIFY(test::storeStatement(mainDb(), QStringLiteral("山田"), QStringLiteral("前"), 1000, earlier));

    control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("10月分"));
    control<NumberBox>("num時給")->setValue(1100.0);
    // Four days of 20 hours and a Sunday: 45 hours of overtime and 7 of
    // rest-day work, the overtime premium off; a day without
    // its times; on 30 September the wage below the minimum is not yet below it.
    putLines({"20260930 0900 1800 1 8 1000", "20261001 - - - 20 1000", "20261002 0600 0300 1 20 1100",
              "20261003 0600 0300 1 20 1100", "20261005 0600 0300 1 20 1100", "20261004 0900 1300 - 4 1100"});
    const QModelIndex wage = lines()->tableModel()->index(1, kWage);
    QVERIFY(lines()->tableModel()->data(wage, Qt::ToolTipRole).toString().contains(QStringLiteral("最低賃金")));
    QVERIFY(!lines()->tableModel()->data(lines()->tableModel()->index(0, kWage), Qt::ToolTipRole).isValid());
    // Saturday's shift runs 3 hours into the Sunday: rest-day hours, not overtime.
    QCOMPARE(stored(4, "休日").toDouble(), 3.0);
    QCOMPARE(stored(4, "時間外").toDouble(), 9.0);
    QCOMPARE(stored(6, "休日").toDouble(), 4.0);

    // The employee page marks the master's wage of 1,000 too.
    DataGrid *employees = window()->findChild<DataGrid *>(QStringLiteral("Grid従業員"));
    QVERIFY(employees->tableModel()
                ->data(employees->tableModel()->index(0, 3), Qt::ToolTipRole)
                .toString()
                .contains(QStringLiteral("最低賃金（1,055円）")));

    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    // The fourth asks about the master's wage (1,000) (the answer Yes makes it 1,100).
    QCOMPARE(asked().size(), 5);
    QCOMPARE(asked().at(0), QStringLiteral("登録/休憩不足/2026/10/01"));
    const QStringList findings = asked().at(1).section(u'/', 2).split(u'\n');
    QCOMPARE(asked().at(1).section(u'/', 0, 1), QStringLiteral("登録/労働時間確認"));
    QCOMPARE(findings.size(), 5);
    QVERIFY2(findings.at(0).startsWith(QStringLiteral("・時間外 45.0 時間 がありますが")), qPrintable(findings.at(0)));
    QCOMPARE(findings.at(1), QStringLiteral("・開始・終了時間がなく深夜の時間が分からない日: 2026/10/01"));
    QCOMPARE(findings.at(2), QStringLiteral("・時給が最低賃金（1,055円）を下回る日: 2026/10/01"));
    QVERIFY2(findings.at(3).contains(QStringLiteral("52.0 時間で、月45時間")), qPrintable(findings.at(3)));
    QVERIFY2(findings.at(4).contains(QStringLiteral("2026年の時間外と休日の労働が 372.0 時間")),
             qPrintable(findings.at(4)));
    QVERIFY(asked().at(2).startsWith(QStringLiteral("給与/所得税なし確認/")));
    QCOMPARE(asked().at(3), QStringLiteral("登録/確認/山田"));
    QVERIFY(asked().at(4).startsWith(QStringLiteral("登録/時給変更確認/")));
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("時給明細")), 14);

    // The end of a day is no start: 2400 is refused with what to type instead.
    clearAsked();
    type(0, kStart, QStringLiteral("2400"));
    QTRY_COMPARE(asked(), QStringList{QStringLiteral("入力/開始2400/")});
    QVERIFY(stored(1, "開始時間").toString().isEmpty());
}

QTEST_MAIN(TestPremiums)
#include "tst_premiums.moc"
