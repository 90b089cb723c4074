#include "com_port.h"
#include "e2e_harness.h"
#include "port_discovery.h"
#include "system_clock.h"
#include "system_port_enumerator.h"

using namespace talvik::link;
using namespace talvik::support;

namespace {

// The program's side of the link alone over a real line, reception polled every millisecond.
using LinkEndToEnd = EndToEnd;

TEST_F(LinkEndToEnd, AnswersTheSecondProbeAt115200AndLogsAVanishedDeviceOnce) {
    Emulator emulator({u"--baud"_s, u"115200"_s});
    PortMap ports;
    const PortFactory factory = [](std::unique_ptr<SerialLine> line, const QString& portName,
                                   const QString& friendlyName) {
        return std::make_unique<ComPort>(std::move(line), portName, friendlyName,
                                         SystemClock::instance());
    };
    RefreshPorts(ports, SystemPortEnumerator(), factory,
                 FriendlyName(u"talvik-emu"_s, emulator.path()));
    ASSERT_EQ(ports.size(), 1u);
    auto& port = static_cast<ComPort&>(*ports.begin()->second);
    const auto connected = [&] {
        port.CheckReceive();
        return port.Connected();
    };

    port.SendText({}, SendFlag::WriteAndForget);
    EXPECT_FALSE(WaitFor(1000, connected)) << "a probe at the wrong speed is garbage";
    port.SendText({}, SendFlag::WriteAndForget);
    ASSERT_TRUE(WaitFor(3000, connected));
    EXPECT_EQ(Logged(":\tConnected with speed:\t115200"), 1);
    // A pseudo-terminal has no DTR or RTS: each line setup logs that once and carries on.
    EXPECT_EQ(Logged(":\tError: "), Logged(":\tError: SetCommState - "));

    emulator.stop(true);
    WaitFor(500, [&] {
        connected();
        return false;
    });
    EXPECT_EQ(Logged(":\tError: ClearCommError - "), 1);
}

} // namespace
