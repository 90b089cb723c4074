// Feeds arbitrary bytes to the settings-file reader: malformed files must only give no root.
#include "json_root.h"

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

using namespace talvik::iface;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    JsonRoot document;
    if (document.parse(QByteArrayView(data, static_cast<qsizetype>(size)))) {
        Node node = document.root();
        while (node.count() > 0) {
            node = node.child(0);
        }
        static_cast<void>(node.asString());
    }
    return 0;
}
