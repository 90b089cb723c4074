#pragma once

#include "send_flag.h"

#include <QByteArray>
#include <QString>
#include <deque>

namespace talvik::settings {

// The connected controller's command channel as the settings transfer uses it, together with
// the bookkeeping of the read or write batch that runs on it. The window's port provides it.
class SettingsLink {
public:
    // The error count of a batch whose listing request got no reply at all: the whole read
    // failed, whatever else was answered.
    static constexpr int kListingUnanswered = 1000;

    virtual ~SettingsLink() = default;

    // Queues a command or the pseudo-command "end".
    virtual void SendCommand(const QString& command, link::SendFlag flag) = 0;
    // Frames and writes a text at once, bypassing the queue.
    virtual void SendText(const QByteArray& text, link::SendFlag channel) = 0;
    // Firmware configuration version reported by the controller.
    [[nodiscard]] virtual QString VersionText() const = 0;
    // The serial number the controller reported; empty until it has.
    [[nodiscard]] virtual QString SerialNumber() const = 0;
    // The command whose reply is awaited; empty when none is.
    [[nodiscard]] virtual QByteArray Current() const = 0;
    // Takes the awaited command as answered, so the queue moves on.
    virtual void ClearCurrent() = 0;
    // Restarts the reply time-out of the awaited command.
    virtual void TouchLastSendTime() = 0;

    // A listing of all settings (" #S15=2") is running.
    [[nodiscard]] virtual int& dumpActive() = 0;
    // The last setting number the running listing delivered; -1 when it starts.
    [[nodiscard]] virtual int& lastDumpNumber() = 0;
    // Numbers the listing skipped, in ascending order of discovery.
    [[nodiscard]] virtual std::deque<int>& missingNumbers() = 0;
    // Commands of the current batch without a reply; kListingUnanswered when the listing
    // request got none.
    [[nodiscard]] virtual int& errorCount() = 0;
};

} // namespace talvik::settings
