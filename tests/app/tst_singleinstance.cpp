#include "app/SingleInstance.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

namespace {

// A copy of the real program in its own folder with a fresh data/ beside
// it, so the copy's single-instance key and data are this test's alone.
struct ProgramCopy {
    QTemporaryDir dir;
    QString exe;
    QString data;
    bool ok = false;

    ProgramCopy()
    {
        exe = QDir(dir.path()).filePath(QStringLiteral("pelmar"));
        data = QDir(dir.path()).filePath(QStringLiteral("data"));
        ok = QFile::copy(QStringLiteral(PELMAR_EXE), exe)
            && QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
            && QProcess::execute(QStringLiteral(PELMAR_NEWDATA_EXE), {data}) == 0;
    }
    QString key() const { return SingleInstance::keyFor(data + QStringLiteral("/")); }
};

bool someoneListens(const QString &key)
{
    QLocalSocket socket;
    socket.connectToServer(key);
    return socket.waitForConnected(200);
}

int workRows(const QString &workFile, const QString &table)
{
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rows"));
        db.setDatabaseName(workFile);
        if (db.open())
            rows = test::rowCount(db, table);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("rows"));
    return rows;
}

void insertMarker(const QString &workFile)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("marker"));
    db.setDatabaseName(workFile);
    QVERIFY(db.open());
    QVERIFY(execBound(db, QStringLiteral("insert into w履歴 values (?, ?, ?)"),
                      {QStringLiteral("目印"), 1.0, QStringLiteral("残っているはず")}));
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("marker"));
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void keyFollowsTheDataFolder();
    void staleSocketIsTakenOver();
    void secondStartAsksTheRunningCopyToCome();
    void secondStartLeavesTheRunningCopyAlone();
    void startDecision_data();
    void startDecision();
    void unguardedStartOpensNothing();
};

void TestSingleInstance::keyFollowsTheDataFolder()
{
    const QString a = SingleInstance::keyFor(QStringLiteral("/srv/shop/data/"));
    QCOMPARE(SingleInstance::keyFor(QStringLiteral("/srv/shop/data")), a);
    QCOMPARE(SingleInstance::keyFor(QStringLiteral("/srv/shop/./data/")), a);
    QVERIFY(SingleInstance::keyFor(QStringLiteral("/srv/other/data/")) != a);
}

void TestSingleInstance::staleSocketIsTakenOver()
{
    // A crashed copy leaves its socket file behind; nobody answers on it.
    const QString key = SingleInstance::keyFor(QDir::tempPath() + QStringLiteral("/stale-test"));
    const QString socketPath = QDir(QDir::tempPath()).filePath(key);
    QLocalServer::removeServer(key);
    {
        QFile stale(socketPath);
        QVERIFY(stale.open(QIODevice::WriteOnly));
    }
    SingleInstance instance(key);
    QVERIFY(!instance.notifyRunning(300));
    QVERIFY(instance.listen());
    QVERIFY(someoneListens(key));
}

void TestSingleInstance::secondStartAsksTheRunningCopyToCome()
{
    ProgramCopy copy;
    QVERIFY(copy.ok);
    // This test process plays the running copy.
    SingleInstance running(copy.key());
    QVERIFY(running.listen());
    QSignalSpy activated(&running, &SingleInstance::activationRequested);

    QProcess second;
    second.start(copy.exe, {});
    QVERIFY(second.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(activated.count(), 1, 20000);
    // It may well have ended while the activation was being waited for.
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
}

void TestSingleInstance::secondStartLeavesTheRunningCopyAlone()
{
    ProgramCopy copy;
    QVERIFY(copy.ok);
    QProcess first;
    first.start(copy.exe, {});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(someoneListens(copy.key()), 20000);
    // The running copy listens before it loads; its own start-up empties the
    // history list, so wait until its pages are filled (the employee page
    // comes after the history list).
    const QString work = QDir(copy.data).filePath(kWorkDbFileName);
    QTRY_COMPARE_WITH_TIMEOUT(workRows(work, QStringLiteral("w従業員")), 100, 20000);
    insertMarker(work);

    QProcess second;
    second.start(copy.exe, {});
    QVERIFY(second.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(work);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("select タイトル from w履歴 where 氏名 = '目印'")));
        QVERIFY2(query.next(), "the second start touched the running copy's work tables");
        QCOMPARE(query.value(0).toString(), QStringLiteral("残っているはず"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));

    first.terminate();
    if (!first.waitForFinished(10000)) {
        first.kill();
        first.waitForFinished(5000);
    }
}

enum Situation { NobodyRuns, CopyRuns, FolderMissing, FolderIsAFile, NameTooLong };

void TestSingleInstance::startDecision_data()
{
    QTest::addColumn<int>("situation");
    QTest::addColumn<int>("decision");
    QTest::newRow("nobody runs") << int(NobodyRuns) << int(StartDecision::Run);
    QTest::newRow("a copy runs") << int(CopyRuns) << int(StartDecision::AlreadyRunning);
    // The socket cannot be made: this start could not keep a second one out.
    QTest::newRow("socket folder missing") << int(FolderMissing) << int(StartDecision::CannotGuard);
    QTest::newRow("socket folder is a file") << int(FolderIsAFile) << int(StartDecision::CannotGuard);
    QTest::newRow("socket name too long") << int(NameTooLong) << int(StartDecision::CannotGuard);
}

void TestSingleInstance::startDecision()
{
    QFETCH(int, situation);
    QFETCH(int, decision);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString key = SingleInstance::keyFor(dir.path());
    std::unique_ptr<SingleInstance> running;
    switch (situation) {
    case NobodyRuns:
        break;
    case CopyRuns:
        running = std::make_unique<SingleInstance>(key);
        QVERIFY(running->listen());
        break;
    case FolderMissing:
        key = dir.filePath(QStringLiteral("missing/") + key);
        break;
    case FolderIsAFile: {
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        key = file.fileName() + u'/' + key;
        break;
    }
    case NameTooLong:
        key = dir.filePath(key + QString(200, u'x'));
        break;
    }
    std::unique_ptr<QSignalSpy> activated;
    if (running)
        activated = std::make_unique<QSignalSpy>(running.get(), &SingleInstance::activationRequested);

    SingleInstance instance(key);
    QCOMPARE(int(decideStart(instance, 500)), decision);
    if (decision == int(StartDecision::Run))
        QVERIFY(someoneListens(key));
    if (activated)
        QTRY_COMPARE(activated->count(), 1);
}

void TestSingleInstance::unguardedStartOpensNothing()
{
    ProgramCopy copy;
    QVERIFY(copy.ok);
    const QString work = QDir(copy.data).filePath(kWorkDbFileName);
    insertMarker(work);
    // Sockets go to the temporary folder; one that is a file takes none.
    const QString notAFolder = QDir(copy.dir.path()).filePath(QStringLiteral("tmp-is-a-file"));
    {
        QFile file(notAFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), notAFolder);
    program.setProcessEnvironment(environment);
    program.start(copy.exe, {});
    QVERIFY(program.waitForStarted());
    // It says why it stops (the message box waits for a click that never
    // comes here, so the test ends the program itself).
    QString said;
    QTRY_VERIFY_WITH_TIMEOUT((said += QString::fromUtf8(program.readAllStandardError()))
                                 .contains(QStringLiteral("データを守るために起動を取りやめます")),
                             20000);
    QVERIFY2(said.contains(QDir::toNativeSeparators(copy.data)), qPrintable(said));
    // Its start-up would have emptied the history list.
    QCOMPARE(workRows(work, QStringLiteral("w履歴")), 1);
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    QVERIFY(program.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
