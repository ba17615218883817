#include "app/DataFiles.h"

#include "messages/ShowMsg.h"
#include "store/Backup.h"
#include "store/Database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    // The main file is copied into the backup folder before an upgrade. The
    // work file has no backup of its own yet, so an upgrade of it is refused
    // unchanged rather than made without a copy.
    BackupBeforeUpgrade copyFirst;
    if (kind == SchemaKind::Main)
        copyFirst = [this](const QSqlDatabase &opened, const QString &) {
            return backup::take(opened, m_state.DataPath, backup::Reason::Upgrade, QDateTime::currentDateTime()).ok();
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

void DataFiles::takeDailyBackup()
{
    const QDateTime now = QDateTime::currentDateTime();
    if (!backup::dailyBackupDue(m_state.DataPath, now.date()))
        return;
    const backup::Outcome taken = backup::take(m_state.MainDb, m_state.DataPath, backup::Reason::Daily, now);
    if (!taken.ok())
        ShowMsg(msg::エラー起動時バックアップ, taken.error);
}

bool DataFiles::restore(const QString &backupPath, const std::function<void()> &backupsChanged)
{
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
    m_state.MainDb = QSqlDatabase();
    m_state.WorkDb = QSqlDatabase();
    for (QString *connection : {&m_mainConnection, &m_workConnection}) {
        if (!connection->isEmpty())
            closeConnection(*connection);
        connection->clear();
    }
}

} // namespace pelmar
