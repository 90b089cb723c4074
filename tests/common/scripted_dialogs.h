#pragma once

#include "dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

// Dialogs for tests: records every box shown and answers questions and file choosers from
// queues the test fills beforehand (an empty queue answers "no" / cancel).
class ScriptedDialogs final : public talvik::support::Dialogs {
public:
    enum class Kind { Information, Warning, Error, Question, OpenFile, SaveFile };
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
    };

    QList<bool> answers;
    QStringList files;
    QList<Shown> shown;

    void information(const QString& caption, const QString& text) override {
        shown.append({Kind::Information, caption, text});
    }
    void warning(const QString& caption, const QString& text) override {
        shown.append({Kind::Warning, caption, text});
    }
    void error(const QString& caption, const QString& text) override {
        shown.append({Kind::Error, caption, text});
    }
    [[nodiscard]] bool question(const QString& caption, const QString& text) override {
        shown.append({Kind::Question, caption, text});
        return !answers.isEmpty() && answers.takeFirst();
    }
    [[nodiscard]] QString openFile(const QString& caption, const QString& startPath,
                                   const QString& /*filter*/,
                                   const QString& /*defaultSuffix*/) override {
        shown.append({Kind::OpenFile, caption, startPath});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    [[nodiscard]] QString saveFile(const QString& caption, const QString& startPath,
                                   const QString& /*filter*/,
                                   const QString& /*defaultSuffix*/) override {
        shown.append({Kind::SaveFile, caption, startPath});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
};
