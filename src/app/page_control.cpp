#include "page_control.h"

#include "image_tab_bar.h"
#include "pictures.h"

#include <QLayout>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

namespace talvik::app {

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControl1"));
    setTabBar(new ImageTabBar(this));
    setIconSize({Pictures::kTabImageSize, Pictures::kTabImageSize});
}

int PageControl::addPage(QWidget* page, const QString& caption, int imageIndex) {
    return addTab(page, QIcon(Pictures::tabImage(imageIndex)), caption);
}

int PageControl::activeContentBottom(int width) const {
    const QWidget* page = currentWidget();
    if (page == nullptr) {
        return 0;
    }
    // A page laid out by a layout reaches as low as its layout needs at the width the page will
    // have, counted below the tabs so that it is never cut; a page of placed controls reaches
    // its lowest control.
    if (const QLayout* layout = page->layout()) {
        int height = page->minimumSizeHint().height();
        if (layout->hasHeightForWidth()) {
            QStyleOptionTabWidgetFrame frame;
            initStyleOption(&frame);
            frame.rect.setWidth(width);
            const int pageWidth =
                style()->subElementRect(QStyle::SE_TabWidgetTabContents, &frame, this).width();
            height = std::max(height, layout->totalMinimumHeightForWidth(pageWidth));
        }
        return tabBar()->sizeHint().height() + height;
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
