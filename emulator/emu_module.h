#pragma once

#include "request.h"
#include "responder.h"

namespace talvik::emu {

// One area of the controller's behaviour (connection, identification, settings, ...). Modules
// live in emulator/modules/, one file each, and register themselves with ModuleRegistry.
class EmuModule {
public:
    virtual ~EmuModule() = default;
    // Handles the request and returns true when it belongs to this module.
    virtual bool handle(const Request& request, Responder& out) = 0;
    // The program has lost the link (it is hunting for the line speed again, or it has been
    // quiet for longer than its own link-loss time), so the next probe starts a new session.
    virtual void hostLost() {}
    // The line is about to run dry: a module in the middle of a long output of its own sends
    // its next frame and returns true, or returns false when it has nothing to send. Feeding
    // the line a frame at a time keeps it busy while answers to other requests can still slip
    // in between.
    virtual bool sendNext(Responder& /*out*/) { return false; }
    // The emulator is about to exit (also on a stop signal).
    virtual void shutDown() {}
};

} // namespace talvik::emu
