#include "right_anchors.h"

#include <QEvent>

namespace talvik::editor {

RightAnchors::RightAnchors(QWidget* container)
    : QObject(container), m_container(container), m_width(container->width()) {
    container->installEventFilter(this);
}

void RightAnchors::anchor(QWidget* control) {
    QWidget* container = control->parentWidget();
    if (container == nullptr) {
        return;
    }
    auto* anchors = container->findChild<RightAnchors*>(QString(), Qt::FindDirectChildrenOnly);
    if (anchors == nullptr) {
        anchors = new RightAnchors(container);
    } else {
        // The controls anchored so far are brought up to date before one joins at this width.
        anchors->fit();
    }
    anchors->m_controls.append({control, control->width(), control->width()});
}

bool RightAnchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_container && event->type() == QEvent::Resize) {
        fit();
    }
    return QObject::eventFilter(watched, event);
}

void RightAnchors::fit() {
    const int delta = m_container->width() - m_width;
    if (delta == 0) {
        return;
    }
    m_width = m_container->width();
    for (Anchored& anchored : m_controls) {
        QWidget* control = anchored.control;
        if (control == nullptr) {
            continue;
        }
        if (control->width() != anchored.applied) {
            anchored.intended = control->width();
        }
        anchored.intended += delta;
        control->resize(std::max(0, anchored.intended), control->height());
        anchored.applied = control->width();
    }
}

} // namespace talvik::editor
