#pragma once

#include "guard_control.h"

#include <QObject>

class QPushButton;

namespace talvik::app {

class MainPage;
class Terminal;

// The guard button of the "Охрана" group and "RESTART" on the main page. The status display
// sets the guard button's caption; a click does what the caption says.
class GuardPanel : public QObject {
    Q_OBJECT
public:
    // terminal: where the restart command shows as sent.
    GuardPanel(MainPage& page, std::function<link::CommandLink*()> link, Terminal& terminal,
               QObject* parent = nullptr);

    [[nodiscard]] devices::GuardControl& guard() { return m_guard; }

private:
    QPushButton* Button2;
    QPushButton* Button12;
    devices::GuardControl m_guard;
};

} // namespace talvik::app
