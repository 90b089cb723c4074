#pragma once

#include <QByteArray>

// Where a module puts its answers; the emulator frames, paces and (maybe) corrupts them.
class Responder {
public:
    virtual ~Responder() = default;
    // Sends a payload in answer to the request being handled: kind 2 when the program awaits
    // it, kind 0 otherwise.
    virtual void reply(const QByteArray& payload) = 0;
};
