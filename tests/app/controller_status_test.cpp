#include "controller_session.h"
#include "controller_status.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;

namespace {

// What the main page shows of a controller on COM3, fed by the session's signals.
class Status : public testing::Test {
protected:
    Status() {
        Q_EMIT session.connected(u"COM3"_s);
        Q_EMIT session.versionReplyChanged(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
        Q_EMIT session.serialNumberChanged(u"0123456789AB"_s);
        QObject::connect(&status, &ControllerStatus::deviceTypeChosen, [this] { ++chosen; });
    }

    ControllerSession session;
    ControllerStatus status{session};
    int chosen = 0;
};

TEST_F(Status, ALevelBeyondTheBarShowsAsItsTop) {
    Q_EMIT session.statusReply(4, u"99 4"_s);
    EXPECT_EQ(status.signalLevel(), ControllerStatus::kSignalMaximum);
}

TEST_F(Status, AReportWithoutAnOperatorKeepsTheLastOne) {
    Q_EMIT session.statusReply(4, u"20 1 Билайн"_s);
    Q_EMIT session.statusReply(4, u"18 1"_s);
    EXPECT_EQ(status.operatorName(), u"Билайн"_s);
}

TEST_F(Status, ADisconnectEmptiesWhatTheControllerSaidOfItself) {
    Q_EMIT session.disconnected();
    EXPECT_EQ(status.portName(), QString());
    EXPECT_EQ(status.versionReply(), QString());
    EXPECT_EQ(status.serialNumber(), QString());
}

TEST_F(Status, ADisconnectKeepsTheLastReportedStatus) {
    Q_EMIT session.statusReply(0, u"1"_s);
    Q_EMIT session.disconnected();
    EXPECT_EQ(status.guard().state, u"вкл"_s);
}

TEST_F(Status, TheUsersChoiceOfATypeIsReported) {
    status.chooseDeviceType(2);
    EXPECT_EQ(chosen, 1);
}

TEST_F(Status, TheProgramsChoiceOfATypeIsNoUsersChoice) {
    status.showDeviceType(3);
    EXPECT_EQ(chosen, 0);
}

} // namespace
