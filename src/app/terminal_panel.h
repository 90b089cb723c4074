#pragma once

#include "terminal.h"

#include <QObject>
#include <QTextCharFormat>
#include <QTimer>

class QComboBox;
class QPushButton;
class QPlainTextEdit;

namespace talvik::app {

class MainPage;
class ControllerSession;

// The terminal group on the main page: the output, the command line with its history, and
// "Отправить"; the panel builds them and puts the group in its place on the page. Enter sends like
// the button; Up and Down walk the history and Tab completes from it. Sending waits while the
// button is disabled (a settings batch or an upload runs).
class TerminalPanel : public QObject {
    Q_OBJECT
public:
    TerminalPanel(MainPage& page, ControllerSession& session,
                  std::function<link::CommandLink*()> link, QObject* parent = nullptr);

    [[nodiscard]] Terminal& terminal() { return m_terminal; }
    // The history kept between runs.
    void setHistory(const QStringList& entries);

    void Button1Click();
    // As the user types `command` into the command line and presses "Отправить".
    void Send(const QString& command);
    // Send is off while a batch runs.
    void setBatchRunning(bool running);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(MainPage& page);
    void print(const QString& line, Terminal::Direction direction, bool dropFirst);
    void showHistory();
    void showCommand(const QString& text);
    void flush();
    void showHeldLines();

    QPlainTextEdit* RichEdit1;
    QComboBox* ComboBox1;
    QPushButton* Button1;
    Terminal m_terminal;
    QTextCharFormat m_sentFormat;
    QTextCharFormat m_receivedFormat;
    // A controller that floods the terminal would have the output changed and drawn for every
    // line. A line after a quiet spell shows at once; lines that follow within this timer's
    // interval wait for it and go in together.
    QTimer m_redraw;
    struct Pending {
        QString line;
        Terminal::Direction direction;
    };
    QList<Pending> m_pending;
    int m_pendingDrops = 0;
};

} // namespace talvik::app
