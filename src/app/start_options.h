#pragma once

#include <QString>

namespace talvik::app {

// What the command line asked for.
struct StartOptions {
    // `--port PATH`: the one serial port to look for a controller on; empty means every port.
    QString port;
};

} // namespace talvik::app
