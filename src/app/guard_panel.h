#pragma once

#include "guard_control.h"

#include <QObject>

class QLabel;
class QPushButton;

namespace talvik::app {

class ControllerStatus;
class MainPage;
class Terminal;

// The "Охрана" group of the main page with the guard state and its button, and "RESTART" beside
// the settings group. The guard state the controller last reported sets the button's caption;
// a click does what the caption says.
class GuardPanel : public QObject {
    Q_OBJECT
public:
    // terminal: where the restart command shows as sent.
    GuardPanel(MainPage& page, ControllerStatus& status, std::function<link::CommandLink*()> link,
               Terminal& terminal, QObject* parent = nullptr);

    [[nodiscard]] devices::GuardControl& guard() { return m_guard; }

private:
    void showGuard();

    ControllerStatus& m_status;
    QLabel* Label18;
    QPushButton* Button2;
    QPushButton* Button12;
    devices::GuardControl m_guard;
};

} // namespace talvik::app
