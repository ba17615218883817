#include "store/Database.h"

#include "store/Backup.h"
#include "store/Failure.h"
#include "store/Query.h"
#include "store/Tables.h"

#include "store/SchemaText.h"
#include "store/Reasons.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>

namespace pelmar {

const char *schemaSql(SchemaKind kind)
{
    return kind == SchemaKind::Main ? kMainSchemaSql : kWorkSchemaSql;
}

QStringList sqlStatements(const QString &script)
{
    QString withoutComments;
    for (const QString &line : script.split(u'\n')) {
        const qsizetype dashes = line.indexOf(QLatin1String("--"));
        withoutComments += (dashes >= 0 ? line.left(dashes) : line) + u'\n';
    }
    QStringList statements;
    for (const QString &part : withoutComments.split(u';')) {
        const QString statement = part.trimmed();
        if (!statement.isEmpty())
            statements << statement;
    }
    return statements;
}

namespace {

struct TableColumns {
    QString table;
    QStringList columns;
};

QList<TableColumns> tablesOf(const QSqlDatabase &db)
{
    // Every table with its columns in one statement: opening runs this on
    // each file at every start.
    QList<TableColumns> result;
    QSqlQuery columns(db);
    columns.setForwardOnly(true);
    if (!columns.exec(QStringLiteral("select m.name, c.name from sqlite_master m join pragma_table_info(m.name) c"
                                     " where m.type = 'table' order by m.rowid, c.cid")))
        return result;
    while (columns.next()) {
        const QString table = columns.value(0).toString();
        if (result.isEmpty() || result.last().table != table)
            result << TableColumns{table, {}};
        result.last().columns << columns.value(1).toString();
    }
    return result;
}

// What the schema files say each kind of file must hold, read once from an
// in-memory database built from the same DDL.
const QList<TableColumns> &expectedTables(SchemaKind kind)
{
    // Start-up checks the files on a thread of its own, and the check after
    // start-up on another: the first to need a layout builds it.
    static QMutex lock;
    const QMutexLocker locked(&lock);
    static QList<TableColumns> cache[2];
    static bool filled[2] = {false, false};
    const int slot = kind == SchemaKind::Main ? 0 : 1;
    if (!filled[slot]) {
        const QString name = QStringLiteral("pelmar-schema-") + QUuid::createUuid().toString();
        {
            QSqlDatabase memory = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            memory.setDatabaseName(QStringLiteral(":memory:"));
            if (memory.open()) {
                for (const QString &statement : sqlStatements(QString::fromUtf8(schemaSql(kind))))
                    QSqlQuery(memory).exec(statement);
                cache[slot] = tablesOf(memory);
                filled[slot] = true;
            }
            memory.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    return cache[slot];
}

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

QString heldByAnotherReason()
{
    return reasons::heldAtStart();
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

QString unreadableDamage(const QSqlError &error)
{
    return reasons::notADataFile(error.text());
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

// Why a file that opened does not read back.
QString unreadableReason(const QSqlError &error, const QString &filePath)
{
    if (heldByAnother(error))
        return heldByAnotherReason();
    return unreadableDamage(error) + damagedAdvice(filePath);
}

} // namespace

QString writeProblem(const QSqlDatabase &db, const QString &filePath)
{
    // Reading the version first: a file that is no database fails here and
    // is the read check's to report.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return heldByAnother(query.lastError()) ? heldByAnotherReason() : QString();
    const int version = query.value(0).toInt();
    query.finish();

    // BEGIN IMMEDIATE takes the write lock, so a file another program holds
    // fails here. Setting the version to what it already is writes the
    // first page, so SQLite must also create its journal beside the file,
    // which a read-only folder refuses. The rollback leaves the file as it was.
    QSqlError failure;
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        failure = query.lastError();
    } else {
        if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)))
            failure = query.lastError();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    }
    if (!failure.isValid())
        return {};
    if (heldByAnother(failure))
        return heldByAnotherReason();
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

QString schemaProblem(const QSqlDatabase &db, SchemaKind kind)
{
    const QList<TableColumns> present = tablesOf(db);
    for (const TableColumns &wanted : expectedTables(kind)) {
        const auto found = std::find_if(present.begin(), present.end(), [&](const TableColumns &t) {
            return t.table.compare(wanted.table, Qt::CaseInsensitive) == 0;
        });
        if (found == present.end())
            return reasons::missingTable(wanted.table);
        for (const QString &column : wanted.columns) {
            const bool has = std::any_of(found->columns.begin(), found->columns.end(),
                                         [&](const QString &c) { return c.compare(column, Qt::CaseInsensitive) == 0; });
            if (!has)
                return reasons::missingColumn(wanted.table, column);
        }
    }
    return {};
}

namespace {

// Gives up opening: the message names the file, and the connection is gone.
OpenResult refused(OpenResult &result, const QString &filePath, const QString &connectionName, const QString &reason)
{
    result.error =
        reasons::cannotOpen(QDir::toNativeSeparators(filePath), reason);
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

} // namespace

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

namespace {

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

OpenResult openAndCheck(const QString &filePath, SchemaKind kind, const QString &connectionName,
                        const SchemaHistory &history, const BackupBeforeUpgrade &backupBeforeUpgrade,
                        const QString &busyTimeout)
{
    OpenResult result;
    const auto refuse = [&](const QString &reason) {
        return refused(result, filePath, connectionName, reason);
    };
    const QFileInfo info(filePath);
    if (const QString problem = fileProblem(info); !problem.isEmpty())
        return refuse(problem);

    result.db = readWriteConnection(info, connectionName, busyTimeout);
    if (!result.db.open())
        return refuse(result.db.lastError().text());
    // A file that cannot be written is refused before anything is read or
    // changed: every save would fail later.
    if (const QString cannotWrite = writeProblem(result.db, filePath); !cannotWrite.isEmpty())
        return refuse(cannotWrite);

    // Any file opens; only the first real read tells whether it is a database.
    // Reading the header and the table list costs the same for any amount of
    // data; the whole file is read later, off the start-up path.
    QSqlQuery check(result.db);
    if (!check.exec(QStringLiteral("select count(*) from sqlite_master")) || !check.next()) {
        const QSqlError unreadable = check.lastError();
        check = QSqlQuery();
        refuse(unreadableReason(unreadable, filePath));
        if (!heldByAnother(unreadable))
            result.damage = unreadableDamage(unreadable);
        return result;
    }
    // A file cut to nothing (a crash while it was written, a full disk)
    // reads as an empty database; it is no data file.
    const bool empty = check.value(0).toInt() == 0;
    check = QSqlQuery();
    if (empty) {
        const QString damage =
            reasons::emptyFile();
        refuse(damage + damagedAdvice(filePath));
        result.damage = damage;
        return result;
    }

    QString versionError;
    const int stored = storedSchemaVersion(result.db, &versionError);
    if (stored < 0)
        return refuse(reasons::versionUnreadable(versionError));
    const int from = layoutVersion(stored);
    const QString backupReason = reasons::copyBeforeUpgrade(info.fileName(), from, history.currentVersion);
    std::function<bool()> backupFirst;
    if (backupBeforeUpgrade)
        backupFirst = [&] {
            return backupBeforeUpgrade(result.db, backupReason);
        };
    // The upgraded file must have the whole current layout before the
    // upgrade is kept; otherwise it goes back to what it was.
    const UpgradeResult upgraded = upgrade(result.db, history.upgrades, history.currentVersion, backupFirst,
                                           [&] { return schemaProblem(result.db, kind); });
    using Outcome = UpgradeResult::Outcome;
    switch (upgraded.outcome) {
    case Outcome::UpToDate:
        break;
    case Outcome::Upgraded:
        result.upgradedFrom = upgraded.fromVersion;
        break;
    case Outcome::TooNew:
        return refuse(reasons::tooNewToOpen(stored));
    case Outcome::NoBackup:
        return refuse(reasons::noCopyBeforeUpgrade(upgraded.fromVersion, upgraded.toVersion));
    case Outcome::BackupFailed:
        return refuse(reasons::copyBeforeUpgradeFailed(upgraded.fromVersion, upgraded.toVersion));
    case Outcome::Failed: {
        // What the failure means for the user (a full disk, a read-only
        // folder …) comes first; SQLite's own words stay for whoever helps.
        const QSqlError kept = takeFailure(result.db);
        QString why = failureReason(kept, filePath);
        QString detail = upgraded.error.isEmpty() ? kept.text() : upgraded.error;
        if (why.isEmpty())
            why = detail.isEmpty() ? reasons::causeUnknown() : detail;
        else if (!detail.isEmpty())
            why += QStringLiteral("（%1）").arg(detail);
        return refuse(reasons::upgradeFailed(upgraded.fromVersion, upgraded.toVersion, why));
    }
    }

    const QString problem = schemaProblem(result.db, kind);
    if (!problem.isEmpty()) {
        const QString damage = problem + reasons::notOurFileOrDamaged();
        refuse(damage + damagedAdvice(filePath));
        result.damage = damage;
    }
    return result;
}

} // namespace

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
        return refused(result, filePath, connectionName, result.db.lastError().text());
    return result;
}

OpenResult openForReading(const QString &filePath, SchemaKind kind, const QString &connectionName)
{
    OpenResult result;
    const auto refuse = [&](const QString &reason) {
        return refused(result, filePath, connectionName, reason);
    };
    const QFileInfo info(filePath);
    if (const QString problem = fileProblem(info); !problem.isEmpty())
        return refuse(problem);

    result.db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    result.db.setDatabaseName(info.absoluteFilePath());
    result.db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;") + kBusyTimeoutOption);
    if (!result.db.open())
        return refuse(result.db.lastError().text());
    QSqlQuery check(result.db);
    if (!check.exec(QStringLiteral("select count(*) from sqlite_master")) || !check.next()) {
        // A write cut off by a crash or a power cut leaves its journal,
        // which the next connection that may write plays back. One that
        // only reads cannot, and the file is not damaged for that.
        if (isInterruptedWrite(check.lastError(), filePath))
            return refuse(reasons::interruptedWrite());
        return refuse(unreadableReason(check.lastError(), filePath));
    }
    const bool holdsNothing = check.value(0).toInt() == 0;
    check.finish();
    if (holdsNothing)
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

void closeConnection(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool execBound(const QSqlDatabase &db, const QString &sql, const QVariantList &values, QString *error)
{
    Query query(db);
    if (query.run(sql, values))
        return true;
    if (error)
        *error = query.error().text();
    return false;
}

QVariantList rowValues(const QSqlQuery &query, qsizetype count, qsizetype first)
{
    QVariantList values;
    for (qsizetype i = first; i < first + count; ++i)
        values << query.value(int(i));
    return values;
}

Transaction::Transaction(QSqlDatabase db) : m_db(std::move(db))
{
    // A failure kept from an earlier operation is not this one's.
    forgetFailure(m_db);
    m_started = m_db.transaction();
    if (!m_started)
        noteFailure(m_db, m_db.lastError());
}

Transaction::~Transaction()
{
    if (m_started && !m_done)
        m_db.rollback();
}

bool Transaction::commit()
{
    if (!m_started || m_done)
        return false;
    m_done = m_db.commit();
    if (!m_done)
        noteFailure(m_db, m_db.lastError());
    return m_done;
}

} // namespace pelmar
