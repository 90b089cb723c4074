#include "terminal_history.h"

namespace talvik::app {

void TerminalHistory::setEntries(const QStringList& entries) {
    m_entries.clear();
    for (const QString& entry : entries) {
        if (!entry.isEmpty() && !m_entries.contains(entry) && m_entries.size() < kMaxEntries) {
            m_entries.append(entry);
        }
    }
    restart();
}

void TerminalHistory::add(const QString& command) {
    m_entries.removeOne(command);
    m_entries.prepend(command);
    if (m_entries.size() > kMaxEntries) {
        m_entries.removeAt(kMaxEntries);
    }
    restart();
}

std::optional<QString> TerminalHistory::older(const QString& typed) {
    if (m_walk + 1 >= m_entries.size()) {
        return std::nullopt;
    }
    if (m_walk < 0) {
        m_typed = typed;
    }
    m_matches.clear();
    return m_entries.at(++m_walk);
}

std::optional<QString> TerminalHistory::newer() {
    if (m_walk < 0) {
        return std::nullopt;
    }
    --m_walk;
    return m_walk < 0 ? m_typed : m_entries.at(m_walk);
}

std::optional<QString> TerminalHistory::complete(const QString& text) {
    if (m_matches.isEmpty() || text != m_matches.at(m_match)) {
        m_matches.clear();
        if (!text.isEmpty()) {
            for (const QString& entry : m_entries) {
                if (entry.size() > text.size() && entry.startsWith(text)) {
                    m_matches.append(entry);
                }
            }
        }
        m_match = -1;
    }
    if (m_matches.isEmpty()) {
        return std::nullopt;
    }
    m_walk = -1;
    m_match = (m_match + 1) % m_matches.size();
    return m_matches.at(m_match);
}

void TerminalHistory::restart() {
    m_walk = -1;
    m_typed.clear();
    m_matches.clear();
    m_match = -1;
}

} // namespace talvik::app
