#pragma once

#include "base_root.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace talvik::iface {

// The reader of the interface description's indentation tree text. It accepts a small, strict
// syntax: block maps ("key: value"), block lists ("- item"), flow lists of scalars ("[a, b]"),
// "{}" for an empty map, plain and double-quoted scalars. Anything else is a failure that leaves
// the document without a root and writes "NODE is invalid in line:\t" + the zero-based line to
// the log.
class YamlRoot : public BaseRoot {
public:
    YamlRoot() = default;
    // Reads and parses a file in the given code page (65001 UTF-8, 1200 UTF-16 LE, anything
    // else Windows-1251). A missing, unreadable or empty file gives no root and no log line.
    YamlRoot(const QString& path, int codePage);

    // Parses text, replacing any tree read before. Returns whether the text was accepted.
    bool parse(QStringView text);
    // The same; the document shares text instead of copying it.
    bool parse(const QString& text);

    // The zero-based line at which the last parse stopped, or -1 when it did not fail.
    [[nodiscard]] int errorLine() const { return m_errorLine; }

private:
    // A flow list still to be split: its node and the positions of its brackets.
    struct FlowWork {
        std::uint32_t node;
        std::uint32_t open;
        std::uint32_t close;
    };

    bool parseLines();
    bool parseLine(qsizetype begin, qsizetype end, qsizetype& resume);
    bool openLevel(int indent);
    bool closeLevels(int indent);
    void pushInto(std::uint32_t node, int indent);
    void pop();
    bool readScalar(std::uint32_t target, qsizetype begin, qsizetype end, bool escapes,
                    qsizetype& resume);
    bool readFlowList(std::uint32_t target, qsizetype open, qsizetype close);
    bool readFlowItem(std::uint32_t target, qsizetype begin, qsizetype end,
                      std::vector<FlowWork>& pending);
    void fail(qsizetype position);

    QStringView m_text;
    std::uint32_t m_current = 0;
    int m_indent = -1;
    // The indentations of the enclosing levels; their nodes are the current node's ancestors.
    std::vector<int> m_stack;
    int m_errorLine = -1;
};

} // namespace talvik::iface
