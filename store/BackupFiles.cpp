#include "store/BackupFiles.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Reasons.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QUuid>

namespace pelmar::backup {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString withReadOnly(const QString &path, const std::function<QString(const QSqlDatabase &)> &use)
{
    QString error;
    const QString name = QStringLiteral("pelmar-backup-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;") + kBusyTimeoutOption);
        error = db.open() ? use(db) : db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

QString integrityProblem(const QSqlDatabase &db)
{
    Query check(db, OnFailure::Answer);
    const QVariant verdict = check.single(QStringLiteral("PRAGMA integrity_check"));
    if (!verdict.isValid())
        return reasons::unreadable(check.error().text());
    return verdict.toString() == QLatin1String("ok") ? QString() : reasons::damaged(verdict.toString());
}

} // namespace pelmar::backup
