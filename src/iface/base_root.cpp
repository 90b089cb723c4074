#include "base_root.h"

namespace {

std::u16string_view view(QStringView text) {
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

} // namespace

int BaseRoot::keyId(QStringView key) const {
    const auto it = m_keys.find(view(key));
    return it == m_keys.end() ? -1 : it->second;
}

QString BaseRoot::keyText(int id) const {
    if (id < 0 || id >= m_keyTexts.size()) {
        return {};
    }
    return m_keyTexts[id];
}

void BaseRoot::clear() {
    m_root = nullptr;
    m_nodes.clear();
    m_keys.clear();
    m_keyTexts.clear();
}

RealNode* BaseRoot::newNode() {
    return &m_nodes.emplace_back(this);
}

RealNode* BaseRoot::addChild(RealNode* parent, int key) {
    RealNode* node = newNode();
    node->key = key;
    parent->children.push_back(node);
    return node;
}

int BaseRoot::internKey(QStringView key) {
    const auto it = m_keys.find(view(key));
    if (it != m_keys.end()) {
        return it->second;
    }
    const int id = static_cast<int>(m_keyTexts.size());
    m_keyTexts.append(key.toString());
    m_keys.emplace(view(m_keyTexts.back()), id);
    return id;
}
