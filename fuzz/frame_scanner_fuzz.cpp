// Feeds arbitrary byte streams to the receive scanner in differently cut pieces and checks that
// every cut yields the same frames and that the pending tail never outgrows one frame.
#include "frame_scanner.h"

#include <cstdlib>
#include <tuple>
#include <vector>

using namespace talvik::link;

namespace {

using Found = std::tuple<std::uint8_t, std::uint8_t, std::vector<std::uint8_t>, bool>;

// next gives the length of each piece in turn.
template <typename Next>
std::vector<Found> Collect(std::span<const std::uint8_t> stream, Next next) {
    FrameScanner scanner;
    std::vector<Found> found;
    const auto sink = [&found](const ReceivedFrame& f) {
        found.emplace_back(f.kind, f.channel,
                           std::vector<std::uint8_t>(f.payload.begin(), f.payload.end()),
                           f.checksumOk);
    };
    while (!stream.empty()) {
        std::size_t piece = next();
        piece = piece == 0 || piece > stream.size() ? stream.size() : piece;
        scanner.Feed(stream.first(piece), sink);
        stream = stream.subspan(piece);
        if (scanner.Pending() > 263) {
            std::abort();
        }
    }
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> stream(data, size);
    const auto whole = Collect(stream, [] { return std::size_t{0}; });
    const auto single = Collect(stream, [] { return std::size_t{1}; });
    const auto seven = Collect(stream, [] { return std::size_t{7}; });
    // Piece lengths taken from the stream itself: cuts that depend on the content.
    std::size_t at = 0;
    const auto uneven =
        Collect(stream, [&] { return size == 0 ? 1 : 1 + data[at++ % size] % 300; });
    if (whole != single || whole != seven || whole != uneven) {
        std::abort();
    }
    return 0;
}
