#pragma once

#include <QString>

// What the command line asked for.
struct StartOptions {
    // `--port PATH`: the one serial port to look for a controller on; empty means every port.
    QString port;
};
