#pragma once

#include "emulator_core.h"
#include "fake_clock.h"
#include "frame_codec.h"
#include "frame_scanner.h"
#include "module_registry.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

// The shipped modules, built from the given command-line arguments, in an emulator core on a
// fake clock at 115200 baud; what the core sends is run back through a scanner.
class EmuHarness {
public:
    explicit EmuHarness(const QStringList& arguments = {}, FaultKnobs knobs = {},
                        std::uint32_t baud = 115200)
        : core(clock, baud, knobs, modules(arguments)) {}

    // Hands bytes over at the given line speed and returns the frames the line has delivered a
    // second later.
    std::vector<Frame> feed(const QByteArray& bytes, std::uint32_t lineBaud = 115200) {
        core.receive(bytes, lineBaud);
        clock.advance(1000);
        const auto result = scanner.feed(core.takeOutput());
        badChecksums += result.badChecksums;
        return result.frames;
    }

    // Sends a command text (a leading space is added) and returns every frame the line
    // delivers until it has been idle for a second.
    std::vector<Frame> send(const QByteArray& text, std::uint8_t channel = 2) {
        core.receive(*FrameCodec::encode({0, channel, ' ' + text + '\0'}), 115200);
        return drain();
    }

    // Returns the frames that come out until the line is idle for a second.
    std::vector<Frame> drain() {
        std::vector<Frame> frames;
        for (int idle = 0; idle < 1000;) {
            const std::uint32_t step = core.msUntilOutput().value_or(1);
            clock.advance(step == 0 ? 1 : step);
            const auto result = scanner.feed(core.takeOutput());
            idle = result.frames.empty() ? idle + static_cast<int>(step == 0 ? 1 : step) : 0;
            frames.insert(frames.end(), result.frames.begin(), result.frames.end());
        }
        return frames;
    }

    // The text of the single frame a command gets back, or "<n frames>" otherwise.
    QByteArray ask(const QByteArray& text, std::uint8_t channel = 2) {
        const auto frames = send(text, channel);
        if (frames.size() != 1) {
            return "<" + QByteArray::number(frames.size()) + " frames>";
        }
        return frames[0].payload;
    }

    FakeClock clock{1000};
    EmulatorCore core;
    FrameScanner scanner;
    int badChecksums = 0;

private:
    static std::vector<std::unique_ptr<EmuModule>> modules(const QStringList& arguments) {
        QCommandLineParser parser;
        ModuleRegistry::instance().addOptions(parser);
        // The emulator's own seed option, which modules read for their random choices.
        parser.addOption({QStringLiteral("seed"), QString(), QStringLiteral("n")});
        EXPECT_TRUE(parser.parse(QStringList{QStringLiteral("talvik-emu")} + arguments))
            << parser.errorText().toStdString();
        return ModuleRegistry::instance().createAll(parser);
    }
};
