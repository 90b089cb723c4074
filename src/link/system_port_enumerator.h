#pragma once

#include "port_enumerator.h"

namespace talvik::link {

// The machine's serial ports as QSerialPortInfo lists them, opened as QSerialPort lines.
class SystemPortEnumerator final : public PortEnumerator {
public:
    [[nodiscard]] QList<Port> AvailablePorts() const override;
    [[nodiscard]] std::unique_ptr<SerialLine> CreateLine() const override;
};

} // namespace talvik::link
