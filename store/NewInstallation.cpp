#include "store/NewInstallation.h"

#include "store/Database.h"
#include "store/ShippedHints.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
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
            // A new file has today's layout, and says so.
            const int version = kind == SchemaKind::Main ? kMainSchemaVersion : kWorkSchemaVersion;
            const QStringList statements = sqlStatements(QString::fromUtf8(schemaSql(kind)))
                << QStringLiteral("PRAGMA user_version = %1").arg(version);
            for (const QString &statement : statements) {
                QSqlQuery query(db);
                if (!query.exec(statement)) {
                    *error = query.lastError().text();
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
            *error =
                QStringLiteral("%1 は既にあります。既存のデータは上書きしません。").arg(QDir::toNativeSeparators(path));
            return false;
        }
    }
    if (!QDir().mkpath(dir.absolutePath())) {
        *error = QStringLiteral("フォルダ %1 を作れません。").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    if (createFile(mainPath, SchemaKind::Main, error) && createFile(workPath, SchemaKind::Work, error))
        return true;
    QFile::remove(mainPath);
    QFile::remove(workPath);
    return false;
}

} // namespace pelmar
