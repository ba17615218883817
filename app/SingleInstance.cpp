#include "app/SingleInstance.h"

#include "messages/ShowMsg.h"
#include "store/Reasons.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSysInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

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

LockHolder readLockHolder(const QString &lockPath)
{
    LockHolder holder;
    holder.path = lockPath;
    const QFileInfo info(lockPath);
    holder.user = info.owner();
    holder.since = info.lastModified();
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly))
        return holder;
    // The lock file's lines: process id, program, computer name, computer
    // id, boot id. A holder of an older Qt writes the first three only.
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool isNumber = false;
    holder.pid = lines.value(0).trimmed().toLongLong(&isNumber);
    holder.readable = isNumber && holder.pid > 0;
    holder.host = QString::fromUtf8(lines.value(2).trimmed());
    // The same test the lock itself makes: the computer's id where both
    // sides have one, its name otherwise.
    const QByteArray hostId = lines.value(3).trimmed();
    const QByteArray ownId = QSysInfo::machineUniqueId();
    holder.onThisComputer = !hostId.isEmpty() && !ownId.isEmpty()
        ? hostId == ownId
        : holder.host.isEmpty() || holder.host == QSysInfo::machineHostName();
    return holder;
}

QString describeHolder(const LockHolder &holder)
{
    const QString unknown = reasons::lockDetailUnknown();
    QString computer = holder.host.isEmpty() ? unknown : holder.host;
    if (!holder.readable)
        computer = reasons::unknownLockContents();
    else if (holder.onThisComputer)
        computer += reasons::onThisComputer(holder.pid);
    return reasons::lockHolder(
        QDir::toNativeSeparators(holder.path), computer, holder.user.isEmpty() ? unknown : holder.user,
        holder.since.isValid() ? holder.since.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : unknown);
}

namespace {

enum class ProcessState { Gone, Ours, SomeoneElses, Unknown };

// Whether a process of this computer is still there and this user may
// look at it.
ProcessState processState(qint64 pid)
{
#ifdef Q_OS_UNIX
    if (pid <= 0)
        return ProcessState::Gone;
    if (::kill(pid_t(pid), 0) == 0)
        return ProcessState::Ours;
    if (errno == ESRCH)
        return ProcessState::Gone;
    return errno == EPERM ? ProcessState::SomeoneElses : ProcessState::Unknown;
#else
    Q_UNUSED(pid);
    return ProcessState::Unknown;
#endif
}

bool takeOver(QLockFile &lock, SingleInstance &instance)
{
    // Qt removes the file only when no process holds its native lock, so a
    // holder that does run on a file system that knows such locks still
    // keeps it.
    if (!lock.removeStaleLockFile() && QFileInfo::exists(lock.fileName()))
        return false;
    if (!lock.tryLock(0))
        return false;
    instance.listen();
    return true;
}

// Said on the terminal as well, for a start from one.
bool tell(const MessageKey &key, const QString &holder)
{
    if (const std::optional<CatalogueMessage> message = lookupMessage(key, holder))
        qWarning().noquote() << message->prompt;
    return ShowMsg(key, holder);
}

} // namespace

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
    if (instance.notifyRunning(timeoutMs))
        return StartDecision::AlreadyRunning;
    // The holder let go meanwhile.
    if (!QFileInfo::exists(lock.fileName()) && lock.tryLock(0)) {
        instance.listen();
        return StartDecision::Run;
    }
    const LockHolder holder = readLockHolder(lock.fileName());
    if (!holder.readable || !holder.onThisComputer)
        return StartDecision::HeldUnchecked;
    switch (processState(holder.pid)) {
    case ProcessState::Gone:
        // The lock would have been removed, had it been removable.
        return StartDecision::StaleStuck;
    case ProcessState::SomeoneElses:
    case ProcessState::Unknown:
        return StartDecision::HeldUnchecked;
    case ProcessState::Ours:
        break;
    }
    // A copy that has only just taken the lock may not listen yet; it is
    // given the same time again. One that never answers listens where this
    // start cannot see (another session's socket folder), or hangs.
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QThread::msleep(100);
        if (instance.notifyRunning(int(qMax<qint64>(deadline.remainingTime(), 1))))
            return StartDecision::AlreadyRunning;
    }
    return StartDecision::HeldUnreachable;
}

StartDecision startOnDataFolder(QLockFile &lock, SingleInstance &instance, int timeoutMs)
{
    const StartDecision decision = decideStart(lock, instance, timeoutMs);
    if (decision == StartDecision::Run || decision == StartDecision::AlreadyRunning
        || decision == StartDecision::CannotGuard)
        return decision;
    const QString holder = describeHolder(readLockHolder(lock.fileName()));
    switch (decision) {
    case StartDecision::Run:
    case StartDecision::AlreadyRunning:
    case StartDecision::CannotGuard:
        return decision;
    case StartDecision::HeldUnreachable:
        tell(msg::開始ロック使用中, holder);
        return decision;
    case StartDecision::HeldUnchecked:
        if (!tell(msg::開始ロック引継ぎ確認, holder))
            return decision;
        if (takeOver(lock, instance))
            return StartDecision::Run;
        break;
    case StartDecision::StaleStuck:
        break;
    }
    tell(msg::開始ロック削除不可, holder);
    return StartDecision::StaleStuck;
}

} // namespace pelmar
