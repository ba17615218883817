// Opening the data files: openExisting, openIfSound, openChecked and
// openForReading of Database.h, and the checks they make before a page is
// filled.

#include "store/Backup.h"
#include "store/Database.h"
#include "store/Failure.h"
#include "store/Query.h"
#include "store/Reasons.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>

#include <optional>

namespace pelmar {

namespace {

// SQLite's primary result codes, as the driver reports them.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

bool heldByAnother(const QSqlError &error)
{
    const int code = sqliteCode(error);
    return code == kSqliteBusy || code == kSqliteLocked;
}

// Where a user whose file does not read back is sent: the program's own
// copies, never the file itself, which stays as evidence and for repair.
QString damagedAdvice(const QString &filePath)
{
    // The work file holds nothing that is kept; start-up offers a new one.
    if (QFileInfo(filePath).fileName().compare(kWorkDbFileName, Qt::CaseInsensitive) == 0)
        return reasons::keepDamagedWorkFile();
    const QString backups = backup::folderOf(QFileInfo(filePath).absolutePath());
    return reasons::keepDamagedMainFile(QDir::toNativeSeparators(backups));
}

// A read-only connection met a journal it would have to play back.
bool isInterruptedWrite(const QSqlError &error, const QString &filePath)
{
    constexpr int kSqliteReadOnly = 8;
    constexpr int kSqliteReadOnlyRollback = kSqliteReadOnly | (3 << 8);
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok
        && (code == kSqliteReadOnlyRollback
            || (code == kSqliteReadOnly && QFileInfo::exists(filePath + QStringLiteral("-journal"))));
}

// Why opening gives up: the reason for the message and, for a file that is
// there and readable but no data file of this kind, what is wrong with it.
struct Refusal {
    QString reason;
    QString damage;
};

Refusal damagedFile(const QString &damage, const QString &filePath)
{
    return {damage + damagedAdvice(filePath), damage};
}

// Why a file that opened does not read back.
Refusal unreadable(const QSqlError &error, const QString &filePath)
{
    if (heldByAnother(error))
        return {reasons::heldAtStart(), {}};
    return damagedFile(reasons::notADataFile(error.text()), filePath);
}

// The number of entries of the file's table list; nothing, and the error,
// when the file does not read as a database. Any file opens; only the first
// real read tells whether it is one. Reading the header and the table list
// costs the same for any amount of data.
std::optional<int> tableListSize(const QSqlDatabase &db, QSqlError *error)
{
    Query check(db, OnFailure::Answer);
    const QVariant size = check.single(QStringLiteral("select count(*) from sqlite_master"));
    *error = check.error();
    return size.isValid() ? std::optional(size.toInt()) : std::nullopt;
}

// Gives up opening: the message names the file, and the connection is gone.
OpenResult refused(OpenResult &result, const QString &filePath, const QString &connectionName, const Refusal &refusal)
{
    result.error = reasons::cannotOpen(QDir::toNativeSeparators(filePath), refusal.reason);
    result.damage = refusal.damage;
    result.upgradedFrom = 0;
    if (QSqlDatabase::contains(connectionName)) {
        result.db.close();
        result.db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
    }
    return result;
}

// Why a file cannot be a data file to open, seen before SQLite is asked;
// empty when it may be tried.
QString fileProblem(const QFileInfo &info)
{
    if (!info.exists())
        return reasons::noFile();
    if (!info.isFile())
        return reasons::notAFile();
    if (!info.isReadable())
        return reasons::noReadPermission();
    return {};
}

// Adds the connection for reading and writing an existing file; SQLite opens
// the file lazily, at the first statement.
QSqlDatabase readWriteConnection(const QFileInfo &info, const QString &connectionName, const QString &busyTimeout)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    // mode=rw makes SQLite refuse to create a file that vanished meanwhile.
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;") + busyTimeout);
    return db;
}

// A file that reads as a database and holds something; the whole file is
// read later, off the start-up path.
std::optional<Refusal> readsBack(const QSqlDatabase &db, const QString &filePath)
{
    QSqlError error;
    const std::optional<int> tables = tableListSize(db, &error);
    if (!tables)
        return unreadable(error, filePath);
    // A file cut to nothing (a crash while it was written, a full disk)
    // reads as an empty database; it is no data file.
    if (*tables == 0)
        return damagedFile(reasons::emptyFile(), filePath);
    return std::nullopt;
}

// Why an upgrade that did not happen left the file as it was.
QString upgradeRefusal(const UpgradeResult &upgraded, int stored, const QSqlDatabase &db, const QString &filePath)
{
    using Outcome = UpgradeResult::Outcome;
    switch (upgraded.outcome) {
    case Outcome::TooNew:
        return reasons::tooNewToOpen(stored);
    case Outcome::NoBackup:
        return reasons::noCopyBeforeUpgrade(upgraded.fromVersion, upgraded.toVersion);
    case Outcome::BackupFailed:
        return reasons::copyBeforeUpgradeFailed(upgraded.fromVersion, upgraded.toVersion);
    default:
        break;
    }
    // What the failure means for the user (a full disk, a read-only
    // folder …) comes first; SQLite's own words stay for whoever helps.
    const QSqlError kept = takeFailure(db);
    QString why = failureReason(kept, filePath);
    const QString detail = upgraded.error.isEmpty() ? kept.text() : upgraded.error;
    if (why.isEmpty())
        why = detail.isEmpty() ? reasons::causeUnknown() : detail;
    else if (!detail.isEmpty())
        why += QStringLiteral("（%1）").arg(detail);
    return reasons::upgradeFailed(upgraded.fromVersion, upgraded.toVersion, why);
}

// Brings a file of an older layout to today's, after the copy; a file of
// today's layout is left alone.
std::optional<Refusal> bringUpToDate(OpenResult &result, const QString &filePath, SchemaKind kind,
                                     const SchemaHistory &history, const BackupBeforeUpgrade &backupBeforeUpgrade)
{
    QString versionError;
    const int stored = storedSchemaVersion(result.db, &versionError);
    if (stored < 0)
        return Refusal{reasons::versionUnreadable(versionError), {}};
    const QString backupReason =
        reasons::copyBeforeUpgrade(QFileInfo(filePath).fileName(), layoutVersion(stored), history.currentVersion);
    std::function<bool()> backupFirst;
    if (backupBeforeUpgrade)
        backupFirst = [&] {
            return backupBeforeUpgrade(result.db, backupReason);
        };
    // The upgraded file must have the whole current layout before the
    // upgrade is kept; otherwise it goes back to what it was.
    const UpgradeResult upgraded = upgrade(result.db, history.upgrades, history.currentVersion, backupFirst,
                                           [&] { return schemaProblem(result.db, kind); });
    switch (upgraded.outcome) {
    case UpgradeResult::Outcome::UpToDate:
        return std::nullopt;
    case UpgradeResult::Outcome::Upgraded:
        result.upgradedFrom = upgraded.fromVersion;
        return std::nullopt;
    default:
        return Refusal{upgradeRefusal(upgraded, stored, result.db, filePath), {}};
    }
}

// Every table and column of today's layout is there.
std::optional<Refusal> hasTheLayout(const QSqlDatabase &db, SchemaKind kind, const QString &filePath)
{
    const QString problem = schemaProblem(db, kind);
    if (problem.isEmpty())
        return std::nullopt;
    return damagedFile(problem + reasons::notOurFileOrDamaged(), filePath);
}

OpenResult openAndCheck(const QString &filePath, SchemaKind kind, const QString &connectionName,
                        const SchemaHistory &history, const BackupBeforeUpgrade &backupBeforeUpgrade,
                        const QString &busyTimeout)
{
    OpenResult result;
    const auto refuse = [&](const Refusal &refusal) {
        return refused(result, filePath, connectionName, refusal);
    };
    const QFileInfo info(filePath);
    if (const QString problem = fileProblem(info); !problem.isEmpty())
        return refuse({problem, {}});

    result.db = readWriteConnection(info, connectionName, busyTimeout);
    if (!result.db.open())
        return refuse({result.db.lastError().text(), {}});
    // A file that cannot be written is refused before anything is read or
    // changed: every save would fail later.
    if (const QString cannotWrite = writeProblem(result.db, filePath); !cannotWrite.isEmpty())
        return refuse({cannotWrite, {}});

    std::optional<Refusal> refusal = readsBack(result.db, filePath);
    if (!refusal)
        refusal = bringUpToDate(result, filePath, kind, history, backupBeforeUpgrade);
    if (!refusal)
        refusal = hasTheLayout(result.db, kind, filePath);
    return refusal ? refuse(*refusal) : result;
}

} // namespace

