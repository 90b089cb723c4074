#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace talvik::app {

// The terminal's command history, newest first and each command once, and the command line's
// ways through it: Up and Down walk it, Tab completes the typed beginning from it (again and
// again to cycle through the matches). Walking and completing never change the history.
class TerminalHistory {
public:
    static constexpr qsizetype kMaxEntries = 10;

    [[nodiscard]] const QStringList& entries() const { return m_entries; }
    // The history kept between runs: empty lines and repeats are left out, the newest ten kept.
    void setEntries(const QStringList& entries);
    // A command just sent goes to the top; an equal older entry goes away, the eleventh falls out.
    void add(const QString& command);

    // Up: the next older entry; the first step remembers the typed text. Nothing past the oldest.
    [[nodiscard]] std::optional<QString> older(const QString& typed);
    // Down: the next newer entry, and after the newest the typed text again. Nothing while the
    // command line is not in the history.
    [[nodiscard]] std::optional<QString> newer();
    // Tab: the next entry that begins with the typed text and is longer; nothing to complete
    // when the line is empty or no entry matches.
    [[nodiscard]] std::optional<QString> complete(const QString& text);
    // The user edited the command line: walking and completing start over from it.
    void restart();

private:
    QStringList m_entries;
    qsizetype m_walk = -1; // the entry shown by walking, -1 for the typed text
    QString m_typed;
    QStringList m_matches; // completions of the typed beginning, newest first
    qsizetype m_match = -1;
};

} // namespace talvik::app
