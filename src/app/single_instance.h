#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

namespace talvik::app {

// Keeps the programmer to one running copy per machine: the copy that takes the lock file named
// after the instance runs and holds it for its whole life; a later start reaches it through a
// local socket of the same name, asks it to come to the front, and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // True when this copy now holds the lock: no other copy runs. A lock left behind by a copy
    // that died is taken over.
    [[nodiscard]] bool claim();
    // Asks the copy that holds the lock to bring its window forward; it may still be starting,
    // so its socket is tried for a short while. True when it answered.
    [[nodiscard]] bool activateRunning();
    // Starts answering later starts; only the copy holding the lock calls it, so a socket name
    // left behind by a copy that died is safely taken over.
    [[nodiscard]] bool listen();

Q_SIGNALS:
    void activationRequested();

private:
    void answer();

    QString m_name;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace talvik::app
