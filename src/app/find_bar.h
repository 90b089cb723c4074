#pragma once

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace talvik::editor {
class SettingsEditor;
}

namespace talvik::app {

// The find field at the right of the tab row: finds a setting on the settings pages by its
// words or number as the user types, and shows each match in turn on its page, marked for a
// moment. Enter goes to the next match, Shift+Enter to the previous, Escape ends the find and
// leaves the focus on the setting found.
class FindBar : public QWidget {
    Q_OBJECT
public:
    // How long a match stays marked.
    static constexpr int kHighlightMs = 1500;

    // reveal scrolls the window so that a control is in view.
    FindBar(editor::SettingsEditor& editor, QTabWidget* pages, std::function<void(QWidget*)> reveal,
            QWidget* parent = nullptr);

    // Ctrl+F: the field takes the keyboard with its text selected.
    void open();
    // The matches for the text, the first one shown.
    void search(const QString& text);
    void next();
    void previous();
    // Clears the field and the mark; the setting last shown gets the focus.
    void close();
    // Shows a setting's control on its page, scrolled into view and marked for a moment;
    // nothing when no page shows it.
    void showSetting(int setting);

    // The setting shown now, or 0.
    [[nodiscard]] int current() const;
    [[nodiscard]] QWidget* highlight() const;

    QLineEdit* FindEdit;
    QLabel* FindCount; // "3 из 7"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(qsizetype index);
    [[nodiscard]] QWidget* controlOf(int setting) const;

    editor::SettingsEditor& m_editor;
    QTabWidget* m_pages;
    std::function<void(QWidget*)> m_reveal;
    QList<int> m_found;
    qsizetype m_current = -1;
    // Drawn over the control found; it belongs to the control's page and goes with it.
    QPointer<QFrame> m_highlight;
    QTimer m_highlightTimer;
};

} // namespace talvik::app
