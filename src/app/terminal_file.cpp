#include "terminal_file.h"

#include "cp1251.h"

#include <QFile>
#include <QSaveFile>

namespace talvik::app {

TerminalFile TerminalFile::Decode(QByteArrayView bytes) {
    TerminalFile file;
    const QStringList lines = support::Cp1251::toUnicode(bytes).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        while (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (static_cast<std::size_t>(i) < kDialogs) {
            file.dialogFiles[static_cast<std::size_t>(i)] = line;
        } else if (!line.isEmpty()) {
            file.history.append(line);
        }
    }
    return file;
}

QByteArray TerminalFile::Encode() const {
    QStringList lines(dialogFiles.begin(), dialogFiles.end());
    lines.append(history.join(u'\n'));
    return support::Cp1251::fromUnicode(lines.join(u'\n'));
}

std::optional<TerminalFile> TerminalFile::Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return Decode(file.readAll());
}

bool TerminalFile::Write(const QString& path) const {
    const QByteArray text = Encode();
    // Flushed before the commit, which does not see a failure of its own final flush and would
    // put a cut file in place of the old one on a full disk.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush() &&
           file.commit();
}

} // namespace talvik::app
