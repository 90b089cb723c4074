#include "status_poll.h"

#include "compare_versions.h"

using namespace Qt::StringLiterals;

namespace talvik::link {

namespace {
// The setting before the first thermometer slot's serial number.
constexpr int kThermometerSerialBase = 652;
} // namespace

QList<StatusPoll::Command> StatusPoll::Identification(bool versionKnown, bool serialKnown) {
    QList<Command> commands;
    if (!versionKnown) {
        commands.append({u" ver"_s, SendFlag::AwaitReply});
    }
    if (!serialKnown) {
        commands.append({u" #S54?"_s, SendFlag::AwaitReply});
    }
    if (!commands.isEmpty()) {
        // Asks the controller for its own status reports; nothing comes back for it.
        commands.append({u" #S63=1"_s, SendFlag::ForgetOnChannel3});
    }
    return commands;
}

StatusPoll::Command StatusPoll::Next(const QString& versionText,
                                     const QList<int>& thermometerSlots) {
    // Only firmware from 2.19 on answers the thermometer serial queries.
    const bool thermometers =
        support::CompareVersions(versionText, u"2.19") >= 0 && !thermometerSlots.isEmpty();
    m_pollIndex = (m_pollIndex + 1) % (thermometers ? 3 : 2);
    if (m_pollIndex == 0) {
        return {u" #S23?"_s, SendFlag::AwaitReply};
    }
    if (m_pollIndex == 1) {
        return {u" #S0?#S4?#S6?"_s, SendFlag::AwaitReply};
    }
    m_thermometerIndex = (m_thermometerIndex + 1) % static_cast<int>(thermometerSlots.size());
    return {u" #P"_s +
                QString::number(kThermometerSerialBase + thermometerSlots.at(m_thermometerIndex)) +
                u'?',
            SendFlag::AwaitReply};
}

} // namespace talvik::link
