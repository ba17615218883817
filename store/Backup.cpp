#include "store/Backup.h"

#include "store/Database.h"
#include "store/Failure.h"
#include "store/SchemaVersion.h"
#include "store/Tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUuid>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <system_error>

namespace pelmar::backup {

namespace {

// Backups of one pool are rotated together; `kept` is the pool's.
enum class Pool { Daily, Registration, BulkDelete, Restore, Upgrade, Closing, PunchImport };

struct ReasonName {
    Reason reason;
    const char *tag;
    const char16_t *text;
    Pool pool;
    int kept;
};

constexpr std::array<ReasonName, 8> kReasons{{
    {Reason::Daily, "daily", u"毎日", Pool::Daily, kKeptDaily},
    {Reason::BulkDelete, "bulk-delete", u"一括削除前", Pool::BulkDelete, kKeptOfEachOperation},
    {Reason::Employees, "employees", u"従業員登録前", Pool::Registration, kKeptBeforeRegistration},
    {Reason::ShiftTypes, "shift-types", u"勤務形態登録前", Pool::Registration, kKeptBeforeRegistration},
    {Reason::Restore, "restore", u"復元前", Pool::Restore, kKeptOfEachOperation},
    {Reason::Upgrade, "upgrade", u"更新前", Pool::Upgrade, kKeptOfEachOperation},
    // At the window's close, when something was saved since the start: the
    // day's work, in a pool of its own as large as the daily one, so that
    // neither pushes the other out.
    {Reason::Closing, "closing", u"終了時", Pool::Closing, kKeptDaily},
    // Before punches from a time recorder's file are stored.
    {Reason::PunchImport, "punch-import", u"取込前", Pool::PunchImport, kKeptOfEachOperation},
}};

const ReasonName &nameOf(Reason reason)
{
    return *std::find_if(kReasons.begin(), kReasons.end(), [&](const ReasonName &r) { return r.reason == reason; });
}

const QString kDateFormat = QStringLiteral("yyyyMMdd-HHmmss");

// Pelmar-<date>-<time>-<reason>[-<n>].mdb; the number only when a second
// backup of the same reason was taken within the same second.
const QRegularExpression &namePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^Pelmar-(\\d{8}-\\d{6})-([a-z]+(?:-[a-z]+)*)(?:-(\\d+))?\\.mdb$"));
    return pattern;
}

struct Named {
    QString path;
    QDateTime taken;
    Reason reason;
    int sequence;
    QDateTime written; // orders backups of the same second
};

bool newerFirst(const Named &a, const Named &b)
{
    if (a.taken != b.taken)
        return a.taken > b.taken;
    if (a.sequence != b.sequence)
        return a.sequence > b.sequence;
    return a.written > b.written;
}

// Every file of the folder whose name is a backup's, newest first. Anything
// else in the folder (a temporary file, something the user put there) is
// not a backup and is left alone.
QList<Named> namedBackups(const QString &folder)
{
    QList<Named> found;
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("Pelmar-*.mdb")}, QDir::Files);
    for (const QFileInfo &file : files) {
        const QRegularExpressionMatch match = namePattern().match(file.fileName());
        if (!match.hasMatch())
            continue;
        const auto reason = std::find_if(kReasons.begin(), kReasons.end(), [&](const ReasonName &r) {
            return match.captured(2) == QLatin1String(r.tag);
        });
        const QDateTime taken = QDateTime::fromString(match.captured(1), kDateFormat);
        if (reason == kReasons.end() || !taken.isValid())
            continue;
        const int sequence = match.captured(3).isEmpty() ? 1 : match.captured(3).toInt();
        found << Named{file.absoluteFilePath(), taken, reason->reason, sequence, file.lastModified()};
    }
    std::sort(found.begin(), found.end(), newerFirst);
    return found;
}

// Runs `use` on a read-only connection of its own to the file; the
// connection is gone again when this returns. Empty, or why it failed.
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

// Empty when the whole file reads back sound.
QString integrityProblem(const QSqlDatabase &db)
{
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next())
        return QStringLiteral("データベースとして読めません。%1").arg(check.lastError().text());
    const QString verdict = check.value(0).toString();
    return verdict == QLatin1String("ok") ? QString() : QStringLiteral("データベースが壊れています: %1").arg(verdict);
}

int countRows(const QSqlDatabase &db, const Table &table)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select count(*) from ") + columnList({table.name})) || !query.next())
        return -1;
    return query.value(0).toInt();
}