QString writeProblem(const QSqlDatabase &db, const QString &filePath)
{
    // Reading the version first: a file that is no database fails here and
    // is the read check's to report.
    Query query(db, OnFailure::Answer);
    const QVariant version = query.single(QStringLiteral("PRAGMA user_version"));
    if (!version.isValid())
        return heldByAnother(query.error()) ? reasons::heldAtStart() : QString();
    query.finish();

    // BEGIN IMMEDIATE takes the write lock, so a file another program holds
    // fails here. Setting the version to what it already is writes the
    // first page, so SQLite must also create its journal beside the file,
    // which a read-only folder refuses. The rollback leaves the file as it was.
    if (query.run(QStringLiteral("BEGIN IMMEDIATE"))) {
        query.run(QStringLiteral("PRAGMA user_version = %1").arg(version.toInt()));
        Query(db, OnFailure::Answer).run(QStringLiteral("ROLLBACK"));
    }
    const QSqlError failure = query.error();
    if (!failure.isValid())
        return {};
    if (heldByAnother(failure))
        return reasons::heldAtStart();
    const int code = sqliteCode(failure);
    if (code == kSqliteNotADatabase || code == kSqliteCorrupt)
        return {};
    const QFileInfo file(filePath);
    if (!file.isWritable())
        return reasons::readOnlyAtStart();
    if (!QFileInfo(file.absolutePath()).isWritable())
        return reasons::folderReadOnlyAtStart(QDir::toNativeSeparators(file.absolutePath()));
    return reasons::cannotWriteAtStart(failure.text());
}

