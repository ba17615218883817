#pragma once

#include "store/SchemaVersion.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

namespace pelmar {

inline const QString kMainDbFileName = QStringLiteral("Pelmar.mdb");
inline const QString kWorkDbFileName = QStringLiteral("PelmarWork.mdb");

enum class SchemaKind { Main, Work };

// Every connection waits this long for another connection's lock before a
// statement gives up; a file held by another program then fails quickly
// with a clear message instead of hanging or failing at once.
inline constexpr int kBusyTimeoutMs = 2000;
inline const QString kBusyTimeoutOption = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);

const char *schemaSql(SchemaKind kind);

// Splits a schema script into its statements (comments dropped).
QStringList sqlStatements(const QString &script);

struct OpenResult {
    QSqlDatabase db;
    QString error; // empty on success; otherwise names the file and the reason
    int upgradedFrom = 0; // the layout version the file had when opening upgraded it; 0 when it did not
    // What is wrong with a file that is there and can be read but does not
    // read as a data file of this kind: damaged, emptied, or some other file
    // under its name. Empty for a missing, locked, read-only or newer file.
    QString damage;
    bool ok() const { return error.isEmpty(); }
};

// Takes a copy of a data file before an upgrade changes it; true when the
// copy is safely written. reason says which file goes from which version to
// which, for the copy's record.
using BackupBeforeUpgrade = std::function<bool(const QSqlDatabase &db, const QString &reason)>;

// The versions of one kind of file as this program knows them.
SchemaHistory schemaHistory(SchemaKind kind);

// Opening a file, and the checks made before a page is filled, are in
// store/Opening.cpp; failures and their reasons in Failure.h and Reasons.h.

// Opens an existing database file for reading and writing. It never creates
// a file: a missing, unreadable or damaged file, or one that lacks a table or
// column of the schema, is refused with a message that names the file and
// says why. On failure the connection is already removed again.
// A file written by a newer program is refused and left untouched. An older
// file is upgraded to the current layout after backupBeforeUpgrade has taken
// a copy; without a hook, or when the copy fails, it is refused untouched.
OpenResult openExisting(const QString &filePath, SchemaKind kind, const QString &connectionName,
                        const BackupBeforeUpgrade &backupBeforeUpgrade = {});

// The same against a given history instead of the program's own.
OpenResult openExisting(const QString &filePath, SchemaKind kind, const QString &connectionName,
                        const SchemaHistory &history, const BackupBeforeUpgrade &backupBeforeUpgrade);

// Opens the file as openExisting does only when nothing about it needs to be
// asked or told: it is there, sound as far as opening looks, of today's
// layout (an older one is refused, not upgraded) and writable now, with no
// other program holding it. Otherwise it is refused at once, untouched.
OpenResult openIfSound(const QString &filePath, SchemaKind kind, const QString &connectionName);

// Opens a file that openIfSound found sound a moment ago, as openExisting
// would, without looking at it again.
OpenResult openChecked(const QString &filePath, const QString &connectionName);

// Empty when this connection can write its file: a write transaction that
// touches the file and is rolled back, so nothing changes. Otherwise says,
// for the user, whether the file is read-only, its folder is, another
// program holds it, or it cannot be written for another reason. A file that
// does not read as a database is left to the read check (empty result).
QString writeProblem(const QSqlDatabase &db, const QString &filePath);

// Empty when every table and column of the schema is present in db.
QString schemaProblem(const QSqlDatabase &db, SchemaKind kind);

// Opens an existing data file for reading only, beside a program that may
// have it open: nothing is created, written or upgraded. A missing,
// unreadable or damaged file, one of another layout version (an older file
// is upgraded by starting the program once) or one lacking a table or
// column of the schema is refused with a message that names the file and
// says why; the connection is then already removed again.
OpenResult openForReading(const QString &filePath, SchemaKind kind, const QString &connectionName);

// Closes and forgets a connection opened by openExisting. Every model and
// query that used it must be gone by then.
void closeConnection(const QString &connectionName);

// Runs one statement with its values bound in order, through Query (a
// failure is kept for the connection). Text values are always bound, never
// glued into the SQL text.
bool execBound(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {}, QString *error = nullptr);

// The values of `count` columns of the query's current row, from `first` on.
QVariantList rowValues(const QSqlQuery &query, qsizetype count, qsizetype first = 0);

// A transaction that rolls back unless commit() succeeded. A Writing one
// takes the file's write lock as it begins (BEGIN IMMEDIATE), waiting the
// busy timeout for another connection's: what it reads before it writes
// cannot be changed by another program in between, so a check it makes
// holds for the write that follows.
class Transaction {
public:
    enum class Lock { OnFirstWrite, Writing };
    explicit Transaction(QSqlDatabase db, Lock lock = Lock::OnFirstWrite);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    bool started() const { return m_started; }
    bool commit();

private:
    QSqlDatabase m_db;
    bool m_started = false;
    bool m_done = false;
};

} // namespace pelmar
