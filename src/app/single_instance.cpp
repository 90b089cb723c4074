#include "single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace talvik::app {

namespace {
// How long a later start keeps looking for the running copy's socket (it may have the lock but
// not be listening yet), and how often it tries.
constexpr int kFindMs = 3000;
constexpr int kRetryMs = 50;
constexpr int kConnectMs = 1000;
constexpr int kAnswerMs = 2000;
const QByteArray kActivated = QByteArrayLiteral("activated\n");
} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)),
      m_lock(QDir(QDir::tempPath()).filePath(m_name + QStringLiteral(".lock"))) {
    // Only a dead owner makes the lock stale, however long the running copy has been up.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::claim() {
    return m_lock.tryLock();
}

bool SingleInstance::activateRunning() {
    const QDeadlineTimer deadline(kFindMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(m_name);
        if (socket.waitForConnected(kConnectMs)) {
            break;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(kRetryMs);
    }
    // A copy that accepts the connection is alive; its answer only confirms that the window
    // came forward.
    socket.waitForReadyRead(kAnswerMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    if (m_server->listen(m_name)) {
        return true;
    }
    // This copy holds the lock, so the name is a leftover of a copy that died.
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        Q_EMIT activationRequested();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(kActivated);
        socket->flush();
    }
}

} // namespace talvik::app
