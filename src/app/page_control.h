#pragma once

#include <QTabWidget>

namespace talvik::app {

class ImageTabBar;

// The window's page control: the main page, the radio page and the settings pages, each tab
// with its image.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);

    // Adds a page whose tab shows the tab image `imageIndex` (see Pictures::Tab).
    int addPage(QWidget* page, const QString& caption, int imageIndex);
    // The lowest edge, in the page control's coordinates, that the active page's content reaches
    // when the page control is `width` wide (wrapped texts need more lines on narrower pages).
    [[nodiscard]] int activeContentBottom(int width) const;
};

} // namespace talvik::app
