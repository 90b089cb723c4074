#pragma once

#include "emulator_core.h"
#include "fake_clock.h"
#include "frame_codec.h"
#include "frame_scanner.h"
#include "module_registry.h"

#include <gtest/gtest.h>

// The shipped modules, built from the given command-line arguments, in an emulator core on a
// fake clock at 115200 baud; what the core sends is run back through a scanner.
class EmuHarness {
public:
    explicit EmuHarness(const QStringList& arguments = {}, talvik::emu::FaultKnobs knobs = {},
                        std::uint32_t baud = 115200)
        : core(clock, baud, knobs, modules(arguments)) {}

    // Hands bytes over at the given line speed and returns the frames delivered a second later.
    std::vector<talvik::emu::Frame> feed(const QByteArray& bytes, std::uint32_t lineBaud = 115200) {
        core.receive(bytes, lineBaud);
        clock.advance(1000);
        return take();
    }

    // Sends a command text (a leading space is added) and returns every frame the line
    // delivers until it has been idle for a second.
    std::vector<talvik::emu::Frame> send(const QByteArray& text, std::uint8_t channel = 2) {
        core.receive(*talvik::emu::FrameCodec::encode({0, channel, ' ' + text + '\0'}), 115200);
        std::vector<talvik::emu::Frame> frames;
        for (std::uint32_t idle = 0; idle < 1000;) {
            const std::uint32_t step = std::max(core.msUntilOutput().value_or(1), 1u);
            clock.advance(step);
            const auto more = take();
            idle = more.empty() ? idle + step : 0;
            frames.insert(frames.end(), more.begin(), more.end());
        }
        return frames;
    }

    // The payload of the single answer (kind 2) a command gets, or "<n frames>" otherwise.
    QByteArray ask(const QByteArray& text, std::uint8_t channel = 2) {
        const auto frames = send(text, channel);
        return frames.size() == 1 && frames[0].kind == 2
                   ? frames[0].payload
                   : "<" + QByteArray::number(frames.size()) + " frames>";
    }

    // The frames the line has delivered by now; notes the bytes and the time of the last one.
    std::vector<talvik::emu::Frame> take() {
        const QByteArray out = core.takeOutput();
        outputBytes += out.size();
        lastOutputAt = out.isEmpty() ? lastOutputAt : clock.tickMs();
        const auto result = scanner.feed(out);
        badChecksums += result.badChecksums;
        return result.frames;
    }

    FakeClock clock{1000};
    talvik::emu::EmulatorCore core;
    talvik::emu::FrameScanner scanner;
    int badChecksums = 0;
    qsizetype outputBytes = 0;
    std::uint32_t lastOutputAt = 0;

private:
    static std::vector<std::unique_ptr<talvik::emu::EmuModule>>
    modules(const QStringList& arguments) {
        QCommandLineParser parser;
        talvik::emu::ModuleRegistry::instance().addOptions(parser);
        // The emulator's own seed option, which modules read for their random choices.
        parser.addOption({QStringLiteral("seed"), QString(), QStringLiteral("n")});
        EXPECT_TRUE(parser.parse(QStringList{QStringLiteral("talvik-emu")} + arguments))
            << parser.errorText().toStdString();
        return talvik::emu::ModuleRegistry::instance().createAll(parser);
    }
};
