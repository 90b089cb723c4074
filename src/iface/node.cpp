#include "node.h"

#include "base_root.h"
#include "cp1251.h"
#include "leading_integer.h"
#include "real_node.h"

namespace talvik::iface {

bool Node::isMap() const {
    return m_node != nullptr && m_node->kind() == RealNode::Map;
}

bool Node::isList() const {
    return m_node != nullptr && m_node->kind() == RealNode::List;
}

bool Node::isScalar() const {
    return m_node != nullptr && m_node->kind() == RealNode::Scalar;
}

int Node::count() const {
    if (!isMap() && !isList()) {
        return 0;
    }
    return static_cast<int>(m_node->count);
}

Node Node::child(int position) const {
    if (position < 0 || position >= count()) {
        return {};
    }
    return Node(m_node->owner()->childAt(*m_node, static_cast<std::uint32_t>(position)));
}

Node Node::child(QStringView key) const {
    if (!isMap()) {
        return {};
    }
    const BaseRoot* owner = m_node->owner();
    const int id = owner->keyId(key);
    if (id < 0) {
        return {};
    }
    for (std::uint32_t i = m_node->count; i > 0; --i) {
        const RealNode* child = owner->childAt(*m_node, i - 1);
        if (child->key() == id) {
            return Node(child);
        }
    }
    return {};
}

Node Node::child(const char* key) const {
    if (!isMap()) {
        return {};
    }
    return child(support::Cp1251::toUnicode(QByteArrayView(key)));
}

QString Node::key() const {
    if (m_node == nullptr) {
        return {};
    }
    return m_node->owner()->keyText(m_node->key());
}

QString Node::asString() const {
    return isScalar() ? m_node->owner()->text(*m_node).toString() : QString();
}

int Node::asInteger() const {
    return isScalar() ? support::LeadingInteger(m_node->owner()->text(*m_node)) : 0;
}

bool Node::asBoolean() const {
    if (!isScalar()) {
        return false;
    }
    const QStringView text = m_node->owner()->text(*m_node);
    return text == u"1" || text == u"true";
}

bool Node::isQuoted() const {
    return m_node != nullptr && m_node->quoted();
}

int Node::readIntegers(QStringView key, int* out, int maximum) const {
    const Node list = child(key);
    if (!list.valid()) {
        return 0;
    }
    const int n = list.count();
    for (int i = 0; i < n && i < maximum; ++i) {
        out[i] = list.child(i).asInteger();
    }
    return n;
}

int Node::readIntegers(const char* key, int* out, int maximum) const {
    return readIntegers(support::Cp1251::toUnicode(QByteArrayView(key)), out, maximum);
}

} // namespace talvik::iface
