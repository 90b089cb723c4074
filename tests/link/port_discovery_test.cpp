#include "com_port.h"
#include "fake_clock.h"
#include "fake_port_enumerator.h"
#include "log_tail.h"
#include "port_discovery.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace Qt::StringLiterals;
using namespace talvik::link;

namespace {

// Makes command channels on the lines a refresh opens.
struct ChannelPorts {
    FakeClock clock;
    WritePacing pacing;
    [[nodiscard]] PortFactory factory() {
        return [this](std::unique_ptr<SerialLine> line, const QString& name,
                      const QString& friendly) -> std::unique_ptr<ComPortBase> {
            return std::make_unique<ComPort>(std::move(line), name, friendly, clock, pacing);
        };
    }
};

// A port's friendly name and the port name found between its first parentheses.
struct FriendlyRow {
    const char* name;
    QString friendly;
    QString port;
};

class PortNameOfFriendly : public testing::TestWithParam<FriendlyRow> {};

TEST_P(PortNameOfFriendly, IsBetweenTheFirstParentheses) {
    EXPECT_EQ(PortNameOf(GetParam().friendly), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    PortDiscovery, PortNameOfFriendly,
    testing::Values(FriendlyRow{"Plain", u"USB Serial Port (COM7)"_s, u"COM7"_s},
                    FriendlyRow{"TwoPairs", u"Prolific (COM12) (COM3)"_s, u"COM12"_s},
                    FriendlyRow{"ClosingFirst", u"Odd ) name (COM5)"_s, u"COM5"_s},
                    FriendlyRow{"NoParentheses", u"No parentheses"_s, QString()},
                    FriendlyRow{"Unclosed", u"Unclosed (COM4"_s, QString()},
                    FriendlyRow{"Path", u"emu (/dev/pts/3)"_s, u"/dev/pts/3"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PortDiscovery, EnumerationLeavesOutPrintersAndBluetoothByTheirDescription) {
    FakeEnumerator enumerator;
    enumerator.ports = {{u"USB Serial"_s, u"COM3"_s},
                        {u"Printer Port"_s, u"LPT1"_s},
                        {u"Standard Serial over BlueTooth link"_s, u"COM8"_s},
                        {u"lpt-like adapter"_s, u"COM9"_s}};
    EXPECT_EQ(EnumeratePorts(enumerator),
              QStringList({u"USB Serial (COM3)"_s, u"lpt-like adapter (COM9)"_s}));
}

// The open ports follow the list and the filter, refresh after refresh.
TEST(PortDiscovery, RefreshFollowsTheListAndTheFilter) {
    FakeEnumerator enumerator;
    // Each row: the ports present, one that refuses to open, the filter, and the ports then open.
    // The filter's own port is opened by name.
    using P = FakeEnumerator::Port;
    const QList<P> abc = {{u"A"_s, u"COM3"_s}, {u"B"_s, u"COM4"_s}, {u"C"_s, u"COM5"_s}};
    const QList<P> ac = {abc[0], abc[2]};
    const struct {
        QList<FakeEnumerator::Port> ports;
        QString refused, filter;
        QStringList open;
    } cases[] = {
        {abc, u"COM5"_s, {}, {u"COM3"_s, u"COM4"_s}},
        {ac, {}, {}, {u"COM3"_s, u"COM5"_s}},
        {ac, {}, FriendlyName(u"emu"_s, u"/dev/pts/7"_s), {u"/dev/pts/7"_s}},
        {ac, {}, u"/dev/pts/7"_s, {}}, // without parentheses there is no port name
        {ac, {}, {}, {u"COM3"_s, u"COM5"_s}},
        {ac, {}, u"none"_s, {}},
    };
    const LogTail log;
    ChannelPorts channel;
    const PortFactory factory = channel.factory();
    PortMap ports;
    for (const auto& c : cases) {
        enumerator.ports = c.ports;
        enumerator.lineState->refusedNames = {c.refused};
        RefreshPorts(ports, enumerator, factory, c.filter);
        QStringList open;
        for (const auto& [name, port] : ports) {
            open << name;
            EXPECT_TRUE(!name.startsWith(u'/') || enumerator.lineState->portName == name);
        }
        EXPECT_EQ(open, c.open) << c.filter.toStdString();
        EXPECT_TRUE(!ports.contains(u"COM3"_s) ||
                    ports.at(u"COM3"_s)->FriendlyName() == u"A (COM3)"_s);
    }
    EXPECT_EQ(log.Lines().count("COM4:\tclosed"), 1);
    EXPECT_EQ(enumerator.lineState->opens, 7) << "a port still present is not opened again";
}

// One present port, as the system describes it, and the ports a refresh then opens.
struct ListedPort {
    const char* name;
    QString description;
    QString portName;
    QStringList open;
};

void PrintTo(const ListedPort& row, std::ostream* out) {
    *out << row.name;
}

class PortDescriptions : public testing::TestWithParam<ListedPort> {};

TEST_P(PortDescriptions, RefreshOpensTheRealPortOrNone) {
    FakeEnumerator enumerator;
    enumerator.ports = {{GetParam().description, GetParam().portName}};
    ChannelPorts channel;
    const PortFactory factory = channel.factory();
    PortMap ports;
    RefreshPorts(ports, enumerator, factory, QString());
    QStringList open;
    for (const auto& entry : ports) {
        open << entry.first;
    }
    EXPECT_EQ(open, GetParam().open);
}

INSTANTIATE_TEST_SUITE_P(
    PortDiscovery, PortDescriptions,
    testing::Values(
        ListedPort{
            "ChipNameInParentheses", u"USB2.0-Serial (CH340)"_s, u"ttyUSB0"_s, {u"ttyUSB0"_s}},
        ListedPort{"UnclosedParenthesis", u"Adapter (rev 2"_s, u"ttyUSB1"_s, {u"ttyUSB1"_s}},
        ListedPort{"ClosingParenthesisFirst", u"Odd ) name ("_s, u"COM5"_s, {u"COM5"_s}},
        ListedPort{"EmptyDescription", QString(), u"ttyS0"_s, {u"ttyS0"_s}},
        ListedPort{"BluetoothRfcommWithoutDescription", QString(), u"rfcomm0"_s, {}}),
    [](const testing::TestParamInfo<ListedPort>& info) { return std::string(info.param.name); });

// Whether another program holds a port is the line's own business (see the line contract).
TEST(PortDiscovery, OnlyAPortWithoutRightsIsNamed) {
    FakeEnumerator enumerator;
    enumerator.ports = {{u"USB"_s, u"ttyUSB0"_s}, {u"USB"_s, u"ttyUSB1"_s}};
    enumerator.lineState->deniedNames = {u"ttyUSB1"_s};
    ChannelPorts channel;
    PortMap ports;
    QStringList named;
    RefreshPorts(ports, enumerator, channel.factory(), QString(),
                 [&](const QString& port) { named << port; });
    EXPECT_EQ(named, QStringList{u"ttyUSB1"_s});
}

} // namespace
