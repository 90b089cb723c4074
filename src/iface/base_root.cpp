#include "base_root.h"

#include <QHash>
#include <algorithm>
#include <new>

namespace talvik::iface {

static_assert(sizeof(RealNode) == 12);

BaseRoot::~BaseRoot() {
    freeBlocks();
}

Node BaseRoot::root() const {
    return m_root == kNone ? Node() : Node(at(m_root));
}

int BaseRoot::keyId(QStringView key) const {
    if (m_keySlots.empty()) {
        return -1;
    }
    return static_cast<int>(m_keySlots[keySlot(key)]) - 1;
}

QString BaseRoot::keyText(int id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= m_keys.size()) {
        return {};
    }
    const Span span = m_keys[static_cast<std::size_t>(id)];
    return text(span.offset, span.length).toString();
}

void BaseRoot::clear() {
    freeBlocks();
    m_nodeCount = 0;
    m_root = kNone;
    m_source.clear();
    m_built.clear();
    m_parents = {};
    m_children = {};
    m_keys = {};
    m_keySlots = {};
}

std::uint32_t BaseRoot::store(QStringView text) {
    const std::uint32_t offset = storeEnd();
    m_built.append(text);
    return offset;
}

std::uint32_t BaseRoot::storeEnd() const {
    return static_cast<std::uint32_t>(m_source.size() + m_built.size());
}

std::uint32_t BaseRoot::newRoot() {
    m_root = addChild(kNone, -1);
    return m_root;
}

std::uint32_t BaseRoot::addChild(std::uint32_t parent, int key) {
    const std::uint32_t index = m_nodeCount;
    if (index % kPerBlock == 0) {
        void* raw = ::operator new(kBlockBytes, std::align_val_t(RealNode::kBlockAlignment));
        *static_cast<const BaseRoot**>(raw) = this;
        m_blocks.push_back(reinterpret_cast<RealNode*>(static_cast<char*>(raw) + kHeadBytes));
    }
    new (m_blocks.back() + index % kPerBlock) RealNode(key);
    ++m_nodeCount;
    m_parents.push_back(parent);
    if (parent != kNone) {
        RealNode& holder = node(parent);
        holder.first = index;
        ++holder.count;
    }
    return index;
}

void BaseRoot::setScalar(std::uint32_t index, std::uint32_t offset, qsizetype length, bool quoted) {
    RealNode& scalar = node(index);
    scalar.setKind(RealNode::Scalar);
    if (quoted) {
        scalar.setQuoted();
    }
    scalar.first = offset;
    scalar.count = static_cast<std::uint32_t>(length);
}

std::size_t BaseRoot::keySlot(QStringView key) const {
    const std::size_t mask = m_keySlots.size() - 1;
    std::size_t slot = qHash(key) & mask;
    while (m_keySlots[slot] != 0) {
        const Span span = m_keys[m_keySlots[slot] - 1];
        if (text(span.offset, span.length) == key) {
            break;
        }
        slot = (slot + 1) & mask;
    }
    return slot;
}

int BaseRoot::internKey(QStringView key) {
    return intern(key, kNone);
}

int BaseRoot::internSourceKey(qsizetype begin, qsizetype length) {
    return intern(QStringView(m_source).sliced(begin, length), static_cast<std::uint32_t>(begin));
}

int BaseRoot::intern(QStringView key, std::uint32_t sourceOffset) {
    std::size_t slot = 0;
    if (!m_keySlots.empty()) {
        slot = keySlot(key);
        if (m_keySlots[slot] != 0) {
            return static_cast<int>(m_keySlots[slot]) - 1;
        }
    }
    const std::uint32_t offset = sourceOffset != kNone ? sourceOffset : store(key);
    return addKey(slot, {offset, static_cast<std::uint32_t>(key.size())});
}

int BaseRoot::addKey(std::size_t slot, Span span) {
    const auto id = static_cast<std::uint32_t>(m_keys.size());
    m_keys.push_back(span);
    // Kept at most half full; on growth every key is placed anew.
    if (m_keys.size() * 2 > m_keySlots.size()) {
        m_keySlots.assign(std::max<std::size_t>(16, m_keySlots.size() * 2), 0);
        for (std::uint32_t i = 0; i < m_keys.size(); ++i) {
            const Span s = m_keys[i];
            m_keySlots[keySlot(text(s.offset, s.length))] = i + 1;
        }
    } else {
        m_keySlots[slot] = id + 1;
    }
    return static_cast<int>(id);
}

void BaseRoot::finish() {
    // Every child gets its place in its parent's run: the runs follow each other in node
    // order, and within a run the children keep the order in which they were read.
    m_children.assign(m_nodeCount == 0 ? 0 : m_nodeCount - 1, 0);
    std::uint32_t next = 0;
    for (std::uint32_t i = 0; i < m_nodeCount; ++i) {
        RealNode& holder = node(i);
        if (holder.kind() == RealNode::Map || holder.kind() == RealNode::List) {
            holder.first = next;
            next += holder.count;
            holder.count = 0;
        }
    }
    for (std::uint32_t i = 0; i < m_nodeCount; ++i) {
        const std::uint32_t parent = m_parents[i];
        if (parent != kNone) {
            RealNode& holder = node(parent);
            m_children[holder.first + holder.count++] = i;
        }
    }
    m_parents = {};
}

void BaseRoot::freeBlocks() {
    for (RealNode* first : m_blocks) {
        ::operator delete(reinterpret_cast<char*>(first) - kHeadBytes,
                          std::align_val_t(RealNode::kBlockAlignment));
    }
    m_blocks.clear();
}

} // namespace talvik::iface
