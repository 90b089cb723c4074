#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace talvik::link {
class CommandLink;
}

namespace talvik::devices {

// Arming and disarming the controller's guard, and restarting the controller.
class GuardControl : public QObject {
    Q_OBJECT
public:
    // link: the connected controller's queue, or null while none is connected.
    explicit GuardControl(std::function<link::CommandLink*()> link, QObject* parent = nullptr);

    // The guard button does what its caption says: "Включить" arms, any other caption disarms.
    // The new state shows with the next status poll.
    void Button2Click(const QString& caption);
    // "RESTART": the command shows in the terminal as typed there, and is written without
    // waiting for an answer, since the controller goes away.
    void Button12Click();

Q_SIGNALS:
    // A command to show in the terminal as sent from there.
    void commandShown(const QString& text);

private:
    std::function<link::CommandLink*()> m_link;
};

} // namespace talvik::devices
