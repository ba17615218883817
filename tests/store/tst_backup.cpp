#include "store/Backup.h"
#include "store/Database.h"
#include "store/NewInstallation.h"

#include "../support/TestData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <thread>
#include <vector>

using namespace pelmar;
using backup::Reason;

namespace {

const QDateTime kNight(QDate(2026, 12, 7), QTime(23, 59, 1));

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Two employees and one saved statement, written through the program's own
// kind of connection.
void seedMain(const QSqlDatabase &db)
{
    QVERIFY(execBound(
        db, QStringLiteral("insert into 従業員 (No, 氏名, 時給) values (1, '山田', 1000), (2, 'O''Brien', 1100)")));
    QVERIFY(
        execBound(db, QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 合計) values ('山田', '3月', 8000)")));
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void restoreOnAFullDiskSaysSo();
    void takenNamedAndListed_data();
    void takenNamedAndListed();
    void folderWithQuotesInItsName();
    void sameSecondKeepsBoth();
    void sameSecondFromTwoProgramsKeepsBoth();
    void rotation_data();
    void rotation();
    void failedBackupRemovesNothing_data();
    void failedBackupRemovesNothing();
    void dailyBackupDue_data();
    void dailyBackupDue();
    void restoreCopyIsChecked_data();
    void restoreCopyIsChecked();
    void replaceSwapsTheFileAndDropsAStaleJournal();

private:
    QString connect(const QString &folder);
    std::unique_ptr<test::TestDataFolder> m_data;
    QSqlDatabase m_main;
    QStringList m_connections;
};

// The main file opened as the program opens it.
QString TestBackup::connect(const QString &folder)
{
    const QString name = QStringLiteral("tst-backup-%1").arg(m_connections.size());
    OpenResult opened = openExisting(QDir(folder).filePath(kMainDbFileName), SchemaKind::Main, name);
    if (!opened.ok())
        return opened.error;
    m_main = opened.db;
    m_connections << name;
    return {};
}

void TestBackup::init()
{
    m_data = std::make_unique<test::TestDataFolder>();
    QVERIFY(m_data->isValid());
    const QString error = connect(m_data->path());
    QVERIFY2(error.isEmpty(), qPrintable(error));
    seedMain(m_main);
}

void TestBackup::cleanup()
{
    m_main = QSqlDatabase();
    for (const QString &name : std::as_const(m_connections))
        closeConnection(name);
    m_connections.clear();
    m_data.reset();
}

void TestBackup::takenNamedAndListed_data()
{
    QTest::addColumn<Reason>("reason");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("daily") << Reason::Daily << "Pelmar-20261207-235901-daily.mdb";
    QTest::newRow("bulk delete") << Reason::BulkDelete << "Pelmar-20261207-235901-bulk-delete.mdb";
    QTest::newRow("employees") << Reason::Employees << "Pelmar-20261207-235901-employees.mdb";
    QTest::newRow("shift types") << Reason::ShiftTypes << "Pelmar-20261207-235901-shift-types.mdb";
    QTest::newRow("restore") << Reason::Restore << "Pelmar-20261207-235901-restore.mdb";
    QTest::newRow("upgrade") << Reason::Upgrade << "Pelmar-20261207-235901-upgrade.mdb";
    QTest::newRow("punch import") << Reason::PunchImport << "Pelmar-20261207-235901-punch-import.mdb";
}

// The file is named by its time and reason, holds the data, and nothing
// else is left in the folder.
void TestBackup::takenNamedAndListed()
{
    QFETCH(Reason, reason);
    QFETCH(QString, fileName);
    const backup::Outcome taken = backup::take(m_main, m_data->path(), reason, kNight);
    QVERIFY2(taken.ok(), qPrintable(taken.error));
    const QString folder = backup::folderOf(m_data->path());
    QCOMPARE(filesIn(folder), QStringList{fileName});
    QCOMPARE(taken.path, QDir(folder).filePath(fileName));

    const QList<backup::Info> listed = backup::list(m_data->path());
    QCOMPARE(listed.size(), 1);
    QCOMPARE(listed.first().path, taken.path);
    QCOMPARE(listed.first().taken, kNight);
    QCOMPARE(listed.first().reason, reason);
    QCOMPARE(listed.first().employees, 2);
    QCOMPARE(listed.first().statements, 1);
}

// The path is spelt into the SQL text, so a quote in it must not end the
// literal early.
void TestBackup::folderWithQuotesInItsName()
{
    QTemporaryDir parent;
    const QString folder = QDir(parent.path()).filePath(QStringLiteral("O'Brien's 'data'"));
    QVERIFY(createNewInstallation(folder, nullptr));
    const QString error = connect(folder);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    seedMain(m_main);
    const backup::Outcome taken = backup::take(m_main, folder, Reason::Daily, kNight);
    QVERIFY2(taken.ok(), qPrintable(taken.error));
    QVERIFY(taken.path.startsWith(folder));
    QCOMPARE(backup::list(folder).value(0).employees, 2);
}

void TestBackup::sameSecondKeepsBoth()
{
    QVERIFY(backup::take(m_main, m_data->path(), Reason::Employees, kNight).ok());
    QVERIFY(execBound(m_main, QStringLiteral("delete from 従業員 where No = 2")));
    QVERIFY(backup::take(m_main, m_data->path(), Reason::Employees, kNight).ok());
    const QList<backup::Info> listed = backup::list(m_data->path());
    QCOMPARE(listed.size(), 2);
    // The later one is listed first.
    QCOMPARE(listed.at(0).employees, 1);
    QCOMPARE(listed.at(1).employees, 2);
}

// Two copies of the program (here, threads with connections of their own)
// taking a backup in the same second: each gets a name of its own, and
// neither fails.
void TestBackup::sameSecondFromTwoProgramsKeepsBoth()
{
    constexpr int kTakers = 4;
    constexpr int kRounds = 3;
    QStringList errors;
    QMutex guard;
    std::vector<std::thread> takers;
    for (int t = 0; t < kTakers; ++t)
        takers.emplace_back([&, t] {
            const QString name = QStringLiteral("tst-backup-taker-%1").arg(t);
            {
                const OpenResult opened = openExisting(m_data->mainPath(), SchemaKind::Main, name);
                for (int round = 0; round < kRounds; ++round) {
                    const backup::Outcome taken = opened.ok()
                        ? backup::take(opened.db, m_data->path(), Reason::Employees, kNight)
                        : backup::Outcome{{}, opened.error};
                    if (!taken.ok()) {
                        const QMutexLocker locked(&guard);
                        errors << taken.error;
                    }
                }
            }
            closeConnection(name);
        });
    for (std::thread &taker : takers)
        taker.join();
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    const QList<backup::Info> listed = backup::list(m_data->path());
    QCOMPARE(listed.size(), kTakers * kRounds);
    for (const backup::Info &info : listed)
        QCOMPARE(info.employees, 2);
}

void TestBackup::rotation_data()
{
    // One letter a backup, each a minute after the one before: D daily, B
    // bulk delete, E employees, S shift types, R restore, U upgrade; d a
    // daily one named a year ahead (the clock was wrong then). What is left
    // is listed newest first.
    QTest::addColumn<QString>("taken");
    QTest::addColumn<QString>("left");
    QTest::newRow("15 daily") << QString(15, u'D') << QString(14, u'D');
    QTest::newRow("registrations share a pool")
        << QString(12, u'E') + QString(10, u'S') << QString(10, u'S') + QString(10, u'E');
    QTest::newRow("a bulk delete outlives 20 registrations") << u'B' + QString(21, u'E') << QString(20, u'E') + u'B';
    QTest::newRow("each operation keeps its own") << QString(6, u'R') + u'U' + QString(6, u'B') + QString(15, u'D')
                                                  << QString(14, u'D') + QString(5, u'B') + u'U' + QString(5, u'R');
    // Today's is kept, so the next start does not take it again.
    QTest::newRow("dailies named in the future go first") << QString(14, u'd') + u'D' << QString(13, u'd') + u'D';
}

void TestBackup::rotation()
{
    QFETCH(QString, taken);
    QFETCH(QString, left);
    const QString letters = QStringLiteral("DBESRU");
    const QList<Reason> reasons{Reason::Daily,      Reason::BulkDelete, Reason::Employees,
                                Reason::ShiftTypes, Reason::Restore,    Reason::Upgrade};
    for (int minute = 0; minute < taken.size(); ++minute) {
        const QChar letter = taken.at(minute);
        const QDateTime when = kNight.addSecs(60 * minute).addYears(letter.isLower() ? 1 : 0);
        QVERIFY(backup::take(m_main, m_data->path(), reasons.at(letters.indexOf(letter.toUpper())), when).ok());
    }
    QString found;
    for (const backup::Info &info : backup::list(m_data->path())) {
        const QChar letter = letters.at(reasons.indexOf(info.reason));
        found += info.taken > kNight.addMonths(6) ? letter.toLower() : letter;
    }
    QCOMPARE(found, left);
}

void TestBackup::failedBackupRemovesNothing_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("backup folder is a file") << "file";
    QTest::newRow("main file in a transaction") << "transaction";
    QTest::newRow("main file closed") << "closed";
}

// With a full set of daily backups, a backup that fails leaves the set as it
// was and no partial file.
void TestBackup::failedBackupRemovesNothing()
{
    QFETCH(QString, failure);
    const QString folder = backup::folderOf(m_data->path());
    if (failure == QLatin1String("file")) {
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    } else {
        for (int i = 0; i < backup::kKeptDaily; ++i)
            QVERIFY(backup::take(m_main, m_data->path(), Reason::Daily, kNight.addDays(i)).ok());
    }
    const QStringList before = filesIn(folder);
    const QByteArray blockerBytes = hashOf(folder);

    std::unique_ptr<Transaction> open;
    if (failure == QLatin1String("transaction")) {
        open = std::make_unique<Transaction>(m_main);
        QVERIFY(open->started());
        QVERIFY(execBound(m_main, QStringLiteral("delete from 従業員")));
    } else if (failure == QLatin1String("closed")) {
        m_main.close();
    }
    const backup::Outcome taken = backup::take(m_main, m_data->path(), Reason::Daily, kNight.addDays(30));
    QVERIFY(!taken.ok());
    QVERIFY(!taken.error.isEmpty());
    QVERIFY(taken.path.isEmpty());
    QCOMPARE(filesIn(folder), before);
    if (failure == QLatin1String("file"))
        QCOMPARE(hashOf(folder), blockerBytes);
    else
        QCOMPARE(backup::list(m_data->path()).size(), backup::kKeptDaily);
}

void TestBackup::dailyBackupDue_data()
{
    QTest::addColumn<QList<QDateTime>>("daily");
    QTest::addColumn<QList<QDateTime>>("other");
    QTest::addColumn<bool>("due");
    const QDateTime yesterday = kNight.addDays(-1);
    const QDateTime morning(kNight.date(), QTime(0, 0, 0));
    QTest::newRow("no backups") << QList<QDateTime>{} << QList<QDateTime>{} << true;
    QTest::newRow("yesterday's") << QList<QDateTime>{yesterday} << QList<QDateTime>{} << true;
    QTest::newRow("today's, at midnight") << QList<QDateTime>{morning} << QList<QDateTime>{} << false;
    QTest::newRow("only a bulk delete today") << QList<QDateTime>{yesterday} << QList<QDateTime>{morning} << true;
}

void TestBackup::dailyBackupDue()
{
    QFETCH(QList<QDateTime>, daily);
    QFETCH(QList<QDateTime>, other);
    QFETCH(bool, due);
    for (const QDateTime &when : daily)
        QVERIFY(backup::take(m_main, m_data->path(), Reason::Daily, when).ok());
    for (const QDateTime &when : other)
        QVERIFY(backup::take(m_main, m_data->path(), Reason::BulkDelete, when).ok());
    QCOMPARE(backup::dailyBackupDue(m_data->path(), kNight.date()), due);
}

void TestBackup::restoreCopyIsChecked_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("sound backup") << "" << true;
    QTest::newRow("pages overwritten") << "pages" << false;
    QTest::newRow("cut short") << "truncated" << false;
    QTest::newRow("not a database") << "text" << false;
    QTest::newRow("another program's database") << "foreign" << false;
}

