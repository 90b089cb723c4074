#pragma once

#include <QString>
#include <QStringList>

namespace talvik::link {
class PortEnumerator;
} // namespace talvik::link

namespace talvik::app {

// What `talvik --list-ports` prints: every serial port present, one a line, as the port name,
// a tab and its description, followed by a tab and why the scan skips it when it does.
class PortListing {
public:
    // onlyPort: the port of --port, the one port then scanned; empty for every port.
    [[nodiscard]] static QStringList lines(const link::PortEnumerator& enumerator,
                                           const QString& onlyPort);
};

} // namespace talvik::app
