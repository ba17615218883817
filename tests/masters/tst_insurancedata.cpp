#include "masters/EmployeeInsurance.h"
#include "masters/EmployeeStore.h"
#include "masters/InsuranceSettings.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QTest>

using namespace pelmar;
using employees::Decision;
using employees::EmployeeInsurance;
using employees::StandardRemuneration;
using pay::YearMonth;

Q_DECLARE_METATYPE(EmployeeInsurance)

namespace {

EmployeeInsurance insured(const QString &name, QList<StandardRemuneration> history = {})
{
    EmployeeInsurance insurance;
    insurance.name = name;
    insurance.healthInsured = insurance.pensionInsured = true;
    insurance.coverage = {QDate(2025, 4, 1), QDate()};
    insurance.birth = QDate(1980, 6, 2);
    insurance.worker = pay::Worker::PartTime;
    insurance.history = history;
    return insurance;
}

const QList<StandardRemuneration> kHistory{
    {{2025, 4}, 200000, 200000, Decision::Acquisition},
    {{2025, 9}, 220000, 220000, Decision::Regular},
    {{2026, 2}, 58000, 88000, Decision::Occasional},
};

QString standardText(const QList<StandardRemuneration> &history, YearMonth month)
{
    const StandardRemuneration *entry = employees::standardFor(history, month);
    return entry ? QStringLiteral("%1 %2 %3").arg(entry->health).arg(entry->pension).arg(decisionName(entry->decision))
                 : QStringLiteral("-");
}

} // namespace

// Each employee's insurance is kept as typed, follows the employee, and the
// office's settings give the month's rates.
class TestInsuranceData : public QObject {
    Q_OBJECT
private slots:
    void keptAsTyped();
    void refused_data();
    void refused();
    void followsTheMaster();
    void officeRates_data();
    void officeRates();
};

void TestInsuranceData::keptAsTyped()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    EmployeeInsurance written = insured(QStringLiteral("O'Brien"), kHistory);
    written.coverage.lost = QDate(2026, 6, 1);
    QVERIFY(employees::writeEmployeeInsurance(main, written));
    QVERIFY(employees::writeEmployeeInsurance(main, insured(QStringLiteral("O'Brien Jr."), kHistory.mid(0, 1))));
    auto read = employees::readEmployeeInsurance(main, QStringLiteral("O'Brien"));
    QVERIFY(read && *read);
    const EmployeeInsurance &back = **read;
    QCOMPARE(back.history, written.history);
    QCOMPARE(back.coverage.lost, written.coverage.lost);
    QCOMPARE(back.birth, written.birth);
    QCOMPARE(back.worker, pay::Worker::PartTime);
    // The grade in force: none before the first, each from its month on.
    QCOMPARE(standardText(back.history, {2025, 3}), QStringLiteral("-"));
    QCOMPARE(standardText(back.history, {2025, 8}), QStringLiteral("200000 200000 資格取得時決定"));
    QCOMPARE(standardText(back.history, {2026, 1}), QStringLiteral("220000 220000 定時決定"));
    QCOMPARE(standardText(back.history, {2026, 9}), QStringLiteral("58000 88000 随時改定"));
    // Written again with less history: the history is replaced, not added to.
    QVERIFY(employees::writeEmployeeInsurance(main, insured(QStringLiteral("O'Brien"), kHistory.mid(1, 1))));
    read = employees::readEmployeeInsurance(main, QStringLiteral("O'Brien"));
    QVERIFY(read && *read);
    QCOMPARE((*read)->history, kHistory.mid(1, 1));
    read = employees::readEmployeeInsurance(main, QStringLiteral("佐藤"));
    QVERIFY(read && !*read);
}

void TestInsuranceData::refused_data()
{
    QTest::addColumn<EmployeeInsurance>("insurance");
    EmployeeInsurance noDate = insured(QStringLiteral("山田"));
    noDate.coverage.acquired = {};
    EmployeeInsurance noBirth = insured(QStringLiteral("山田"));
    noBirth.birth = {};
    EmployeeInsurance lostFirst = insured(QStringLiteral("山田"));
    lostFirst.coverage.lost = QDate(2025, 4, 1);
    QTest::newRow("insured without 資格取得日") << noDate;
    QTest::newRow("insured without birth date") << noBirth;
    QTest::newRow("喪失 not after 取得") << lostFirst;
    QTest::newRow("month twice") << insured(QStringLiteral("山田"), {kHistory[0], kHistory[0]});
    QTest::newRow("months out of order") << insured(QStringLiteral("山田"), {kHistory[1], kHistory[0]});
    QTest::newRow("no amount") << insured(QStringLiteral("山田"), {{{2025, 4}, 0, 88000, Decision::Acquisition}});
}

