#pragma once

#include <QPixmap>

namespace talvik::app {

// The window's pictures, painted at run time: the tab images of the page control and the
// connection icons of the header.
class Pictures {
public:
    // Tab images, by index.
    enum Tab { MainPage = 0, RadioPage = 1, SettingsPage = 2 };
    static constexpr int kTabImageSize = 32;
    static constexpr int kConnectionSize = 40;

    [[nodiscard]] static QPixmap tabImage(int index);
    [[nodiscard]] static QPixmap connection(bool connected);
};

} // namespace talvik::app