// Only a sound file of the main schema gets as far as a copy beside the main
// file; a refused one leaves nothing behind.
void TestBackup::restoreCopyIsChecked()
{
    QFETCH(QString, damage);
    QFETCH(bool, accepted);
    // Enough rows for the file to have pages past its header.
    for (int i = 10; i < 400; ++i)
        QVERIFY(execBound(m_main, QStringLiteral("insert into 従業員 (No, 氏名, 時給) values (?, ?, 1000)"),
                          {i, QStringLiteral("従業員%1").arg(i)}));
    const backup::Outcome taken = backup::take(m_main, m_data->path(), Reason::Daily, kNight);
    QVERIFY(taken.ok());
    QFile file(taken.path);
    if (damage == QLatin1String("pages")) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() > 8192);
        file.seek(4096);
        file.write(QByteArray(4096, '\x5a'));
    } else if (damage == QLatin1String("truncated")) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() / 2));
    } else if (damage == QLatin1String("text")) {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("氏名,時給\n山田,1000\n");
    } else if (damage == QLatin1String("foreign")) {
        QVERIFY(file.remove());
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        other.setDatabaseName(taken.path);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("create table 従業員 (No integer, 氏名 text)")));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    }
    file.close();

    const QStringList dataFiles = filesIn(m_data->path());
    const backup::Outcome copy = backup::prepareRestore(taken.path, m_data->mainPath());
    QCOMPARE(copy.ok(), accepted);
    if (!accepted) {
        QVERIFY(copy.path.isEmpty());
        QCOMPARE(filesIn(m_data->path()), dataFiles);
        return;
    }
    QCOMPARE(QFileInfo(copy.path).absolutePath(), QFileInfo(m_data->mainPath()).absolutePath());
    QCOMPARE(hashOf(copy.path), hashOf(taken.path));
}