// Figures that cannot be right are not stored, and what was kept stays.
void TestInsuranceData::refused()
{
    QFETCH(EmployeeInsurance, insurance);
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    QVERIFY(employees::writeEmployeeInsurance(main, insured(QStringLiteral("山田"), kHistory)));
    QVERIFY(!employees::writeEmployeeInsurance(main, insurance));
    const auto read = employees::readEmployeeInsurance(main, QStringLiteral("山田"));
    QVERIFY(read && *read);
    QCOMPARE((*read)->history, kHistory);
}

// Renamed with the employee on the page, gone with them when ticked off.
void TestInsuranceData::followsTheMaster()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    QSqlDatabase work = data.workDb();
    const QStringList names{"山田", "O'Brien"};
    for (int i = 0; i < names.size(); ++i) {
        QVERIFY(execBound(main, QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (?, ?, 1000)"),
                          {i + 1, names[i]}));
        QVERIFY(employees::writeEmployeeInsurance(main, insured(names[i], kHistory.mid(i, 1))));
    }
    QVERIFY(employees::readMaster(main, work));
    QVERIFY(execBound(work, QStringLiteral("update w従業員 set 氏名 = 'O''Brien Jr.' where 氏名 = 'O''Brien'")));
    QVERIFY(employees::registerPage(main, work));
    const auto renamed = employees::readEmployeeInsurance(main, QStringLiteral("O'Brien Jr."));
    QVERIFY(renamed && *renamed);
    QCOMPARE((*renamed)->history, kHistory.mid(1, 1));
    QVERIFY(execBound(work, QStringLiteral("update w従業員 set チェック = -1 where 氏名 = '山田'")));
    QVERIFY(employees::deleteTicked(main, work));
    QCOMPARE(test::rowCount(main, QStringLiteral("標準報酬月額")), 1);
    QCOMPARE(test::rowCount(main, QStringLiteral("従業員社会保険")), 1);
}

void TestInsuranceData::officeRates_data()
{
    QTest::addColumn<QString>("insurer");
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("societyRates"); // 健康保険 介護 支援金, percent
    QTest::addColumn<YearMonth>("month");
    QTest::addColumn<QString>("expected"); // health care support pension, millionths
    QTest::newRow("東京") << "協会けんぽ"
                          << "東京都"
                          << "" << YearMonth{2026, 4} << "98500 16200 2300 183000";
    QTest::newRow("no 支部 chosen") << "協会けんぽ"
                                    << ""
                                    << "" << YearMonth{2026, 4} << "-";
    // A society's own rates; its 支援金 only from April 2026, as the file's.
    QTest::newRow("組合, March") << "健康保険組合"
                                 << ""
                                 << "9.5 1.8 0.25" << YearMonth{2026, 3} << "95000 18000 0 183000";
    QTest::newRow("組合, April") << "健康保険組合"
                                 << ""
                                 << "9.5 1.8 0.25" << YearMonth{2026, 4} << "95000 18000 2500 183000";
    QTest::newRow("組合, a rate not typed") << "健康保険組合"
                                            << ""
                                            << "9.5 1.8" << YearMonth{2026, 4} << "-";
    QTest::newRow("nonsense stored") << "健康保険組合"
                                     << ""
                                     << "9,5 1.8 0.25" << YearMonth{2026, 4} << "-";
}

// The settings as stored give the rates of a premium month.
void TestInsuranceData::officeRates()
{
    QFETCH(QString, insurer);
    QFETCH(QString, branch);
    QFETCH(QString, societyRates);
    QFETCH(YearMonth, month);
    QFETCH(QString, expected);
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    const QStringList rates = societyRates.split(u' ');
    const QList<std::pair<QString, QString>> items{{settings::k健康保険の保険者, insurer},
                                                   {settings::k協会けんぽ支部, branch},
                                                   {settings::k組合健康保険料率, rates.value(0)},
                                                   {settings::k組合介護保険料率, rates.value(1)},
                                                   {settings::k組合支援金率, rates.value(2)}};
    for (const auto &[item, value] : items)
        QVERIFY(execBound(main, QStringLiteral("insert into 設定 (項目, 値) values (?, ?)"), {item, value}));
    const auto loaded = settings::loadInsurance(main);
    QVERIFY(loaded);
    // What is saved reads back the same.
    QVERIFY(settings::saveInsurance(main, *loaded));
    QCOMPARE(settings::loadInsurance(main), loaded);
    const auto found = settings::monthRates(*loaded, pay::shippedSocialTables().tables, month);
    const QString text = found
        ? QStringLiteral("%1 %2 %3 %4").arg(found->health).arg(found->care).arg(found->childSupport).arg(found->pension)
        : QStringLiteral("-");
    QCOMPARE(text, expected);
}

QTEST_GUILESS_MAIN(TestInsuranceData)
#include "tst_insurancedata.moc"
