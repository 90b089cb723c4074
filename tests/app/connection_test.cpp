#include "app_environment.h"
#include "c_port.h"
#include "connection.h"
#include "cp1251.h"
#include "fake_serial_line.h"
#include "frame_codec.h"
#include "header_panel.h"
#include "main_page.h"
#include "page_control.h"
#include "scripted_dialogs.h"
#include "test_dir.h"
#include "tform1.h"
#include "tform2.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <map>

using namespace Qt::StringLiterals;

// Texts in failure messages as text, not as bytes.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// Ports on in-memory lines; each line's state is found by the port name it was opened with.
class FakePorts final : public PortEnumerator {
public:
    explicit FakePorts(QStringList names) : m_names(std::move(names)) {}

    [[nodiscard]] QList<Port> AvailablePorts() const override {
        QList<Port> ports;
        for (const QString& name : m_names) {
            ports.append({u"USB"_s, name});
        }
        return ports;
    }
    [[nodiscard]] std::unique_ptr<SerialLine> CreateLine() const override {
        auto state = std::make_shared<FakeSerialLine::State>();
        created.append(state);
        return std::make_unique<FakeSerialLine>(state);
    }
    [[nodiscard]] std::shared_ptr<FakeSerialLine::State> line(const QString& name) const {
        for (auto it = created.rbegin(); it != created.rend(); ++it) {
            if ((*it)->portName == name) {
                return *it;
            }
        }
        return nullptr;
    }

    mutable QList<std::shared_ptr<FakeSerialLine::State>> created;

private:
    QStringList m_names;
};

QByteArray Frame(std::uint8_t kind, std::uint8_t first, const QString& text) {
    QByteArray payload(1, static_cast<char>(first));
    payload += Cp1251::fromUnicode(text);
    return *FrameCodec::BuildFrame(kind, 5,
                                   {reinterpret_cast<const std::uint8_t*>(payload.constData()),
                                    static_cast<std::size_t>(payload.size())});
}

// The command texts written to a line, keep-alive probes left out.
QStringList Commands(const FakeSerialLine::State& line) {
    QStringList texts;
    for (const FakeSerialLine::Write& write : line.writes) {
        const QByteArray payload = write.bytes.mid(7, write.bytes.size() - 10);
        if (!payload.isEmpty()) {
            texts.append(Cp1251::toUnicode(payload));
        }
    }
    return texts;
}

class ConnectionTest : public testing::Test {
protected:
    ConnectionTest() {
        AppEnvironment::get();
        form = std::make_unique<TForm1>(StartOptions{}, &dialogs);
        // The test drives both timers by hand.
        form->Timer1->stop();
        form->Timer2->stop();
        auto enumerator = std::make_unique<FakePorts>(QStringList{u"COM3"_s, u"COM4"_s});
        ports = enumerator.get();
        form->connection->setPortSource(std::move(enumerator), {});
        form->connection->hooks = recordingHooks();
        page = form->TabSheet3;
    }

    ConnectionHooks recordingHooks() {
        ConnectionHooks hooks;
        hooks.OnParameterReply = [this](const QString& s) { routed << u"P "_s + s; };
        hooks.OnRadioReply = [this](const QString& s) { routed << u"R "_s + s; };
        hooks.OnTouchKeyReply = [this](const QString& s) { routed << u"key "_s + s; };
        hooks.UpdateThermometers = [this](const QString& s) { routed << u"S23 "_s + s; };
        hooks.OnRemovalReply = [this](const QString& s) { routed << u"S64 "_s + s; };
        hooks.DecideRead = [this] { routed << u"DecideRead"_s; };
        hooks.SaveLastSettings = [this] { routed << u"SaveLastSettings"_s; };
        hooks.ClearRememberedSerial = [this] { routed << u"ClearRememberedSerial"_s; };
        hooks.ClearReadOffered = [this] { routed << u"ClearReadOffered"_s; };
        return hooks;
    }

    void Arrive(const QString& name, const QByteArray& bytes) {
        ports->line(name)->incoming += bytes;
        form->connection->Timer2Timer();
    }

    // Scans once, and the controller on `name` answers the probe.
    void ConnectOn(const QString& name) {
        form->connection->Timer1Timer();
        Arrive(name, Frame(0, 0x01, u"hello"_s));
    }

    void Reply(const QString& text) { Arrive(u"COM3"_s, Frame(2, ' ', text)); }

    // Runs the channel clock for one second; the controller answers the keep-alive unless it
    // has gone silent.
    void Second(bool answering = true) {
        for (int i = 0; i < 10; ++i) {
            form->connection->Timer1Timer();
            CPort* port = form->connection->connectedPort();
            if (answering && port != nullptr && port->Current() == "ka") {
                Arrive(port->PortName(), Frame(0, 0x01, u"again"_s));
            }
        }
    }

    TestDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
    FakePorts* ports = nullptr;
    MainPage* page = nullptr;
    QStringList routed;
};

TEST_F(ConnectionTest, FirstAnnouncementWinsAndIdentificationFollows) {
    form->connection->Timer1Timer();
    ASSERT_EQ(form->connection->ports().size(), 2u);
    ports->line(u"COM4"_s)->incoming += Frame(0, 0x01, u"late"_s);
    Arrive(u"COM3"_s, Frame(0, 0x01, u"first"_s));
    // COM3 is read first (the map is ordered by name), so it wins and COM4 is closed unread.
    ASSERT_NE(form->connection->connectedPort(), nullptr);
    EXPECT_EQ(form->connection->connectedPort()->PortName(), u"COM3"_s);
    EXPECT_TRUE(form->connection->ports().empty());
    EXPECT_FALSE(ports->line(u"COM4"_s)->isOpen);
    EXPECT_EQ(page->Label13->text(), u"COM3"_s);
    EXPECT_TRUE(form->Panel1->Image2->isVisibleTo(form->Panel1));
    EXPECT_FALSE(form->Panel1->Image1->isVisibleTo(form->Panel1));
    EXPECT_EQ(form->Timer1->interval(), 100);
    EXPECT_FALSE(page->ComboBox2->isEnabled());
    EXPECT_NE(form->waitingWindow(), nullptr);
    EXPECT_FALSE(form->isEnabled());

    Second();
    EXPECT_EQ(Commands(*ports->line(u"COM3"_s)), QStringList({u" ver"_s}));
    Reply(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    EXPECT_EQ(page->Label6->text(), u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    EXPECT_NE(form->waitingWindow(), nullptr); // the serial number is still missing
    EXPECT_TRUE(routed.isEmpty());
    Reply(u"#S54:0123456789AB"_s);
    EXPECT_EQ(page->Edit1->text(), u"0123456789AB"_s);
    EXPECT_EQ(form->waitingWindow(), nullptr);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(page->ComboBox2->currentIndex(), 5);
    EXPECT_TRUE(form->PageControl1->isTabVisible(form->PageControl1->indexOf(form->TabSheet1)));
    EXPECT_EQ(routed, QStringList({u"DecideRead"_s}));
    EXPECT_EQ(Commands(*ports->line(u"COM3"_s)),
              QStringList({u" ver"_s, u" #S54?"_s, u" #S63=1"_s}));

    // Identified: the status poll takes over, and pauses away from the main page.
    Second();
    Reply(u"#S0:1#S4:18 1 МТС#S6:125 0"_s);
    form->PageControl1->setCurrentWidget(form->TabSheet1);
    Second();
    form->PageControl1->setCurrentWidget(page);
    Second();
    EXPECT_EQ(Commands(*ports->line(u"COM3"_s)).mid(3),
              QStringList({u" #S0?#S4?#S6?"_s, u" #S23?"_s}));
}

TEST_F(ConnectionTest, VersionWithoutUsableNumberWarnsAndLeavesTheType) {
    ConnectOn(u"COM3"_s);
    page->ComboBox2->setCurrentIndex(4);
    Reply(u"#S54:77"_s);
    Reply(u"ver: Конфигурация не задана"_s);
    EXPECT_EQ(form->waitingWindow(), nullptr);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption, u"Предупреждение"_s);
    EXPECT_EQ(dialogs.shown[0].text, u"Настоятельно рекомендуется обновить прошивку прибора.\n"
                                     u"Для данной версии никаких настроек не доступно."_s);
    EXPECT_EQ(page->ComboBox2->currentIndex(), 4);
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(ConnectionTest, OldFirmwareKeepsTheRadioPageHidden) {
    ConnectOn(u"COM3"_s);
    Reply(u"ver: Конфигурация 1.44 HV 406"_s);
    Reply(u"#S54:5"_s);
    EXPECT_EQ(page->ComboBox2->currentIndex(), 1);
    EXPECT_FALSE(form->PageControl1->isTabVisible(form->PageControl1->indexOf(form->TabSheet1)));
}

TEST_F(ConnectionTest, StatusRepliesShowAsTheTechnicianReadsThem) {
    ConnectOn(u"COM3"_s);
    Reply(u"#S0:125#S4:20 5 Билайн#S6:65"_s);
    EXPECT_EQ(page->Label18->text(), u"Постановка 12.5 с"_s);
    EXPECT_EQ(page->Button2->text(), QString());
    EXPECT_FALSE(page->Button2->isEnabledTo(page));
    EXPECT_EQ(page->ProgressBar1->value(), 20);
    EXPECT_EQ(page->Label2->text(), u"роуминг"_s);
    EXPECT_EQ(page->Label4->text(), u"Билайн"_s);
    EXPECT_EQ(page->Label15->text(), u"6.5"_s);
    EXPECT_EQ(page->Label16->text(), u"резервное"_s);

    // Without an operator name the last one stays.
    Reply(u"#S0:1#S4:12 4"_s);
    EXPECT_EQ(page->Label18->text(), u"вкл"_s);
    EXPECT_EQ(page->Button2->text(), u"Выключить"_s);
    EXPECT_TRUE(page->Button2->isEnabledTo(page));
    EXPECT_EQ(page->Label2->text(), QString());
    EXPECT_EQ(page->Label4->text(), u"Билайн"_s);
}

TEST_F(ConnectionTest, RepliesAreRoutedPieceByPiece) {
    ConnectOn(u"COM3"_s);
    Reply(u"#P12:a#b#S23:2961 0#R3:77#S64:2 ok#S99:1#S6"_s);
    Reply(u"01AB34CD"_s);
    // Only a status mark ends a piece, so the radio report stays inside the readings' value.
    EXPECT_EQ(routed, QStringList({u"P #P12:a#b"_s, u"S23 2961 0#R3:77"_s, u"S64 2 ok"_s,
                                   u"key 01AB34CD"_s}));
    Reply(u"#R3:77#S6:120"_s);
    EXPECT_EQ(routed.mid(4), QStringList({u"R #R3:77"_s}));
    EXPECT_EQ(page->Label15->text(), u"12"_s);
}

TEST_F(ConnectionTest, ThermometerSerialsJoinTheRotationFrom219) {
    ConnectOn(u"COM3"_s);
    Reply(u"ver: Конфигурация 2.19 HV 412"_s);
    Reply(u"#S54:5"_s);
    for (const char16_t* slot : {u"2", u"5"}) {
        page->ListView2->addTopLevelItem(
            new QTreeWidgetItem(QStringList{QString::fromUtf16(slot)}));
    }
    for (int i = 0; i < 4; ++i) {
        Second();
        Reply(u"#S6:120"_s); // the awaited reply lets the next poll go out
    }
    EXPECT_EQ(Commands(*ports->line(u"COM3"_s)),
              QStringList({u" #S0?#S4?#S6?"_s, u" #P657?"_s, u" #S23?"_s, u" #S0?#S4?#S6?"_s}));
}

TEST_F(ConnectionTest, SilentLinkIsDroppedAfterSixSecondsAndScanningResumes) {
    ConnectOn(u"COM3"_s);
    Reply(u"ver: Конфигурация 2.19 HV 412"_s);
    Reply(u"#S54:0123456789AB"_s);
    routed.clear();
    for (int i = 0; i < 5; ++i) {
        Second(false);
    }
    EXPECT_NE(form->connection->connectedPort(), nullptr);
    Second(false);
    EXPECT_EQ(form->connection->connectedPort(), nullptr);
    EXPECT_EQ(routed, QStringList({u"SaveLastSettings"_s, u"ClearRememberedSerial"_s,
                                   u"ClearReadOffered"_s}));
    EXPECT_TRUE(page->Label13->text().isEmpty());
    EXPECT_TRUE(page->Label6->text().isEmpty());
    EXPECT_TRUE(page->Edit1->text().isEmpty());
    EXPECT_TRUE(page->ComboBox2->isEnabled());
    EXPECT_TRUE(form->Panel1->Image1->isVisibleTo(form->Panel1));
    EXPECT_FALSE(form->Panel1->Image2->isVisibleTo(form->Panel1));
    EXPECT_EQ(form->Timer1->interval(), 1000);
    EXPECT_FALSE(form->PageControl1->isTabVisible(form->PageControl1->indexOf(form->TabSheet1)));

    // The port is destroyed once the event loop runs; the next scan opens it again.
    QCoreApplication::processEvents();
    EXPECT_FALSE(ports->created.first()->isOpen);
    ConnectOn(u"COM4"_s);
    ASSERT_NE(form->connection->connectedPort(), nullptr);
    EXPECT_EQ(form->connection->connectedPort()->PortName(), u"COM4"_s);
}

TEST_F(ConnectionTest, OldFirmwareKeepsTheRememberedSerialOnDisconnect) {
    ConnectOn(u"COM3"_s);
    Reply(u"ver: Конфигурация 1.65 HV 412"_s);
    routed.clear();
    form->connection->Disconnect();
    EXPECT_EQ(routed, QStringList({u"SaveLastSettings"_s, u"ClearReadOffered"_s}));
    form->connection->Disconnect();
    EXPECT_EQ(routed.size(), 2);
}

TEST_F(ConnectionTest, WaitRunsTheWindowWithTheScanStopped) {
    bool ran = false;
    bool scanning = true;
    QTimer::singleShot(5, form.get(), [&] {
        ran = true;
        scanning = form->Timer1->isActive();
    });
    form->Timer1->start();
    form->connection->Wait(40);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(scanning);
    EXPECT_TRUE(form->Timer1->isActive());
}

} // namespace