void TestBackup::replaceSwapsTheFileAndDropsAStaleJournal()
{
    const backup::Outcome taken = backup::take(m_main, m_data->path(), Reason::Daily, kNight);
    QVERIFY(taken.ok());
    QVERIFY(execBound(m_main, QStringLiteral("delete from 従業員")));
    const backup::Outcome copy = backup::prepareRestore(taken.path, m_data->mainPath());
    QVERIFY2(copy.ok(), qPrintable(copy.error));
    m_main = QSqlDatabase();
    closeConnection(m_connections.takeLast());

    // A journal of the file being replaced must not be played into the new one.
    QFile journal(m_data->mainPath() + QStringLiteral("-journal"));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(512, '\x01'));
    journal.close();

    QString error;
    QVERIFY2(backup::replaceMainFile(copy.path, m_data->mainPath(), &error), qPrintable(error));
    QVERIFY(!QFileInfo::exists(copy.path));
    QVERIFY(!journal.exists());
    QCOMPARE(connect(m_data->path()), QString());
    QCOMPARE(test::rowCount(m_main, QStringLiteral("従業員")), 2);
    QCOMPARE(test::rowCount(m_main, QStringLiteral("時給ヘッダ")), 1);
}

// The checked copy a restore puts beside the main file finds no room: the
// message says the disk is full, and no part of the copy is left.
void TestBackup::restoreOnAFullDiskSaysSo()
{
    const QString disk = QDir(m_data->path()).filePath(QStringLiteral("small-disk"));
    QVERIFY(QDir().mkpath(disk));
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=64k"), QStringLiteral("tmpfs"), disk})
        != 0)
        QSKIP("a small disk cannot be made here (mounting needs root)");
    const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {disk}); });
    QVERIFY(execBound(m_main, QStringLiteral("create table ballast (v)")));
    QVERIFY(execBound(m_main, QStringLiteral("insert into ballast values (randomblob(200000))")));
    const backup::Outcome taken = backup::take(m_main, m_data->path(), Reason::Employees, kNight);
    QVERIFY(taken.ok());

    const backup::Outcome copy = backup::prepareRestore(taken.path, QDir(disk).filePath(kMainDbFileName));
    QVERIFY(!copy.ok());
    QVERIFY2(copy.error.contains(QStringLiteral("ディスクの空きがありません")), qPrintable(copy.error));
    QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
