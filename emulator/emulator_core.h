#pragma once

#include "clock.h"
#include "emu_module.h"
#include "fault_knobs.h"
#include "frame_codec.h"
#include "frame_scanner.h"
#include "output_pacer.h"
#include "responder.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace talvik::emu {

// The controller behind the line, without the line: cuts frames out of what arrives, ignores
// those sent at a speed other than its own, hands the rest to the modules and frames, paces and
// (with the fault knobs) spoils their answers.
class EmulatorCore final : private Responder {
public:
    // Frames from the device go out on a channel above the program's command channels.
    static constexpr std::uint8_t kDeviceChannel = 5;
    // The program gives up the link after this long without a frame from the device.
    static constexpr std::uint32_t kHostQuietMs = 6000;

    EmulatorCore(const support::Clock& clock, std::uint32_t baud, const FaultKnobs& knobs,
                 std::vector<std::unique_ptr<EmuModule>> modules);

    // Bytes read from the line while the terminal was set to lineBaud.
    void receive(const QByteArray& bytes, std::uint32_t lineBaud);
    // Bytes the line has delivered by now.
    [[nodiscard]] QByteArray takeOutput();
    [[nodiscard]] std::optional<std::uint32_t> msUntilOutput() const;
    [[nodiscard]] bool silent() const;
    // The program closed the port: what was on the line is lost and the session is over.
    void lineDropped();
    // Lets the modules finish their work before the emulator exits.
    void shutDown();
    // Receives one line for every frame that comes in or goes out, for watching a session.
    void setTrace(std::function<void(const QString&)> trace) { m_trace = std::move(trace); }

private:
    // Modules with output of their own are asked for more while less than this is queued:
    // about one frame, so the line never runs dry and answers wait at most that long.
    static constexpr qsizetype kFeedBelowBytes = FrameCodec::kOverhead + FrameCodec::kMaxPayload;

    void reply(const QByteArray& payload) override;
    void notify(const QByteArray& payload) override;
    void raw(const QByteArray& bytes) override;
    // A module that has taken the line over took the bytes.
    [[nodiscard]] bool takenRaw(const QByteArray& bytes);
    [[nodiscard]] std::optional<QByteArray> status(int number) override;
    void restart(std::uint32_t quietMs) override;
    void endSessions() override { hostLost(); }
    void send(std::uint8_t kind, const QByteArray& payload);
    void feedLine();
    void handle(const Frame& frame, std::uint32_t now);
    void hostLost();
    [[nodiscard]] bool roll(int percent);
    void trace(const char* what, const Frame& frame) const;

    const support::Clock& m_clock;
    std::uint32_t m_baud;
    FaultKnobs m_knobs;
    std::vector<std::unique_ptr<EmuModule>> m_modules;
    FrameScanner m_scanner;
    OutputPacer m_pacer;
    std::mt19937 m_random;
    std::uint32_t m_startTick;
    std::optional<std::uint32_t> m_lastHeard;
    std::uint8_t m_replyKind = 0;
    // The last restart and how long the controller stays quiet after it.
    std::optional<std::uint32_t> m_restartedAt;
    std::uint32_t m_restartQuietMs = 0;
    std::function<void(const QString&)> m_trace;
};

} // namespace talvik::emu
