#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace talvik::app {

// Keeps the programmer to one running copy per user: a later start reaches the running copy
// through a local socket of a fixed name, asks it to come to the front, and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // True when a running copy answered; it has been asked to bring its window forward.
    [[nodiscard]] bool activateRunning();
    // Starts answering later starts. A name left behind by a copy that crashed is taken over.
    [[nodiscard]] bool listen();

Q_SIGNALS:
    void activationRequested();

private:
    void answer();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace talvik::app
