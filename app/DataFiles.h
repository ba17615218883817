#pragma once

#include "store/Database.h"
#include "store/ProgramState.h"

#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>
#include <memory>

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
    bool open(const QString &dataPath);
    QString openError() const { return m_openError; }
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
    };
    // Runs that work on a thread of its own, with connections of its own, so
    // the window answers meanwhile. `done` runs on the caller's thread, while
    // `context` lives, when all of it is over.
    void startAfterStartWork(QObject *context, std::function<void(const AfterStart &)> done);
    // Blocks until that work is over: before the files are closed or replaced.
    void waitForAfterStartWork();
    // Tells what the work after start-up found: a damaged file, by name, and
    // a daily backup that could not be taken.
    void tellFindings(const AfterStart &found) const;

    // Puts a checked copy of the backup in the place of the main file, after
    // a backup of the file as it is now, and reopens it. Anything that fails
    // before the replace leaves the file untouched; every failure is told.
    // backupsChanged runs whenever the backup folder gained a file. True when
    // the pages must be read again from the restored file.
    bool restore(const QString &backupPath, const std::function<void()> &backupsChanged);

    // Empties the saved statements and all master data of the main file, after
    // a safety copy of it; without that copy nothing is deleted. Every
    // failure is told. backupsChanged runs when the backup folder gained a file.
    bool deleteEverything(const std::function<void()> &backupsChanged);

    // Closes both connections; every model on them must be gone by then.
    void close();

private:
    bool openFile(const QString &path, SchemaKind kind, const char *tag, QString &connection, QSqlDatabase &db);

    ProgramState &m_state;
    QString m_mainConnection;
    QString m_workConnection;
    QString m_openError;
    QStringList m_upgradedFiles;
    std::unique_ptr<QThread> m_afterStart;
};

} // namespace pelmar
