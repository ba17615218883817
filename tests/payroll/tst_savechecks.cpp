#include "payroll/MonthClose.h"
#include "payroll/StatementStore.h"
#include "store/Database.h"
#include "store/Query.h"

#include "../support/TestData.h"

#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QUuid>

#include <atomic>

using namespace pelmar;
using statements::Refusal;

namespace {

const QString kName = QStringLiteral("山田 太郎");

// A statement of 山田 太郎 as the page or the import hands it to the save.
statements::StatementToStore statementOn(const QString &title, const QStringList &dates)
{
    statements::StatementToStore statement;
    statement.header.name = kName;
    statement.header.title = title;
    statement.header.patternType = QStringLiteral("A");
    statement.header.wage = 1000.0;
    for (const QString &date : dates)
        statement.lines << QVariantList{date, "0900", "1800", 1.0, 8.0, 1000.0, QVariant(), 8000.0, 0.0, 0.0, 0.0,
                                        0.0, 0.0};
    statement.payFromLines = false;
    return statement;
}

test::Rows everythingStored(const QSqlDatabase &main)
{
    return test::rows(main, QStringLiteral("select 'h', 氏名, タイトル, 合計, null from 時給ヘッダ union all"
                                           " select 'l', 氏名, タイトル, 日付, 金額 from 時給明細 union all"
                                           " select 'p', 氏名, タイトル, 支給日, null from 時給支給 order by 1, 2, 3, 4"));
}

// What happens between the question and the save, as another program may.
enum Meanwhile { Nothing, TitleClosed, LinesChanged, PairStored };

// A connection of its own, opened in the thread that uses it.
class OwnConnection {
public:
    explicit OwnConnection(const QString &path) : m_name(QUuid::createUuid().toString())
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        db.open();
    }
    ~OwnConnection()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db;

private:
    QString m_name;
};

} // namespace

class TestSaveChecks : public QObject {
    Q_OBJECT
private slots:
    void refusesWhatChangedSinceAsked_data();
    void refusesWhatChangedSinceAsked();
    void waitsForAnotherWriterBeforeChecking();
    void twoSavesOfTheSameDaysStoreOne();
};

void TestSaveChecks::refusesWhatChangedSinceAsked_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<QStringList>("accepted");
    QTest::addColumn<int>("meanwhile");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QString>("otherTitle");

    const QStringList ownDay{"20261110"};
    QTest::newRow("saved again, nothing changed") << "11月分" << ownDay << QStringList() << int(Nothing)
                                                  << int(Refusal::None) << QString();
    QTest::newRow("closed after the question") << "11月分" << ownDay << QStringList() << int(TitleClosed)
                                               << int(Refusal::TitleClosed) << QString();
    QTest::newRow("the replaced statement changed") << "11月分" << ownDay << QStringList() << int(LinesChanged)
                                                    << int(Refusal::StoredChanged) << QString();
    QTest::newRow("a new statement, stored meanwhile") << "12月分" << QStringList{"20261201"} << QStringList()
                                                       << int(PairStored) << int(Refusal::StoredChanged) << QString();
    QTest::newRow("a day of an open title, not asked")
        << "11月分" << QStringList{"20261110", "20261102"} << QStringList() << int(Nothing)
        << int(Refusal::DayStoredElsewhere) << "11月前半";
    QTest::newRow("a day of an open title, agreed to") << "11月分" << QStringList{"20261110", "20261102"}
                                                       << QStringList{"11月前半"} << int(Nothing) << int(Refusal::None)
                                                       << QString();
    QTest::newRow("a day of a closed title, even agreed to")
        << "11月分" << QStringList{"20261030", "20261102"} << QStringList{"10月分", "11月前半"} << int(Nothing)
        << int(Refusal::DayInClosedTitle) << "10月分";
}

