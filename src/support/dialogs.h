#pragma once

#include <QString>

namespace talvik::support {

// Everything the program asks or tells the user in a modal box or a file chooser. Features
// call it instead of QMessageBox/QFileDialog so that tests can script the user's answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void information(const QString& caption, const QString& text) = 0;
    virtual void warning(const QString& caption, const QString& text) = 0;
    virtual void error(const QString& caption, const QString& text) = 0;
    // A yes/no question; true when the user answered yes.
    [[nodiscard]] virtual bool question(const QString& caption, const QString& text) = 0;
    // The chosen file's path, or an empty text when the user cancelled. `filter` uses the
    // "Description (*.ext)" form, entries separated by ";;"; a name typed without an extension
    // gets `defaultSuffix`.
    [[nodiscard]] virtual QString openFile(const QString& caption, const QString& startPath,
                                           const QString& filter,
                                           const QString& defaultSuffix = {}) = 0;
    [[nodiscard]] virtual QString saveFile(const QString& caption, const QString& startPath,
                                           const QString& filter, const QString& defaultSuffix) = 0;
};

} // namespace talvik::support
