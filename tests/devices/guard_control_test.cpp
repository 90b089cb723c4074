#include "guard_control.h"

#include "recording_link.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::devices;

namespace {

struct Caption {
    const char* name;
    QString caption;
    QString command;
};

class GuardCaption : public ::testing::TestWithParam<Caption> {};

TEST_P(GuardCaption, ButtonSendsWhatItsCaptionSays) {
    RecordingLink link;
    GuardControl guard([&link] { return link.current(); });
    guard.Button2Click(GetParam().caption);
    EXPECT_EQ(link.sent, (QList<RecordingLink::Sent>{{GetParam().command, 2}}));
}

INSTANTIATE_TEST_SUITE_P(Captions, GuardCaption,
                         ::testing::Values(Caption{"WhileArming", QString(), u" #S0=0"_s},
                                           Caption{"OtherSpelling", u"включить"_s, u" #S0=0"_s}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GuardControl, RestartIsShownThenWrittenWithoutWaiting) {
    RecordingLink link;
    GuardControl guard([&link] { return link.current(); });
    QStringList order;
    QObject::connect(&guard, &GuardControl::commandShown, [&](const QString& text) {
        order.append(text + u" shown with "_s + QString::number(link.sent.size()) + u" sent"_s);
    });
    guard.Button12Click();
    EXPECT_EQ(order, QStringList{u"ReStarT shown with 0 sent"_s});
    EXPECT_EQ(link.sent, (QList<RecordingLink::Sent>{{u" ReStarT"_s, 1}}));
}

} // namespace
