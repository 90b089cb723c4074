#pragma once

#include "clipboard.h"

namespace talvik::app {

// The system clipboard. Qt offers the text to other programs in every form they ask for,
// the 8-bit one included.
class QtClipboard final : public support::Clipboard {
public:
    void setText(const QByteArray& cp1251) override;
};

} // namespace talvik::app
