// Restoring a backup and the files around it: the checked copy that takes
// the main file's place, the leftovers of a restore that was cut off, and a
// damaged file kept aside.

#include "store/Backup.h"

#include "store/BackupFiles.h"
#include "store/Database.h"
#include "store/Failure.h"
#include "store/Reasons.h"
#include "store/SchemaVersion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QStorageInfo>
#include <QUuid>

#include <filesystem>
#include <system_error>

namespace pelmar::backup {

namespace {

// A backup taken by an older Pelmar has that version's layout: its copy is
// brought to today's layout, as opening would, before it takes the main
// file's place. The backup itself stays as it was, so nothing needs a
// backup first. Empty, or why the copy cannot be used.
QString upgradeCopy(const QString &copy)
{
    const QString name = QStringLiteral("pelmar-restore-") + QUuid::createUuid().toString();
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(copy);
        db.setConnectOptions(kBusyTimeoutOption);
        if (!db.open()) {
            problem = db.lastError().text();
        } else {
            const SchemaHistory history = schemaHistory(SchemaKind::Main);
            const UpgradeResult upgraded = upgrade(
                db, history.upgrades, history.currentVersion, [] { return true; },
                [&] { return schemaProblem(db, SchemaKind::Main); });
            if (upgraded.outcome == UpgradeResult::Outcome::TooNew)
                problem = reasons::backupTooNew(upgraded.fromVersion);
            else if (!upgraded.ok())
                problem = upgraded.error;
            else
                problem = schemaProblem(db, SchemaKind::Main);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

} // namespace

namespace {

// Why a copy could not be written, in the user's words where they are known.
QString copyFailure(const QFile &target, const QString &path, qint64 needed)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QStorageInfo disk(folder);
    if (target.error() == QFileDevice::ResourceError || (disk.isValid() && disk.bytesAvailable() < needed))
        return diskFullReason(path);
    if (!QFileInfo(folder).isWritable())
        return reasons::folderNotWritable(native(folder));
    return reasons::cannotWriteFile(native(path), target.errorString());
}

// Copies a file whole to a new name, unbuffered, so that a write the disk
// refuses is seen where it happens. Empty, or why not.
QString copyWhole(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return reasons::cannotRead(native(from), source.errorString());
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return copyFailure(target, to, source.size());
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return reasons::cannotRead(native(from), source.errorString());
        if (target.write(chunk) != chunk.size())
            return copyFailure(target, to, source.size() - target.pos());
    }
    target.close();
    if (target.error() != QFileDevice::NoError)
        return copyFailure(target, to, 0);
    return {};
}

} // namespace

Outcome prepareRestore(const QString &backupPath, const QString &mainDbPath)
{
    Outcome outcome;
    if (!QFileInfo(backupPath).isFile()) {
        outcome.error = reasons::missingFile(native(backupPath));
        return outcome;
    }
    const QFileInfo mainFile(mainDbPath);
    // Beside the main file, so the final rename stays on one file system.
    const QString copy = mainFile.absoluteDir().filePath(
        QStringLiteral("%1.restore-%2.tmp")
            .arg(mainFile.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces)));
    if (const QString why = copyWhole(backupPath, copy); !why.isEmpty()) {
        QFile::remove(copy);
        outcome.error = why;
        return outcome;
    }
    QFile::setPermissions(copy, mainFile.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    QString problem = withReadOnly(copy, integrityProblem);
    if (problem.isEmpty())
        problem = upgradeCopy(copy);
    if (!problem.isEmpty()) {
        QFile::remove(copy);
        outcome.error = reasons::unusableBackup(native(backupPath), problem);
        return outcome;
    }
    outcome.path = copy;
    return outcome;
}

bool replaceMainFile(const QString &checkedCopy, const QString &mainDbPath, QString *error)
{
    return replaceFile(checkedCopy, mainDbPath, error);
}

bool replaceFile(const QString &checkedCopy, const QString &mainDbPath, QString *error)
{
    const auto fail = [&](const QString &why) {
        QFile::remove(checkedCopy);
        if (error)
            *error = why;
        return false;
    };
    // With the main file closed, a rollback journal still beside it belongs
    // to the file being replaced; left there, the next open would play it
    // back into the restored file.
    const QString journal = mainDbPath + QStringLiteral("-journal");
    if (QFileInfo::exists(journal) && !QFile::remove(journal))
        return fail(reasons::cannotDelete(native(journal)));
    std::error_code code;
    std::filesystem::rename(fsPath(checkedCopy), fsPath(mainDbPath), code);
    if (code)
        return fail(reasons::cannotReplace(native(mainDbPath), QString::fromLocal8Bit(code.message().c_str())));
    return true;
}

namespace {

// The names snapshot(), prepareRestore() and renewWorkFile() write under
// until a file is checked; the id is a UUID, so no name a user gives a file
// looks like one.
const QRegularExpression &leftoverPattern(bool inBackupFolder)
{
    static const QString id = QStringLiteral("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
    static const QRegularExpression inBackups(QStringLiteral("^\\.incomplete-%1\\.tmp(-journal)?$").arg(id));
    static const QRegularExpression inData(
        QStringLiteral("^(Pelmar\\.mdb\\.restore|PelmarWork\\.mdb\\.new)-%1\\.tmp(-journal)?$").arg(id));
    return inBackupFolder ? inBackups : inData;
}

} // namespace

Leftovers removeLeftovers(const QString &dataFolder)
{
    Leftovers found;
    for (const bool inBackupFolder : {false, true}) {
        const QDir folder(inBackupFolder ? folderOf(dataFolder) : dataFolder);
        const QFileInfoList files = folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo &file : files) {
            if (file.isSymLink() || !leftoverPattern(inBackupFolder).match(file.fileName()).hasMatch())
                continue;
            const qint64 size = file.size();
            if (QFile::remove(file.absoluteFilePath())) {
                ++found.removed;
                found.bytes += size;
            } else {
                found.kept << file.absoluteFilePath();
            }
        }
    }
    return found;
}

namespace {

// A second name for the file, or a copy of it where the file system has no
// such names. True when the new name holds the whole file.
bool secondName(const QString &from, const QString &to)
{
    std::error_code code;
    std::filesystem::create_hard_link(fsPath(from), fsPath(to), code);
    if (!code)
        return true;
    QFile::remove(to);
    if (QFile::copy(from, to) && QFileInfo(to).size() == QFileInfo(from).size())
        return true;
    QFile::remove(to);
    return false;
}

} // namespace

Outcome keepAside(const QString &filePath, const QDateTime &when)
{
    Outcome outcome;
    const QFileInfo file(filePath);
    const QString base = QStringLiteral("%1-damaged-%2").arg(file.completeBaseName(), when.toString(kDateFormat));
    QString aside = file.absoluteDir().filePath(base + u'.' + file.suffix());
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = file.absoluteDir().filePath(QStringLiteral("%1-%2.%3").arg(base).arg(n).arg(file.suffix()));
    if (!secondName(filePath, aside)) {
        outcome.error = reasons::cannotKeepAside(native(filePath), native(aside));
        return outcome;
    }
    // The journal may hold what the file was missing when it broke.
    const QString journal = filePath + QStringLiteral("-journal");
    if (QFileInfo::exists(journal) && !secondName(journal, aside + QStringLiteral("-journal"))) {
        QFile::remove(aside);
        outcome.error = reasons::cannotKeepJournalAside(native(journal));
        return outcome;
    }
    outcome.path = aside;
    return outcome;
}

} // namespace pelmar::backup
