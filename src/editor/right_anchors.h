#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace talvik::editor {

// Keeps controls that are anchored to their container's right edge at the same distance from
// it: when the container's width changes, each anchored control's width changes by as much.
// One instance watches each container that holds such controls.
class RightAnchors : public QObject {
    Q_OBJECT
public:
    // Anchors control (already placed in its parent) to the parent's right edge.
    static void anchor(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit RightAnchors(QWidget* container);
    void fit();

    QWidget* m_container;
    // The container width the anchored controls were last fitted to. Tracked here rather than
    // taken from the resize event, since a hidden container reports no old size.
    int m_width;
    struct Anchored {
        QPointer<QWidget> control;
        // The width the distance to the right edge calls for; it may be negative while the
        // container is briefly narrower than the control's left edge, which Qt cannot show.
        int intended;
        // The width last given, to notice when something else resized the control.
        int applied;
    };
    QList<Anchored> m_controls;
};

} // namespace talvik::editor
