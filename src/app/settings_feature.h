#pragma once

#include "settings_port_link.h"

#include <memory>

namespace talvik::settings {
class SettingsTransfer;
}

namespace talvik::app {

class ControllerSession;
class MainPage;
class TForm1;

// The settings transfer as the window wires it: the main page's group "Настройки" with factory
// settings and login reset, which it builds and puts in its place, the "#P" replies and batch
// events of the session's controller, the read decision and the disconnect's "last.set". The
// header shows the transfer's batches and hands its buttons' clicks to it.
class SettingsFeature {
public:
    // Needs the window's settings editor; follows the session's controller.
    SettingsFeature(TForm1& form, ControllerSession& session, MainPage& page);
    ~SettingsFeature();

    [[nodiscard]] settings::SettingsTransfer& transfer() { return *m_transfer; }

private:
    void buildGroup(MainPage& page);
    void DecideRead();
    void OnDisconnecting();

    TForm1& m_form;
    ControllerSession& m_session;
    SettingsPortLink m_link;
    std::unique_ptr<settings::SettingsTransfer> m_transfer;
};

} // namespace talvik::app
