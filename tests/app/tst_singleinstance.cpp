#include "app/SingleInstance.h"
#include "messages/ShowMsg.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

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
    // Starts this copy of the program in process; true once it runs.
    bool launch(QProcess &process) const
    {
        process.start(exe, {});
        return process.waitForStarted();
    }
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

// The pid recorded in a data folder's lock file; 0 when nobody holds it.
qint64 lockHolder(const QString &dataFolder)
{
    QLockFile lock(QDir(dataFolder).filePath(kLockFileName));
    qint64 pid = 0;
    if (!lock.getLockInfo(&pid, nullptr, nullptr))
        return 0;
    return pid;
}

void stop(QProcess &process)
{
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setMessageAnswerer({}); }
    void keyFollowsTheDataFolder();
    void staleSocketIsTakenOver();
    void secondStartAsksTheRunningCopyToCome();
    void secondStartLeavesTheRunningCopyAlone();
    void startDecision_data();
    void startDecision();
    void heldLock_data();
    void heldLock();
    void unguardedStartOpensNothing();
    void simultaneousStartsLeaveOne();
    void anotherSocketFolderStillStops();
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
    // This test process plays the running copy: it holds the lock and listens.
    QLockFile lock(QDir(copy.data).filePath(kLockFileName));
    QVERIFY(lock.tryLock());
    SingleInstance running(copy.key());
    QVERIFY(running.listen());
    QSignalSpy activated(&running, &SingleInstance::activationRequested);

    QProcess second;
    QVERIFY(copy.launch(second));
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
    QVERIFY(copy.launch(first));
    QTRY_VERIFY_WITH_TIMEOUT(someoneListens(copy.key()), 20000);
    // The running copy listens before it loads; its own start-up empties the
    // history list, so wait until its pages are filled (the employee page
    // comes after the history list).
    const QString work = QDir(copy.data).filePath(kWorkDbFileName);
    QTRY_COMPARE_WITH_TIMEOUT(workRows(work, QStringLiteral("w従業員")), 100, 20000);
    insertMarker(work);

    QProcess second;
    QVERIFY(copy.launch(second));
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

enum Situation { NobodyRuns, CopyRuns, StaleLock, SocketFolderMissing, SocketNameTooLong, FolderTakesNoFile };

void TestSingleInstance::startDecision_data()
{
    QTest::addColumn<int>("situation");
    QTest::addColumn<int>("decision");
    QTest::newRow("nobody runs") << int(NobodyRuns) << int(StartDecision::Run);
    QTest::newRow("a copy runs") << int(CopyRuns) << int(StartDecision::AlreadyRunning);
    QTest::newRow("lock of a process that is gone") << int(StaleLock) << int(StartDecision::Run);
    // The lock decides; without a socket a copy still runs, only unreachable.
    QTest::newRow("socket folder missing") << int(SocketFolderMissing) << int(StartDecision::Run);
    QTest::newRow("socket name too long") << int(SocketNameTooLong) << int(StartDecision::Run);
    QTest::newRow("data folder takes no file") << int(FolderTakesNoFile) << int(StartDecision::CannotGuard);
}

