#pragma once

#include "com_port_base.h"
#include "port_enumerator.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

namespace talvik::link {

// Every port that is open while no device is connected, by port name; removing an entry
// destroys the port.
using PortMap = std::map<QString, std::unique_ptr<ComPortBase>>;

// Builds the port object (for the window, its channel subclass) on an open line.
using PortFactory = std::function<std::unique_ptr<ComPortBase>(
    std::unique_ptr<SerialLine> line, const QString& portName, const QString& friendlyName)>;

// Told the name of a present port that this user has no right to open.
using AccessDenied = std::function<void(const QString& portName)>;

// "description (port name)", with any parentheses of the description shown as brackets, so
// that the port name is found again between the first parentheses. A port the user names
// directly (a pseudo-terminal, say) is refreshed with this text as the filter.
[[nodiscard]] QString FriendlyName(const QString& description, const QString& portName);

// The text between the first '(' and the next ')', empty when either is missing.
[[nodiscard]] QString PortNameOf(const QString& friendlyName);

// Why the scan never opens this port: a printer port (LPT), or a Bluetooth port (named so, or
// a Linux rfcomm link); empty when it is scanned.
[[nodiscard]] QString SkipReason(const PortEnumerator::Port& port);

// A present port as the scan sees it.
struct ListedPort {
    PortEnumerator::Port port;
    QString friendlyName;
    QString skipReason; // empty for a port that is scanned
};
// Every present port in the system's order, with why it is skipped.
[[nodiscard]] QList<ListedPort> ListPorts(const PortEnumerator& enumerator);

// Friendly names of the present ports that the scan opens.
[[nodiscard]] QStringList EnumeratePorts(const PortEnumerator& enumerator);

// Opens and enters the port if the map lacks it, and marks it seen. A port that fails to open
// for lack of rights is told to `denied`.
void AddPort(PortMap& ports, const PortEnumerator& enumerator, const PortFactory& factory,
             const QString& friendlyName, const AccessDenied& denied = {});

// Brings the map in line with the present ports. Filter: empty for every port, "none" for no
// port, otherwise the friendly name of the one port to use. Every port that fails to open for
// lack of rights is told to `denied`, at each refresh.
void RefreshPorts(PortMap& ports, const PortEnumerator& enumerator, const PortFactory& factory,
                  const QString& filter, const AccessDenied& denied = {});

} // namespace talvik::link
