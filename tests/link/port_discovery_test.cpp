#include "com_port.h"
#include "fake_clock.h"
#include "fake_serial_line.h"
#include "log_tail.h"
#include "port_discovery.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class FakeEnumerator final : public PortEnumerator {
public:
    QList<Port> ports;
    std::shared_ptr<FakeSerialLine::State> lineState = std::make_shared<FakeSerialLine::State>();

    [[nodiscard]] QList<Port> AvailablePorts() const override { return ports; }
    [[nodiscard]] std::unique_ptr<SerialLine> CreateLine() const override {
        return std::make_unique<FakeSerialLine>(lineState);
    }
};

TEST(PortDiscovery, PortNameIsBetweenTheFirstParentheses) {
    const QList<std::pair<QString, QString>> cases = {
        {u"USB Serial Port (COM7)"_s, u"COM7"_s}, {u"Prolific (COM12) (COM3)"_s, u"COM12"_s},
        {u"Odd ) name (COM5)"_s, u"COM5"_s},      {u"No parentheses"_s, QString()},
        {u"Unclosed (COM4"_s, QString()},         {u"emu (/dev/pts/3)"_s, u"/dev/pts/3"_s},
    };
    for (const auto& [friendly, port] : cases) {
        EXPECT_EQ(PortNameOf(friendly), port) << friendly.toStdString();
    }
}

TEST(PortDiscovery, PrinterAndBluetoothPortsAreLeftOut) {
    FakeEnumerator enumerator;
    enumerator.ports = {{u"USB Serial"_s, u"COM3"_s},
                        {u"Printer Port"_s, u"LPT1"_s},
                        {u"Standard Serial over BlueTooth link"_s, u"COM8"_s},
                        {u"lpt-like adapter"_s, u"COM9"_s},
                        {u"Modem"_s, u"COM4"_s}};
    EXPECT_EQ(
        EnumeratePorts(enumerator),
        QStringList({u"USB Serial (COM3)"_s, u"lpt-like adapter (COM9)"_s, u"Modem (COM4)"_s}));
}

class RefreshTest : public testing::Test {
protected:
    RefreshTest() {
        factory = [this](std::unique_ptr<SerialLine> line, const QString& name,
                         const QString& friendly) -> std::unique_ptr<ComPortBase> {
            return std::make_unique<ComPort>(std::move(line), name, friendly, clock, pacing);
        };
    }
    [[nodiscard]] QStringList Names() const {
        QStringList names;
        for (const auto& entry : ports) {
            names << entry.first;
        }
        return names;
    }

    LogTail log;
    FakeClock clock;
    WritePacing pacing;
    FakeEnumerator enumerator;
    PortFactory factory;
    PortMap ports;
};

TEST_F(RefreshTest, FollowsPortsThatComeAndGo) {
    enumerator.ports = {{u"A"_s, u"COM3"_s}, {u"B"_s, u"COM4"_s}, {u"C"_s, u"COM5"_s}};
    enumerator.lineState->refusedNames = {u"COM5"_s};
    RefreshPorts(ports, enumerator, factory, {});
    EXPECT_EQ(Names(), QStringList({u"COM3"_s, u"COM4"_s}));
    ComPortBase* const kept = ports.at(u"COM3"_s).get();
    EXPECT_EQ(kept->FriendlyName(), u"A (COM3)"_s);

    enumerator.ports = {{u"A"_s, u"COM3"_s}, {u"C"_s, u"COM5"_s}};
    enumerator.lineState->refusedNames.clear();
    RefreshPorts(ports, enumerator, factory, {});
    EXPECT_EQ(Names(), QStringList({u"COM3"_s, u"COM5"_s}));
    EXPECT_EQ(ports.at(u"COM3"_s).get(), kept) << "a present port is not reopened";
    EXPECT_EQ(log.Count("COM4:\tclosed"), 1);
    EXPECT_EQ(log.Count("COM3:\tclosed"), 0);
}

TEST_F(RefreshTest, FilterNamesTheOnlyPortOrNone) {
    enumerator.ports = {{u"A"_s, u"COM3"_s}};
    RefreshPorts(ports, enumerator, factory, {});
    RefreshPorts(ports, enumerator, factory, FriendlyName(u"emu"_s, u"/dev/pts/7"_s));
    EXPECT_EQ(Names(), QStringList({u"/dev/pts/7"_s}));
    EXPECT_EQ(enumerator.lineState->portName, u"/dev/pts/7"_s);
    RefreshPorts(ports, enumerator, factory, u"/dev/pts/7"_s);
    EXPECT_TRUE(ports.empty()) << "without parentheses there is no port name";
    RefreshPorts(ports, enumerator, factory, {});
    RefreshPorts(ports, enumerator, factory, u"none"_s);
    EXPECT_TRUE(ports.empty());
}

} // namespace
