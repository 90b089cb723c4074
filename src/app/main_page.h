#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QPlainTextEdit;
class QTreeWidget;

namespace talvik::app {

// The main page ("Главная") as the window lays it out: connection and status, firmware
// upload, 1-Wire devices, settings actions and the terminal. The features that own these
// controls' behaviour take them from here by name.
class MainPage : public QWidget {
    Q_OBJECT
public:
    explicit MainPage(QWidget* parent = nullptr);

    // Connection: port, version reply, serial number, device type.
    QGroupBox* GroupBox3;
    QLabel* Label13;
    QLabel* Label6;
    QLineEdit* Edit1;
    QComboBox* ComboBox2;

    // GSM: signal level, network state, operator.
    QGroupBox* GroupBox2;
    QProgressBar* ProgressBar1;
    QLabel* Label2;
    QLabel* Label4;

    // Power: voltage and source.
    QGroupBox* GroupBox6;
    QLabel* Label15;
    QLabel* Label16;

    // Guard: state and the arm/disarm button.
    QGroupBox* GroupBox7;
    QLabel* Label18;
    QPushButton* Button2;

    // Firmware, profile and sound upload.
    QGroupBox* GroupBox10;
    QLineEdit* Edit23;
    QPushButton* Button8;
    QPushButton* Button5;
    QLineEdit* Edit24;
    QPushButton* Button9;
    QPushButton* Button6;
    QLineEdit* Edit6;
    QPushButton* Button14;
    QPushButton* Button13;
    QProgressBar* ProgressBar3;
    QPushButton* Button7;
    QLabel* Label26;

    // 1-Wire keys and thermometers.
    QGroupBox* GroupBox1;
    QPushButton* Button10;
    QPushButton* Button3;
    QTreeWidget* ListView2;

    // Factory settings and login reset; the controller restart beside them.
    QGroupBox* GroupBox8;
    QPushButton* Button4;
    QPushButton* Button11;
    QPushButton* Button12;

    // Terminal: output, command line with history, send.
    QGroupBox* GroupBox5;
    QPlainTextEdit* RichEdit1;
    QComboBox* ComboBox1;
    QPushButton* Button1;

private:
    void buildStatus();
    void buildUpload();
    void buildDevices();
    void buildTerminal();
};

} // namespace talvik::app
