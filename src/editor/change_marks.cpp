#include "change_marks.h"

#include "parameter_store.h"

#include <QLabel>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>

namespace talvik::editor {

ChangeMarks::ChangeMarks(QTabWidget* pages, const ParameterStore& store, int firstPage)
    : m_pages(pages), m_store(store), m_firstPage(firstPage) {}

QWidget* ChangeMarks::captionOf(const Parameter& record) {
    QWidget* control = record.control;
    if (control == nullptr) {
        return nullptr;
    }
    if (record.kind != Parameter::Kind::Edit && record.kind != Parameter::Kind::Combo) {
        return control; // a check box names itself, a bit group has its frame's caption
    }
    if (QWidget* container = control->parentWidget()) {
        for (QLabel* label : container->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->buddy() == control) {
                return label;
            }
        }
    }
    return nullptr;
}

bool ChangeMarks::isMarked(const QWidget* caption) {
    return caption->font().bold() && caption->palette().color(QPalette::WindowText) == kColour;
}

void ChangeMarks::mark(QWidget* caption, bool on) {
    QFont font = caption->font();
    font.setBold(on);
    caption->setFont(font);
    QPalette palette = caption->palette();
    const QWidget* parent = caption->parentWidget();
    palette.setColor(
        QPalette::WindowText,
        on ? kColour
           : (parent != nullptr ? parent->palette() : QPalette()).color(QPalette::WindowText));
    caption->setPalette(palette);
    // A label is laid out as wide as its text in the normal weight; in bold it needs more.
    if (on && qobject_cast<QLabel*>(caption) != nullptr) {
        caption->resize(std::max(caption->width(), caption->sizeHint().width()), caption->height());
    }
}

int ChangeMarks::pageOf(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const int index = m_pages->indexOf(w);
        if (index >= 0) {
            return index;
        }
    }
    return -1;
}

void ChangeMarks::refresh() {
    QSet<QWidget*> changed;
    QSet<int> pages;
    for (const auto& [number, record] : m_store) {
        if (!record.changed) {
            continue;
        }
        if (QWidget* caption = captionOf(record)) {
            changed.insert(caption);
            pages.insert(pageOf(caption));
        }
    }
    for (auto it = m_marked.begin(); it != m_marked.end();) {
        if (it.value() == nullptr || !changed.contains(it.key())) {
            if (it.value() != nullptr) {
                mark(it.value(), false);
            }
            it = m_marked.erase(it);
        } else {
            ++it;
        }
    }
    for (QWidget* caption : std::as_const(changed)) {
        if (!m_marked.contains(caption)) {
            mark(caption, true);
            m_marked.insert(caption, caption);
        }
    }
    QTabBar* tabs = m_pages->tabBar();
    for (int i = m_firstPage; i < m_pages->count(); ++i) {
        tabs->setTabTextColor(i, pages.contains(i) ? kColour : QColor());
    }
}

} // namespace talvik::editor
