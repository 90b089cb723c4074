#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;

namespace talvik::app {

// The waiting window shown while a freshly connected controller is identified and read. The
// user cannot get past it: closing it ends the program.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kProgressMaximum = 223;
    static constexpr int kStepMs = 50;

    // `owner` is the main window; it is closed when the user closes this window.
    explicit TForm2(QWidget* owner);

    // Set by the program before it closes the window itself.
    void setClosing() { m_closing = true; }
    [[nodiscard]] bool isClosing() const { return m_closing; }

    // Moves the bar on; it cycles for as long as the window is up.
    void Timer1Timer();

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    QTimer* Timer1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_owner;
    bool m_closing = false;
};

} // namespace talvik::app
