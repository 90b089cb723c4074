#include "c_port.h"
#include "controller_session.h"
#include "cp1251.h"
#include "fake_clock.h"
#include "fake_serial_line.h"
#include "frame_codec.h"
#include "session_events.h"
#include "test_app.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;
using namespace talvik::link;
using namespace talvik::support;

namespace {

// A session with a controller connected on COM3 over an in-memory line; the signals it gives
// are recorded in order.
class Session : public testing::Test {
protected:
    Session() {
        TestApp();
        session.attach(newPort(u"COM3"_s));
        port = session.port();
        RecordSessionEvents(session, events);
    }
    std::unique_ptr<CPort> newPort(const QString& name) {
        lines.push_back(std::make_shared<FakeSerialLine::State>());
        return std::make_unique<CPort>(std::make_unique<FakeSerialLine>(lines.back()), name, name,
                                       clock, session);
    }
    // A reply of the controller as the port takes it off the line.
    void Arrive(const QString& text) {
        const QByteArray payload = ' ' + Cp1251::fromUnicode(text);
        const std::optional<QByteArray> frame =
            FrameCodec::BuildFrame(2, 5,
                                   {reinterpret_cast<const std::uint8_t*>(payload.constData()),
                                    static_cast<std::size_t>(payload.size())});
        lines.front()->incoming += *frame;
        port->CheckReceive();
    }

    FakeClock clock;
    std::vector<std::shared_ptr<FakeSerialLine::State>> lines;
    ControllerSession session;
    CPort* port = nullptr;
    QStringList events;
};

TEST_F(Session, AReplyIsHandedOnPieceByPiece) {
    port->OnReply(u"#P12:a#b#S23:2961 0#R3:77#S64:2 ok#S6"_s);
    EXPECT_EQ(events, (QStringList{u"P #P12:a#b"_s, u"S23 2961 0#R3:77"_s, u"S64 2 ok"_s}));
}

TEST_F(Session, AReplyWithoutAPieceIsAKeyTouch) {
    port->OnReply(u"01AB34CD"_s);
    EXPECT_EQ(events, QStringList{u"key 01AB34CD"_s});
}

TEST_F(Session, TheSerialNumberIsKeptNotHandedOnAsAStatus) {
    port->OnReply(u"#S54:0123456789AB"_s);
    EXPECT_EQ(session.serialNumber(), u"0123456789AB"_s);
    EXPECT_TRUE(events.isEmpty());
}

struct IdentityRow {
    const char* name;
    bool version;
    bool serial;
    bool identified;
};

class Identity : public Session, public testing::WithParamInterface<IdentityRow> {};

TEST_P(Identity, NeedsBothTheVersionAndTheSerialNumber) {
    if (GetParam().version) {
        Arrive(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    }
    if (GetParam().serial) {
        Arrive(u"#S54:0123456789AB"_s);
    }
    EXPECT_EQ(session.isIdentified(), GetParam().identified);
}

TEST_P(Identity, IsAnnouncedOnlyOnceComplete) {
    if (GetParam().serial) {
        Arrive(u"#S54:0123456789AB"_s);
    }
    if (GetParam().version) {
        Arrive(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    }
    EXPECT_EQ(events.contains(u"identified"_s), GetParam().identified);
}

INSTANTIATE_TEST_SUITE_P(Rows, Identity,
                         testing::Values(IdentityRow{"VersionOnly", true, false, false},
                                         IdentityRow{"SerialOnly", false, true, false},
                                         IdentityRow{"Both", true, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Session, TheReadIsDueRightAfterTheIdentity) {
    Arrive(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    Arrive(u"#S54:0123456789AB"_s);
    EXPECT_EQ(events, (QStringList{u"identified"_s, u"readDue"_s}));
}

TEST_F(Session, TheHardwareNumberSelectsTheDeviceType) {
    Arrive(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    Arrive(u"#S54:0123456789AB"_s);
    EXPECT_EQ(session.deviceType(), std::optional<int>(5));
}

TEST_F(Session, AnUploadEndForgetsTheVersionReply) {
    Arrive(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    port->OnProgrammingEnd(u"Прошивка завершена успешно"_s);
    EXPECT_EQ(session.versionReply(), QString());
}

TEST_F(Session, TheControllerIsStillThereWhileItIsLetGo) {
    bool portWhileDisconnecting = false;
    QObject::connect(&session, &ControllerSession::disconnecting,
                     [&] { portWhileDisconnecting = session.port() != nullptr; });
    session.release();
    EXPECT_TRUE(portWhileDisconnecting);
}

TEST_F(Session, LettingGoForgetsTheSerialNumber) {
    Arrive(u"#S54:0123456789AB"_s);
    session.release();
    EXPECT_EQ(session.serialNumber(), QString());
}

TEST_F(Session, ItIsLetGoOnlyOnce) {
    session.release();
    session.release();
    EXPECT_EQ(events, (QStringList{u"disconnecting"_s, u"disconnected"_s}));
}

TEST_F(Session, APortLetGoStaysSilent) {
    session.release();
    events.clear();
    port->OnText(u"late"_s);
    EXPECT_TRUE(events.isEmpty());
}

// The controller let go and COM4 scanned for the next one.
class Scanning : public Session {
protected:
    Scanning() {
        session.release();
        scanned = newPort(u"COM4"_s);
        events.clear();
        QObject::connect(&session, &ControllerSession::announced,
                         [this](CPort& port) { announced.append(&port); });
    }
    std::unique_ptr<CPort> scanned;
    QList<CPort*> announced;
};

TEST_F(Scanning, AScannedPortKeepsItsRepliesToItself) {
    scanned->OnText(u"early"_s);
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(Scanning, AScannedPortAnnouncesAController) {
    scanned->OnConnected(u"hello"_s);
    EXPECT_EQ(announced, QList<CPort*>{scanned.get()});
}

TEST_F(Session, NoPortAnnouncesWhileAControllerIsConnected) {
    std::unique_ptr<CPort> scanned = newPort(u"COM4"_s);
    int announced = 0;
    QObject::connect(&session, &ControllerSession::announced, [&](CPort&) { ++announced; });
    scanned->OnConnected(u"hello"_s);
    EXPECT_EQ(announced, 0);
}

} // namespace
