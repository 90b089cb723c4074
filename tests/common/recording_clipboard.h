#pragma once

#include "clipboard.h"

#include <QByteArrayList>

// A clipboard for tests: keeps every text put on it.
class RecordingClipboard final : public talvik::support::Clipboard {
public:
    QByteArrayList copies;
    void setText(const QByteArray& cp1251) override { copies.append(cp1251); }
};
