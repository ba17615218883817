#include "app/DataFiles.h"

#include "messages/ShowMsg.h"
#include "payroll/MonthClose.h"
#include "payroll/StatementStore.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/Failure.h"
#include "store/FileCheck.h"
#include "store/NewInstallation.h"
#include "store/Reasons.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QThread>
#include <QUuid>

#include <atomic>

namespace pelmar {

namespace {

QString uniqueConnectionName(const char *which)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("pelmar-%1-%2").arg(QLatin1String(which)).arg(++counter);
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A catalogue message as text, for a refusal that main() shows once the
// window is given up.
QString messageText(const MessageKey &key, const QString &subject)
{
    const std::optional<CatalogueMessage> message = lookupMessage(key, subject);
    return message ? message->prompt : subject;
}

// The file and what was found in it, as the questions about it name them.
QString fileAndProblem(const QString &path, const QString &problem)
{
    return QStringLiteral("%1\n%2").arg(native(path), problem);
}

QString withBackup(const QString &path, const QString &problem, const backup::Info &sound)
{
    return fileAndProblem(path, problem) + reasons::newestSoundBackup(backup::describe(sound));
}

QString withoutBackup(const QString &path, const QString &problem, const QString &dataFolder)
{
    return fileAndProblem(path, problem) + reasons::backupFolderLine(native(backup::folderOf(dataFolder)));
}

QString renewalNotice(const WorkFileRenewal &renewal)
{
    QString notice;
    if (renewal.hintsKept > 0)
        notice += reasons::hintsTakenOver(renewal.hintsKept);
    if (renewal.hintsLost)
        notice += reasons::hintsLost();
    if (!renewal.keptAside.isEmpty())
        notice += reasons::oldFileKeptAs(native(renewal.keptAside));
    return notice;
}

} // namespace

void DataFiles::startPreparing(const QString &dataPath)
{
    finishPreparing({});
    auto prepared = std::make_shared<StartPreparation>();
    m_preparation = prepared;
    m_preparedFolder = dataPath;
    m_preparing.reset(QThread::create([prepared, dataPath, mainPath = QDir(dataPath).filePath(kMainDbFileName),
                                       workPath = QDir(dataPath).filePath(kWorkDbFileName)] {
        // Nothing else writes the folder yet: what a backup or a restore
        // killed halfway left goes before anything is opened.
        const backup::Leftovers leftovers = backup::removeLeftovers(dataPath);
        *prepared = prepareStart(mainPath, workPath);
        prepared->leftovers = leftovers;
    }));
    m_preparing->start();
}

std::optional<StartPreparation> DataFiles::finishPreparing(const QString &dataPath)
{
    if (!m_preparing)
        return std::nullopt;
    m_preparing->wait();
    m_preparing.reset();
    const std::shared_ptr<StartPreparation> prepared = std::exchange(m_preparation, nullptr);
    if (m_preparedFolder != dataPath)
        return std::nullopt;
    m_leftovers = prepared->leftovers;
    return *prepared;
}

bool DataFiles::openPrepared()
{
    const auto openOne = [](const QString &path, const char *tag, QString &connection, QSqlDatabase &db) {
        connection = uniqueConnectionName(tag);
        const OpenResult opened = openChecked(path, connection);
        if (!opened.ok()) {
            connection.clear();
            return false;
        }
        db = opened.db;
        return true;
    };
    if (openOne(m_state.MainDbPath, "main", m_mainConnection, m_state.MainDb)
        && openOne(m_state.WorkDbPath, "work", m_workConnection, m_state.WorkDb))
        return true;
    close();
    return false;
}

bool DataFiles::open(const QString &dataPath)
{
    m_state.DataPath = dataPath;
    m_state.MainDbPath = QDir(dataPath).filePath(kMainDbFileName);
    m_state.WorkDbPath = QDir(dataPath).filePath(kWorkDbFileName);
    m_ready = {};
    // Files the preparation found sound are not looked at again; anything
    // it could not vouch for takes the way below, with its questions.
    if (const std::optional<StartPreparation> prepared = finishPreparing(dataPath);
        prepared && prepared->filesSound && openPrepared()) {
        m_ready = prepared->ready;
        return true;
    }
    // The work file is looked at only beside a main file that opened: a work
    // file alone is no installation, and nothing here makes a main file.
    if (openMainOrOfferBackup() && openWorkOrOfferNew())
        return true;
    close();
    return false;
}

bool DataFiles::openMainOrOfferBackup()
{
    const QString &path = m_state.MainDbPath;
    if (openFile(path, SchemaKind::Main, "main", m_mainConnection, m_state.MainDb))
        return true;
    if (m_lastDamage.isEmpty())
        return false; // missing, locked, read-only or newer: refused as it is
    const QString damage = m_lastDamage;
    const std::optional<backup::Info> sound = backup::newestSound(m_state.DataPath);
    if (!sound) {
        m_openError = messageText(msg::エラー破損バックアップなし, withoutBackup(path, damage, m_state.DataPath));
        return false;
    }
    // No leaves the refusal as opening gave it.
    if (!ShowMsg(msg::復元起動時破損確認, withBackup(path, damage, *sound)))
        return false;
    QString why;
    if (!replaceDamagedMain(sound->path, &why)) {
        m_openError = messageText(msg::エラー復元, why);
        return false;
    }
    if (!openFile(path, SchemaKind::Main, "main", m_mainConnection, m_state.MainDb))
        return false;
    ShowMsg(msg::復元破損復元完了, reasons::restoredFrom(backup::describe(*sound), native(m_keptAside)));
    return true;
}

bool DataFiles::replaceDamagedMain(const QString &backupPath, QString *why)
{
    // The copy is checked before anything else happens; the damaged file
    // gets its second name next, and only then gives way, in one rename.
    const backup::Outcome copy = backup::prepareRestore(backupPath, m_state.MainDbPath);
    if (!copy.ok()) {
        *why = copy.error;
        return false;
    }
    const backup::Outcome kept = backup::keepAside(m_state.MainDbPath, QDateTime::currentDateTime());
    if (!kept.ok()) {
        QFile::remove(copy.path);
        *why = kept.error;
        return false;
    }
    m_keptAside = kept.path;
    return backup::replaceMainFile(copy.path, m_state.MainDbPath, why);
}

bool DataFiles::openWorkOrOfferNew()
{
    const QString &path = m_state.WorkDbPath;
    if (openFile(path, SchemaKind::Work, "work", m_workConnection, m_state.WorkDb))
        return true;
    const bool missing = !QFileInfo::exists(path);
    if (!missing && m_lastDamage.isEmpty())
        return false; // locked, read-only or newer: refused as it is
    const QString problem = missing ? reasons::noFile() : m_lastDamage;
    if (!ShowMsg(msg::その他作業ファイル作成確認, fileAndProblem(path, problem)))
        return false;
    QString why;
    if (!makeNewWorkFile(&why)) {
        m_openError = messageText(msg::エラー作業ファイル作成, why);
        return false;
    }
    return openFile(path, SchemaKind::Work, "work", m_workConnection, m_state.WorkDb);
}

bool DataFiles::makeNewWorkFile(QString *why)
{
    const WorkFileRenewal renewal = pelmar::renewWorkFile(m_state.WorkDbPath, QDateTime::currentDateTime());
    if (!renewal.ok()) {
        *why = renewal.error;
        return false;
    }
    ShowMsg(msg::その他作業ファイル作成完了, renewalNotice(renewal));
    return true;
}

bool DataFiles::renewWorkFile()
{
    waitForAfterStartWork();
    m_state.WorkDb = QSqlDatabase();
    closeConnection(m_workConnection);
    m_workConnection.clear();
    QString why;
    const bool renewed = makeNewWorkFile(&why);
    if (!renewed)
        ShowMsg(msg::エラー作業ファイル作成, why);
    // Reopened either way: the new file, or the old one as it was.
    if (!openFile(m_state.WorkDbPath, SchemaKind::Work, "work", m_workConnection, m_state.WorkDb)) {
        ShowMsg(msg::エラー復元後読込, m_openError);
        return false;
    }
    return renewed;
}

QString DataFiles::offerBackupForDamagedMain(const QString &problem) const
{
    const std::optional<backup::Info> sound = backup::newestSound(m_state.DataPath);
    if (!sound) {
        ShowMsg(msg::エラー破損バックアップなし, withoutBackup(m_state.MainDbPath, problem, m_state.DataPath));
        return {};
    }
    return ShowMsg(msg::復元破損確認, withBackup(m_state.MainDbPath, problem, *sound)) ? sound->path : QString();
}

bool DataFiles::offerNewWorkFile(const QString &problem) const
{
    return ShowMsg(msg::その他作業ファイル破損確認, fileAndProblem(m_state.WorkDbPath, problem));
}

bool DataFiles::openFile(const QString &path, SchemaKind kind, const char *tag, QString &connection, QSqlDatabase &db)
{
    connection = uniqueConnectionName(tag);
    // Either file is copied into the backup folder before its layout is
    // upgraded; the work file's copies keep the hint texts.
    // Why the copy could not be made goes with the refusal.
    QString copyError;
    const BackupBeforeUpgrade copyFirst = [this, kind, &copyError](const QSqlDatabase &opened, const QString &) {
        const QDateTime now = QDateTime::currentDateTime();
        const backup::Outcome copied = kind == SchemaKind::Main
            ? backup::take(opened, m_state.DataPath, backup::Reason::Upgrade, now)
            : backup::takeWorkFile(opened, m_state.DataPath, now);
        copyError = copied.error;
        return copied.ok();
    };
    OpenResult opened = openExisting(path, kind, connection, copyFirst);
    m_lastDamage = opened.damage;
    if (!opened.ok()) {
        m_openError = opened.error;
        if (!copyError.isEmpty())
            m_openError += QStringLiteral("\n理由: ") + copyError;
        connection.clear();
        return false;
    }
    db = opened.db;
    if (opened.upgradedFrom != 0)
        m_upgradedFiles << reasons::upgradedFile(QFileInfo(path).fileName(), opened.upgradedFrom,
                                                 schemaHistory(kind).currentVersion);
    return true;
}

DataFiles::~DataFiles()
{
    finishPreparing({});
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
    m_afterStart.reset(QThread::create([found, mainPath = m_state.MainDbPath, workPath = m_state.WorkDbPath,
                                        dataFolder = m_state.DataPath, leftovers = m_leftovers] {
        *found = readWholeFiles(mainPath, workPath, dataFolder, QDateTime::currentDateTime());
        found->leftovers = leftovers;
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
        ShowMsg(msg::エラー一括削除, failureDetail(m_state.MainDb));
        return false;
    }
    return true;
}

void DataFiles::tellFindings(const AfterStart &found) const
{
    // Left by a backup or restore that was cut off; the user loses nothing
    // by their going, so they are only noted.
    if (found.leftovers.removed > 0)
        qInfo().noquote() << reasons::leftoversRemoved(found.leftovers.removed, found.leftovers.bytes);
    for (const QString &kept : found.leftovers.kept)
        qWarning().noquote() << reasons::leftoverKept(native(kept));
    if (!found.dailyError.isEmpty())
        ShowMsg(msg::エラー起動時バックアップ, found.dailyError);
}

void DataFiles::waitForAfterStartWork()
{
    if (m_afterStart)
        m_afterStart->wait();
}

namespace {

// A closed month holds what was paid: a restore that would take one away,
// reopen it or change its statements names those months and goes on only
// on a yes. True to go on.
bool confirmClosedMonthsChange(const QSqlDatabase &current, const QString &checkedCopy)
{
    const QString connection = QStringLiteral("pelmar-restore-compare-") + QUuid::createUuid().toString();
    std::optional<QStringList> changed;
    QString error;
    {
        const OpenResult opened = openForReading(checkedCopy, SchemaKind::Main, connection);
        if (opened.ok())
            changed = closing::closedTitlesChangedBy(current, opened.db);
        else
            error = opened.error;
        if (opened.ok() && !changed)
            error = failureDetail(current, opened.db);
    }
    closeConnection(connection);
    if (!changed) {
        ShowMsg(msg::エラー復元, error);
        return false;
    }
    return changed->isEmpty() || ShowMsg(msg::復元締め変更確認, changed->join(u'\n'));
}

} // namespace

bool DataFiles::restore(const QString &backupPath, const std::function<void()> &backupsChanged, CurrentFile current)
{
    // Nothing reads the file in the background while it is replaced.
    waitForAfterStartWork();
    m_keptAside.clear();
    // The chosen backup is copied and checked before the current file is
    // backed up: that backup's rotation may remove the very file chosen.
    const backup::Outcome copy = backup::prepareRestore(backupPath, m_state.MainDbPath);
    if (!copy.ok()) {
        ShowMsg(msg::エラー復元, copy.error);
        return false;
    }
    // A damaged file cannot be compared: it is kept aside whole.
    if (current != CurrentFile::KeepAsideDamaged && !confirmClosedMonthsChange(m_state.MainDb, copy.path)) {
        QFile::remove(copy.path);
        return false;
    }
    if (current == CurrentFile::KeepAsideDamaged) {
        const backup::Outcome kept = backup::keepAside(m_state.MainDbPath, QDateTime::currentDateTime());
        if (!kept.ok()) {
            QFile::remove(copy.path);
            ShowMsg(msg::エラー復元, kept.error);
            return false;
        }
        m_keptAside = kept.path;
    } else {
        const backup::Outcome before =
            backup::take(m_state.MainDb, m_state.DataPath, backup::Reason::Restore, QDateTime::currentDateTime());
        if (backupsChanged)
            backupsChanged();
        if (!before.ok()) {
            QFile::remove(copy.path);
            ShowMsg(msg::エラー復元前バックアップ, before.error);
            return false;
        }
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
