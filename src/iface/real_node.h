#pragma once

#include <cstddef>
#include <cstdint>

namespace talvik::iface {

class BaseRoot;

// One node of a tree document: twelve bytes, so that even a file of nothing but list markers
// keeps its tree within a small multiple of its own size. The document owns every node (in
// aligned blocks that name it, so a node finds its document without storing a pointer); users
// reach them through `Node`.
class RealNode {
public:
    enum Kind : std::uint32_t { Empty = 0, Map = 1, List = 2, Scalar = 3 };

    // Nodes live in blocks of this alignment whose first bytes hold the owning document.
    static constexpr std::size_t kBlockAlignment = std::size_t{1} << 16;

    explicit RealNode(int key) : m_bits(static_cast<std::uint32_t>(key + 1) << 3) {}

    [[nodiscard]] Kind kind() const { return static_cast<Kind>(m_bits & 3U); }
    // A node's kind changes only from Empty to one of the others.
    void setKind(Kind kind) { m_bits = (m_bits & ~3U) | kind; }
    [[nodiscard]] bool quoted() const { return (m_bits & 4U) != 0; }
    void setQuoted() { m_bits |= 4U; }
    // Key id (from the document's key table) under which this node hangs in its parent map; -1
    // for list items and the root. The parent finds a key by looking at its children's ids,
    // newest first, so a repeated key finds its later value while both stay in file order.
    [[nodiscard]] int key() const { return static_cast<int>(m_bits >> 3) - 1; }
    [[nodiscard]] const BaseRoot* owner() const {
        const auto block = reinterpret_cast<std::uintptr_t>(this) & ~(kBlockAlignment - 1);
        return *reinterpret_cast<const BaseRoot* const*>(block);
    }

    // Scalars: where the text starts in the document's character store, and its length.
    // Lists and maps: where the children's node indices start in the document's child table,
    // and how many there are. While the document is being read, a list's or map's `first` is
    // its last child so far.
    std::uint32_t first = 0;
    std::uint32_t count = 0;

private:
    // Kind in bits 0-1, the quoted flag in bit 2, key id + 1 above.
    std::uint32_t m_bits;
};

} // namespace talvik::iface
