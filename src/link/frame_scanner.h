#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace talvik::link {

// One frame found in the received stream; the payload points into the scanner's buffer and is
// valid only during the call that reports it.
struct ReceivedFrame {
    std::uint8_t kind = 0;
    std::uint8_t channel = 0;
    std::span<const std::uint8_t> payload;
    bool checksumOk = false;
};

// The receive buffer of a channel: new bytes go behind the bytes of an incomplete frame kept
// from the previous read, and the scan reports every whole frame, keeping the unfinished tail.
class FrameScanner {
public:
    // One full driver input queue plus the longest incomplete frame.
    static constexpr std::size_t kCapacity = 8192 + 264;

    [[nodiscard]] std::size_t Room() const { return kCapacity - m_pending; }
    [[nodiscard]] std::uint8_t* Tail() { return m_buffer.data() + m_pending; }
    [[nodiscard]] std::size_t Pending() const { return m_pending; }

    // count bytes were written at Tail(); returns the pending and the new bytes together and
    // forgets the pending count, so the data is either scanned or handed elsewhere.
    std::span<const std::uint8_t> Take(std::size_t count);

    // Scans the first size bytes of the buffer (what Take returned), calling sink for each frame.
    template <typename Sink> void Scan(std::size_t size, Sink&& sink) {
        std::size_t pos = 0;
        ReceivedFrame frame;
        while (Next(pos, size, frame)) {
            sink(static_cast<const ReceivedFrame&>(frame));
        }
    }

    // Take and Scan over bytes from elsewhere, in as many pieces as the buffer needs.
    template <typename Sink> void Feed(std::span<const std::uint8_t> bytes, Sink&& sink) {
        while (!bytes.empty()) {
            const std::size_t piece = bytes.size() < Room() ? bytes.size() : Room();
            std::copy_n(bytes.data(), piece, Tail());
            bytes = bytes.subspan(piece);
            Scan(Take(piece).size(), sink);
        }
    }

private:
    // Finds the next frame at or after pos; false at the end of the data, with any unfinished
    // frame moved to the buffer start as pending.
    bool Next(std::size_t& pos, std::size_t size, ReceivedFrame& frame);

    std::array<std::uint8_t, kCapacity> m_buffer{};
    std::size_t m_pending = 0;
};

} // namespace talvik::link
