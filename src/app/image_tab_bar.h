#pragma once

#include <QTabBar>

namespace talvik::app {

// Tabs drawn by the window itself: the tab's image on the left, the page caption beside it,
// and a white face for the active tab.
class ImageTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit ImageTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace talvik::app