// Newest first by when they were made, as a backup written at `now` sees
// them: one named later than `now` was made while the clock was wrong (or
// is wrong now), in any case before `now`, and ranks behind every backup
// named up to `now`.
void orderAsMade(QList<Named> &backups, const QDateTime &now)
{
    std::stable_sort(backups.begin(), backups.end(), [&](const Named &a, const Named &b) {
        const bool aLater = a.taken > now;
        const bool bLater = b.taken > now;
        return aLater != bLater ? bLater : newerFirst(a, b);
    });
}

// The oldest of each pool beyond what it keeps go, one by one; the backup
// just written stays whatever its name says.
void rotate(const QString &folder, const QString &justWritten, const QDateTime &now)
{
    QList<Named> backups = namedBackups(folder);
    orderAsMade(backups, now);
    std::map<Pool, int> seen;
    for (const Named &backup : std::as_const(backups)) {
        const ReasonName &name = nameOf(backup.reason);
        const int kept = ++seen[name.pool];
        if (kept > name.kept && backup.path != justWritten)
            QFile::remove(backup.path);
    }
}

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString reasonTag(Reason reason)
{
    for (const ReasonName &r : kReasons)
        if (r.reason == reason)
            return QLatin1String(r.tag);
    return {};
}

QString reasonText(Reason reason)
{
    for (const ReasonName &r : kReasons)
        if (r.reason == reason)
            return QString::fromUtf16(r.text);
    return {};
}

QString folderOf(const QString &dataFolder)
{
    return QDir(dataFolder).absoluteFilePath(QStringLiteral("backup"));
}

namespace {

// Writes a checked snapshot of `db` into the backup folder as <base>.mdb, or
// <base>-<n>.mdb when that name is taken. A failure leaves no file behind.
Outcome snapshot(const QSqlDatabase &db, const QString &folder, const QString &base)
{
    Outcome outcome;
    if (!db.isOpen()) {
        outcome.error = QStringLiteral("データベースが開いていません。");
        return outcome;
    }
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        outcome.error = QStringLiteral("バックアップの保存先 %1 を作れません。").arg(native(folder));
        return outcome;
    }

    QString finalPath = QDir(folder).filePath(base + QStringLiteral(".mdb"));
    for (int n = 2; QFileInfo::exists(finalPath); ++n)
        finalPath = QDir(folder).filePath(QStringLiteral("%1-%2.mdb").arg(base).arg(n));
    // Not a backup's name until it has been checked.
    const QString partial = QDir(folder).filePath(
        QStringLiteral(".incomplete-%1.tmp").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
    const auto fail = [&](const QString &why) {
        QFile::remove(partial);
        outcome.error = why;
        return outcome;
    };

    // The path is part of the statement's text (VACUUM INTO binds nothing),
    // so it goes in as a literal with its quotes doubled.
    QString literal = QDir::toNativeSeparators(partial);
    literal.replace(u'\'', QStringLiteral("''"));
    QSqlQuery vacuum(db);
    if (!vacuum.exec(QStringLiteral("VACUUM INTO '%1'").arg(literal))) {
        // A full or failing disk is said in the user's words.
        const QString reason = failureReason(vacuum.lastError(), partial);
        return fail(QStringLiteral("%1 に書き込めません。%2")
                        .arg(native(folder), reason.isEmpty() ? vacuum.lastError().text() : reason));
    }
    vacuum.finish();

    const QString problem = withReadOnly(partial, integrityProblem);
    if (!problem.isEmpty())
        return fail(QStringLiteral("書き込んだバックアップを確認できません。%1").arg(problem));
    if (!QFile::rename(partial, finalPath))
        return fail(QStringLiteral("%1 を作れません。").arg(native(finalPath)));
    outcome.path = finalPath;
    return outcome;
}

const QString kWorkBackupPrefix = QStringLiteral("PelmarWork-");

} // namespace

Outcome take(const QSqlDatabase &main, const QString &dataFolder, Reason reason, const QDateTime &when)
{
    const QString folder = folderOf(dataFolder);
    const Outcome outcome =
        snapshot(main, folder, QStringLiteral("Pelmar-%1-%2").arg(when.toString(kDateFormat), reasonTag(reason)));
    if (outcome.ok())
        rotate(folder, QFileInfo(outcome.path).absoluteFilePath(), when);
    return outcome;
}

