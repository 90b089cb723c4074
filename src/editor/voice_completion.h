#pragma once

#include "interface_plan.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace talvik::editor {

// What typing in a voice-message field does: the field offers the words of the vocabulary that
// begin with the word being typed, and refuses keys that would leave no such word.
class VoiceCompletion {
public:
    enum class Action {
        Cancel, // the key is not entered
        Close,  // the key is entered and no list is shown
        Show,   // the key is entered and `words` are offered
    };
    struct Outcome {
        Action action = Action::Close;
        QStringList words;
    };

    // The words of the last entry whose version is not above `version`; none when every entry
    // is for later firmware.
    [[nodiscard]] static QStringList wordsFor(const QList<iface::VoiceEntry>& voices,
                                              QStringView version);

    // A key typed into a field holding `text`: Backspace when `backspace`, otherwise `key`
    // appended at the end.
    [[nodiscard]] static Outcome press(const QStringList& words, QStringView text, QStringView key,
                                       bool backspace);

    // The field's text after the offered word `word` is taken: the text up to and including its
    // last space, then the word.
    [[nodiscard]] static QString complete(QStringView text, QStringView word);
};

} // namespace talvik::editor
