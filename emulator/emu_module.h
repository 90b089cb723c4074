#pragma once

#include "request.h"
#include "responder.h"

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
};
