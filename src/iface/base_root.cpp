#include "base_root.h"

int BaseRoot::keyId(QStringView key) const {
    // A view on the caller's characters, so a lookup costs no copy.
    return m_keys.value(QString::fromRawData(key.data(), key.size()), -1);
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
    const auto it = m_keys.constFind(QString::fromRawData(key.data(), key.size()));
    if (it != m_keys.cend()) {
        return it.value();
    }
    const int id = static_cast<int>(m_keyTexts.size());
    const QString text = key.toString();
    m_keys.insert(text, id);
    m_keyTexts.append(text);
    return id;
}
