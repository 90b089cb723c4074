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

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// COM3 and COM4 on in-memory lines; the latest line opened on a port is found by its name.
class FakePorts final : public PortEnumerator {
public:
    [[nodiscard]] QList<Port> AvailablePorts() const override {
        return {{u"USB"_s, u"COM3"_s}, {u"USB"_s, u"COM4"_s}};
    }
    [[nodiscard]] std::unique_ptr<SerialLine> CreateLine() const override {
        return std::make_unique<FakeSerialLine>(
            m_created.emplace_back(std::make_shared<FakeSerialLine::State>()));
    }
    [[nodiscard]] FakeSerialLine::State& line(const QString& name) const {
        return **std::find_if(m_created.rbegin(), m_created.rend(),
                              [&](const auto& state) { return state->portName == name; });
    }

private:
    mutable std::vector<std::shared_ptr<FakeSerialLine::State>> m_created;
};

QByteArray Frame(std::uint8_t kind, std::uint8_t first, const QString& text) {
    const QByteArray payload = char(first) + Cp1251::fromUnicode(text);
    return *FrameCodec::BuildFrame(kind, 5,
                                   {reinterpret_cast<const std::uint8_t*>(payload.constData()),
                                    static_cast<std::size_t>(payload.size())});
}

// The command texts written to a line, keep-alive probes left out.
QStringList Commands(const FakeSerialLine::State& line) {
    QStringList texts;
    for (const FakeSerialLine::Write& write : line.writes) {
        if (write.bytes.size() > 10) {
            texts.append(Cp1251::toUnicode(write.bytes.mid(7, write.bytes.size() - 10)));
        }
    }
    return texts;
}

class ConnectionTest : public testing::Test {
protected:
    ConnectionTest() {
        // The test drives both timers by hand.
        form->Timer1->stop();
        form->Timer2->stop();
        auto enumerator = std::make_unique<FakePorts>();
        ports = enumerator.get();
        form->connection->setPortSource(std::move(enumerator), {});
        auto record = [this](const QString& tag) {
            return [this, tag](const QString& s) { routed << tag + s; };
        };
        ConnectionHooks& hooks = form->connection->hooks;
        hooks.OnParameterReply = record(u"P "_s);
        hooks.OnRadioReply = record(u"R "_s);
        hooks.OnTouchKeyReply = record(u"key "_s);
        hooks.UpdateThermometers = record(u"S23 "_s);
        hooks.OnRemovalReply = record(u"S64 "_s);
        hooks.DecideRead = [this] { routed << u"DecideRead"_s; };
        hooks.SaveLastSettings = [this] { routed << u"SaveLastSettings"_s; };
        hooks.ClearRememberedSerial = [this] { routed << u"ClearRememberedSerial"_s; };
        hooks.ClearReadOffered = [this] { routed << u"ClearReadOffered"_s; };
    }

    void Arrive(const QString& name, const QByteArray& bytes) {
        ports->line(name).incoming += bytes;
        form->connection->Timer2Timer();
    }
    // Scans once, and the controller on `name` answers the probe.
    void ConnectOn(const QString& name) {
        form->connection->Timer1Timer();
        Arrive(name, Frame(0, 0x01, u"hello"_s));
    }
    void Reply(const QString& text, const QString& port = u"COM3"_s) {
        Arrive(port, Frame(2, ' ', text));
    }
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
    [[nodiscard]] bool RadioPageShown() const {
        return form->PageControl1->isTabVisible(form->PageControl1->indexOf(form->TabSheet1));
    }

    AppEnvironment& app = AppEnvironment::get();
    TestDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>(StartOptions{}, &dialogs);
    MainPage* page = form->TabSheet3;
    FakePorts* ports = nullptr;
    QStringList routed;
};

