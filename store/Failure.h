#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// Why a read or write of a data file failed, kept from the statement that
// failed until the message about the operation says it: a full disk, a
// failing disk, a read-only file, another program holding the file.
namespace pelmar {

// SQLite's primary result code of an error (its extended code cut to the
// primary one), or -1 when the error carries none.
int sqliteCode(const QSqlError &error);
// The codes of a file another connection or program holds.
inline constexpr int kSqliteBusyCode = 5;
inline constexpr int kSqliteLockedCode = 6;

// Keeps the error of a statement that failed on the connection, replacing
// any kept before. Errors without a result code are not kept.
void noteFailure(const QSqlDatabase &db, const QSqlError &error);
// The error kept for the connection, which is then forgotten; an invalid
// error when none is kept.
QSqlError takeFailure(const QSqlDatabase &db);
void forgetFailure(const QSqlDatabase &db);

// What the error means for the user and what to do about it, for a full
// disk, a failing disk, a read-only file or folder, a file another program
// holds and a damaged file. Empty for any other error: the message of the
// operation then stands alone.
QString failureReason(const QSqlError &error, const QString &filePath);
// The same words for a file written other than through SQLite (a copy)
// that found no room on its disk.
QString diskFullReason(const QString &filePath);

// The lines a failure message ends with: the file, by its full path, and
// the reason (for an error not named above, the database's own words), for
// the failure last kept on the connection, which is then forgotten. Empty
// when none is kept.
QString failureDetail(const QSqlDatabase &db, const QString &filePath);
// The same for an error at hand.
QString failureDetail(const QSqlError &error, const QString &filePath);
// The same, the file being the one the connection is open on.
QString failureDetail(const QSqlDatabase &db);
// For an operation on both files: the first connection's failure, or else
// the second's. Both are forgotten.
QString failureDetail(const QSqlDatabase &first, const QSqlDatabase &second);

// The file a connection is open on, as a local path (a connection opened
// through a file: URI gives the path inside it).
QString fileOf(const QSqlDatabase &db);

} // namespace pelmar
