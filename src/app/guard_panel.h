#pragma once

#include "guard_control.h"
#include "status_values.h"

#include <QObject>

class QPushButton;

namespace talvik::app {

class ControllerSession;
class MainPage;
class Terminal;

// The guard button of the "Охрана" group and "RESTART" on the main page. The guard state the
// controller last reported sets the button's caption; a click does what the caption says.
class GuardPanel : public QObject {
    Q_OBJECT
public:
    // terminal: where the restart command shows as sent.
    GuardPanel(MainPage& page, ControllerSession& session, std::function<link::CommandLink*()> link,
               Terminal& terminal, QObject* parent = nullptr);

    [[nodiscard]] devices::GuardControl& guard() { return m_guard; }

private:
    void ShowGuard(int number, const QString& value);

    QPushButton* Button2;
    QPushButton* Button12;
    devices::GuardControl m_guard;
    // The reported state's caption: the button starts with a guard that is off.
    link::StatusValues::Guard m_state = link::StatusValues::GuardFor(QStringLiteral("0"));
};

} // namespace talvik::app