void TestSaveChecks::refusesWhatChangedSinceAsked()
{
    QFETCH(QString, title);
    QFETCH(QStringList, dates);
    QFETCH(QStringList, accepted);
    QFETCH(int, meanwhile);
    QFETCH(int, refusal);
    QFETCH(QString, otherTitle);
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    test::SeedLine line;
    const auto storedOn = [&](const QString &stored, const QString &date) {
        line.date = date;
        return test::storeStatement(main, kName, stored, 1000, {line});
    };
    QVERIFY(storedOn("10月分", "20261030") && storedOn("11月前半", "20261102") && storedOn("11月分", "20261110"));
    QVERIFY(closing::setClosed(main, "10月分", true, QDateTime(QDate(2026, 11, 25), QTime(10, 0))));

    // What the user was asked about.
    statements::StatementToStore statement = statementOn(title, dates);
    statement.expected.replacing = statements::storedState(main, kName, title);
    QVERIFY(statement.expected.replacing);
    statement.expected.acceptedTitles = accepted;
    switch (Meanwhile(meanwhile)) {
    case Nothing:
        break;
    case TitleClosed:
        QVERIFY(closing::setClosed(main, title, true, QDateTime(QDate(2026, 12, 8), QTime(9, 0))));
        break;
    case LinesChanged:
        QVERIFY(execBound(main, "update 時給明細 set 金額 = 1 where タイトル = ?", {title}));
        break;
    case PairStored:
        QVERIFY(storedOn(title, dates.first()));
        break;
    }
    const test::Rows before = everythingStored(main);
    const statements::SaveResult saved = statements::save(main, {statement});
    QCOMPARE(int(saved.refusal), refusal);
    QCOMPARE(saved.otherTitle, otherTitle);
    if (saved.ok()) {
        QCOMPARE(test::rows(main, "select 日付 from 時給明細 where タイトル = ? order by 日付", {title}).size(),
                 dates.size());
        return;
    }
    QCOMPARE(saved.name, kName);
    QCOMPARE(saved.title, title);
    QCOMPARE(everythingStored(main), before);
}

// The close of another window begins its write first and ends it later: the
// save waits for it, and then finds the title closed, instead of checking
// while the close is under way and writing after it.
void TestSaveChecks::waitsForAnotherWriterBeforeChecking()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    test::SeedLine line;
    line.date = "20261110";
    QVERIFY(test::storeStatement(main, kName, "11月分", 1000, {line}));
    statements::StatementToStore statement = statementOn("11月分", {"20261110", "20261111"});
    statement.expected.replacing = statements::storedState(main, kName, "11月分");

    QSemaphore closing;
    std::atomic<bool> closed = false;
    QThread *other = QThread::create([&] {
        OwnConnection own(data.mainPath());
        Transaction transaction(own.db, Transaction::Lock::Writing);
        const bool written = transaction.started()
            && execBound(own.db, "insert into 締め (タイトル, 締め, 日時) values ('11月分', -1, '2026-12-08 09:00:00')");
        closing.release();
        QThread::msleep(300);
        closed = written && transaction.commit();
    });
    other->start();
    closing.acquire();
    const statements::SaveResult saved = statements::save(main, {statement});
    other->wait();
    delete other;
    QVERIFY(closed);
    QCOMPARE(int(saved.refusal), int(Refusal::TitleClosed));
    QCOMPARE(test::rowCount(main, "時給明細"), 1);
}

// Two imports of the same days under two titles, started at once from two
// connections: one stores them, the other is refused, every time.
void TestSaveChecks::twoSavesOfTheSameDaysStoreOne()
{
    test::TestDataFolder data;
    for (int round = 0; round < 10; ++round) {
        QSqlDatabase main = data.mainDb();
        QVERIFY(execBound(main, "delete from 時給ヘッダ") && execBound(main, "delete from 時給明細"));
        QSemaphore start;
        QList<Refusal> refusals(2, Refusal::Failed);
        QList<QThread *> imports;
        for (int i = 0; i < 2; ++i) {
            imports << QThread::create([&, i] {
                OwnConnection own(data.mainPath());
                statements::StatementToStore statement =
                    statementOn(i == 0 ? "11月分" : "11月分追加", {"20261102", "20261103"});
                statement.expected.replacing = statements::StoredState{};
                start.acquire();
                refusals[i] = statements::save(own.db, {statement}).refusal;
            });
            imports.last()->start();
        }
        start.release(2);
        for (QThread *thread : imports) {
            thread->wait();
            delete thread;
        }
        QCOMPARE(refusals.count(Refusal::None), 1);
        QCOMPARE(refusals.count(Refusal::DayStoredElsewhere), 1);
        QCOMPARE(test::rows(main, "select distinct タイトル from 時給明細").size(), 1);
    }
}

QTEST_GUILESS_MAIN(TestSaveChecks)
#include "tst_savechecks.moc"
