// Feeds arbitrary controller reply texts through the reply splitter and every piece reader:
// nothing may crash, and the pieces must give back the text they were cut from.
#include "cp1251.h"
#include "reply_pieces.h"
#include "settings_wire.h"
#include "status_values.h"

#include <cstdint>
#include <cstdlib>

using namespace talvik::link;
using namespace talvik::settings;
using namespace talvik::support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        Cp1251::toUnicode(QByteArrayView(reinterpret_cast<const char*>(data), size));
    const QStringList pieces = SplitReply(text);
    if (!pieces.isEmpty() && pieces.join(QString()) != text) {
        std::abort();
    }
    for (const QString& piece : pieces) {
        if (!piece.startsWith(u'#')) {
            std::abort();
        }
        if (const auto status = StatusValues::ParsePiece(piece)) {
            static_cast<void>(StatusValues::GuardFor(status->value));
            static_cast<void>(StatusValues::GsmFor(status->value));
            static_cast<void>(StatusValues::PowerFor(status->value));
        }
        static_cast<void>(SettingsWire::parseReply(piece));
    }
    return 0;
}
