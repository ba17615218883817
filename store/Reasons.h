#pragma once

#include <QString>

// The sentences the data files' code gives the user when something cannot
// be done: why, and what to do about it. Kept together so that the words of
// one kind of trouble are the same wherever it is met.
namespace pelmar::reasons {

// Why a write to a data file failed, and what to do about it.
QString fileReadOnly();
QString folderReadOnly(const QString &folder);
QString diskFailed();
QString fileInUse();
QString fileOrFolderReadOnly(const QString &folder);
QString workFileDamaged();
QString mainFileDamaged();
QString diskFull(const QString &folder);
// Any other error, as the database put it.
QString databaseRefused(const QString &error);
// The lines a failure message ends with.
QString fileAndReason(const QString &file, const QString &reason);
// Why a data file cannot be opened at start-up, and what to do about it.
QString heldAtStart();
QString keepDamagedWorkFile();
QString keepDamagedMainFile(const QString &backupFolder);
QString notADataFile(const QString &error);
QString readOnlyAtStart();
QString folderReadOnlyAtStart(const QString &folder);
QString cannotWriteAtStart(const QString &error);
QString missingTable(const QString &table);
QString missingColumn(const QString &table, const QString &column);
QString cannotOpen(const QString &file, const QString &reason);
QString noFile();
QString notAFile();
QString noReadPermission();
QString emptyFile();
QString versionUnreadable(const QString &error);
QString negativeVersion(int version);
// The record of the copy taken before a file is upgraded.
QString copyBeforeUpgrade(const QString &file, int from, int to);
QString tooNewToOpen(int version);
QString noCopyBeforeUpgrade(int from, int to);
QString copyBeforeUpgradeFailed(int from, int to);
QString causeUnknown();
QString upgradeFailed(int from, int to, const QString &why);
QString notOurFileOrDamaged();
QString interruptedWrite();
QString tooNewToRead(int version);
QString tooOldToRead(int version, int current);
// Why a backup or a copy of a data file cannot be made or used.
QString unreadable(const QString &error);
QString damaged(const QString &findings);
QString notOpen();
QString cannotMakeBackupFolder(const QString &folder);
QString cannotWriteInto(const QString &folder, const QString &why);
QString backupUnchecked(const QString &problem);
QString cannotCreate(const QString &path, const QString &why);
// A backup as the restore list names it.
QString describeBackup(const QString &taken, const QString &reason, const QString &employees,
                       const QString &statements);
QString backupTooNew(int version);
QString folderNotWritable(const QString &folder);
QString cannotWriteFile(const QString &path, const QString &error);
QString cannotRead(const QString &path, const QString &error);
QString missingFile(const QString &path);
QString unusableBackup(const QString &path, const QString &problem);
QString cannotDelete(const QString &path);
QString cannotReplace(const QString &path, const QString &why);
QString cannotKeepAside(const QString &file, const QString &aside);
QString cannotKeepJournalAside(const QString &journal);
// Why an upgrade stopped, for the message that says the file is unchanged.
QString noUpgradeStep(int version);
QString upgradeStepFailed(int version, const QString &error);
QString cannotOpenFile(const QString &error);
// Why the files of a new installation cannot be made.
QString dataExists(const QString &path);
QString cannotMakeFolder(const QString &folder);
QString fileExists(const QString &path);
QString cannotMakeNewFile(const QString &folder, const QString &why);
// Why a report or CSV cannot be written where the user asked.
QString noExportName();
QString exportIsFolder();
QString exportNotRegularFile();
QString exportLinkLeadsNowhere(const QString &target);
QString exportInDataFolder(const QString &folder);
QString exportOverDatabase();
QString standardOutputFailed();
QString exportFolderMissing(const QString &folder);

// What start-up tells about a damaged file and its repair.
QString newestSoundBackup(const QString &backup);
QString backupFolderLine(const QString &folder);
QString hintsTakenOver(int count);
QString hintsLost();
QString oldFileKeptAs(const QString &path);
QString restoredFrom(const QString &backup, const QString &keptAside);
QString upgradedFile(const QString &file, int from, int to);
QString leftoversRemoved(int count, qint64 bytes);
QString leftoverKept(const QString &path);
// Who holds the data folder's lock file, and why a second copy cannot start.
QString lockDetailUnknown();
QString unknownLockContents();
QString onThisComputer(qint64 pid);
QString lockHolder(const QString &file, const QString &computer, const QString &user, const QString &since);
QString cannotGuardDataFolder(const QString &folder, const QString &lockFile);

} // namespace pelmar::reasons
