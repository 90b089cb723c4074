#pragma once

#include "frame.h"

#include <QByteArray>

#include <vector>

namespace talvik::emu {

// Cuts link frames out of a byte stream that may arrive in arbitrary pieces. Bytes before a
// marker and broken markers are skipped; an incomplete frame is kept until the rest arrives, so
// the scanner never holds more than one frame's worth of bytes.
class FrameScanner {
public:
    struct Result {
        std::vector<Frame> frames; // complete frames whose checksum matched, in order
        int badChecksums = 0;      // complete frames dropped for a wrong checksum
    };

    [[nodiscard]] Result feed(const QByteArray& bytes);
    [[nodiscard]] qsizetype pendingSize() const { return m_pending.size(); }
    void clear() { m_pending.clear(); }

private:
    QByteArray m_pending;
};

} // namespace talvik::emu
