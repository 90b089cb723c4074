#pragma once

#include "node.h"

#include <string>

// The tree of a document as JSON text for people checking a description: every node is an
// object with a "kind" of empty, scalar, list or map; a null Node prints as null. Written
// without recursion, so any depth the reader accepts prints.
[[nodiscard]] std::string TreeJson(Node root);

// A text as a JSON string literal.
[[nodiscard]] std::string JsonString(const QString& text);
