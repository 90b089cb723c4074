#pragma once

#include <QObject>

class QSocketNotifier;

namespace talvik::app {

// Turns SIGTERM and SIGINT into a Qt signal on the window thread, so that a terminated
// programmer closes the way it does when the user closes its window.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void received();

private:
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace talvik::app
