// The data work start-up does on a thread of its own while the window's
// pages are built: it must leave the work tables exactly as the pages' own
// steps would, and leave alone every file it cannot vouch for, so that the
// opening after it asks and tells as it always has.
#include "app/StartPreparation.h"
#include "masters/EmployeeStore.h"
#include "masters/PatternStore.h"
#include "payroll/DetailLines.h"
#include "payroll/StatementStore.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QSqlQuery>
#include <QTest>

#include <functional>

using namespace pelmar;

namespace {

int totalChanges(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("select total_changes()")) && query.next() ? query.value(0).toInt() : -1;
}

} // namespace

class TestStartPreparation : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void readiesWhatThePagesShowFirst();
    void leavesAloneWhatItCannotVouchFor_data();
    void leavesAloneWhatItCannotVouchFor();

private:
    std::unique_ptr<test::TestDataFolder> m_data;
};

void TestStartPreparation::init()
{
    m_data = std::make_unique<test::TestDataFolder>();
    QVERIFY(m_data->isValid());
    QSqlDatabase main = m_data->mainDb();
    QVERIFY(test::addEmployee(main, 1, QStringLiteral("山田　花子"), 1100));
    QVERIFY(test::addEmployee(main, 2, QStringLiteral("佐藤　一郎"), 1200));
    QVERIFY(execBound(main, QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
    QVERIFY(execBound(main, QStringLiteral("insert into 勤務形態マスタ values (2, 'B', '1300', '2200', 1, 8)")));
    // What a last run left: a typed line, a filled history list, pages
    // that show neither master.
    QSqlDatabase work = m_data->workDb();
    QVERIFY(execBound(work, QStringLiteral("delete from w明細")));
    QVERIFY(execBound(work,
                      QStringLiteral("insert into w明細 (行番号, 日付, 開始時間, 終了時間) values (1, '20260302', "
                                     "'0900', '1700')")));
    QVERIFY(execBound(work, QStringLiteral("insert into w履歴 values ('山田　花子', 8000, '2026年3月分')")));
    QVERIFY(execBound(work, QStringLiteral("delete from w従業員")));
    QVERIFY(execBound(work, QStringLiteral("insert into w従業員 (\"No\", 氏名) values (1, '前の人')")));
    QVERIFY(execBound(work, QStringLiteral("delete from w勤務形態")));
}

void TestStartPreparation::cleanup()
{
    m_data.reset();
}

void TestStartPreparation::readiesWhatThePagesShowFirst()
{
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();
    const StartPreparation prepared = prepareStart(m_data->mainPath(), m_data->workPath());
    QVERIFY(prepared.filesSound);
    const ReadyAtStart &ready = prepared.ready;
    QVERIFY(ready.lines && ready.history && ready.patterns && ready.reference && ready.employees);
    // Nothing stays open behind the window's own connections.
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore);

    QSqlDatabase main = m_data->mainDb();
    QSqlDatabase work = m_data->workDb();
    QCOMPARE(ready.names, std::optional(employees::names(main)));
    QCOMPARE(ready.types, std::optional(patterns::offeredTypes(main)));
    QCOMPARE(ready.names->size(), 2);
    // Each page's own step, run now, finds its table as it would leave it
    // and writes nothing.
    const std::pair<const char *, std::function<bool()>> steps[] = {
        {"lines",
         [&] {
             return statements::resetLines(work);
         }},
        {"history",
         [&] {
             return statements::clearHistory(work);
         }},
        {"shift types",
         [&] {
             return patterns::readMaster(main, work);
         }},
        {"pickers' shift types",
         [&] {
             return patterns::copyToReference(main, work);
         }},
        {"employees",
         [&] {
             return employees::readMaster(main, work);
         }},
    };
    for (const auto &[what, step] : steps) {
        const int before = totalChanges(work);
        QVERIFY2(step(), what);
        QVERIFY2(totalChanges(work) == before, what);
    }
    QCOMPARE(test::rowCount(work, QStringLiteral("w履歴")), 0);
    QCOMPARE(test::rows(work, QStringLiteral("select 氏名 from w従業員 where 氏名 is not null order by \"No\"")),
             (test::Rows{{QStringLiteral("山田　花子")}, {QStringLiteral("佐藤　一郎")}}));
}

void TestStartPreparation::leavesAloneWhatItCannotVouchFor_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("main file of an older layout") << "olderMain";
    QTest::newRow("work file of a newer layout") << "newerWork";
    QTest::newRow("read-only work file") << "readOnlyWork";
    QTest::newRow("main file held by another program") << "lockedMain";
    QTest::newRow("work file missing") << "missingWork";
    QTest::newRow("main file not a database") << "garbageMain";
}

// Whatever needs a question, an upgrade or a message is left to the opening
// that follows: nothing is readied, and neither file changes at all.
void TestStartPreparation::leavesAloneWhatItCannotVouchFor()
{
    QFETCH(QString, fault);
    const QString mainPath = m_data->mainPath();
    const QString workPath = m_data->workPath();
    std::unique_ptr<test::Immutable> frozen;
    std::unique_ptr<test::Holder> holder;
    if (fault == QLatin1String("olderMain")) {
        QVERIFY(execBound(m_data->mainDb(), QStringLiteral("pragma user_version = 1")));
    } else if (fault == QLatin1String("newerWork")) {
        QVERIFY(execBound(m_data->workDb(), QStringLiteral("pragma user_version = 99")));
    } else if (fault == QLatin1String("readOnlyWork")) {
        frozen = std::make_unique<test::Immutable>(workPath);
        if (!frozen->ok)
            QSKIP("this filesystem has no immutable attribute");
    } else if (fault == QLatin1String("lockedMain")) {
        holder = std::make_unique<test::Holder>(mainPath);
        QVERIFY(holder->held);
    } else if (fault == QLatin1String("missingWork")) {
        QVERIFY(QFile::remove(workPath));
    } else if (fault == QLatin1String("garbageMain")) {
        QFile file(mainPath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(8192, 'Z'));
    }
    const QByteArray mainBefore = test::fileBytes(mainPath);
    const QByteArray workBefore = test::fileBytes(workPath);
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();

    const StartPreparation prepared = prepareStart(mainPath, workPath);
    QVERIFY(!prepared.filesSound);
    const ReadyAtStart &ready = prepared.ready;
    QVERIFY(!ready.lines && !ready.history && !ready.patterns && !ready.reference && !ready.employees);
    QVERIFY(!ready.names && !ready.types);
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore);
    QCOMPARE(test::fileBytes(mainPath), mainBefore);
    QCOMPARE(test::fileBytes(workPath), workBefore);
}

QTEST_MAIN(TestStartPreparation)
#include "tst_startpreparation.moc"