void TestSingleInstance::startDecision()
{
    QFETCH(int, situation);
    QFETCH(int, decision);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString lockPath = dir.filePath(kLockFileName);
    QString key = SingleInstance::keyFor(dir.path());
    std::unique_ptr<SingleInstance> running;
    QLockFile runningLock(lockPath);
    std::unique_ptr<test::Immutable> frozen;
    switch (situation) {
    case NobodyRuns:
        break;
    case CopyRuns:
        QVERIFY(runningLock.tryLock());
        running = std::make_unique<SingleInstance>(key);
        QVERIFY(running->listen());
        break;
    case StaleLock: {
        // A process id no system hands out: its holder is surely gone.
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("2147483646\npelmar\n\n");
        break;
    }
    case SocketFolderMissing:
        key = dir.filePath(QStringLiteral("missing/") + key);
        break;
    case SocketNameTooLong:
        key = dir.filePath(key + QString(200, u'x'));
        break;
    case FolderTakesNoFile:
        frozen = std::make_unique<test::Immutable>(dir.path());
        if (!frozen->ok)
            QSKIP("this filesystem has no immutable attribute");
        break;
    }
    std::unique_ptr<QSignalSpy> activated;
    if (running)
        activated = std::make_unique<QSignalSpy>(running.get(), &SingleInstance::activationRequested);

    SingleInstance instance(key);
    QLockFile lock(lockPath);
    QCOMPARE(int(decideStart(lock, instance, 500)), decision);
    QCOMPARE(lock.isLocked(), decision == int(StartDecision::Run));
    if (decision == int(StartDecision::Run))
        QCOMPARE(lockHolder(dir.path()), QCoreApplication::applicationPid());
    if (decision == int(StartDecision::Run) && (situation == NobodyRuns || situation == StaleLock))
        QVERIFY(someoneListens(key));
    if (activated)
        QTRY_COMPARE(activated->count(), 1);
}

enum HeldBy { OtherComputer, EmptyLock, GoneButFixed, LiveSilentCopy };

// A lock whose holder does not answer: the start says who holds it, asks
// (default No) to take over only a holder it cannot check, and tells how to
// remove a lock it cannot remove. Never a silent end.
void TestSingleInstance::heldLock_data()
{
    QTest::addColumn<int>("heldBy");
    QTest::addColumn<bool>("fixed"); // the lock file cannot be removed
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("decision");
    const QString question = QStringLiteral("開始/ロック引継ぎ確認");
    const QString stuck = QStringLiteral("開始/ロック削除不可");
    QTest::newRow("another computer, No")
        << int(OtherComputer) << false << false << QStringList{question} << int(StartDecision::HeldUnchecked);
    QTest::newRow("another computer, Yes, lock cannot go")
        << int(OtherComputer) << true << true << QStringList{question, stuck} << int(StartDecision::StaleStuck);
    // Left by a copy that stopped before it wrote who it is: Yes takes it over.
    QTest::newRow("empty lock, Yes") << int(EmptyLock) << false << true << QStringList{question}
                                     << int(StartDecision::Run);
    QTest::newRow("holder gone, lock cannot go")
        << int(GoneButFixed) << true << true << QStringList{stuck} << int(StartDecision::StaleStuck);
    QTest::newRow("live copy that does not answer")
        << int(LiveSilentCopy) << false << true << QStringList{QStringLiteral("開始/ロック使用中")}
        << int(StartDecision::HeldUnreachable);
}

void TestSingleInstance::heldLock()
{
    QFETCH(int, heldBy);
    QFETCH(bool, fixed);
    QFETCH(bool, answer);
    QFETCH(QStringList, asked);
    QFETCH(int, decision);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString lockPath = dir.filePath(kLockFileName);
    QLockFile silentCopy(lockPath);
    if (heldBy == LiveSilentCopy) {
        QVERIFY(silentCopy.tryLock());
    } else {
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (heldBy == OtherComputer)
            file.write("4242\npelmar\nshop-laptop\nnot-this-machine\nsome-boot\n");
        else if (heldBy == GoneButFixed)
            file.write("2147483646\npelmar\n\n");
    }
    const QByteArray before = test::fileBytes(lockPath);
    std::unique_ptr<test::Immutable> frozen;
    if (fixed) {
        frozen = std::make_unique<test::Immutable>(lockPath);
        if (!frozen->ok)
            QSKIP("this filesystem has no immutable attribute");
    }
    QStringList said;
    QList<MessageRequest> requests;
    setMessageAnswerer([&](const MessageRequest &request) {
        said << request.category + u'/' + request.subKey;
        requests << request;
        return answer;
    });

    SingleInstance instance(SingleInstance::keyFor(dir.path()));
    QLockFile lock(lockPath);
    QCOMPARE(int(startOnDataFolder(lock, instance, 300)), decision);
    QCOMPARE(said, asked);
    // Every message names the lock file and its holder.
    for (const MessageRequest &request : std::as_const(requests)) {
        QVERIFY2(request.prompt.contains(lockPath), qPrintable(request.prompt));
        if (heldBy == OtherComputer)
            QVERIFY2(request.prompt.contains(QStringLiteral("shop-laptop")), qPrintable(request.prompt));
    }
    if (requests.first().isConfirmation())
        QVERIFY(!requests.first().yesIsDefault());
    QCOMPARE(lock.isLocked(), decision == int(StartDecision::Run));
    if (decision == int(StartDecision::Run))
        QCOMPARE(lockHolder(dir.path()), QCoreApplication::applicationPid());
    else if (heldBy != LiveSilentCopy)
        QCOMPARE(test::fileBytes(lockPath), before);
}

