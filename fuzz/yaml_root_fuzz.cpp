// Feeds arbitrary bytes to the tree-text reader and plans what a read document describes: neither
// may crash, hang or run away with memory, whatever the description file holds. corpus/yaml_root
// holds seed descriptions, among them templates that call themselves.
#include "interface_model.h"
#include "quiet_log.h"
#include "yaml_root.h"

#include <QString>
#include <cstddef>
#include <cstdint>

using namespace talvik::iface;
using namespace talvik::support;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    YamlRoot document;
    if (document.parse(text)) {
        // Walk the result so that a broken tree shows up here, not in a later reader.
        Node node = document.root();
        while (node.count() > 0) {
            node = node.child(node.count() - 1);
        }
        static_cast<void>(node.asInteger());
        static_cast<void>(InterfaceModel::plan(document.root(), 415, u"9.99"));
    }
    return 0;
}
