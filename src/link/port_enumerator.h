#pragma once

#include "serial_line.h"

#include <QList>
#include <QString>
#include <memory>

namespace talvik::link {

// What the machine offers: the present serial ports and a way to open a line on one of them.
class PortEnumerator {
public:
    struct Port {
        QString description;
        QString portName;
    };

    virtual ~PortEnumerator() = default;
    [[nodiscard]] virtual QList<Port> AvailablePorts() const = 0;
    // A line that is not open yet.
    [[nodiscard]] virtual std::unique_ptr<SerialLine> CreateLine() const = 0;
};

} // namespace talvik::link
