#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace pelmar {

namespace {
const QByteArray kActivate = QByteArrayLiteral("activate\n");
}

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent), m_key(key)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

QString SingleInstance::keyFor(const QString &dataFolder)
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    const QString folder = QDir::cleanPath(QDir(dataFolder).absolutePath());
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex();
    // Socket names become file names: keep the user part to safe characters.
    QString safeUser;
    for (QChar c : user)
        safeUser += (c.isLetterOrNumber() && c.unicode() < 128) ? c : u'_';
    return QStringLiteral("pelmar-%1-%2").arg(safeUser, QString::fromLatin1(hash.left(16)));
}

bool SingleInstance::notifyRunning(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool SingleInstance::listen()
{
    if (m_server.listen(m_key))
        return true;
    if (m_server.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // The name is taken: either a copy is running, or a crashed one left its
    // socket behind, which refuses connections and may be removed.
    QLocalSocket probe;
    probe.connectToServer(m_key);
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        return false;
    }
    QLocalServer::removeServer(m_key);
    return m_server.listen(m_key);
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto readRequest = [this, socket] {
            if (socket->readAll().contains(kActivate.trimmed()))
                emit activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        if (socket->bytesAvailable() > 0)
            readRequest();
    }
}

StartDecision decideStart(QLockFile &lock, SingleInstance &instance, int timeoutMs)
{
    // No age limit: a copy may run for days. Only a holder that is no
    // longer alive makes the lock stale.
    lock.setStaleLockTime(0);
    if (lock.tryLock(timeoutMs)) {
        // Without the socket later starts still stop; they only cannot bring
        // this window to the front.
        instance.listen();
        return StartDecision::Run;
    }
    if (lock.error() != QLockFile::LockFailedError)
        return StartDecision::CannotGuard;
    // The holder may not listen yet, or listen where this start cannot see
    // (another socket folder); it runs either way, so this start ends.
    instance.notifyRunning(timeoutMs);
    return StartDecision::AlreadyRunning;
}

} // namespace pelmar
