#pragma once

#include "node.h"
#include "real_node.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <deque>
#include <vector>

namespace talvik::iface {

// Common base of the tree documents: owns every node, the characters of every text and the key
// table shared by the maps. Scalars and keys are views into one character store: the document's
// own copy of the text read (when there is one), followed by the texts the reader had to build
// (unescaped strings, JSON values). Nodes are twelve bytes each in aligned blocks, and the
// children of each list or map are laid out side by side once the whole text is read.
class BaseRoot {
public:
    BaseRoot() = default;
    virtual ~BaseRoot();
    BaseRoot(const BaseRoot&) = delete;
    BaseRoot& operator=(const BaseRoot&) = delete;

    // The root, or a null Node when the document is empty or could not be read.
    [[nodiscard]] Node root() const;
    // The id of a key seen in this document, or -1.
    [[nodiscard]] int keyId(QStringView key) const;
    [[nodiscard]] QString keyText(int id) const;

protected:
    static constexpr std::uint32_t kNone = UINT32_MAX;
    // The longest text the readers take: indices and key ids stay within 32 bits.
    static constexpr qsizetype kMaxText = qsizetype{1} << 30;

    void clear();
    // Makes text the start of the character store; views into it are offsets from 0.
    void setSource(const QString& text) { m_source = text; }
    [[nodiscard]] QStringView source() const { return m_source; }
    // Appends text to the character store and returns its offset there.
    std::uint32_t store(QStringView text);
    // The store's end, where the next stored character goes; for texts built in place.
    [[nodiscard]] std::uint32_t storeEnd() const;
    void storeChar(QChar c) { m_built.append(c); }

    std::uint32_t newRoot();
    // Appends a new empty child to parent (under key id, or -1 for a list item).
    std::uint32_t addChild(std::uint32_t parent, int key);
    [[nodiscard]] RealNode& node(std::uint32_t index) {
        return m_blocks[index / kPerBlock][index % kPerBlock];
    }
    [[nodiscard]] std::uint32_t parentOf(std::uint32_t index) const { return m_parents[index]; }
    void setScalar(std::uint32_t index, std::uint32_t offset, qsizetype length, bool quoted);
    // The id of key, handing out the next one on first sight; a new key's text is stored.
    int internKey(QStringView key);
    // The same for a key standing in the source text.
    int internSourceKey(qsizetype begin, qsizetype length);
    // Lays the children of every list and map out side by side; call once the text is read.
    void finish();

private:
    friend class Node;

    struct Span {
        std::uint32_t offset;
        std::uint32_t length;
    };

    // A block is a little short of its alignment, so that the allocator can place the next one
    // at the next aligned address instead of leaving most of a block's worth of space between.
    static constexpr std::size_t kBlockBytes = RealNode::kBlockAlignment - 64;
    static constexpr std::size_t kHeadBytes = 16;
    static constexpr std::uint32_t kPerBlock = (kBlockBytes - kHeadBytes) / sizeof(RealNode);

    [[nodiscard]] const RealNode* at(std::uint32_t index) const {
        return &m_blocks[index / kPerBlock][index % kPerBlock];
    }
    [[nodiscard]] const RealNode* childAt(const RealNode& parent, std::uint32_t position) const {
        return at(m_children[parent.first + position]);
    }
    [[nodiscard]] QStringView text(std::uint32_t offset, std::uint32_t length) const {
        const qsizetype sourceSize = m_source.size();
        return offset < sourceSize ? QStringView(m_source).sliced(offset, length)
                                   : QStringView(m_built).sliced(offset - sourceSize, length);
    }
    [[nodiscard]] QStringView text(const RealNode& scalar) const {
        return text(scalar.first, scalar.count);
    }
    // The slot of key in m_keySlots: where its id is, or the free slot where it would go.
    [[nodiscard]] std::size_t keySlot(QStringView key) const;
    // internKey() and internSourceKey(): a new key's text is stored unless it stands in the
    // source at sourceOffset.
    int intern(QStringView key, std::uint32_t sourceOffset);
    int addKey(std::size_t slot, Span span);
    void freeBlocks();

    QString m_source;
    QString m_built;
    // Node blocks, each starting with a pointer to this document.
    std::vector<RealNode*> m_blocks;
    std::uint32_t m_nodeCount = 0;
    std::uint32_t m_root = kNone;
    // Each node's parent while the text is read; dropped by finish().
    std::deque<std::uint32_t> m_parents;
    // Node indices of the children of every list and map, each parent's in one run.
    std::vector<std::uint32_t> m_children;
    // Key texts by id, and an open-addressing hash of ids + 1 (0 marks a free slot).
    std::vector<Span> m_keys;
    std::vector<std::uint32_t> m_keySlots;
};

} // namespace talvik::iface
