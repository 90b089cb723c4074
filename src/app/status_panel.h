#pragma once

#include <QObject>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace talvik::app {

class ControllerStatus;
class MainPage;

// The connection, GSM and power groups of the main page, as a technician reads them at a
// glance: port, version, serial number and device type; signal bar with its level, network and
// operator; supply voltage and source. It owns these controls and shows what the controller
// status holds; the device type list hands the user's choice to it.
class StatusPanel : public QObject {
    Q_OBJECT
public:
    StatusPanel(ControllerStatus& status, MainPage& page, QObject* parent = nullptr);

    // The connection group, for notices about the port search below its rows.
    [[nodiscard]] QGroupBox& connectionBox() const { return *GroupBox3; }

private:
    void buildConnection(MainPage& page);
    void buildGsm(MainPage& page);
    void buildPower(MainPage& page);
    void showGsm();
    void showPower();

    ControllerStatus& m_status;
    QGroupBox* GroupBox3;       // connection
    QLabel* Label13;            // port
    QLabel* Label6;             // version reply
    QLineEdit* Edit1;           // serial number
    QComboBox* ComboBox2;       // device type
    QProgressBar* ProgressBar1; // signal level
    QLabel* Label2;             // network
    QLabel* Label4;             // operator
    QLabel* Label15;            // supply voltage
    QLabel* Label16;            // power source
};

} // namespace talvik::app
