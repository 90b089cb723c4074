#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace talvik::emu {

// Where a module puts its answers; the emulator frames, paces and (maybe) corrupts them.
class Responder {
public:
    virtual ~Responder() = default;
    // Sends a payload in answer to the request being handled: kind 2 when the program awaits
    // it, kind 0 otherwise.
    virtual void reply(const QByteArray& payload) = 0;
    // Sends a payload that answers nothing by itself (kind 0), such as one line of a listing
    // that a single request started.
    virtual void notify(const QByteArray& payload) = 0;
    // Sends bytes as they are, without a frame, as a controller's loader does.
    virtual void raw(const QByteArray& bytes) = 0;
    // The value of the controller's status S<number> now (the text after "#S<number>:"), from
    // whichever module keeps it; nothing when none does. One status query may ask for values
    // that several modules keep.
    [[nodiscard]] virtual std::optional<QByteArray> status(int number) = 0;
    // The controller restarts: every session ends, and for quietMs it hears and says nothing.
    virtual void restart(std::uint32_t quietMs) = 0;
    // Every session ends (a running listing stops, the next probe is announced to), as when the
    // controller hands the line to its loader; what is already on its way still goes out whole.
    virtual void endSessions() = 0;
};

} // namespace talvik::emu
