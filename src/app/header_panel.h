#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QProgressBar;
class QTimer;
class QToolButton;

namespace talvik::settings {
class SettingsTransfer;
}

namespace talvik::app {

// The window's header: the connection icon, the result and progress of a settings read or
// write, and the buttons that read, write, save and load the settings. It owns these controls
// and shows what the settings transfer and the batch state tell.
class HeaderPanel : public QWidget {
    Q_OBJECT
public:
    explicit HeaderPanel(QWidget* parent = nullptr);

    // Shows the transfer's batches and hands the four buttons' clicks to it.
    void follow(settings::SettingsTransfer& transfer);
    // The buttons are off while a batch runs.
    void setBatchRunning(bool running);
    // The icon of the link; a controller that goes takes its batch result and progress along.
    void showConnection(bool connected);

Q_SIGNALS:
    // "Сравнить" was pressed.
    void compareRequested();

private:
    void showBatchStart(const QString& status, int maximum);
    void showBatchProgress(int position);
    void showBatchResult(const QString& result, const QString& note);
    void Timer4Timer();

    QLabel* Image1;             // not connected
    QLabel* Image2;             // connected
    QLabel* Label5;             // result of the last settings batch
    QProgressBar* ProgressBar2; // progress of a settings batch, shown while one runs
    QGroupBox* GroupBox4;
    QToolButton* PNGButton3;    // read from the controller
    QToolButton* PNGButton4;    // write to the controller
    QToolButton* PNGButton5;    // save to a file
    QToolButton* PNGButton6;    // load from a file
    QToolButton* CompareButton; // what differs from the controller or a file
    QTimer* Timer4;             // clears the batch result a while after it is shown
};

} // namespace talvik::app
