#pragma once

#include <QColor>
#include <QHash>
#include <QPointer>
#include <QWidget>

class QTabWidget;

namespace talvik::editor {

class ParameterStore;
struct Parameter;

// Shows which settings the next write will send: the caption of each changed setting (the label
// beside its field, the check box, the frame of a bit group) in a distinct colour and weight, and
// the tabs of pages that hold such a setting in that colour.
class ChangeMarks {
public:
    static inline const QColor kColour{0xC0, 0x50, 0x00};

    ChangeMarks(QTabWidget* pages, const ParameterStore& store, int firstPage);

    // Brings the marks in line with the changed flags; only captions whose state differs are
    // touched, so it is cheap to run after every edit.
    void refresh();

    // The widget that names the setting on its page, or null when the pages do not show it.
    [[nodiscard]] static QWidget* captionOf(const Parameter& record);
    [[nodiscard]] static bool isMarked(const QWidget* caption);
    // The index of the page that holds a widget, or -1.
    [[nodiscard]] int pageOf(QWidget* widget) const;

private:
    static void mark(QWidget* caption, bool on);

    QTabWidget* m_pages;
    const ParameterStore& m_store;
    int m_firstPage;
    QHash<QWidget*, QPointer<QWidget>> m_marked;
};

} // namespace talvik::editor
