#include "voice_completion.h"

#include "compare_versions.h"

namespace talvik::editor {

QStringList VoiceCompletion::wordsFor(const QList<iface::VoiceEntry>& voices, QStringView version) {
    QStringList words;
    for (const iface::VoiceEntry& entry : voices) {
        if (support::CompareVersions(entry.version, version) <= 0) {
            words = entry.words;
        }
    }
    return words;
}

VoiceCompletion::Outcome VoiceCompletion::press(const QStringList& words, QStringView text,
                                                QStringView key, bool backspace) {
    QString after = text.toString();
    if (backspace) {
        after.chop(1);
    } else {
        after += key;
    }
    const qsizetype space = after.lastIndexOf(u' ');
    const QString typed = after.mid(space + 1);
    const bool noHead = space < 0;

    qsizetype first = 0;
    while (first < words.size() && !words[first].startsWith(typed)) {
        ++first;
    }
    if (first == words.size()) {
        return {Action::Cancel, {}};
    }
    // The vocabulary is kept sorted, so the words sharing a beginning stand together.
    qsizetype last = first + 1;
    while (last < words.size() && words[last].startsWith(typed)) {
        ++last;
    }
    if ((typed.isEmpty() && noHead) || (last - first == 1 && words[first] == typed)) {
        return {Action::Close, {}};
    }
    return {Action::Show, words.mid(first, last - first)};
}

QString VoiceCompletion::complete(QStringView text, QStringView word) {
    return text.left(text.lastIndexOf(u' ') + 1).toString() + word.toString();
}

} // namespace talvik::editor
