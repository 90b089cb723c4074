#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace talvik::iface {

class RealNode;

// A non-owning reference to a node of a tree document (or to nothing). Every read is safe on a
// null reference and then gives the neutral value: 0, an empty text, false or another null.
// A Node stays usable while its document lives and is not re-parsed.
class Node {
public:
    Node() = default;
    explicit Node(const RealNode* node) : m_node(node) {}

    [[nodiscard]] bool valid() const { return m_node != nullptr; }
    [[nodiscard]] bool isMap() const;
    [[nodiscard]] bool isList() const;
    [[nodiscard]] bool isScalar() const;
    // Children of a list or map; 0 for anything else.
    [[nodiscard]] int count() const;
    [[nodiscard]] Node child(int position) const;
    [[nodiscard]] Node child(QStringView key) const;
    // An 8-bit key, read as Windows-1251 text.
    [[nodiscard]] Node child(const char* key) const;
    // The key under which this node hangs in its parent map; empty for others.
    [[nodiscard]] QString key() const;
    [[nodiscard]] QString asString() const;
    [[nodiscard]] int asInteger() const;
    // True only for the texts "1" and "true".
    [[nodiscard]] bool asBoolean() const;
    [[nodiscard]] bool isQuoted() const;
    // Converts the children of the child under key, in order, into out (at most maximum of
    // them). Returns that child's count, which may exceed maximum, or 0 when key is absent.
    int readIntegers(QStringView key, int* out, int maximum) const;
    int readIntegers(const char* key, int* out, int maximum) const;

    [[nodiscard]] const RealNode* real() const { return m_node; }

private:
    const RealNode* m_node = nullptr;
};

} // namespace talvik::iface
