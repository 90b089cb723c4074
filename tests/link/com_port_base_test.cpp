#include "com_port.h"
#include "fake_clock.h"
#include "fake_serial_line.h"
#include "log_tail.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Port {
    explicit Port(std::shared_ptr<FakeSerialLine::State> state) {
        state->isOpen = true;
        port = std::make_unique<ComPort>(std::make_unique<FakeSerialLine>(state), u"COM3"_s,
                                         u"USB (COM3)"_s, clock, pacing);
    }
    FakeClock clock;
    WritePacing pacing;
    std::unique_ptr<ComPort> port;
};

TEST(ComPortBase, ConfiguresTheLineAndLogsItsLife) {
    const LogTail log;
    auto state = std::make_shared<FakeSerialLine::State>();
    {
        Port p(state);
        EXPECT_EQ(state->baud, 115200u);
        EXPECT_EQ(state->stopBits, 2);
        EXPECT_EQ(state->inputQueue, 8192u);
        p.port->SetSpeed(9600);
        EXPECT_EQ(state->baud, 9600u);
        EXPECT_EQ(p.port->Baud(), 9600u);
        p.port->Reopen();
        EXPECT_EQ(state->portName, u"COM3"_s);
        EXPECT_EQ(state->baud, 9600u) << "a reopened line keeps the current speed";
    }
    EXPECT_FALSE(state->isOpen);
    EXPECT_EQ(log.Lines(), QByteArrayList({"COM3:\topened", "COM3:\tSetting speed:\t9600",
                                           "COM3:\treopened", "COM3:\tclosed"}));
}

TEST(ComPortBase, LineFailuresAreLoggedAndIgnored) {
    const LogTail log;
    auto state = std::make_shared<FakeSerialLine::State>();
    state->failSettings = true;
    state->failClose = true;
    state->error = 10;
    {
        Port p(state);
        p.port->SetSpeed(9600);
        EXPECT_EQ(p.port->Baud(), 9600u);
    }
    EXPECT_EQ(log.Lines(),
              QByteArrayList({"COM3:\tError: SetCommState - 10", "COM3:\topened",
                              "COM3:\tError: SetCommState - 10", "COM3:\tSetting speed:\t9600",
                              "COM3:\tError: CloseHandle handle - 10", "COM3:\tclosed"}));
}

} // namespace
