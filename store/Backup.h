#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// Snapshots of the main file in <data folder>/backup/, taken while it is
// open, and the checked copy a restore puts in its place.
namespace pelmar::backup {

// Why a backup was taken; the tag is part of the file name.
enum class Reason { Daily, BulkDelete, Employees, ShiftTypes, Restore, Upgrade, Closing, PunchImport };

QString reasonTag(Reason reason); // "daily", "bulk-delete", …
QString reasonText(Reason reason); // what the settings page shows: 毎日, 一括削除前, …

// How many are kept. Each pool is rotated on its own, so that a run of one
// kind never pushes out the backup of another: the daily ones; the ones
// taken before 登録 on the employee and shift-type masters, together; and
// the ones before a bulk delete, before a restore and before an upgrade,
// each kind by itself.
inline constexpr int kKeptDaily = 14;
inline constexpr int kKeptBeforeRegistration = 20;
inline constexpr int kKeptOfEachOperation = 5;

// <data folder>/backup
QString folderOf(const QString &dataFolder);

struct Outcome {
    QString path; // the new backup, when one was made
    QString error; // empty on success; otherwise says why, in the user's words
    bool ok() const { return error.isEmpty(); }
};

// Writes a snapshot of the open main database to the backup folder as
// Pelmar-<yyyyMMdd>-<HHmmss>-<reason>.mdb, stamped with `when`. The snapshot
// is written under a temporary name, checked on a connection of its own and
// only then given its name; then the oldest backups of its pool beyond what
// is kept go. Oldest is by when a backup was made: one named later than
// `when` was made while the clock was wrong, before this one, and goes
// first; the backup just written never goes.
// A failure leaves no file behind and removes no older backup. `main` must
// not be inside a transaction.
Outcome take(const QSqlDatabase &main, const QString &dataFolder, Reason reason, const QDateTime &when);

// Writes a checked snapshot of the open work file to the backup folder as
// PelmarWork-<yyyyMMdd>-<HHmmss>.mdb before its layout is upgraded; the newest
// kKeptWorkFile of them are kept. These are not main-file backups: list()
// leaves them out and a restore cannot pick them.
inline constexpr int kKeptWorkFile = 5;
Outcome takeWorkFile(const QSqlDatabase &work, const QString &dataFolder, const QDateTime &when);

struct Info {
    QString path;
    QDateTime taken;
    Reason reason = Reason::Daily;
    int employees = -1; // -1 when the file cannot be read
    int statements = -1;
};

// Every backup in the data folder's backup folder, newest first.
QList<Info> list(const QString &dataFolder);

// The newest backup that reads back whole (PRAGMA integrity_check) and
// holds every table and column of the main file; nothing when none does.
std::optional<Info> newestSound(const QString &dataFolder);

// A backup as a message names it: when it was taken and why, and how many
// employees and statements it holds.
QString describe(const Info &info);

// True when no daily backup was taken on `today`.
bool dailyBackupDue(const QString &dataFolder, const QDate &today);

// Copies a backup to a temporary file beside the main file and checks it: a
// sound database holding every table and column of the main schema, a
// backup of an older layout being upgraded in the copy first. The
// copy's path on success; otherwise nothing is left behind and the error says
// why.
Outcome prepareRestore(const QString &backupPath, const QString &mainDbPath);

// Puts a checked copy in the place of the main file in one rename. The main
// file must be closed by then. On failure the main file is as it was and the
// copy is removed.
bool replaceMainFile(const QString &checkedCopy, const QString &mainDbPath, QString *error);
// The same for any data file.
bool replaceFile(const QString &checkedCopy, const QString &filePath, QString *error);

// What an interrupted backup, restore or renewal of the work file left in
// the data folder and its backup folder: files under the temporary names
// Pelmar gives them (backup/.incomplete-<id>.tmp, Pelmar.mdb.restore-<id>.tmp,
// PelmarWork.mdb.new-<id>.tmp, each with its journal) and nothing else.
// Only for a start that holds the folder's lock: a running copy may be
// writing one.
struct Leftovers {
    int removed = 0;
    qint64 bytes = 0; // what they took on the disk
    QStringList kept; // leftovers that could not be removed
};
Leftovers removeLeftovers(const QString &dataFolder);

// Keeps a damaged data file under a name that says what it is, beside it:
// Pelmar.mdb as Pelmar-damaged-<yyyyMMdd>-<HHmmss>.mdb, PelmarWork.mdb as
// PelmarWork-damaged-….mdb, its rollback journal alongside. The file keeps
// its own name as well (a second name on the same file where the file
// system allows, a copy otherwise), so a replace that follows never leaves
// the folder without the file. The kept file's path on success.
Outcome keepAside(const QString &filePath, const QDateTime &when);

} // namespace pelmar::backup
