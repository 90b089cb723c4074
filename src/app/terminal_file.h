#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace talvik::app {

// "terminal.txt": the file names last chosen in the window's four file choosers and the
// terminal's command history, kept between runs as Windows-1251 lines separated by LF.
class TerminalFile {
public:
    static constexpr std::size_t kDialogs = 4;

    // OpenDialog1 to OpenDialog4; an empty name when that chooser was never used.
    std::array<QString, kDialogs> dialogFiles;
    // Newest first.
    QStringList history;

    // The first four lines are the file names, the remaining lines the history (empty lines and
    // CRs before a line's LF are dropped). A short file leaves the rest empty.
    [[nodiscard]] static TerminalFile Decode(QByteArrayView bytes);
    [[nodiscard]] QByteArray Encode() const;

    // Nothing when the file is missing or cannot be read.
    [[nodiscard]] static std::optional<TerminalFile> Read(const QString& path);
    // False when the file could not be written; the old one is then left as it was.
    [[nodiscard]] bool Write(const QString& path) const;
};

} // namespace talvik::app
