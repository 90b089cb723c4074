#pragma once

#include "guard_control.h"

#include <QObject>

class MainPage;
class QPushButton;
class Terminal;

// The guard button of the "Охрана" group and "RESTART" on the main page. The status display
// sets the guard button's caption; a click does what the caption says.
class GuardPanel : public QObject {
    Q_OBJECT
public:
    // terminal: where the restart command shows as sent.
    GuardPanel(MainPage& page, std::function<CommandLink*()> link, Terminal& terminal,
               QObject* parent = nullptr);

    [[nodiscard]] GuardControl& guard() { return m_guard; }

private:
    QPushButton* Button2;
    QPushButton* Button12;
    GuardControl m_guard;
};
