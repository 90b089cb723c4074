#include "port_listing.h"

#include "port_discovery.h"

using namespace Qt::StringLiterals;

namespace talvik::app {

QStringList PortListing::lines(const link::PortEnumerator& enumerator, const QString& onlyPort) {
    QStringList lines;
    bool onlyPortListed = false;
    const QList<link::ListedPort> ports = link::ListPorts(enumerator);
    for (const link::ListedPort& listed : ports) {
        const QString& name = listed.port.portName;
        QString reason = listed.skipReason;
        if (reason.isEmpty() && !onlyPort.isEmpty() && name != onlyPort) {
            reason = u"--port names another port"_s;
        }
        onlyPortListed = onlyPortListed || name == onlyPort;
        const QString& description = listed.port.description;
        lines.append(name + u'\t' + (description.isEmpty() ? u"(no description)"_s : description) +
                     (reason.isEmpty() ? QString() : u"\tskipped: "_s + reason));
    }
    // A port the system does not list (a pseudo-terminal) is still scanned when named.
    if (!onlyPort.isEmpty() && !onlyPortListed) {
        lines.append(onlyPort + u"\t(named by --port)"_s);
    }
    return lines;
}

} // namespace talvik::app
