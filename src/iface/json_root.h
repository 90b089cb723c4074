#pragma once

#include "base_root.h"

#include <QByteArrayView>
#include <QString>

namespace talvik::iface {

// A JSON document read into the same nodes as the tree text: objects become maps (members in
// file order, repeated names kept), arrays lists, strings quoted scalars, numbers and booleans
// plain scalars holding their text, null an empty node. Malformed JSON gives no root.
class JsonRoot : public BaseRoot {
public:
    JsonRoot() = default;
    // Reads a UTF-8 file. A missing or unreadable file gives no root.
    explicit JsonRoot(const QString& path);

    // Parses UTF-8 JSON text, replacing any tree read before. Returns whether it was accepted.
    bool parse(QByteArrayView text);

private:
    class Builder;
};

} // namespace talvik::iface
