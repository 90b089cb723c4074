#include "system_port_enumerator.h"

#include "qt_serial_line.h"

#include <QSerialPortInfo>

namespace talvik::link {

QList<PortEnumerator::Port> SystemPortEnumerator::AvailablePorts() const {
    QList<Port> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        ports.append({info.description(), info.portName()});
    }
    return ports;
}

std::unique_ptr<SerialLine> SystemPortEnumerator::CreateLine() const {
    return std::make_unique<QtSerialLine>();
}

} // namespace talvik::link