SchemaHistory schemaHistory(SchemaKind kind)
{
    return kind == SchemaKind::Main ? SchemaHistory{kMainSchemaVersion, mainUpgrades()}
                                    : SchemaHistory{kWorkSchemaVersion, workUpgrades()};
}

OpenResult openExisting(const QString &filePath, SchemaKind kind, const QString &connectionName,
                        const BackupBeforeUpgrade &backupBeforeUpgrade)
{
    return openExisting(filePath, kind, connectionName, schemaHistory(kind), backupBeforeUpgrade);
}

OpenResult openExisting(const QString &filePath, SchemaKind kind, const QString &connectionName,
                        const SchemaHistory &history, const BackupBeforeUpgrade &backupBeforeUpgrade)
{
    return openAndCheck(filePath, kind, connectionName, history, backupBeforeUpgrade, kBusyTimeoutOption);
}

OpenResult openIfSound(const QString &filePath, SchemaKind kind, const QString &connectionName)
{
    // Without a copy to take first, an older layout is refused untouched.
    // A file another program holds is given up at once: the opening that
    // follows waits for it and tells the user.
    return openAndCheck(filePath, kind, connectionName, schemaHistory(kind), {},
                        QStringLiteral("QSQLITE_BUSY_TIMEOUT=100"));
}

OpenResult openChecked(const QString &filePath, const QString &connectionName)
{
    OpenResult result;
    result.db = readWriteConnection(QFileInfo(filePath), connectionName, kBusyTimeoutOption);
    if (!result.db.open())
        return refused(result, filePath, connectionName, {result.db.lastError().text(), {}});
    return result;
}

OpenResult openForReading(const QString &filePath, SchemaKind kind, const QString &connectionName)
{
    OpenResult result;
    const auto refuse = [&](const QString &reason) {
        return refused(result, filePath, connectionName, {reason, {}});
    };
    const QFileInfo info(filePath);
    if (const QString problem = fileProblem(info); !problem.isEmpty())
        return refuse(problem);

    result.db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    result.db.setDatabaseName(info.absoluteFilePath());
    result.db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;") + kBusyTimeoutOption);
    if (!result.db.open())
        return refuse(result.db.lastError().text());
    QSqlError error;
    const std::optional<int> tables = tableListSize(result.db, &error);
    // A write cut off by a crash or a power cut leaves its journal, which
    // the next connection that may write plays back. One that only reads
    // cannot, and the file is not damaged for that.
    if (!tables && isInterruptedWrite(error, filePath))
        return refuse(reasons::interruptedWrite());
    if (!tables)
        return refuse(unreadable(error, filePath).reason);
    if (*tables == 0)
        return refuse(schemaProblem(result.db, kind));

    QString versionError;
    const int stored = storedSchemaVersion(result.db, &versionError);
    if (stored < 0)
        return refuse(reasons::versionUnreadable(versionError));
    const int current = schemaHistory(kind).currentVersion;
    const int version = layoutVersion(stored);
    if (version > current)
        return refuse(reasons::tooNewToRead(stored));
    if (version < current)
        return refuse(reasons::tooOldToRead(version, current));
    if (const QString problem = schemaProblem(result.db, kind); !problem.isEmpty())
        return refuse(problem + reasons::notOurFileOrDamaged());
    return result;
}

} // namespace pelmar
