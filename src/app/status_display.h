#pragma once

#include "status_values.h"

#include <QString>

namespace talvik::app {

class HeaderPanel;
class MainPage;

// The connection and live status on the main page and the header's connection icon, as a
// technician reads them at a glance: port, version, serial number, signal bar with its level,
// network and operator, supply voltage with its source, guard state.
class StatusDisplay {
public:
    StatusDisplay(MainPage& page, HeaderPanel& header);

    void ShowConnected(const QString& portName);
    // Empties what belonged to the controller that went away.
    void ShowDisconnected();

    void ShowVersion(const QString& text);
    void ShowSerial(const QString& serial);
    void ShowGuard(const link::StatusValues::Guard& guard);
    void ShowGsm(const link::StatusValues::Gsm& gsm);
    void ShowPower(const link::StatusValues::Power& power);

private:
    MainPage& m_page;
    HeaderPanel& m_header;
};

} // namespace talvik::app
