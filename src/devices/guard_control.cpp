#include "guard_control.h"

#include "command_link.h"

using namespace Qt::StringLiterals;

namespace talvik::devices {

GuardControl::GuardControl(std::function<link::CommandLink*()> link, QObject* parent)
    : QObject(parent), m_link(std::move(link)) {}

void GuardControl::Button2Click(const QString& caption) {
    link::CommandLink* link = m_link();
    if (link == nullptr) {
        return;
    }
    link->SendCommand(caption == u"Включить"_s ? u" #S0=1"_s : u" #S0=0"_s,
                      link::SendFlag::AwaitReply);
}

void GuardControl::Button12Click() {
    link::CommandLink* link = m_link();
    if (link == nullptr) {
        return;
    }
    const QString restart = u"ReStarT"_s;
    Q_EMIT commandShown(restart);
    link->SendCommand(u' ' + restart, link::SendFlag::WriteAndForget);
}

} // namespace talvik::devices
