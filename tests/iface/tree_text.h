#pragma once

#include "node.h"

#include <QString>

// A short, exact picture of a tree for table-driven checks: ~ for an empty node, a scalar's text
// (in double quotes when it was quoted), [a,b] for a list, {k:v,...} for a map.
inline QString treeText(Node node) {
    if (!node.valid()) {
        return QStringLiteral("null");
    }
    if (node.isScalar()) {
        return node.isQuoted() ? u'"' + node.asString() + u'"' : node.asString();
    }
    if (!node.isList() && !node.isMap()) {
        return QStringLiteral("~");
    }
    QString out = node.isList() ? QStringLiteral("[") : QStringLiteral("{");
    for (int i = 0; i < node.count(); ++i) {
        if (i > 0) {
            out += u',';
        }
        if (node.isMap()) {
            out += node.child(i).key() + u':';
        }
        out += treeText(node.child(i));
    }
    out += node.isList() ? u']' : u'}';
    return out;
}
