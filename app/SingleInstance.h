#pragma once

#include <QDateTime>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace pelmar {

// The lock file inside a data folder; its holder is the one running copy on
// that folder, whoever and wherever it was started from.
inline const QString kLockFileName = QStringLiteral("Pelmar.lock");

// The socket a running copy listens on, so that a second start can ask it to
// come to the front. Which copy runs is decided by the data folder's lock,
// not by the socket: another user's or another session's socket folder
// would give a second start a socket of its own.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);

    // The local-socket name for a data folder.
    static QString keyFor(const QString &dataFolder);

    // True when a running copy answered and was asked to come to the front.
    bool notifyRunning(int timeoutMs = 2000);
    // Become the running copy. False when another copy got there first.
    bool listen();
    QString key() const { return m_key; }

signals:
    void activationRequested();

private:
    void acceptConnection();

    QString m_key;
    QLocalServer m_server;
};

// What a start may do on its data folder.
enum class StartDecision {
    Run, // this process holds the data folder's lock and is the running copy
    AlreadyRunning, // a live process holds the lock; it was asked to come to the front
    CannotGuard, // the lock could not be taken at all (the folder takes no file)
    // The lock is held and its holder did not answer:
    HeldUnchecked, // by a process this computer cannot check (another computer, another user, an unreadable lock)
    HeldUnreachable, // by a live copy of this user on this computer (another session, or one that hangs)
    StaleStuck, // by a process that is gone, and the lock cannot be removed
};

// Who a lock file names as its holder, as far as it can be read.
struct LockHolder {
    QString path;
    bool readable = false; // the file names a process
    qint64 pid = 0;
    QString host; // the computer's name as the holder wrote it
    QString user; // the file's owner
    QDateTime since; // when the lock was taken (the file was written)
    bool onThisComputer = false;
};
LockHolder readLockHolder(const QString &lockPath);
// The holder in the user's words, one item a line, for the messages.
QString describeHolder(const LockHolder &holder);

// Takes the data folder's lock (a lock left by a process that is gone is
// removed) and then listens for later starts; when a live copy holds the
// lock, asks it to come to the front. CannotGuard means nothing keeps a
// second copy out, so the program must not open its data. The Held… and
// StaleStuck decisions say why the lock is out of reach; nothing is asked.
StartDecision decideStart(QLockFile &lock, SingleInstance &instance, int timeoutMs = 2000);

// decideStart for a start of the program: a lock out of reach is never a
// silent end. It says who holds the lock; a holder that cannot be checked
// from here is offered to be taken over (a question whose default is No),
// and a lock that cannot be removed is told with how to remove it. Run when
// the lock was taken over. Asked through ShowMsg, so a test answers it.
StartDecision startOnDataFolder(QLockFile &lock, SingleInstance &instance, int timeoutMs = 2000);

} // namespace pelmar
