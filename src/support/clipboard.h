#pragma once

#include <QByteArray>

namespace talvik::support {

// The system clipboard as the program fills it: plain 8-bit text in the controller's code page.
// Features call it instead of QClipboard so that tests can see what was copied.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QByteArray& cp1251) = 0;
};

} // namespace talvik::support
