#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace pelmar {

// One running copy per data folder and user: a second start tells the
// running copy to come to the front and ends without opening anything, so
// two processes never share the work database.
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
    Run, // this process is now the running copy
    AlreadyRunning, // a running copy answered and was asked to come to the front
    CannotGuard, // nobody answered, yet this process could not become the running copy
};

// Asks a running copy to come to the front, or else becomes the running copy.
// CannotGuard means a second copy could start beside this one unnoticed, so
// the program must not open its data.
StartDecision decideStart(SingleInstance &instance, int timeoutMs = 2000);

} // namespace pelmar
