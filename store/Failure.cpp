#include "store/Failure.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Reasons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace pelmar {

namespace {

// SQLite's primary result codes, as the driver reports them.
constexpr int kSqlitePerm = 3;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoErr = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

// Connections are used from more than one thread (the check after start-up
// has its own), so the kept errors are guarded.
QMutex &failuresLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, QSqlError> &failures()
{
    static QHash<QString, QSqlError> kept;
    return kept;
}

} // namespace

int sqliteCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

namespace {

// A statement that met a file another program holds has waited the whole
// busy timeout. An operation runs several (a 読込 reads its tables one by
// one), and each would wait it again while the window stands still: the
// connection stops waiting until the program is back in its event loop, so
// that one operation waits once and then tells.
void stopWaitingForNow(const QSqlDatabase &db)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread() || !db.isOpen())
        return;
    Query(db, OnFailure::Answer).run(QStringLiteral("PRAGMA busy_timeout = 0"));
    QTimer::singleShot(0, app, [name = db.connectionName()] {
        if (!QSqlDatabase::contains(name))
            return;
        const QSqlDatabase again = QSqlDatabase::database(name, false);
        if (again.isOpen())
            Query(again, OnFailure::Answer).run(QStringLiteral("PRAGMA busy_timeout = %1").arg(kBusyTimeoutMs));
    });
}

} // namespace

void noteFailure(const QSqlDatabase &db, const QSqlError &error)
{
    const int code = sqliteCode(error);
    if (code <= 0)
        return;
    if (code == kSqliteBusyCode || code == kSqliteLockedCode)
        stopWaitingForNow(db);
    const QMutexLocker locker(&failuresLock());
    failures().insert(db.connectionName(), error);
}

QSqlError takeFailure(const QSqlDatabase &db)
{
    const QMutexLocker locker(&failuresLock());
    return failures().take(db.connectionName());
}

void forgetFailure(const QSqlDatabase &db)
{
    const QMutexLocker locker(&failuresLock());
    failures().remove(db.connectionName());
}

QString failureReason(const QSqlError &error, const QString &filePath)
{
    const QFileInfo file(filePath);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    const int code = sqliteCode(error);
    // A file made read-only while it was open fails as a write error; what
    // the user can mend is the file's state, so that is what is said.
    const bool writeRefused =
        code == kSqliteIoErr || code == kSqlitePerm || code == kSqliteReadOnly || code == kSqliteCantOpen;
    if (writeRefused && file.exists() && !file.isWritable())
        return reasons::fileReadOnly();
    if (writeRefused && !QFileInfo(file.absolutePath()).isWritable())
        return reasons::folderReadOnly(folder);
    switch (code) {
    case kSqliteFull:
        return diskFullReason(filePath);
    case kSqliteIoErr:
        return reasons::diskFailed();
    case kSqliteBusy:
    case kSqliteLocked:
        return reasons::fileInUse();
    case kSqlitePerm:
    case kSqliteReadOnly:
    case kSqliteCantOpen:
        return reasons::fileOrFolderReadOnly(folder);
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        if (QFileInfo(filePath).fileName().compare(kWorkDbFileName, Qt::CaseInsensitive) == 0)
            return reasons::workFileDamaged();
        return reasons::mainFileDamaged();
    default:
        return {};
    }
}

QString diskFullReason(const QString &filePath)
{
    return reasons::diskFull(QDir::toNativeSeparators(QFileInfo(filePath).absolutePath()));
}

QString failureDetail(const QSqlError &error, const QString &filePath)
{
    if (sqliteCode(error) <= 0)
        return {};
    QString reason = failureReason(error, filePath);
    // Anything else is passed on as the database put it.
    if (reason.isEmpty())
        reason = reasons::databaseRefused(error.text());
    return reasons::fileAndReason(QDir::toNativeSeparators(filePath), reason);
}

QString failureDetail(const QSqlDatabase &db, const QString &filePath)
{
    return failureDetail(takeFailure(db), filePath);
}

QString fileOf(const QSqlDatabase &db)
{
    const QString name = db.databaseName();
    if (name.startsWith(QLatin1String("file:")))
        return QUrl(name).toLocalFile();
    return name;
}

QString failureDetail(const QSqlDatabase &db)
{
    return failureDetail(db, fileOf(db));
}

QString failureDetail(const QSqlDatabase &first, const QSqlDatabase &second)
{
    const QString detail = failureDetail(first);
    const QString other = failureDetail(second);
    return detail.isEmpty() ? other : detail;
}

} // namespace pelmar
