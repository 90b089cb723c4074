#include "terminal.h"

#include "command_link.h"

using namespace Qt::StringLiterals;

namespace talvik::app {

Terminal::Terminal(std::function<link::CommandLink*()> link,
                   std::function<support::DateTime::Value()> now, QObject* parent)
    : QObject(parent), m_link(std::move(link)), m_now(std::move(now)) {}

bool Terminal::Send(const QString& command) {
    link::CommandLink* link = m_link();
    if (command.isEmpty() || link == nullptr) {
        return false;
    }
    PrintSent(command);
    link->SendCommand(u' ' + command, link::SendFlag::WriteAndForget);
    m_history.add(command);
    return true;
}

void Terminal::OnText(const QString& text) {
    Print(Direction::Received, text);
}

void Terminal::PrintSent(const QString& text) {
    Print(Direction::Sent, text);
}

QString Terminal::FormatLine(support::DateTime::Value time, Direction direction,
                             const QString& text) {
    return support::DateTime::format(time, u"h:m:s ", 0) +
           (direction == Direction::Sent ? u"<<< "_s : u">>> "_s) + text;
}

void Terminal::Print(Direction direction, const QString& text) {
    const bool full = m_lineCount >= kMaxLines;
    if (!full) {
        ++m_lineCount;
    }
    Q_EMIT printed(FormatLine(m_now(), direction, text), direction, full);
}

} // namespace talvik::app
