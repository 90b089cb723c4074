#pragma once

#include "request.h"
#include "responder.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace talvik::emu {

// One area of the controller's behaviour (connection, identification, settings, ...). Modules
// live in emulator/modules/, one file each, and register themselves with ModuleRegistry.
class EmuModule {
public:
    virtual ~EmuModule() = default;
    // Handles the request and returns true when it belongs to this module.
    virtual bool handle(const Request& request, Responder& out) = 0;
    // Bytes from the line before they are cut into frames: a module that has taken the line
    // over (a loader that talks in raw bytes) returns true and the bytes are not frames.
    virtual bool receiveRaw(const QByteArray& /*bytes*/, std::uint32_t /*atMs*/,
                            Responder& /*out*/) {
        return false;
    }
    // The program has lost the link (it is hunting for the line speed again, or it has been
    // quiet for longer than its own link-loss time), so the next probe starts a new session.
    virtual void hostLost() {}
    // The line is about to run dry: a module in the middle of a long output of its own sends
    // its next frame and returns true, or returns false when it has nothing to send. Feeding
    // the line a frame at a time keeps it busy while answers to other requests can still slip
    // in between.
    virtual bool sendNext(Responder& /*out*/) { return false; }
    // Output that comes with time rather than with a request, such as the reports of what the
    // controller hears on the radio: how long after `now` the next one is due, or nothing.
    [[nodiscard]] virtual std::optional<std::uint32_t> msUntilDue(std::uint32_t /*now*/) const {
        return std::nullopt;
    }
    // Sends one frame of the output due by `now` and returns true, or returns false when
    // nothing is due.
    virtual bool sendDue(Responder& /*out*/, std::uint32_t /*now*/) { return false; }
    // The value of status S<number> at the given time when this module keeps it.
    [[nodiscard]] virtual std::optional<QByteArray> statusValue(int /*number*/,
                                                                std::uint32_t /*atMs*/) {
        return std::nullopt;
    }
    // The emulator is about to exit (also on a stop signal).
    virtual void shutDown() {}
};

} // namespace talvik::emu
