#include "e2e_harness.h"
#include "qt_serial_line.h"
#include "system_port_enumerator.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QSet>
#include <functional>

using namespace talvik::app;
using namespace talvik::link;

namespace {

// The given pseudo-terminals as the machine's ports, opened as real serial lines. `listed`
// runs once the list is made, before the scan opens what it lists.
struct ListedPorts final : PortEnumerator {
    QList<Port> ports;
    std::function<void()> listed;
    [[nodiscard]] QList<Port> AvailablePorts() const override {
        if (listed) {
            listed();
        }
        return ports;
    }
    [[nodiscard]] std::unique_ptr<SerialLine> CreateLine() const override {
        return SystemPortEnumerator().CreateLine();
    }
};

using WindowEndToEnd = EndToEnd;

TEST_F(WindowEndToEnd, IdentifiesShowsTheLiveStatusDropsASilentControllerAndConnectsAgain) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    Emulator emulator({u"--version"_s, u"2.19"_s, u"--hardware"_s, u"403"_s, u"--serial"_s,
                       u"00A1B2C3D4E5"_s, u"--silent-after"_s, u"10"_s, u"--silent-for"_s, u"8"_s});
    auto form = Window(emulator.path());
    const NamedControls page(*form);
    ASSERT_TRUE(WaitFor(8000, [&] { return Identified(*form); }));
    EXPECT_EQ(page.Edit1->text(), u"00A1B2C3D4E5"_s);
    EXPECT_TRUE(page.Label6->text().contains(u"Конфигурация: 2.19 HV: 403"_s));
    EXPECT_EQ(page.Label13->text(), emulator.path());
    EXPECT_EQ(page.ComboBox2->currentIndex(), 3);
    ASSERT_TRUE(WaitFor(3000, [&] { return !page.Label15->text().isEmpty(); }));
    EXPECT_EQ(QStringList({page.Label2->text(), page.Label4->text(), page.Label16->text(),
                           page.Label18->text()}),
              QStringList({u"в сети"_s, u"МегаФон"_s, u"220 В"_s, u"выкл"_s}));
    // The signal level wanders from second to second; the bar follows it.
    QSet<int> levels;
    EXPECT_TRUE(WaitFor(6000, [&] {
        levels.insert(page.ProgressBar1->value());
        return levels.size() >= 3;
    }));
    EXPECT_GE(*std::min_element(levels.begin(), levels.end()), 14);
    EXPECT_LE(*std::max_element(levels.begin(), levels.end()), 31);

    // Silent from its 10th second on: six seconds without a frame drop the link.
    ASSERT_TRUE(WaitFor(8000, [&] { return form->session().port() == nullptr; }));
    EXPECT_GT(sinceStart.elapsed(), 14500);
    EXPECT_LT(sinceStart.elapsed(), 17500);
    EXPECT_EQ(page.Label13->text() + page.Label6->text() + page.Edit1->text(), QString());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    ASSERT_TRUE(WaitFor(8000, [&] { return Identified(*form); }));
    EXPECT_EQ(page.Label13->text(), emulator.path());

    // Unplugged: its line reports the loss to the window once.
    emulator.stop(true);
    WaitFor(500, [] { return false; });
    EXPECT_EQ(Logged(":\tError: ClearCommError - "), 1);
}

TEST_F(WindowEndToEnd, FirstAnnouncementWinsAndTheOtherPortIsClosed) {
    Emulator first({});
    Emulator second({});
    auto form = Window({});
    auto listed = std::make_unique<ListedPorts>();
    listed->ports = {{u"talvik-emu"_s, first.path()}, {u"talvik-emu"_s, second.path()}};
    form->connection().setPortSource(std::move(listed), {});
    ASSERT_TRUE(WaitFor(5000, [&] { return form->session().port() != nullptr; }));
    const QString winner = form->session().port()->PortName();
    const QString loser = winner == first.path() ? second.path() : first.path();
    EXPECT_TRUE(form->connection().ports().empty());
    EXPECT_EQ(Logged(loser.toLocal8Bit() + ":\tclosed"), 1);
    EXPECT_EQ(Logged(winner.toLocal8Bit() + ":\tclosed"), 0);
    ASSERT_TRUE(WaitFor(8000, [&] { return Identified(*form); }));
    EXPECT_EQ(form->session().port()->PortName(), winner);
}

TEST_F(WindowEndToEnd, TheOtherControllerIsTakenOnceTheFirstIsPulled) {
    std::map<QString, std::unique_ptr<Emulator>> controllers;
    auto listed = std::make_unique<ListedPorts>();
    for (int i = 0; i < 2; ++i) {
        auto controller = std::make_unique<Emulator>(QStringList{});
        listed->ports.append({u"talvik-emu"_s, controller->path()});
        controllers.emplace(controller->path(), std::move(controller));
    }
    auto form = Window({});
    form->connection().setPortSource(std::move(listed), {});
    ASSERT_TRUE(WaitFor(5000, [&] { return form->session().port() != nullptr; }));
    const QString taken = form->session().port()->PortName();
    controllers.at(taken)->stop(true);
    controllers.erase(taken);
    const QString other = controllers.begin()->first;
    EXPECT_TRUE(WaitFor(20000, [&] {
        return form->session().port() != nullptr && form->session().port()->PortName() == other;
    }));
}

// The other program holds the port the way a serial terminal does (the device's lock), so
// that even root is kept out of it.
TEST_F(WindowEndToEnd, APortHeldByAnotherProgramIsSkippedUntilItIsFree) {
    Emulator emulator({});
    QtSerialLine holder;
    ASSERT_TRUE(holder.open(emulator.path()));
    auto form = Window(emulator.path());
    // Two refreshes of the scan find the port taken; one that opened would have connected.
    WaitFor(2500, [] { return false; });
    ASSERT_EQ(form->session().port(), nullptr);
    ASSERT_TRUE(holder.close());
    EXPECT_TRUE(WaitFor(5000, [&] { return form->session().port() != nullptr; }));
}

TEST_F(WindowEndToEnd, APortThatVanishesBetweenListingAndOpeningIsLeftOut) {
    auto vanishing = std::make_unique<Emulator>(QStringList{});
    Emulator staying({});
    auto form = Window({});
    auto listed = std::make_unique<ListedPorts>();
    listed->ports = {{u"talvik-emu"_s, vanishing->path()}, {u"talvik-emu"_s, staying.path()}};
    listed->listed = [&vanishing] { vanishing.reset(); };
    form->connection().setPortSource(std::move(listed), {});
    ASSERT_TRUE(WaitFor(5000, [&] { return form->session().port() != nullptr; }));
    EXPECT_EQ(form->session().port()->PortName(), staying.path());
}

} // namespace
