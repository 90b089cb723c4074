#pragma once

#include "node.h"

#include <cstdio>
#include <string>

namespace talvik::tools {

// Prints the tree of a document as one line of JSON for people checking a description: every
// node is an object with a "kind" of empty, scalar, list or map; a null Node prints as null.
// Written without recursion, so any depth the reader accepts prints.
void PrintTreeJson(iface::Node root, std::FILE* file);

// A text as a JSON string literal.
[[nodiscard]] std::string JsonString(const QString& text);

} // namespace talvik::tools
