#pragma once

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
};

// Takes the data folder's lock (a lock left by a process that is gone is
// removed) and then listens for later starts; when a live copy holds the
// lock, asks it to come to the front. CannotGuard means nothing keeps a
// second copy out, so the program must not open its data.
StartDecision decideStart(QLockFile &lock, SingleInstance &instance, int timeoutMs = 2000);

} // namespace pelmar
