#pragma once

#include "node.h"
#include "real_node.h"

#include <QList>
#include <QString>
#include <deque>
#include <string_view>
#include <unordered_map>

// Common base of the tree documents: owns every node and the key table shared by the maps.
// Nodes live in one pool, so dropping a tree of any depth needs no recursion.
class BaseRoot {
public:
    BaseRoot() = default;
    virtual ~BaseRoot() = default;
    BaseRoot(const BaseRoot&) = delete;
    BaseRoot& operator=(const BaseRoot&) = delete;

    // The root, or a null Node when the document is empty or could not be read.
    [[nodiscard]] Node root() const { return Node(m_root); }
    // The id of a key seen in this document, or -1.
    [[nodiscard]] int keyId(QStringView key) const;
    [[nodiscard]] QString keyText(int id) const;

protected:
    void clear();
    [[nodiscard]] RealNode* newNode();
    // Appends a new empty child to parent (under key id, or -1 for a list item).
    RealNode* addChild(RealNode* parent, int key);
    // The id of key, handing out the next one on first sight.
    int internKey(QStringView key);
    void setRoot(RealNode* node) { m_root = node; }

private:
    std::deque<RealNode> m_nodes;
    // Views into m_keyTexts, whose character data never moves.
    std::unordered_map<std::u16string_view, int> m_keys;
    QList<QString> m_keyTexts;
    RealNode* m_root = nullptr;
};
