#include "app/DataFiles.h"

#include "messages/ShowMsg.h"
#include "statements/StatementStore.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/FileCheck.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QThread>

#include <atomic>

namespace pelmar {

namespace {

QString uniqueConnectionName(const char *which)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("pelmar-%1-%2").arg(QLatin1String(which)).arg(++counter);
}

} // namespace

bool DataFiles::open(const QString &dataPath)
{
    m_state.DataPath = dataPath;
    m_state.MainDbPath = QDir(dataPath).filePath(kMainDbFileName);
    m_state.WorkDbPath = QDir(dataPath).filePath(kWorkDbFileName);
    if (openFile(m_state.MainDbPath, SchemaKind::Main, "main", m_mainConnection, m_state.MainDb)
        && openFile(m_state.WorkDbPath, SchemaKind::Work, "work", m_workConnection, m_state.WorkDb))
        return true;
    close();
    return false;
}

bool DataFiles::openFile(const QString &path, SchemaKind kind, const char *tag, QString &connection, QSqlDatabase &db)
{
    connection = uniqueConnectionName(tag);
    // Either file is copied into the backup folder before its layout is
    // upgraded; the work file's copies keep the hint texts.
    const BackupBeforeUpgrade copyFirst = [this, kind](const QSqlDatabase &opened, const QString &) {
        const QDateTime now = QDateTime::currentDateTime();
        return kind == SchemaKind::Main
                   ? backup::take(opened, m_state.DataPath, backup::Reason::Upgrade, now).ok()
                   : backup::takeWorkFile(opened, m_state.DataPath, now).ok();
    };
    OpenResult opened = openExisting(path, kind, connection, copyFirst);
    if (!opened.ok()) {
        m_openError = opened.error;
        connection.clear();
        return false;
    }
    db = opened.db;
    if (opened.upgradedFrom != 0)
        m_upgradedFiles << QStringLiteral("%1（版 %2 から版 %3）")
                               .arg(QFileInfo(path).fileName())
                               .arg(opened.upgradedFrom)
                               .arg(schemaHistory(kind).currentVersion);
    return true;
}

DataFiles::~DataFiles()
{
    waitForAfterStartWork();
}

namespace {

DataFiles::AfterStart readWholeFiles(const QString &mainPath, const QString &workPath, const QString &dataFolder,
                                     const QDateTime &now)
{
    DataFiles::AfterStart found;
    found.mainProblem = soundnessProblem(mainPath);
    found.workProblem = soundnessProblem(workPath);
    // A damaged file is not copied: its copy would push a sound older one
    // out of the kept backups.
    if (!found.mainProblem.isEmpty() || !backup::dailyBackupDue(dataFolder, now.date()))
        return found;
    const QString connection = uniqueConnectionName("daily");
    {
        // VACUUM INTO only reads the file it copies, so a read-only
        // connection of this thread will do.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(mainPath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            found.dailyError = db.lastError().text();
        } else {
            const backup::Outcome taken = backup::take(db, dataFolder, backup::Reason::Daily, now);
            found.dailyTaken = taken.ok();
            found.dailyError = taken.error;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return found;
}

} // namespace

void DataFiles::startAfterStartWork(QObject *context, std::function<void(const AfterStart &)> done)
{
    waitForAfterStartWork();
    auto found = std::make_shared<AfterStart>();
    m_afterStart.reset(QThread::create(
        [found, mainPath = m_state.MainDbPath, workPath = m_state.WorkDbPath, dataFolder = m_state.DataPath] {
            *found = readWholeFiles(mainPath, workPath, dataFolder, QDateTime::currentDateTime());
        }));
    QObject::connect(m_afterStart.get(), &QThread::finished, context,
                     [found, done = std::move(done)] { done(*found); });
    m_afterStart->start();
}

bool DataFiles::deleteEverything(const std::function<void()> &backupsChanged)
{
    const backup::Outcome saved =
        backup::take(m_state.MainDb, m_state.DataPath, backup::Reason::BulkDelete, QDateTime::currentDateTime());
    if (!saved.ok()) {
        ShowMsg(msg::エラー削除前バックアップ, saved.error);
        return false;
    }
    if (backupsChanged)
        backupsChanged();
    if (!statements::removeEverything(m_state.MainDb)) {
        ShowMsg(msg::エラー一括削除);
        return false;
    }
    return true;
}

void DataFiles::tellFindings(const AfterStart &found) const
{
    const auto named = [](const QString &path, const QString &problem) {
        return QDir::toNativeSeparators(path) + u'\n' + problem;
    };
    if (!found.mainProblem.isEmpty())
        ShowMsg(msg::エラーデータ破損, named(m_state.MainDbPath, found.mainProblem));
    if (!found.workProblem.isEmpty())
        ShowMsg(msg::エラー作業データ破損, named(m_state.WorkDbPath, found.workProblem));
    if (!found.dailyError.isEmpty())
        ShowMsg(msg::エラー起動時バックアップ, found.dailyError);
}

void DataFiles::waitForAfterStartWork()
{
    if (m_afterStart)
        m_afterStart->wait();
}

bool DataFiles::restore(const QString &backupPath, const std::function<void()> &backupsChanged)
{
    // Nothing reads the file in the background while it is replaced.
    waitForAfterStartWork();
    // The chosen backup is copied and checked before the current file is
    // backed up: that backup's rotation may remove the very file chosen.
    const backup::Outcome copy = backup::prepareRestore(backupPath, m_state.MainDbPath);
    if (!copy.ok()) {
        ShowMsg(msg::エラー復元, copy.error);
        return false;
    }
    const backup::Outcome before =
        backup::take(m_state.MainDb, m_state.DataPath, backup::Reason::Restore, QDateTime::currentDateTime());
    if (backupsChanged)
        backupsChanged();
    if (!before.ok()) {
        QFile::remove(copy.path);
        ShowMsg(msg::エラー復元前バックアップ, before.error);
        return false;
    }

    // The file is replaced only with its connection closed. The pages' models
    // hold the work file, which stays open.
    m_state.MainDb = QSqlDatabase();
    closeConnection(m_mainConnection);
    m_mainConnection.clear();
    QString why;
    const bool replaced = backup::replaceMainFile(copy.path, m_state.MainDbPath, &why);
    // Reopened either way: the restored file, or the untouched one.
    if (!openFile(m_state.MainDbPath, SchemaKind::Main, "main", m_mainConnection, m_state.MainDb)) {
        ShowMsg(msg::エラー復元後読込, m_openError);
        return false;
    }
    if (!replaced) {
        ShowMsg(msg::エラー復元, why);
        return false;
    }
    return true;
}

void DataFiles::close()
{
    waitForAfterStartWork();
    m_state.MainDb = QSqlDatabase();
    m_state.WorkDb = QSqlDatabase();
    for (QString *connection : {&m_mainConnection, &m_workConnection}) {
        if (!connection->isEmpty())
            closeConnection(*connection);
        connection->clear();
    }
}

} // namespace pelmar
