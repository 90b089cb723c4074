#pragma once

#include "clock.h"
#include "com_port_base.h"
#include "frame_scanner.h"
#include "send_flag.h"
#include "programming.h"
#include "upload_kind.h"
#include "write_pacing.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>

namespace talvik::link {

// The command channel to the controller over one port: framing, the command queue with reply
// time-out and retries, write pacing, keep-alive, frame reassembly, and the link events that
// the owner receives by overriding the event operations.
class ComPort : public ComPortBase {
public:
    static constexpr std::uint32_t kReplyTimeoutMs = 4000;
    static constexpr int kAttempts = 3;
    static constexpr int kKeepAliveTicks = 10;
    static constexpr int kLinkAliveTicks = 60;
    // The link-alive countdown of a new port and after an upload.
    static constexpr int kFreshLinkAliveTicks = 12;
    static constexpr int kPollTicks = 10;

    ComPort(std::unique_ptr<SerialLine> line, const QString& portName, const QString& friendlyName,
            support::Clock& clock, WritePacing& pacing = WritePacing::ProcessWide());

    void OnDataAvailable(std::size_t count) override;

    // Event operations; the window's port overrides them.
    virtual void ShowStatus(const QString& text);
    virtual void OnReply(const QString& text);
    virtual void OnRawFrame(std::span<const std::uint8_t> payload);
    virtual void OnText(const QString& text);
    virtual void OnDeviceRestart();
    virtual void SetProgress(int position);
    virtual void SetProgressMax(int maximum);
    virtual void OnProgrammingEnd(const QString& text);
    virtual void OnConnected(const QString& text);
    virtual void OnDisconnected();
    virtual void Wait(int milliseconds);
    virtual void OnNoReply();
    virtual void OnCommandSent();
    virtual void OnPollDue();
    virtual void OnQueueEnd();
    virtual void OnVersion(const QString& text);

    // Queues a command, or one of the pseudo-commands "end" and "end clr" (written never).
    void SendCommand(const QString& command, SendFlag flag);
    // Writes a text with its NUL at once, bypassing the queue.
    void SendText(const QByteArray& text, SendFlag channel);
    void SendRaw(std::span<const std::uint8_t> bytes, SendFlag channel);
    // Writes bytes as they are, after the gap the previous write needs on the line.
    void WritePaced(std::span<const std::uint8_t> bytes);
    void Pump();
    // The awaited command counts as sent just now, so a long settings listing that keeps
    // arriving does not run into the reply time-out.
    void TouchLastSendTime() { m_lastSendTime = m_clock.tickMs(); }
    // Takes the awaited command as answered, so the queue moves on.
    void ClearCurrent() { m_current.clear(); }
    // The channel clock of the connected port, run every 100 ms.
    void Tick();

    // Uploads a firmware, profile or sound file; the queue, polling and keep-alive rest until
    // the run ends with OnProgrammingEnd.
    void StartUpload(UploadKind kind, const QString& path) { m_programming.Start(kind, path); }
    // Ends an active upload with the given result text.
    void CancelUpload(const QString& text) { m_programming.Cancel(text); }

    [[nodiscard]] bool Connected() const { return m_connected; }
    [[nodiscard]] int Mode() const { return static_cast<int>(m_programming.CurrentMode()); }
    [[nodiscard]] const QByteArray& Current() const { return m_current; }
    [[nodiscard]] const QByteArray& LastCommand() const { return m_lastCommand; }
    [[nodiscard]] std::size_t QueueSize() const { return m_queue.size(); }
    [[nodiscard]] int KeepAliveCountdown() const { return m_keepAliveCountdown; }
    [[nodiscard]] int LinkAliveCountdown() const { return m_linkAliveCountdown; }
    [[nodiscard]] const QString& VersionText() const { return m_versionText; }
    [[nodiscard]] int HardwareNumber() const { return m_hardwareNumber; }

private:
    friend class Programming;

    struct QueuedCommand {
        QByteArray text;
        SendFlag flag = SendFlag::WriteAndForget;
        int attempts = 0;
    };

    void HandleFrame(std::span<const std::uint8_t> payload, std::uint8_t kind);
    void HandleVersionReply(const QString& text);
    // What an upload needs of the channel: an empty queue at its start, and the link's
    // countdowns fresh at its end, so the controller has a moment to be heard from again.
    void ClearQueue() { m_queue.clear(); }
    void ResumeAfterProgramming();
    // The stored tick is pulled down to now when the tick counter has wrapped.
    [[nodiscard]] std::uint32_t SinceTick(std::uint32_t& stored) const;

    support::Clock& m_clock;
    WritePacing& m_writePacing;
    FrameScanner m_scanner;
    std::deque<QueuedCommand> m_queue;
    QByteArray m_current;
    QByteArray m_lastCommand;
    int m_attempts = 0;
    std::uint32_t m_lastSendTime = 0;
    int m_keepAliveCountdown = kKeepAliveTicks;
    int m_linkAliveCountdown = kFreshLinkAliveTicks;
    int m_pollCountdown = kPollTicks;
    bool m_connected = false;
    bool m_pacing = true;
    QString m_versionText;
    int m_hardwareNumber = -1;
    Programming m_programming{*this, m_clock};
};

} // namespace talvik::link
