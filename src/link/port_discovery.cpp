#include "port_discovery.h"

using namespace Qt::StringLiterals;

namespace talvik::link {

QString FriendlyName(const QString& description, const QString& portName) {
    // The port name is read back from between the first parentheses, so the description's own
    // parentheses (a USB product text such as "USB2.0-Serial (CH340)") become brackets.
    QString shown = description;
    shown.replace(u'(', u'[').replace(u')', u']');
    return shown + u" ("_s + portName + u')';
}

QString PortNameOf(const QString& friendlyName) {
    const qsizetype open = friendlyName.indexOf(u'(');
    if (open < 0) {
        return {};
    }
    const qsizetype close = friendlyName.indexOf(u')', open + 1);
    if (close < 0) {
        return {};
    }
    return friendlyName.mid(open + 1, close - open - 1);
}

QString SkipReason(const PortEnumerator::Port& port) {
    const QString name = FriendlyName(port.description, port.portName);
    if (name.contains(u"LPT"_s)) {
        return u"printer port (LPT)"_s;
    }
    // Linux names a Bluetooth serial link rfcomm<N>, often with no description at all.
    if (name.toLower().contains(u"bluetooth"_s) || port.portName.startsWith(u"rfcomm"_s)) {
        return u"Bluetooth port"_s;
    }
    return {};
}

QList<ListedPort> ListPorts(const PortEnumerator& enumerator) {
    QList<ListedPort> listed;
    const QList<PortEnumerator::Port> ports = enumerator.AvailablePorts();
    for (const PortEnumerator::Port& port : ports) {
        listed.append({port, FriendlyName(port.description, port.portName), SkipReason(port)});
    }
    return listed;
}

QStringList EnumeratePorts(const PortEnumerator& enumerator) {
    QStringList names;
    const QList<ListedPort> ports = ListPorts(enumerator);
    for (const ListedPort& port : ports) {
        if (port.skipReason.isEmpty()) {
            names.append(port.friendlyName);
        }
    }
    return names;
}

void AddPort(PortMap& ports, const PortEnumerator& enumerator, const PortFactory& factory,
             const QString& friendlyName, const AccessDenied& denied) {
    const QString portName = PortNameOf(friendlyName);
    auto entry = ports.find(portName);
    if (entry == ports.end()) {
        if (portName.isEmpty()) {
            return;
        }
        std::unique_ptr<SerialLine> line = enumerator.CreateLine();
        if (!line->open(portName)) {
            if (denied && line->accessDenied()) {
                denied(portName);
            }
            return;
        }
        entry = ports.emplace(portName, factory(std::move(line), portName, friendlyName)).first;
    }
    entry->second->SetSeen(true);
}

void RefreshPorts(PortMap& ports, const PortEnumerator& enumerator, const PortFactory& factory,
                  const QString& filter, const AccessDenied& denied) {
    for (auto& entry : ports) {
        entry.second->SetSeen(false);
    }
    if (filter != u"none"_s) {
        if (filter.isEmpty()) {
            const QStringList names = EnumeratePorts(enumerator);
            for (const QString& name : names) {
                AddPort(ports, enumerator, factory, name, denied);
            }
        } else {
            AddPort(ports, enumerator, factory, filter, denied);
        }
    }
    std::erase_if(ports, [](const auto& entry) { return !entry.second->Seen(); });
}

} // namespace talvik::link
