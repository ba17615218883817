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

// The lines a failure message ends with: the file, by its full path, and
// the reason, for the failure last kept on the connection (which is then
// forgotten). Empty when none is kept or its reason is not one of those.
QString failureDetail(const QSqlDatabase &db, const QString &filePath);
// The same for an error at hand.
QString failureDetail(const QSqlError &error, const QString &filePath);

} // namespace pelmar