void TestSingleInstance::unguardedStartOpensNothing()
{
    ProgramCopy copy;
    QVERIFY(copy.ok);
    const QString work = QDir(copy.data).filePath(kWorkDbFileName);
    insertMarker(work);
    // A data folder that takes no new file takes no lock either.
    test::Immutable frozen(copy.data);
    if (!frozen.ok)
        QSKIP("this filesystem has no immutable attribute");
    QProcess program;
    QVERIFY(copy.launch(program));
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

// Many starts at once on one data folder: exactly one becomes the running
// copy (it holds the lock), and every other one ends quietly with 0.
void TestSingleInstance::simultaneousStartsLeaveOne()
{
    ProgramCopy copy;
    QVERIFY(copy.ok);
    constexpr int kStarts = 12;
    std::vector<std::unique_ptr<QProcess>> starts;
    for (int i = 0; i < kStarts; ++i) {
        starts.push_back(std::make_unique<QProcess>());
        starts.back()->start(copy.exe, {});
    }
    for (auto &start : starts)
        QVERIFY(start->waitForStarted());
    const auto ended = [&] {
        return std::count_if(starts.begin(), starts.end(),
                             [](const auto &p) { return p->state() == QProcess::NotRunning; });
    };
    QTRY_COMPARE_WITH_TIMEOUT(ended(), qsizetype(kStarts - 1), 90000);
    for (auto &start : starts) {
        if (start->state() == QProcess::NotRunning) {
            QCOMPARE(start->exitStatus(), QProcess::NormalExit);
            QCOMPARE(start->exitCode(), 0);
        } else {
            QCOMPARE(lockHolder(copy.data), start->processId());
        }
    }
    for (auto &start : starts)
        if (start->state() != QProcess::NotRunning)
            stop(*start);
}

// A second start whose socket folder differs (another session or user) does
// not find the running copy's socket; the lock still stops it, and it says so.
void TestSingleInstance::anotherSocketFolderStillStops()
{
    ProgramCopy copy;
    QVERIFY(copy.ok);
    QProcess first;
    QVERIFY(copy.launch(first));
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(copy.data), first.processId(), 20000);

    QTemporaryDir otherRuntime;
    QVERIFY(otherRuntime.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), otherRuntime.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), otherRuntime.path());
    QProcess second;
    second.setProcessEnvironment(environment);
    QVERIFY(copy.launch(second));
    // It says that Pelmar runs already, and who runs it (the message box
    // waits for a click that never comes here, so the test ends it).
    QString said;
    QTRY_VERIFY_WITH_TIMEOUT(
        (said += QString::fromUtf8(second.readAllStandardError())).contains(QStringLiteral("すでに動いています")),
        20000);
    QVERIFY2(said.contains(QString::number(first.processId())), qPrintable(said));
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(lockHolder(copy.data), first.processId());
    second.kill();
    QVERIFY(second.waitForFinished(10000));
    stop(first);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
