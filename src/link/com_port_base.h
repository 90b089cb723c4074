#pragma once

#include "serial_line.h"
#include "simple_log.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace talvik::link {

// One open serial port: its line, its line settings, its names and a log named after the port.
class ComPortBase {
public:
    // The line comes open from the caller (see AddPort).
    ComPortBase(std::unique_ptr<SerialLine> line, const QString& portName,
                const QString& friendlyName, std::uint32_t baud, std::uint8_t stopBits);
    virtual ~ComPortBase();
    ComPortBase(const ComPortBase&) = delete;
    ComPortBase& operator=(const ComPortBase&) = delete;

    virtual void OnDataAvailable(std::size_t count) = 0;

    void SetSpeed(std::uint32_t baud);
    // Closes and opens the line again after a stalled link.
    void Reopen();
    // Hands whatever the line has waiting to OnDataAvailable; never blocks.
    void CheckReceive();
    // Runs CheckReceive whenever the line reports arrivals, so no polling timer is needed.
    void ReceiveOnArrival();

    [[nodiscard]] const QString& PortName() const { return m_portName; }
    [[nodiscard]] const QString& FriendlyName() const { return m_friendlyName; }
    [[nodiscard]] std::uint32_t Baud() const { return m_baud; }
    [[nodiscard]] bool SpeedHunting() const { return m_speedHunting; }
    void SetSpeedHunting(bool on) { m_speedHunting = on; }
    [[nodiscard]] bool Seen() const { return m_seen; }
    void SetSeen(bool seen) { m_seen = seen; }
    [[nodiscard]] support::LogBase& Log() { return m_log; }

protected:
    [[nodiscard]] SerialLine& Line() { return *m_line; }
    void LogError(const QByteArray& operation);

private:
    void ConfigureLine();

    std::uint8_t m_stopBits;
    std::unique_ptr<SerialLine> m_line;
    support::SimpleLog m_log;
    QString m_portName;
    QString m_friendlyName;
    std::uint32_t m_baud;
    bool m_speedHunting = true;
    bool m_seen = true;
    // Set when the line failed for good (device gone); reading stops until the next Reopen.
    bool m_readFailed = false;
};

} // namespace talvik::link