TEST_F(ConnectionTest, FirstAnnouncementWinsIdentifiesPollsDropsAndCloses) {
    form->connection->Timer1Timer();
    ASSERT_EQ(form->connection->ports().size(), 2u);
    ports->line(u"COM4"_s).incoming += Frame(0, 0x01, u"late"_s);
    Arrive(u"COM3"_s, Frame(0, 0x01, u"first"_s));
    // COM3 is read first (the map is ordered by name), so it wins and COM4 is closed unread.
    EXPECT_EQ(page->Label13->text(), u"COM3"_s);
    EXPECT_FALSE(ports->line(u"COM4"_s).isOpen);
    EXPECT_EQ(form->Timer1->interval(), 100);
    EXPECT_NE(form->waitingWindow(), nullptr);
    EXPECT_EQ((QList<bool>{page->ComboBox2->isEnabled(), form->isEnabled(),
                           form->Panel1->Image2->isVisibleTo(form.get())}),
              (QList<bool>{false, false, true}));

    Second();
    Reply(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    EXPECT_EQ(page->Label6->text(), u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    EXPECT_NE(form->waitingWindow(), nullptr); // the serial number is still missing
    EXPECT_TRUE(routed.isEmpty());
    Reply(u"#S54:0123456789AB"_s);
    EXPECT_EQ(page->Edit1->text(), u"0123456789AB"_s);
    EXPECT_EQ(form->waitingWindow(), nullptr);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(page->ComboBox2->currentIndex(), 5);
    EXPECT_TRUE(RadioPageShown());
    EXPECT_EQ(routed, QStringList({u"DecideRead"_s}));
    routed.clear();

    // Identified: the status poll takes over, asks for the serial of the thermometer in slot 5
    // (from firmware 2.19 on), and pauses away from the main page.
    page->ListView2->addTopLevelItem(new QTreeWidgetItem(QStringList{u"2"_s}));
    page->ListView2->addTopLevelItem(new QTreeWidgetItem(QStringList{u"5"_s}));
    Second();
    Reply(u"#S6:125 0"_s);
    form->PageControl1->setCurrentWidget(form->TabSheet1);
    Second();
    form->PageControl1->setCurrentWidget(page);
    Second();
    Reply(u"#P657:"_s);
    Second();
    Reply(u"#S23:"_s);
    EXPECT_EQ(Commands(ports->line(u"COM3"_s)),
              QStringList({u" ver"_s, u" #S54?"_s, u" #S63=1"_s, u" #S0?#S4?#S6?"_s, u" #P657?"_s,
                           u" #S23?"_s}));

    // Six seconds without a frame drop the link and reset everything it showed.
    form->Panel1->Label5->setText(u"Готово"_s);
    form->Panel1->ProgressBar2->show();
    form->Panel1->GroupBox4->setEnabled(false);
    page->Button1->setEnabled(false);
    for (int i = 0; i < 5; ++i) {
        Second(false);
    }
    EXPECT_NE(form->connection->connectedPort(), nullptr);
    Second(false);
    EXPECT_EQ(form->connection->connectedPort(), nullptr);
    EXPECT_EQ(routed, QStringList({u"P #P657:"_s, u"S23 "_s, u"SaveLastSettings"_s,
                                   u"ClearRememberedSerial"_s, u"ClearReadOffered"_s}));
    EXPECT_EQ(page->Label13->text() + page->Label6->text() + page->Edit1->text() +
                  form->Panel1->Label5->text(),
              QString());
    // Type list, file buttons and terminal usable again; batch bar, connected icon, radio page
    // gone.
    EXPECT_EQ(
        (QList<bool>{page->ComboBox2->isEnabled(), form->Panel1->GroupBox4->isEnabled(),
                     page->Button1->isEnabled(), form->Panel1->Image1->isVisibleTo(form.get()),
                     form->Panel1->Image2->isVisibleTo(form.get()),
                     form->Panel1->ProgressBar2->isVisibleTo(form.get()), RadioPageShown()}),
        (QList<bool>{true, true, true, true, false, false, false}));
    EXPECT_EQ(form->Timer1->interval(), 1000);
    // The port is destroyed once the event loop runs; the next scan finds the controller again.
    QCoreApplication::processEvents();
    EXPECT_FALSE(ports->line(u"COM3"_s).isOpen);
    ConnectOn(u"COM4"_s);
    EXPECT_EQ(page->Label13->text(), u"COM4"_s);

    // Closing lets the controller go (its settings saved) between the two log lines.
    routed.clear();
    const qint64 logStart = app.logSize();
    form->close();
    EXPECT_EQ(app.logTextsSince(logStart),
              (QList<QByteArray>{"CloseQuery received", "COM4:\tclosed", "Program CLOSED"}));
    EXPECT_EQ(routed, QStringList({u"SaveLastSettings"_s, u"ClearReadOffered"_s}));
}

TEST_F(ConnectionTest, VersionReplySelectsTypeAndRadioPageOrWarns) {
    const struct {
        QString version;
        int type;
        bool radioPage;
        bool forgetsSerial; // on disconnect, from firmware 1.66 on
    } cases[] = {{u"ver: Конфигурация 1.44 HV 406"_s, 1, false, false},
                 {u"ver: Конфигурация 1.65 HV 401"_s, 2, true, false},
                 {u"Версия Конфигурация 2.0"_s, 0, true, true},
                 {u"ver: Конфигурация не задана"_s, 4, false, false}};
    for (const auto& c : cases) {
        routed.clear();
        ConnectOn(u"COM3"_s);
        page->ComboBox2->setCurrentIndex(4);
        Reply(c.version);
        Reply(u"#S54:5"_s);
        EXPECT_EQ(form->waitingWindow(), nullptr);
        EXPECT_EQ(page->ComboBox2->currentIndex(), c.type) << c.version.toStdString();
        EXPECT_EQ(RadioPageShown(), c.radioPage) << c.version.toStdString();
        form->connection->Disconnect();
        EXPECT_EQ(routed.contains(u"ClearRememberedSerial"_s), c.forgetsSerial);
    }
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption, u"Предупреждение"_s);
    EXPECT_EQ(dialogs.shown[0].text, u"Настоятельно рекомендуется обновить прошивку прибора.\n"
                                     u"Для данной версии никаких настроек не доступно."_s);
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(ConnectionTest, RepliesAreRoutedPieceByPieceToTheirControls) {
    ConnectOn(u"COM3"_s);
    Reply(u"#P12:a#b#S23:2961 0#R3:77#S64:2 ok#S99:1#S6"_s);
    Reply(u"01AB34CD"_s);
    Reply(u"#R3:77"_s);
    // Only a status mark ends a piece, so the radio report stays inside the readings' value.
    EXPECT_EQ(routed, QStringList({u"P #P12:a#b"_s, u"S23 2961 0#R3:77"_s, u"S64 2 ok"_s,
                                   u"key 01AB34CD"_s, u"R #R3:77"_s}));

    // The texts' edges are the status values' own; here each value reaches its control.
    Reply(u"#S0:125#S4:20 5 Билайн#S6:65"_s);
    EXPECT_EQ(page->Label18->text() + page->Label2->text() + page->Label4->text() +
                  page->Label15->text() + page->Label16->text(),
              u"Постановка 12.5 сроумингБилайн6.5резервное"_s);
    EXPECT_FALSE(page->Button2->isEnabledTo(page));
    // Without an operator name the last one stays; a level beyond the bar pins it to its end.
    Reply(u"#S0:1#S4:99 4"_s);
    EXPECT_TRUE(page->Button2->isEnabledTo(page));
    EXPECT_EQ(page->ProgressBar1->value(), 31);
    EXPECT_EQ(page->Label2->text() + page->Label4->text(), u"Билайн"_s);
}

} // namespace
