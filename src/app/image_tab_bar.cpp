#include "image_tab_bar.h"

#include "pictures.h"

#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>

namespace talvik::app {

namespace {
constexpr int kImageLeft = 4;
constexpr int kCaptionLeft = 44;
constexpr int kRightPad = 14;
constexpr int kHeight = 44;
} // namespace

ImageTabBar::ImageTabBar(QWidget* parent) : QTabBar(parent) {
    setObjectName(QStringLiteral("PageControl1TabBar"));
    setDrawBase(true);
    setExpanding(false);
}

QSize ImageTabBar::tabSizeHint(int index) const {
    return {kCaptionLeft + fontMetrics().horizontalAdvance(tabText(index)) + kRightPad, kHeight};
}

void ImageTabBar::paintEvent(QPaintEvent*) {
    // Qt keeps a hidden page's tab at its index, so the tab index is the page index even
    // while the radio page is hidden.
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i)) {
            continue;
        }
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        const QRect r = tabRect(i);
        const bool active = i == currentIndex();
        if (active) {
            painter.fillRect(r.adjusted(2, 2, -2, 0), QColor(255, 255, 255));
        }
        const QPixmap image = tabIcon(i).pixmap(Pictures::kTabImageSize);
        painter.drawPixmap(r.left() + kImageLeft, r.top() + (active ? 5 : 2), image);
        // A page holding changed settings has its caption in the colour the settings editor gave
        // it.
        const QColor marked = tabTextColor(i);
        painter.setPen(marked.isValid() ? marked : palette().color(QPalette::WindowText));
        const int top = r.top() + (active ? 13 : 10);
        painter.drawText(QRect(r.left() + kCaptionLeft, top, r.width() - kCaptionLeft, r.height()),
                         Qt::AlignLeft | Qt::AlignTop, tabText(i));
    }
}

} // namespace talvik::app
