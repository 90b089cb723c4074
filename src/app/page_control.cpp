#include "page_control.h"

#include "image_tab_bar.h"
#include "pictures.h"

#include <QLayout>

namespace talvik::app {

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControl1"));
    setTabBar(new ImageTabBar(this));
    setIconSize({Pictures::kTabImageSize, Pictures::kTabImageSize});
}

int PageControl::addPage(QWidget* page, const QString& caption, int imageIndex) {
    return addTab(page, QIcon(Pictures::tabImage(imageIndex)), caption);
}

int PageControl::activeContentBottom() const {
    const QWidget* page = currentWidget();
    if (page == nullptr) {
        return 0;
    }
    // A page laid out by a layout reaches as low as its layout needs, counted below the tabs
    // so that it is never cut; a page of placed controls reaches its lowest control.
    if (page->layout() != nullptr) {
        return tabBar()->sizeHint().height() + page->minimumSizeHint().height();
    }
    int bottom = 0;
    for (const QObject* child : page->children()) {
        if (const auto* control = qobject_cast<const QWidget*>(child)) {
            bottom = std::max(bottom, control->geometry().bottom() + 1);
        }
    }
    // The page sits below the tabs and inside the pane's frame; the page control must reach
    // past both, or the last row of a long page is cut off.
    return page->mapTo(this, QPoint(0, bottom)).y();
}

} // namespace talvik::app
