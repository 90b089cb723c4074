#pragma once

#include <QObject>

namespace talvik::app {

// Whether a batch runs on the connected controller: a settings read or write, or an upload.
// While one runs the header's settings buttons and the terminal's Send are off; the panels
// follow this one state instead of switching each other's buttons.
class BatchState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] bool running() const { return m_running; }
    void start();
    // Also when the controller goes: no batch outlives its link.
    void finish();

Q_SIGNALS:
    void runningChanged(bool running);

private:
    void set(bool running);

    bool m_running = false;
};

} // namespace talvik::app
