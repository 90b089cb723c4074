#pragma once

#include "com_port.h"

#include <deque>
#include <functional>

namespace talvik::app {

class ControllerSession;

// The window's port: the command channel whose events become signals of the controller
// session, plus the bookkeeping of a settings read that runs on it. A scanned port only
// announces a controller; the connected one reports everything else.
class CPort final : public link::ComPort {
public:
    CPort(std::unique_ptr<link::SerialLine> line, const QString& portName,
          const QString& friendlyName, support::Clock& clock, ControllerSession& session);

    // Cuts the port off from the session once it has been let go; it is destroyed later, when
    // none of its own operations is running any more.
    void Detach();

    // Runs `wake` whenever the line reports arrivals (or fails), so that reception need not
    // look at a quiet line.
    void WakeOnArrival(std::function<void()> wake);
    // Bytes are waiting to be read.
    [[nodiscard]] bool BytesWaiting();

    void ShowStatus(const QString& text) override;
    void OnReply(const QString& text) override;
    void OnText(const QString& text) override;
    void OnDeviceRestart() override;
    void SetProgress(int position) override;
    void SetProgressMax(int maximum) override;
    void OnProgrammingEnd(const QString& text) override;
    void OnConnected(const QString& text) override;
    void OnDisconnected() override;
    void Wait(int milliseconds) override;
    void OnNoReply() override;
    void OnCommandSent() override;
    void OnPollDue() override;
    void OnQueueEnd() override;
    void OnVersion(const QString& text) override;

    // A dump of all settings (" #S15=2") is running.
    int dumpActive = 0;
    // The number of the last setting the running dump delivered; -1 when it starts.
    int lastDumpNumber = -1;
    // Settings the dump skipped, asked for one by one when it ends.
    std::deque<int> missingNumbers;
    // Commands of the current read or write that got no reply.
    int errorCount = 0;

private:
    template <typename... Params, typename... Args>
    void Report(void (ControllerSession::*event)(Params...), Args&&... args);

    ControllerSession* m_session;
};

} // namespace talvik::app
