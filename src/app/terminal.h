#pragma once

#include "date_time.h"
#include "terminal_history.h"

#include <QObject>
#include <QString>
#include <functional>

namespace talvik::link {
class CommandLink;
}

namespace talvik::app {

// The terminal: raw commands typed by the user go to the controller without waiting for an
// answer, and the output shows them together with the controller's own texts, one time-stamped
// line each, the last 100 lines.
class Terminal : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 100;
    enum class Direction { Sent, Received };

    // link: the connected controller's queue, or null while none is connected. now: the time
    // of day the lines are stamped with.
    explicit Terminal(std::function<link::CommandLink*()> link,
                      std::function<support::DateTime::Value()> now = &support::DateTime::now,
                      QObject* parent = nullptr);

    // Sends the command line; false when there was nothing to send or nobody to send it to.
    bool Send(const QString& command);
    // A text the controller sent on its own.
    void OnText(const QString& text);
    // A command sent by another feature, shown as if typed here.
    void PrintSent(const QString& text);

    [[nodiscard]] TerminalHistory& history() { return m_history; }
    // "h:m:s ", the direction mark, the text.
    [[nodiscard]] static QString FormatLine(support::DateTime::Value time, Direction direction,
                                            const QString& text);

Q_SIGNALS:
    // A new output line; dropFirst: the oldest line goes first, so the output keeps its limit.
    void printed(const QString& line, Terminal::Direction direction, bool dropFirst);

private:
    void Print(Direction direction, const QString& text);

    std::function<link::CommandLink*()> m_link;
    std::function<support::DateTime::Value()> m_now;
    TerminalHistory m_history;
    int m_lineCount = 0;
};

} // namespace talvik::app
