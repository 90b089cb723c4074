#include "radio_fakes.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::devices;

namespace {

// Learning started with the tick's clock noted first.
class Learning : public testing::Test {
protected:
    void start() {
        rig.radio.LearningTick();
        rig.radio.Button16Click();
    }
    RadioRig rig;
};

TEST_F(Learning, DoesNothingWithoutController) {
    rig.link.isConnected = false;
    rig.radio.Button16Click();
    EXPECT_TRUE(rig.link.sent.isEmpty());
    EXPECT_FALSE(rig.radio.learning());
}

TEST_F(Learning, CountsDownOncePerSecondOfTheTick) {
    start();
    for (int ms = 0; ms < 2500; ms += 100) {
        rig.clock.advance(100);
        rig.radio.LearningTick();
    }
    EXPECT_EQ(rig.radio.secondsLeft(), 58);
}

TEST_F(Learning, CatchesUpOneStepPerRunAfterAStall) {
    start();
    rig.clock.advance(5000);
    rig.radio.LearningTick();
    EXPECT_EQ(rig.radio.secondsLeft(), 59);
    for (int run = 0; run < 4; ++run) {
        rig.radio.LearningTick();
    }
    EXPECT_EQ(rig.radio.secondsLeft(), 55);
}

TEST_F(Learning, StopsItselfAtZero) {
    start();
    QSignalSpy stopped(&rig.radio, &RadioDevices::learningChanged);
    for (int second = 0; second < 61; ++second) {
        rig.clock.advance(1000);
        rig.radio.LearningTick();
    }
    EXPECT_FALSE(rig.radio.learning());
    EXPECT_EQ(rig.link.sent.last(), u" #S63=0"_s);
    EXPECT_EQ(rig.link.sent.size(), 2);
    EXPECT_EQ(stopped.size(), 1);
}

TEST_F(Learning, TickWrapsAround) {
    rig.clock.set(0xFFFFFF00u);
    start();
    rig.clock.advance(1100); // past the wrap
    rig.radio.LearningTick();
    EXPECT_EQ(rig.radio.secondsLeft(), 59);
}

TEST_F(Learning, DisconnectEndsItWithoutACommand) {
    rig.radio.Button16Click();
    rig.radio.OnRadioReport(u"#R:%7% AM :1"_s);
    rig.radio.Clear();
    EXPECT_FALSE(rig.radio.learning());
    EXPECT_EQ(rig.list().rowCount(), 0);
    EXPECT_EQ(rig.list().RowIndexMap.size(), 0);
    EXPECT_EQ(rig.link.sent.size(), 1);
}

// Zones 45 and 46 and thermometer 318 hold devices 12 and 112.
class Removal : public testing::Test {
protected:
    void SetUp() override {
        rig.settings.texts = {{45, u" %12% %112%"_s}, {46, u"%12%"_s}, {318, u"12"_s}};
        rig.radio.BuildAssignmentTargets();
        rig.radio.OnRadioReport(u"#R:%12% TK1 :1"_s);
    }
    RadioRig rig;
};

TEST_F(Removal, SelectedThermometerIsAskedToGoAndLeavesTheSettings) {
    rig.radio.Button17Click({*rig.list().FindDeviceRow(u"%12%"_s, false)});
    EXPECT_EQ(rig.link.sent, QStringList{u" #S64=12"_s});
    EXPECT_EQ(rig.link.flags, QList<int>{2});
    EXPECT_EQ(rig.settings.texts[45], u" %112%"_s);
    EXPECT_EQ(rig.settings.texts[46], QString());
    EXPECT_EQ(rig.settings.texts[318], u"0"_s);
    EXPECT_EQ(rig.numbers(), QStringList{u"%112%"_s});
    EXPECT_EQ(rig.settings.changed, (QSet<int>{45, 46, 318}));
}

TEST_F(Removal, OtherTypesLeaveWithoutACommand) {
    rig.radio.OnRadioReport(u"#R:%12% RQ :1"_s);
    rig.radio.Button17Click({*rig.list().FindDeviceRow(u"%12%"_s, false)});
    EXPECT_TRUE(rig.link.sent.isEmpty());
    EXPECT_EQ(rig.settings.texts[318], u"0"_s);
}

TEST_F(Removal, ConfirmedReplyRemovesRowAndSettings) {
    rig.radio.OnRemovalReply(u"12 0"_s);
    EXPECT_EQ(rig.settings.texts[45], u" %112%"_s);
    EXPECT_EQ(rig.settings.texts[318], u"0"_s);
    EXPECT_EQ(rig.numbers(), QStringList{u"%112%"_s});
    EXPECT_EQ(rig.list().RowIndexMap.value(u"%112%"_s, -1), 0);
}

TEST_F(Removal, ReplyForDeviceZeroIsIgnored) {
    rig.radio.OnRemovalReply(u"0 5"_s);
    EXPECT_TRUE(rig.dialogs.shown.isEmpty());
    EXPECT_TRUE(rig.settings.changed.isEmpty());
}

} // namespace
