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

} // namespace pelmar
