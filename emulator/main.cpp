// talvik-emu: a GSM controller substitute on a pseudo-terminal, for running and testing the
// programmer without hardware.

#include "emulator_core.h"
#include "module_registry.h"
#include "pty_line.h"
#include "system_clock.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <optional>
#include <poll.h>
#include <random>

using namespace Qt::StringLiterals;
using namespace talvik::emu;
using namespace talvik::support;

namespace {

volatile std::sig_atomic_t g_stop = 0;

void requestStop(int) {
    g_stop = 1;
}

int percentOption(const QCommandLineParser& parser, const QString& name) {
    if (!parser.isSet(name)) {
        return 0;
    }
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0 || value > 100) {
        ModuleRegistry::refuse(u"--"_s + name + u" takes a whole number from 0 to 100"_s);
    }
    return value;
}

std::optional<std::uint32_t> secondsOption(const QCommandLineParser& parser, const QString& name) {
    if (!parser.isSet(name)) {
        return std::nullopt;
    }
    bool ok = false;
    const double seconds = parser.value(name).toDouble(&ok);
    if (!ok || seconds < 0 || seconds > 1e6) {
        ModuleRegistry::refuse(u"--"_s + name + u" takes a number of seconds"_s);
    }
    return static_cast<std::uint32_t>(seconds * 1000);
}

FaultKnobs faultKnobs(const QCommandLineParser& parser) {
    FaultKnobs knobs;
    knobs.dropPercent = percentOption(parser, u"drop-percent"_s);
    knobs.corruptPercent = percentOption(parser, u"corrupt-percent"_s);
    knobs.silentAfterMs = secondsOption(parser, u"silent-after"_s);
    knobs.silentForMs = secondsOption(parser, u"silent-for"_s);
    if (knobs.silentForMs && !knobs.silentAfterMs) {
        ModuleRegistry::refuse(u"--silent-for needs --silent-after"_s);
    }
    if (parser.isSet(u"seed"_s)) {
        bool ok = false;
        knobs.seed = parser.value(u"seed"_s).toUInt(&ok);
        if (!ok) {
            ModuleRegistry::refuse(u"--seed takes a whole number"_s);
        }
    } else {
        knobs.seed = std::random_device{}();
    }
    return knobs;
}

// Blocks the stop signals except while waiting in ppoll, so a signal can never slip in
// between the check of g_stop and the wait.
sigset_t installStopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    return previous;
}

// While nobody has the terminal open the master reports a hang-up on every poll, so the loop
// then only looks again every kHangUpRecheck instead of spinning.
constexpr timespec kHangUpRecheck{0, 20'000'000};

void run(PtyLine& line, EmulatorCore& core, const sigset_t& waitMask) {
    QByteArray unwritten;
    bool hungUp = false;
    while (g_stop == 0) {
        pollfd fd{line.masterFd(), POLLIN, 0};
        if (!unwritten.isEmpty()) {
            fd.events |= POLLOUT;
        }
        timespec timeout{};
        const timespec* wait = nullptr;
        if (hungUp) {
            wait = &kHangUpRecheck;
        } else if (const std::optional<std::uint32_t> ms = core.msUntilOutput()) {
            timeout.tv_sec = *ms / 1000;
            timeout.tv_nsec = static_cast<long>(*ms % 1000) * 1000000;
            wait = &timeout;
        }
        if (::ppoll(&fd, hungUp ? 0 : 1, wait, &waitMask) < 0) {
            continue; // interrupted by a stop signal: the loop condition decides
        }
        if (hungUp) {
            fd.revents = 0;
            ::poll(&fd, 1, 0);
            hungUp = (fd.revents & POLLHUP) != 0;
            continue;
        }
        if ((fd.revents & POLLHUP) != 0) {
            hungUp = true;
            unwritten.clear();
            core.lineDropped();
            continue;
        }
        if ((fd.revents & POLLIN) != 0) {
            const QByteArray bytes = line.readAvailable();
            core.receive(bytes, line.lineBaud());
        }
        unwritten.append(core.takeOutput());
        if (!unwritten.isEmpty()) {
            unwritten.remove(0, line.write(unwritten));
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"talvik-emu"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Emulates a Talvik GSM controller on a pseudo-terminal. Prints the terminal's path on "
        u"the first line of output."_s);
    parser.addHelpOption();
    parser.addOptions({
        {u"baud"_s, u"Line speed the controller listens at: 115200 (default) or 9600."_s, u"rate"_s,
         u"115200"_s},
        {u"link"_s, u"Keep a symbolic link to the terminal at <path> while running."_s, u"path"_s},
        {u"drop-percent"_s, u"Ignore <n> % of the incoming frames."_s, u"n"_s},
        {u"corrupt-percent"_s, u"Send <n> % of the outgoing frames with a wrong checksum."_s,
         u"n"_s},
        {u"silent-after"_s, u"Stop answering after <seconds>, like a pulled cable."_s,
         u"seconds"_s},
        {u"silent-for"_s,
         u"With --silent-after: answer again after <seconds> of silence, like a cable plugged "
         u"back in."_s,
         u"seconds"_s},
        {u"seed"_s,
         u"Seed of the random choices (fault knobs, listing gaps), for repeatable runs."_s, u"n"_s},
        {u"verbose"_s, u"Print every frame that comes in or goes out on standard error."_s},
    });
    ModuleRegistry::instance().addOptions(parser);
    parser.process(app);

    const std::uint32_t baud = parser.value(u"baud"_s).toUInt();
    if (baud != 115200 && baud != 9600) {
        ModuleRegistry::refuse(u"--baud must be 115200 or 9600"_s);
    }
    const FaultKnobs knobs = faultKnobs(parser);
    // Modules refuse bad options of their own before the terminal's path is announced.
    auto modules = ModuleRegistry::instance().createAll(parser);
    const sigset_t waitMask = installStopSignals();

    PtyLine line;
    QString error;
    if (!line.open(baud, error)) {
        ModuleRegistry::refuse(error);
    }
    if (parser.isSet(u"link"_s) && !line.link(parser.value(u"link"_s), error)) {
        ModuleRegistry::refuse(error);
    }
    std::printf("%s\n", line.slavePath().toLocal8Bit().constData());
    std::fflush(stdout);

    EmulatorCore core(SystemClock::instance(), baud, knobs, std::move(modules));
    if (parser.isSet(u"verbose"_s)) {
        core.setTrace([](const QString& line) {
            std::fprintf(stderr, "talvik-emu: %s\n", line.toLocal8Bit().constData());
        });
    }
    run(line, core, waitMask);
    core.shutDown();
    return 0;
}
