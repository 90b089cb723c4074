#pragma once

#include <QObject>
#include <QStringList>

class QGroupBox;
class QLabel;

namespace talvik::support {
class LogBase;
}

namespace talvik::app {

class ControllerSession;

// Tells the user, once for each port, that a present serial port could not be opened for lack
// of rights, and how a Linux user gets them (the dialout group): a log line and a notice under
// the connection group, which goes away when a controller connects. The scan itself carries on
// as before and tries the port again every second.
class PortAccessNotice : public QObject {
    Q_OBJECT
public:
    // The notice is added as a last row of `connectionBox`, hidden until there is a port to name.
    PortAccessNotice(QGroupBox& connectionBox, ControllerSession& session, support::LogBase& log,
                     QObject* parent = nullptr);

    // The scan failed to open `portName` for lack of rights; it says so at every refresh.
    void PortAccessDenied(const QString& portName);

private:
    support::LogBase& m_log;
    QLabel* m_label;
    QStringList m_named;
};

} // namespace talvik::app
