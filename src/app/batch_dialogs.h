#pragma once

#include "dialogs.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace talvik::app {

// The message boxes and file choosers of a batch run: each box becomes a line on standard
// error with its caption and text; a question is answered Yes with --yes (or when the action
// under way answers it itself) and is an error otherwise; a file chooser returns the file the
// action names.
class BatchDialogs final : public support::Dialogs {
public:
    BatchDialogs(QTextStream& errors, bool yes) : m_errors(errors), m_yes(yes) {}

    void information(const QString& caption, const QString& text) override;
    void warning(const QString& caption, const QString& text) override;
    void error(const QString& caption, const QString& text) override;
    [[nodiscard]] bool question(const QString& caption, const QString& text) override;
    [[nodiscard]] QString openFile(const QString& caption, const QString& startPath,
                                   const QString& filter,
                                   const QString& defaultSuffix = {}) override;
    [[nodiscard]] QString saveFile(const QString& caption, const QString& startPath,
                                   const QString& filter, const QString& defaultSuffix) override;

    // The next file chooser returns this path (once).
    void chooseFile(const QString& path) { m_file = path; }
    // This question is answered by the action under way, not by --yes.
    void answer(const QString& question, bool yes);
    // The errors reported since the last call, as "caption: text" (error boxes, unanswered
    // questions, file choosers nobody chose for); clears them.
    [[nodiscard]] QStringList takeErrors();

private:
    void print(const QString& caption, const QString& text, QStringView tail = {});

    QTextStream& m_errors;
    bool m_yes;
    QString m_file;
    QList<std::pair<QString, bool>> m_answers;
    QStringList m_reported;
};

} // namespace talvik::app
