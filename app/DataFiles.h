#pragma once

#include "app/StartPreparation.h"
#include "store/Database.h"
#include "store/ProgramState.h"

#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace pelmar {

// The two data files behind one main window: opening them (an older layout is
// upgraded after a copy of the main file), the day's first backup, putting a
// backup in the place of the main file, and closing. The window keeps the
// pages; this keeps the files and their connections.
class DataFiles {
public:
    explicit DataFiles(ProgramState &state) : m_state(state) {}
    ~DataFiles();
    DataFiles(const DataFiles &) = delete;
    DataFiles &operator=(const DataFiles &) = delete;

    // Opens both files of the data folder into the program state. On failure
    // nothing stays open and openError() names the file and the reason.
    // A damaged main file is not simply refused: the newest backup that
    // reads back whole is offered in its place (the damaged file is kept
    // under another name), and a missing or damaged work file beside a sound
    // main file is offered anew. Each offer is a question; No refuses, as
    // does an offer that cannot be made, and leaves every file as it was.
    bool open(const QString &dataPath);
    QString openError() const { return m_openError; }

    // Checks the folder's files and readies the work tables (prepareStart)
    // on a thread of its own, for the window to build its pages meanwhile.
    // open() of the same folder waits for it and, when it found both files
    // sound, opens them without checking again; otherwise it opens them as
    // it always does, asking and telling what it must.
    void startPreparing(const QString &dataPath);
    // What that left ready for the pages, once open() used it; taken once.
    ReadyAtStart takeReadyAtStart() { return std::exchange(m_ready, {}); }
    // The files that opening upgraded, as the notice names them.
    QStringList upgradedFiles() const { return m_upgradedFiles; }
    QString workConnection() const { return m_workConnection; }

    // What start-up leaves for later, once the window is up: both files read
    // whole (opening reads only their headers and table lists, the same for
    // any amount of data) and the day's first copy of the main file.
    struct AfterStart {
        QString mainProblem; // empty when the main file read back sound
        QString workProblem;
        bool dailyTaken = false;
        QString dailyError; // a daily backup was due and could not be made
        backup::Leftovers leftovers; // removed at start, before the files were opened
    };
    // Runs that work on a thread of its own, with connections of its own, so
    // the window answers meanwhile. `done` runs on the caller's thread, while
    // `context` lives, when all of it is over.
    void startAfterStartWork(QObject *context, std::function<void(const AfterStart &)> done);
    // Blocks until that work is over: before the files are closed or replaced.
    void waitForAfterStartWork();
    // Tells a daily backup that could not be taken. What the check found
    // in the files themselves is for the two offers below.
    void tellFindings(const AfterStart &found) const;
    // The check after start-up found the main file damaged: offers the
    // newest backup that reads back whole, naming it, or says that there is
    // none. The backup's path when the user chose to restore it.
    QString offerBackupForDamagedMain(const QString &problem) const;
    // The check after start-up found the work file damaged: true when the
    // user chose a new one (renewWorkFile).
    bool offerNewWorkFile(const QString &problem) const;

    // Puts a checked copy of the backup in the place of the main file, after
    // a backup of the file as it is now, and reopens it. Anything that fails
    // before the replace leaves the file untouched; every failure is told.
    // backupsChanged runs whenever the backup folder gained a file. True when
    // the pages must be read again from the restored file.
    // A damaged main file is not backed up (its copy could push a sound
    // backup out of the kept ones): it is kept under another name instead,
    // which keptAside() then gives.
    enum class CurrentFile { BackUp, KeepAsideDamaged };
    bool restore(const QString &backupPath, const std::function<void()> &backupsChanged,
                 CurrentFile current = CurrentFile::BackUp);
    QString keptAside() const { return m_keptAside; }

    // Puts a new work file in the place of the open one, taking over its hint
    // texts as far as they can be read and keeping the old file under
    // another name, then reopens. Every model on the work connection must be
    // gone by then. Tells how it went; true when a new file is open.
    bool renewWorkFile();

    // Empties the saved statements and all master data of the main file, after
    // a safety copy of it; without that copy nothing is deleted. Every
    // failure is told. backupsChanged runs when the backup folder gained a file.
    bool deleteEverything(const std::function<void()> &backupsChanged);

    // Closes both connections; every model on them must be gone by then.
    void close();

private:
    // Waits for the preparation; what it found, when it was for this folder.
    std::optional<StartPreparation> finishPreparing(const QString &dataPath);
    // Opens both files as the preparation found them; false leaves nothing open.
    bool openPrepared();
    bool openFile(const QString &path, SchemaKind kind, const char *tag, QString &connection, QSqlDatabase &db);
    bool openMainOrOfferBackup();
    bool openWorkOrOfferNew();
    // The damaged main file, closed, gives way to a checked copy of the
    // backup; it is kept under another name. Says why not on failure.
    bool replaceDamagedMain(const QString &backupPath, QString *why);
    // Makes the (closed) work file new and tells how it went.
    bool makeNewWorkFile(QString *why);

    ProgramState &m_state;
    QString m_mainConnection;
    QString m_workConnection;
    QString m_openError;
    QStringList m_upgradedFiles;
    QString m_lastDamage; // what the last refused file was found to be, when damaged
    QString m_keptAside;
    std::unique_ptr<QThread> m_afterStart;
    std::unique_ptr<QThread> m_preparing;
    std::shared_ptr<StartPreparation> m_preparation;
    QString m_preparedFolder;
    ReadyAtStart m_ready;
    backup::Leftovers m_leftovers;
};

} // namespace pelmar
