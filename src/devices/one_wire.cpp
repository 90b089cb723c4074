#include "one_wire.h"

#include "clipboard.h"
#include "command_link.h"
#include "cp1251.h"
#include "dialogs.h"

using namespace Qt::StringLiterals;

namespace talvik::devices {

namespace {
constexpr QStringView kTouchPhrase = u"Касание эл. ключом";
// The key code follows the phrase after two characters of its own (": ").
constexpr qsizetype kKeyOffset = kTouchPhrase.size() + 2;
} // namespace

OneWire::OneWire(std::function<link::CommandLink*()> link, support::Dialogs& dialogs,
                 support::Clipboard& clipboard, QObject* parent)
    : QObject(parent), m_link(std::move(link)), m_dialogs(dialogs), m_clipboard(clipboard) {}

void OneWire::Button10Click(Sender sender) {
    link::CommandLink* link = m_link();
    if (link == nullptr) {
        return;
    }
    if (sender == Sender::AddKeys) {
        link->SendCommand(u" TMSET"_s, link::SendFlag::AwaitReply);
    } else {
        link->SendCommand(u" TMCLR"_s, link::SendFlag::AwaitReply);
        TouchedKeys.clear();
    }
}

void OneWire::OnKeyTouch(const QString& line) {
    const qsizetype at = line.indexOf(kTouchPhrase);
    // A line cut short after the phrase carries no key code to announce.
    if (at < 0 || line.size() - at <= kKeyOffset) {
        return;
    }
    const QString key = line.mid(at + kKeyOffset);
    const QByteArray code = support::Cp1251::fromUnicode(key);
    if (TouchedKeys.contains(code)) {
        return;
    }
    m_clipboard.setText(code);
    TouchedKeys.insert(code);
    m_dialogs.information(u"Новый ключ"_s,
                          u"Касание новым ключом "_s + key +
                              u". Ключ скопирован в буффер обмена. Вы можете назначить его "
                              u"пользователю на соответствующей вкладке."_s);
}

} // namespace talvik::devices
