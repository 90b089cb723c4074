#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class BaseRoot;

// One node of a tree document. The document owns every node; users reach them through `Node`.
class RealNode {
public:
    enum Kind : std::int32_t { Empty = 0, Map = 1, List = 2, Scalar = 3 };

    explicit RealNode(const BaseRoot* document) : owner(document) {}

    const BaseRoot* owner;
    std::int32_t kind = Empty;
    std::uint8_t quoted = 0;
    // The scalar's text; empty for other kinds.
    QString text;
    // Key id (from the document's key table) under which this node hangs in its parent map;
    // -1 for list items and the root. The parent finds a key by looking at its children's ids,
    // newest first, so a repeated key finds its later value while both stay in file order.
    int key = -1;
    // Children in order of appearance, for lists and maps alike.
    std::vector<RealNode*> children;
};
