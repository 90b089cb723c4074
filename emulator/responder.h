#pragma once

#include <QByteArray>

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
};

} // namespace talvik::emu
