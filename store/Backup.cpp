#include "store/Backup.h"

#include "store/BackupFiles.h"
#include "store/Database.h"
#include "store/Failure.h"
#include "store/Query.h"
#include "store/Reasons.h"
#include "store/Tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include <algorithm>
#include <array>
#include <filesystem>
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

int countRows(const QSqlDatabase &db, const Table &table)
{
    const QVariant count =
        Query(db, OnFailure::Answer).single(QStringLiteral("select count(*) from ") + columnList({table.name}));
    return count.isValid() ? count.toInt() : -1;
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

// Gives the checked snapshot its name, <base>.mdb or <base>-<n>.mdb: the
// first that is free when it is taken. Another copy of the program may be
// writing a backup of the same second at the same moment, so a name is not
// looked at first and used after: a second name for the file (a hard link)
// is refused by the file system when the name exists, and a refused name is
// followed by the next number. Where the file system has no second names
// (FAT), a rename that checks the name first is the best there is. The new
// path, or empty with why.
QString placeUnder(const QString &partial, const QString &folder, const QString &base, QString *why)
{
    constexpr int kMostOfOneSecond = 1000;
    for (int n = 1; n <= kMostOfOneSecond; ++n) {
        const QString path = QDir(folder).filePath(n == 1 ? base + QStringLiteral(".mdb")
                                                          : QStringLiteral("%1-%2.mdb").arg(base).arg(n));
        std::error_code linkError;
        std::filesystem::create_hard_link(fsPath(partial), fsPath(path), linkError);
        if (!linkError) {
            QFile::remove(partial);
            return path;
        }
        if (linkError == std::errc::file_exists || QFileInfo::exists(path))
            continue;
        QFile file(partial);
        if (file.rename(path))
            return path;
        if (QFileInfo::exists(path))
            continue;
        *why = reasons::cannotCreate(native(path), file.errorString());
        return {};
    }
    *why = reasons::cannotCreate(native(QDir(folder).filePath(base + QStringLiteral(".mdb"))),
                                 QStringLiteral("同じ時刻のバックアップが多すぎます。"));
    return {};
}

// Writes a checked snapshot of `db` into the backup folder as <base>.mdb, or
// <base>-<n>.mdb when that name is taken. A failure leaves no file behind.
Outcome snapshot(const QSqlDatabase &db, const QString &folder, const QString &base)
{
    Outcome outcome;
    if (!db.isOpen()) {
        outcome.error = reasons::notOpen();
        return outcome;
    }
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        outcome.error = reasons::cannotMakeBackupFolder(native(folder));
        return outcome;
    }

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
    // The backup's outcome says why it failed; the connection keeps nothing.
    Query vacuum(db, OnFailure::Answer);
    if (!vacuum.run(QStringLiteral("VACUUM INTO '%1'").arg(literal))) {
        // A full or failing disk is said in the user's words.
        const QString reason = failureReason(vacuum.error(), partial);
        return fail(reasons::cannotWriteInto(native(folder), reason.isEmpty() ? vacuum.error().text() : reason));
    }
    vacuum.finish();

    const QString problem = withReadOnly(partial, integrityProblem);
    if (!problem.isEmpty())
        return fail(reasons::backupUnchecked(problem));
    QString why;
    outcome.path = placeUnder(partial, folder, base, &why);
    if (outcome.path.isEmpty())
        return fail(why);
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
    return reasons::describeBackup(info.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")), reasonText(info.reason),
                                   count(info.employees), count(info.statements));
}

bool dailyBackupDue(const QString &dataFolder, const QDate &today)
{
    const QList<Named> backups = namedBackups(folderOf(dataFolder));
    return std::none_of(backups.begin(), backups.end(), [&](const Named &backup) {
        return backup.reason == Reason::Daily && backup.taken.date() == today;
    });
}

} // namespace pelmar::backup
