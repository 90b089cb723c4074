#pragma once

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

namespace talvik::link {
class CommandLink;
}
namespace talvik::support {
class Clipboard;
class Dialogs;
} // namespace talvik::support

namespace talvik::devices {

// The controller's 1-Wire bus as the window drives it: key learning, forgetting every key and
// thermometer, and the notice for a key that touches the reader for the first time (its code
// goes to the clipboard, ready to be pasted into a user's key field).
class OneWire : public QObject {
    Q_OBJECT
public:
    // The two buttons of the group, which share one handler.
    enum class Sender { AddKeys, RemoveAll };

    // link: the connected controller's queue, or null while none is connected.
    OneWire(std::function<link::CommandLink*()> link, support::Dialogs& dialogs,
            support::Clipboard& clipboard, QObject* parent = nullptr);

    // "Добавление ТМ ключей" starts key learning; "Удаление всех устройств" makes the controller
    // forget its 1-Wire devices, and every key may be announced again.
    void Button10Click(Sender sender);
    // A reply line that does not begin with '#': announces a key touch once per key.
    void OnKeyTouch(const QString& line);

    // Key codes (controller code page) announced since the start or the last clear-all.
    QSet<QByteArray> TouchedKeys;

private:
    std::function<link::CommandLink*()> m_link;
    support::Dialogs& m_dialogs;
    support::Clipboard& m_clipboard;
};

} // namespace talvik::devices
