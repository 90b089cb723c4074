#pragma once

#include "dialogs.h"

class QWidget;

namespace talvik::app {

// The real message boxes and file choosers, modal over the main window.
class QtDialogs final : public support::Dialogs {
public:
    explicit QtDialogs(QWidget* owner) : m_owner(owner) {}

    void information(const QString& caption, const QString& text) override;
    void warning(const QString& caption, const QString& text) override;
    void error(const QString& caption, const QString& text) override;
    [[nodiscard]] bool question(const QString& caption, const QString& text) override;
    [[nodiscard]] QString openFile(const QString& caption, const QString& startPath,
                                   const QString& filter, const QString& defaultSuffix) override;
    [[nodiscard]] QString saveFile(const QString& caption, const QString& startPath,
                                   const QString& filter, const QString& defaultSuffix) override;

private:
    // acceptMode: a QFileDialog::AcceptMode.
    [[nodiscard]] QString chooseFile(int acceptMode, const QString& caption,
                                     const QString& startPath, const QString& filter,
                                     const QString& defaultSuffix);

    QWidget* m_owner;
};

} // namespace talvik::app
