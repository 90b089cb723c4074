#pragma once

#include "status_values.h"

#include <QObject>
#include <QString>

namespace talvik::app {

class ControllerSession;
class HeaderPanel;
class MainPage;

// The connection and live status on the main page and the header's connection icon, as a
// technician reads them at a glance: port, version, serial number, signal bar with its level,
// network and operator, supply voltage with its source, guard state (the guard panel owns its
// button). It shows what the session
// knows and reports; it keeps nothing of its own.
class StatusDisplay : public QObject {
    Q_OBJECT
public:
    StatusDisplay(ControllerSession& session, MainPage& page, HeaderPanel& header);

private:
    void ShowConnected(const QString& portName);
    // Empties what belonged to the controller that went away.
    void ShowDisconnected();
    void ShowStatus(int number, const QString& value);
    void ShowGuard(const link::StatusValues::Guard& guard);
    void ShowGsm(const link::StatusValues::Gsm& gsm);
    void ShowPower(const link::StatusValues::Power& power);

    MainPage& m_page;
    HeaderPanel& m_header;
};

} // namespace talvik::app
