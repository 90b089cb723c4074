#pragma once

#include "settings_port_link.h"

#include <memory>

namespace talvik::settings {
class SettingsTransfer;
}

namespace talvik::app {

class ControllerSession;
class TForm1;

// The settings transfer as the window wires it: the header's read, write, save and load
// buttons, factory settings and login reset on the main page, the "#P" replies and batch events
// of the session's controller, the read decision and the disconnect's "last.set".
class SettingsFeature {
public:
    // Needs the window's settings editor; follows the session's controller.
    SettingsFeature(TForm1& form, ControllerSession& session);
    ~SettingsFeature();

    [[nodiscard]] settings::SettingsTransfer& transfer() { return *m_transfer; }

private:
    void DecideRead();
    void OnDisconnecting();

    TForm1& m_form;
    ControllerSession& m_session;
    SettingsPortLink m_link;
    std::unique_ptr<settings::SettingsTransfer> m_transfer;
};

} // namespace talvik::app
