#include "single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace talvik::app {

namespace {
constexpr int kConnectMs = 1000;
constexpr int kAnswerMs = 2000;
const QByteArray kActivated = QByteArrayLiteral("activated\n");
} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {}

bool SingleInstance::activateRunning() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectMs)) {
        return false;
    }
    // A copy that accepts the connection is alive; its answer only confirms that the window
    // came forward, so a slow answer does not make this start a second copy.
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
    // Nobody answered activateRunning(), so the name is a leftover of a crashed copy.
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
