#include "store/NewInstallation.h"

#include "store/Backup.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Reasons.h"
#include "store/ShippedHints.h"
#include "store/Tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace pelmar {

namespace {

bool createFile(const QString &path, SchemaKind kind, QString *error)
{
    const QString name = QStringLiteral("pelmar-new-") + QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(kBusyTimeoutOption);
        if (!db.open()) {
            *error = db.lastError().text();
            ok = false;
        } else {
            Transaction transaction(db);
            if (!transaction.started()) {
                *error = db.lastError().text();
                ok = false;
            }
            // A new file has today's layout, and says so.
            const int version = kind == SchemaKind::Main ? kMainSchemaVersion : kWorkSchemaVersion;
            const QStringList statements = sqlStatements(QString::fromUtf8(schemaSql(kind)))
                << QStringLiteral("PRAGMA user_version = %1").arg(version);
            // A new file's connection is gone with this function: the error
            // goes with the answer, not to the connection.
            Query query(db, OnFailure::Answer);
            for (const QString &statement : ok ? statements : QStringList()) {
                if (!query.run(statement)) {
                    *error = query.error().text();
                    ok = false;
                    break;
                }
            }
            // A new work file starts with the help text of every hint button.
            if (ok && kind == SchemaKind::Work && !addShippedHints(db, error))
                ok = false;
            if (ok && !transaction.commit()) {
                *error = db.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

bool createNewInstallation(const QString &folder, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    const QDir dir(folder);
    const QString mainPath = dir.filePath(kMainDbFileName);
    const QString workPath = dir.filePath(kWorkDbFileName);
    for (const QString &path : {mainPath, workPath}) {
        if (QFile::exists(path)) {
            *error = reasons::dataExists(QDir::toNativeSeparators(path));
            return false;
        }
    }
    if (!QDir().mkpath(dir.absolutePath())) {
        *error = reasons::cannotMakeFolder(QDir::toNativeSeparators(folder));
        return false;
    }
    if (createFile(mainPath, SchemaKind::Main, error) && createFile(workPath, SchemaKind::Work, error))
        return true;
    QFile::remove(mainPath);
    QFile::remove(workPath);
    return false;
}

bool createWorkFile(const QString &folder, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    const QString workPath = QDir(folder).filePath(kWorkDbFileName);
    if (QFile::exists(workPath)) {
        *error = reasons::fileExists(QDir::toNativeSeparators(workPath));
        return false;
    }
    if (!QDir().mkpath(QDir(folder).absolutePath())) {
        *error = reasons::cannotMakeFolder(QDir::toNativeSeparators(folder));
        return false;
    }
    if (createFile(workPath, SchemaKind::Work, error))
        return true;
    QFile::remove(workPath);
    return false;
}

namespace {

// Copies every hint row the old file still gives into the new one, in one
// transaction, over the shipped help of the same button. A read that breaks off keeps the rows read before it.
void takeOverHints(const QString &oldPath, const QString &newPath, WorkFileRenewal &renewal)
{
    const QString oldName = QStringLiteral("pelmar-oldwork-") + QUuid::createUuid().toString();
    const QString newName = QStringLiteral("pelmar-newwork-") + QUuid::createUuid().toString();
    {
        QSqlDatabase old = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), oldName);
        old.setDatabaseName(oldPath);
        old.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;") + kBusyTimeoutOption);
        QSqlDatabase fresh = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), newName);
        fresh.setDatabaseName(newPath);
        QList<QVariantList> rows;
        if (old.open()) {
            Query read(old, OnFailure::Answer);
            if (read.run(selectSql(tables::ClHint, tables::ClHint.columns, QStringLiteral("order by rowid")))) {
                while (read.next())
                    rows << read.values(tables::ClHint.columns.size());
                renewal.hintsLost = read.failed();
            } else {
                renewal.hintsLost = true;
            }
        } else {
            renewal.hintsLost = true;
        }
        if (!rows.isEmpty() && fresh.open()) {
            Transaction transaction(fresh);
            bool written = transaction.started();
            // A text the old file holds for a button takes the place of the
            // shipped help for it; buttons the old file has no text for keep
            // the shipped help.
            for (const QVariantList &row : std::as_const(rows))
                written = written
                    && execBound(fresh, QStringLiteral("delete from ClHint where FormName = ? and CtlName = ?"),
                                 {row.value(0), row.value(1)})
                    && insertRow(fresh, tables::ClHint, tables::ClHint.columns, row);
            if (written && transaction.commit())
                renewal.hintsKept = int(rows.size());
            else
                renewal.hintsLost = true;
        }
        old.close();
        fresh.close();
    }
    QSqlDatabase::removeDatabase(oldName);
    QSqlDatabase::removeDatabase(newName);
}

} // namespace

WorkFileRenewal renewWorkFile(const QString &workPath, const QDateTime &when)
{
    WorkFileRenewal renewal;
    const QFileInfo work(workPath);
    const QString fresh = work.absoluteDir().filePath(
        QStringLiteral("%1.new-%2.tmp").arg(work.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces)));
    QString why;
    if (!createFile(fresh, SchemaKind::Work, &why)) {
        QFile::remove(fresh);
        renewal.error = reasons::cannotMakeNewFile(QDir::toNativeSeparators(work.absolutePath()), why);
        return renewal;
    }
    const bool oldThere = work.exists();
    if (oldThere) {
        takeOverHints(workPath, fresh, renewal);
        const backup::Outcome kept = backup::keepAside(workPath, when);
        if (!kept.ok()) {
            QFile::remove(fresh);
            renewal.error = kept.error;
            return renewal;
        }
        renewal.keptAside = kept.path;
    }
    // On failure the old file keeps its name, and its kept copy stays too.
    if (!backup::replaceFile(fresh, workPath, &why))
        renewal.error = why;
    return renewal;
}

} // namespace pelmar
