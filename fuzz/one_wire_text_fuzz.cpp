// Feeds arbitrary controller texts to the 1-Wire readers: the key-touch handler and the
// thermometer list. Nothing may crash, a key is announced at most once, and every row belongs to
// a slot the readings hold.
#include "clipboard.h"
#include "cp1251.h"
#include "dialogs.h"
#include "one_wire.h"
#include "thermometer_list.h"

#include <cstdint>
#include <cstdlib>

using namespace talvik::devices;
using namespace talvik::support;

namespace {

class CountingDialogs final : public Dialogs {
public:
    int boxes = 0;
    void information(const QString&, const QString&) override { ++boxes; }
    void warning(const QString&, const QString&) override { ++boxes; }
    void error(const QString&, const QString&) override { ++boxes; }
    bool question(const QString&, const QString&) override { return false; }
    QString openFile(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFile(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
};

class NoClipboard final : public Clipboard {
public:
    void setText(const QByteArray&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        Cp1251::toUnicode(QByteArrayView(reinterpret_cast<const char*>(data), size));
    CountingDialogs dialogs;
    NoClipboard clipboard;
    OneWire oneWire([] { return nullptr; }, dialogs, clipboard);
    oneWire.OnKeyTouch(text);
    oneWire.OnKeyTouch(text);
    if (dialogs.boxes > 1) {
        std::abort();
    }
    const auto rows = ThermometerList::Rows(
        text, {}, [](int setting) { return QString::number(setting); }, QLocale::c());
    for (const ThermometerList::Row& row : rows) {
        if (row.slot < 0 || row.slot >= text.count(u' ') + 1) {
            std::abort();
        }
    }
    return 0;
}
