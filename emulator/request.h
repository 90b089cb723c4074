#pragma once

#include <QByteArray>

#include <cstdint>

namespace talvik::emu {

// A frame from the program as the modules see it.
struct Request {
    std::uint8_t kind = 0;
    std::uint8_t channel = 0;
    QByteArray payload;
    // The emulator's millisecond tick when the frame arrived, for behaviour that changes over
    // time.
    std::uint32_t atMs = 0;

    // The program waits for the answer to commands sent on channel 2; the answer goes back with
    // kind 2 so that it ends the wait.
    [[nodiscard]] bool awaited() const { return channel == 2; }
    // The idle probe: a payload of a single NUL.
    [[nodiscard]] bool keepAlive() const { return payload.size() == 1 && payload.front() == '\0'; }
    // Text commands start with a space.
    [[nodiscard]] bool isText() const { return !payload.isEmpty() && payload.front() == ' '; }
    // The command text without its leading space and without the NUL that ends it.
    [[nodiscard]] QByteArray text() const {
        if (!isText()) {
            return {};
        }
        const QByteArray rest = payload.mid(1);
        const qsizetype nul = rest.indexOf('\0');
        return nul < 0 ? rest : rest.left(nul);
    }
};

} // namespace talvik::emu
