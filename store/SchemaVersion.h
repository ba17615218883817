#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

namespace pelmar {

// Each data file carries the version of its layout in PRAGMA user_version.
// These are the versions store/schema/*.sql describe; a new installation is
// written at them, and an older file is upgraded to them when it is opened.
inline constexpr int kMainSchemaVersion = 6;
inline constexpr int kWorkSchemaVersion = 3;

// Files written before the layout had a version carry 0; they have the
// layout of version 1.
inline constexpr int kFirstSchemaVersion = 1;

// The statements that take a file from toVersion - 1 to toVersion.
struct Upgrade {
    int toVersion = 0;
    QStringList statements;
};

// Every step so far, oldest first.
const QList<Upgrade> &mainUpgrades();
const QList<Upgrade> &workUpgrades();

// The version a file ought to reach and the steps that lead there.
struct SchemaHistory {
    int currentVersion = 0;
    QList<Upgrade> upgrades;
};

// The version stored in the file (0 for a file from before versions), or -1
// when it cannot be read; *error then says why.
int storedSchemaVersion(const QSqlDatabase &db, QString *error = nullptr);

// The version of the layout a file with this stored version has.
int layoutVersion(int storedVersion);

struct UpgradeResult {
    enum class Outcome {
        UpToDate, // already current: nothing done, no backup asked
        Upgraded, // every step ran and the new version is stored
        TooNew, // written by a newer program: untouched
        NoBackup, // no way to take a copy first: untouched
        BackupFailed, // the copy could not be taken: untouched
        Failed, // a step, the check or the commit failed: rolled back, untouched
    };
    Outcome outcome = Outcome::Failed;
    int fromVersion = 0; // the layout version the file had
    int toVersion = 0; // the version it has now, or would have had
    QString error; // why a step, the check or the commit failed
    bool ok() const { return outcome == Outcome::UpToDate || outcome == Outcome::Upgraded; }
};

// Brings db from its stored version to currentVersion. All the steps after
// the file's version run in one transaction that ends by storing the new
// version; any failure rolls the whole of it back. backupFirst runs before
// anything changes and only when there is something to do; when it is empty
// or returns false the file is left alone. checkBeforeCommit, when given,
// looks at the upgraded file inside the transaction: a non-empty answer is a
// problem that rolls the upgrade back.
UpgradeResult upgrade(QSqlDatabase &db, const QList<Upgrade> &steps, int currentVersion,
                      const std::function<bool()> &backupFirst, const std::function<QString()> &checkBeforeCommit = {});

} // namespace pelmar
