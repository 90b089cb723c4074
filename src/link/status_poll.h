#pragma once

#include "send_flag.h"

#include <QList>
#include <QString>

namespace talvik::link {

// What the once-a-second status poll asks the connected controller: the identification
// requests until version and serial number are known, then one request in turn from a rotation
// of the status numbers and, with thermometers on new firmware, their serial numbers. The
// rotation counters live as long as the window, across connections.
class StatusPoll {
public:
    struct Command {
        QString text;
        SendFlag flag = SendFlag::AwaitReply;
        friend bool operator==(const Command&, const Command&) = default;
    };

    // The identification requests still needed; empty once both answers are in.
    [[nodiscard]] static QList<Command> Identification(bool versionKnown, bool serialKnown);

    // The next request of the rotation. thermometerSlots: the numbers in the first column of the
    // thermometer list, one per row.
    [[nodiscard]] Command Next(const QString& versionText, const QList<int>& thermometerSlots);

private:
    int m_pollIndex = 0;
    int m_thermometerIndex = 0;
};

} // namespace talvik::link