Outcome takeWorkFile(const QSqlDatabase &work, const QString &dataFolder, const QDateTime &when)
{
    const QString folder = folderOf(dataFolder);
    const Outcome outcome = snapshot(work, folder, kWorkBackupPrefix + when.toString(kDateFormat));
    if (!outcome.ok())
        return outcome;
    // The newest few are kept; names sort by when they were taken, and one
    // named later than this one was taken while the clock was wrong, before
    // it. The one just written stays.
    const QString newest = QFileInfo(outcome.path).fileName();
    const QString stamp = kWorkBackupPrefix + when.toString(kDateFormat);
    QStringList taken =
        QDir(folder).entryList({kWorkBackupPrefix + QStringLiteral("*.mdb")}, QDir::Files, QDir::Name | QDir::Reversed);
    std::stable_partition(taken.begin(), taken.end(),
                          [&](const QString &name) { return name.left(stamp.size()) <= stamp; });
    for (qsizetype i = kKeptWorkFile; i < taken.size(); ++i)
        if (taken.at(i) != newest)
            QFile::remove(QDir(folder).filePath(taken.at(i)));
    return outcome;
}

QList<Info> list(const QString &dataFolder)
{
    QList<Info> result;
    for (const Named &named : namedBackups(folderOf(dataFolder))) {
        Info info{named.path, named.taken, named.reason, -1, -1};
        withReadOnly(named.path, [&](const QSqlDatabase &db) {
            info.employees = countRows(db, tables::従業員);
            info.statements = countRows(db, tables::時給ヘッダ);
            return QString();
        });
        result << info;
    }
    return result;
}

std::optional<Info> newestSound(const QString &dataFolder)
{
    for (const Info &info : list(dataFolder)) {
        const QString problem = withReadOnly(info.path, [](const QSqlDatabase &db) {
            QString found = integrityProblem(db);
            if (found.isEmpty())
                found = schemaProblem(db, SchemaKind::Main);
            return found;
        });
        if (problem.isEmpty())
            return info;
    }
    return std::nullopt;
}

QString describe(const Info &info)
{
    const auto count = [](int n) {
        return n < 0 ? QStringLiteral("?") : QString::number(n);
    };
    return QStringLiteral("%1 に取った%2のバックアップ（従業員 %3 名、明細 %4 件）")
        .arg(info.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")), reasonText(info.reason), count(info.employees),
             count(info.statements));
}

bool dailyBackupDue(const QString &dataFolder, const QDate &today)
{
    const QList<Named> backups = namedBackups(folderOf(dataFolder));
    return std::none_of(backups.begin(), backups.end(), [&](const Named &backup) {
        return backup.reason == Reason::Daily && backup.taken.date() == today;
    });
}

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
                problem =
                    QStringLiteral("新しい版の Pelmar で作られたバックアップです（版 %1）。").arg(upgraded.fromVersion);
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
        return QStringLiteral("フォルダー（%1）に書き込めません。読み取り専用になっていないか、書き込む権限があるかを"
                              "確かめてください。")
            .arg(native(folder));
    return QStringLiteral("%1 に書き込めません（%2）。").arg(native(path), target.errorString());
}

// Copies a file whole to a new name, unbuffered, so that a write the disk
// refuses is seen where it happens. Empty, or why not.
QString copyWhole(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("%1 を読めません（%2）。").arg(native(from), source.errorString());
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return copyFailure(target, to, source.size());
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return QStringLiteral("%1 を読めません（%2）。").arg(native(from), source.errorString());
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
        outcome.error = QStringLiteral("%1 がありません。").arg(native(backupPath));
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
        outcome.error = QStringLiteral("%1 は使えません。%2").arg(native(backupPath), problem);
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
        return fail(QStringLiteral("%1 を削除できません。").arg(native(journal)));
    std::error_code code;
    std::filesystem::rename(fsPath(checkedCopy), fsPath(mainDbPath), code);
    if (code)
        return fail(QStringLiteral("%1 を置き換えられません。%2")
                        .arg(native(mainDbPath), QString::fromLocal8Bit(code.message().c_str())));
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
        outcome.error = QStringLiteral("%1 を %2 として残せません。フォルダーに書き込めるか、ディスクに空きがあるかを"
                                       "確かめてください。")
                            .arg(native(filePath), native(aside));
        return outcome;
    }
    // The journal may hold what the file was missing when it broke.
    const QString journal = filePath + QStringLiteral("-journal");
    if (QFileInfo::exists(journal) && !secondName(journal, aside + QStringLiteral("-journal"))) {
        QFile::remove(aside);
        outcome.error = QStringLiteral("%1 を残せません。フォルダーに書き込めるか、ディスクに空きがあるかを確かめて"
                                       "ください。")
                            .arg(native(journal));
        return outcome;
    }
    outcome.path = aside;
    return outcome;
}

} // namespace pelmar::backup
