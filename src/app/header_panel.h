#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QProgressBar;
class QToolButton;

namespace talvik::app {

// The window's header: the connection icon, the batch result and progress, and the buttons
// that read, write, save and load the settings.
class HeaderPanel : public QWidget {
    Q_OBJECT
public:
    explicit HeaderPanel(QWidget* parent = nullptr);

    QLabel* Image1;             // not connected
    QLabel* Image2;             // connected
    QLabel* Label5;             // result of the last settings batch
    QProgressBar* ProgressBar2; // progress of a settings batch, shown while one runs
    QGroupBox* GroupBox4;
    QToolButton* PNGButton3; // read from the controller
    QToolButton* PNGButton4; // write to the controller
    QToolButton* PNGButton5; // save to a file
    QToolButton* PNGButton6; // load from a file
    QToolButton* CompareButton; // what differs from the controller or a file
};

} // namespace talvik::app
