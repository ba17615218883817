#include "masters/PaySettings.h"
#include "payroll/StatementStore.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QTest>

using namespace pelmar;
using premium::Rounding;
using settings::PaySettings;

Q_DECLARE_METATYPE(PaySettings)

class TestPaySettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nothingStoredPaysAsBefore();
    void storedSettingsReadBack_data();
    void storedSettingsReadBack();
    void unreadableItemsTakeTheirDefault_data();
    void unreadableItemsTakeTheirDefault();
    void refusedSettingsChangeNothing_data();
    void refusedSettingsChangeNothing();
    void survivesTheBulkDelete();
    void unreadableTableIsNoSettings();

private:
    std::unique_ptr<test::TestDataFolder> m_data;
    QSqlDatabase m_main;
};

void TestPaySettings::init()
{
    m_data = std::make_unique<test::TestDataFolder>();
    QVERIFY(m_data->isValid());
    m_main = m_data->mainDb();
}

void TestPaySettings::cleanup()
{
    m_main = QSqlDatabase();
    m_data.reset();
}

void TestPaySettings::nothingStoredPaysAsBefore()
{
    // A new installation pays the law's two premiums at 25 %.
    const std::optional<PaySettings> fresh = settings::load(m_main);
    QVERIFY(fresh && fresh->night && fresh->overtime && fresh->restDay == 0);
    // A file from before the settings has none stored.
    QVERIFY(execBound(m_main, QStringLiteral("delete from 設定")));
    const std::optional<PaySettings> loaded = settings::load(m_main);
    QVERIFY(loaded);
    QVERIFY(!loaded->premiumsOn());
    QCOMPARE(loaded->rounding, Rounding::None);
    // Switching a premium on starts from 25 %, the week from Sunday.
    QCOMPARE(loaded->nightRate, 25.0);
    QCOMPARE(loaded->overtimeRate, 25.0);
    QCOMPARE(loaded->weekStart, Qt::Sunday);
}

void TestPaySettings::storedSettingsReadBack_data()
{
    QTest::addColumn<PaySettings>("stored");
    PaySettings night;
    night.night = true;
    night.nightRate = 35.5;
    QTest::newRow("night only, 35.5 %") << night;
    PaySettings overtime;
    overtime.overtime = true;
    overtime.overtimeRate = 50;
    overtime.weekStart = Qt::Monday;
    overtime.rounding = Rounding::HalfUp;
    QTest::newRow("overtime from Monday, rounded half up") << overtime;
    PaySettings all = overtime;
    all.night = true;
    all.nightRate = 0;
    all.overtimeRate = 100;
    all.weekStart = Qt::Saturday;
    all.rounding = Rounding::Up;
    QTest::newRow("both, rates at the ends of the range") << all;
    PaySettings roundingOnly;
    roundingOnly.rounding = Rounding::Down;
    QTest::newRow("rounding down alone") << roundingOnly;
    PaySettings law = all;
    law.over60Rate = 60;
    law.restDay = Qt::Sunday;
    law.restDayRate = 40;
    law.minimumWage = 1055;
    law.minimumWageFrom = QDate(2026, 10, 1);
    QTest::newRow("rest day, 60 hours and a minimum wage") << law;
}

void TestPaySettings::storedSettingsReadBack()
{
    QFETCH(PaySettings, stored);
    QVERIFY(settings::save(m_main, stored));
    QCOMPARE(settings::load(m_main), std::optional(stored));
    // Saving again replaces the items: one row each.
    QVERIFY(settings::save(m_main, stored));
    QCOMPARE(test::rowCount(m_main, QStringLiteral("設定")), 11);
    QCOMPARE(settings::load(m_main), std::optional(stored));
}

void TestPaySettings::unreadableItemsTakeTheirDefault_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("switch as text") << settings::k深夜割増 << QVariant(QStringLiteral("はい"));
    QTest::newRow("switch null") << settings::k時間外割増 << QVariant(QMetaType(QMetaType::QString));
    QTest::newRow("rate not a number") << settings::k深夜割増率 << QVariant(QStringLiteral("25%"));
    QTest::newRow("rate over 100") << settings::k時間外割増率 << QVariant(QStringLiteral("125"));
    QTest::newRow("rate negative") << settings::k深夜割増率 << QVariant(QStringLiteral("-25"));
    QTest::newRow("weekday 0") << settings::k週の開始曜日 << QVariant(QStringLiteral("0"));
    QTest::newRow("weekday 8") << settings::k週の開始曜日 << QVariant(QStringLiteral("8"));
    QTest::newRow("rounding unknown") << settings::k端数処理 << QVariant(QStringLiteral("切捨て"));
}

void TestPaySettings::unreadableItemsTakeTheirDefault()
{
    QFETCH(QString, item);
    QFETCH(QVariant, value);
    // Every other item holds a setting that is not the default.
    PaySettings chosen;
    chosen.night = true;
    chosen.nightRate = 30;
    chosen.overtime = true;
    chosen.overtimeRate = 40;
    chosen.weekStart = Qt::Wednesday;
    chosen.rounding = Rounding::Up;
    QVERIFY(settings::save(m_main, chosen));
    QVERIFY(execBound(m_main, QStringLiteral("update 設定 set 値 = ? where 項目 = ?"), {value, item}));

    PaySettings expected = chosen;
    const PaySettings defaults;
    if (item == settings::k深夜割増)
        expected.night = defaults.night;
    else if (item == settings::k時間外割増)
        expected.overtime = defaults.overtime;
    else if (item == settings::k深夜割増率)
        expected.nightRate = defaults.nightRate;
    else if (item == settings::k時間外割増率)
        expected.overtimeRate = defaults.overtimeRate;
    else if (item == settings::k週の開始曜日)
        expected.weekStart = defaults.weekStart;
    else
        expected.rounding = defaults.rounding;
    QCOMPARE(settings::load(m_main), std::optional(expected));
}

void TestPaySettings::refusedSettingsChangeNothing_data()
{
    QTest::addColumn<double>("nightRate");
    QTest::addColumn<double>("overtimeRate");
    QTest::newRow("night rate over 100") << 100.5 << 25.0;
    QTest::newRow("overtime rate negative") << 25.0 << -1.0;
    QTest::newRow("rate not a number") << std::nan("") << 25.0;
}

void TestPaySettings::refusedSettingsChangeNothing()
{
    QFETCH(double, nightRate);
    QFETCH(double, overtimeRate);
    PaySettings before;
    before.overtime = true;
    QVERIFY(settings::save(m_main, before));
    PaySettings refused;
    refused.night = true;
    refused.nightRate = nightRate;
    refused.overtimeRate = overtimeRate;
    QVERIFY(!settings::save(m_main, refused));
    QCOMPARE(settings::load(m_main), std::optional(before));
}

void TestPaySettings::survivesTheBulkDelete()
{
    PaySettings chosen;
    chosen.night = true;
    chosen.rounding = Rounding::HalfUp;
    QVERIFY(settings::save(m_main, chosen));
    QVERIFY(statements::removeEverything(m_main));
    QCOMPARE(settings::load(m_main), std::optional(chosen));
}

void TestPaySettings::unreadableTableIsNoSettings()
{
    QVERIFY(execBound(m_main, QStringLiteral("drop table 設定")));
    QVERIFY(!settings::load(m_main));
    QVERIFY(!settings::save(m_main, PaySettings{}));
}

QTEST_GUILESS_MAIN(TestPaySettings)
#include "tst_paysettings.moc"
