// Kills a process that keeps saving statements at random moments, and
// checks after every kill that the main file is sound and every stored
// statement is whole: its header's total and hours are what that very save
// wrote with those lines.
#include "store/Database.h"

#include "../support/TestData.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include <signal.h>

using namespace pelmar;

class TestCrashSave : public QObject {
    Q_OBJECT
private slots:
    void killedSavesLeaveWholeStatements();
};

void TestCrashSave::killedSavesLeaveWholeStatements()
{
    test::TestDataFolder data;
    QVERIFY(data.isValid());
    QRandomGenerator random(20261207);
    int kills = 0;
    int statementsChecked = 0;
    int savesSeen = 0;
    QElapsedTimer clock;
    clock.start();
    while (kills < 400 && clock.elapsed() < 60000) {
        QProcess saver;
        saver.start(QStringLiteral(CRASH_SAVER_EXE), {data.path(), QString::number(random.generate())});
        QVERIFY(saver.waitForStarted());
        QTest::qWait(random.bounded(5, 120));
        QVERIFY2(saver.state() == QProcess::Running, "the saver stopped by itself");
        ::kill(pid_t(saver.processId()), SIGKILL);
        QVERIFY(saver.waitForFinished(10000));
        ++kills;

        const QString connection = QStringLiteral("check");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(data.mainPath());
            QVERIFY(db.open());
            QSqlQuery check(db);
            QVERIFY(check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next());
            QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));

            QSqlQuery headers(db);
            QVERIFY(headers.exec(QStringLiteral(
                "select h.氏名, h.タイトル, h.合計, h.時間, count(l.行番号), total(l.金額), total(l.時間),"
                " coalesce(max(l.行番号), 0), count(distinct l.行番号)"
                " from 時給ヘッダ h left join 時給明細 l on l.氏名 = h.氏名 and l.タイトル = h.タイトル"
                " group by h.rowid")));
            int pairs = 0;
            while (headers.next()) {
                ++pairs;
                const QString what = headers.value(0).toString() + u'/' + headers.value(1).toString();
                QVERIFY2(headers.value(2).toDouble() == headers.value(5).toDouble(), qPrintable(what));
                QVERIFY2(headers.value(3).toDouble() == headers.value(6).toDouble(), qPrintable(what));
                const int count = headers.value(4).toInt();
                QVERIFY2(headers.value(7).toInt() == count && headers.value(8).toInt() == count,
                         qPrintable(what + QStringLiteral(": line numbers are not 1..n")));
            }
            QVERIFY(pairs <= 6);
            statementsChecked += pairs;
            // No lines without their header, and one header per pair.
            QSqlQuery orphans(db);
            QVERIFY(orphans.exec(
                QStringLiteral("select (select count(*) from 時給明細 l where not exists (select 1 from 時給ヘッダ h"
                               " where h.氏名 = l.氏名 and h.タイトル = l.タイトル)),"
                               " (select count(*) - count(distinct 氏名 || '/' || タイトル) from 時給ヘッダ),"
                               " (select count(*) - count(distinct 氏名) from 従業員)")));
            QVERIFY(orphans.next());
            QCOMPARE(orphans.value(0).toInt(), 0);
            QCOMPARE(orphans.value(1).toInt(), 0);
            QCOMPARE(orphans.value(2).toInt(), 0);
            if (pairs > 0)
                ++savesSeen;
        }
        QSqlDatabase::removeDatabase(connection);
    }
    qInfo("kills %d, statements checked %d, kills after at least one save %d, failures 0", kills, statementsChecked,
          savesSeen);
    QVERIFY(kills >= 100);
    QVERIFY(savesSeen > kills / 2);
}

QTEST_GUILESS_MAIN(TestCrashSave)
#include "tst_crashsave.moc"
