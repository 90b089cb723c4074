#include "yaml_root.h"

#include "cp1251.h"
#include "simple_log.h"

#include <QFile>
#include <climits>
#include <cstring>

namespace talvik::iface {

namespace {

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r';
}

bool isFlowBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QString unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            QChar replacement;
            switch (next.unicode()) {
            case u'"':
                replacement = u'"';
                break;
            case u'\\':
                replacement = u'\\';
                break;
            case u'n':
                replacement = u'\n';
                break;
            case u'r':
                replacement = u'\r';
                break;
            case u't':
                replacement = u'\t';
                break;
            default:
                out.append(c);
                continue;
            }
            out.append(replacement);
            ++i;
            continue;
        }
        out.append(c);
    }
    return out;
}

QString decode(QByteArray bytes, int codePage) {
    if (codePage == 65001) {
        if (bytes.startsWith("\xEF\xBB\xBF")) {
            bytes.remove(0, 3);
        }
        return QString::fromUtf8(bytes);
    }
    if (codePage == 1200) {
        if (bytes.startsWith("\xFF\xFE")) {
            bytes.remove(0, 2);
        }
        QString text(bytes.size() / 2, Qt::Uninitialized);
        std::memcpy(text.data(), bytes.constData(), static_cast<std::size_t>(text.size()) * 2);
        return text;
    }
    return support::Cp1251::toUnicode(bytes);
}

} // namespace

YamlRoot::YamlRoot(const QString& path, int codePage) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QString text = decode(file.readAll(), codePage);
    parse(text);
}

bool YamlRoot::parse(QStringView text) {
    return parse(text.toString());
}

bool YamlRoot::parse(const QString& text) {
    clear();
    m_errorLine = -1;
    m_indent = -1;
    if (text.isEmpty()) {
        return true;
    }
    if (text.size() > kMaxText) {
        // Node indices and key ids are 32 bits wide; no description comes near this size.
        m_text = text;
        fail(kMaxText);
        m_text = {};
        return false;
    }
    setSource(text);
    m_text = source();
    m_current = newRoot();
    const bool ok = parseLines();
    m_stack = {};
    m_text = {};
    if (ok) {
        finish();
    }
    return ok;
}

bool YamlRoot::parseLines() {
    const qsizetype n = m_text.size();
    // A leading document marker takes its line break with it.
    qsizetype pos = m_text.startsWith(u"---") ? std::min<qsizetype>(4, n) : 0;
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && !isLineBreak(m_text[end])) {
            ++end;
        }
        // One break character per line: a CR LF pair leaves an empty line between, which is
        // skipped like any blank line.
        qsizetype resume = end + 1;
        if (!parseLine(pos, end, resume)) {
            return false;
        }
        pos = resume;
    }
    return true;
}

bool YamlRoot::parseLine(qsizetype begin, qsizetype end, qsizetype& resume) {
    qsizetype p = begin;
    while (p < end && m_text[p] == u' ') {
        ++p;
    }
    if (p == end) {
        return true;
    }
    // A TAB where the spaces end is indentation this format does not take; read as content it
    // would quietly move the line to a shallower level.
    if (m_text[p] == u'\t') {
        fail(p);
        return false;
    }
    const int indent = static_cast<int>(std::min<qsizetype>(p - begin, INT_MAX - 2));
    if (m_indent < 0) {
        m_indent = indent;
    } else if ((indent > m_indent && !openLevel(indent)) ||
               (indent < m_indent && !closeLevels(indent))) {
        fail(begin);
        return false;
    }

    bool marked = false;
    while (p < end && m_text[p] == u'-') {
        if (p + 1 < end && m_text[p + 1] != u' ') {
            fail(p);
            return false;
        }
        RealNode& holder = node(m_current);
        if (holder.kind() != RealNode::Empty && holder.kind() != RealNode::List) {
            fail(p);
            return false;
        }
        holder.setKind(RealNode::List);
        const std::uint32_t item = addChild(m_current, -1);
        const int column = static_cast<int>(std::min<qsizetype>(p - begin, INT_MAX - 2));
        pushInto(item, column + 2);
        marked = true;
        ++p;
        while (p < end && m_text[p] == u' ') {
            ++p;
        }
    }
    if (p == end) {
        // A bare marker: the item stays empty and the list goes on.
        pop();
        return true;
    }

    const QStringView rest = m_text.sliced(p, end - p);
    const qsizetype colon = rest.indexOf(u':');
    const bool keyLine =
        rest.front() != u'"' && colon >= 0 && (colon + 1 == rest.size() || rest[colon + 1] == u' ');
    if (keyLine) {
        RealNode& holder = node(m_current);
        if (colon == 0 || (holder.kind() != RealNode::Empty && holder.kind() != RealNode::Map)) {
            fail(p);
            return false;
        }
        holder.setKind(RealNode::Map);
        const std::uint32_t child = addChild(m_current, internSourceKey(p, colon));
        qsizetype valueBegin = p + colon + 1;
        qsizetype valueEnd = end;
        while (valueBegin < valueEnd && m_text[valueBegin] == u' ') {
            ++valueBegin;
        }
        while (valueEnd > valueBegin && m_text[valueEnd - 1] == u' ') {
            --valueEnd;
        }
        if (valueBegin == valueEnd) {
            return true;
        }
        return readScalar(child, valueBegin, valueEnd, true, resume);
    }
    if (!marked) {
        fail(p);
        return false;
    }
    if (!readScalar(m_current, p, end, true, resume)) {
        return false;
    }
    pop();
    return true;
}

bool YamlRoot::openLevel(int indent) {
    const RealNode& holder = node(m_current);
    if (holder.count == 0) {
        return false;
    }
    // While the text is read, a parent's `first` is its last child.
    pushInto(holder.first, indent);
    return true;
}

bool YamlRoot::closeLevels(int indent) {
    while (m_indent > indent) {
        if (m_stack.empty()) {
            return false;
        }
        pop();
    }
    return m_indent == indent;
}

void YamlRoot::pushInto(std::uint32_t node, int indent) {
    m_stack.push_back(m_indent);
    m_current = node;
    m_indent = indent;
}

void YamlRoot::pop() {
    m_current = parentOf(m_current);
    m_indent = m_stack.back();
    m_stack.pop_back();
}

bool YamlRoot::readScalar(std::uint32_t target, qsizetype begin, qsizetype end, bool escapes,
                          qsizetype& resume) {
    const QStringView value = m_text.sliced(begin, end - begin);
    if (node(target).kind() != RealNode::Empty) {
        fail(begin);
        return false;
    }
    if (value == u"{}") {
        node(target).setKind(RealNode::Map);
        return true;
    }
    if (value.front() == u'[') {
        // The closing bracket is looked for from the value's last character on, so a list may
        // run over several lines.
        const qsizetype close = m_text.indexOf(u']', end - 1);
        if (close < 0) {
            // Reported on the line that opens the list, where the bracket is missing.
            fail(begin);
            return false;
        }
        if (!readFlowList(target, begin, close)) {
            return false;
        }
        qsizetype lineEnd = close;
        while (lineEnd < m_text.size() && !isLineBreak(m_text[lineEnd])) {
            ++lineEnd;
        }
        resume = lineEnd + 1;
        return true;
    }
    if (value.front() == u'"') {
        if (value.size() < 2 || value.back() != u'"') {
            fail(begin);
            return false;
        }
        const qsizetype innerBegin = begin + 1;
        const qsizetype innerLength = value.size() - 2;
        if (escapes && value.sliced(1, innerLength).contains(u'\\')) {
            const QString text = unescape(value.sliced(1, innerLength));
            setScalar(target, store(text), text.size(), true);
        } else {
            setScalar(target, static_cast<std::uint32_t>(innerBegin), innerLength, true);
        }
        return true;
    }
    setScalar(target, static_cast<std::uint32_t>(begin), value.size(), false);
    return true;
}

bool YamlRoot::readFlowList(std::uint32_t target, qsizetype open, qsizetype close) {
    // Nested lists are read from a work list rather than by recursion, so no text can exhaust
    // the stack.
    std::vector<FlowWork> pending;
    node(target).setKind(RealNode::List);
    pending.push_back(
        {target, static_cast<std::uint32_t>(open), static_cast<std::uint32_t>(close)});
    while (!pending.empty()) {
        const FlowWork work = pending.back();
        pending.pop_back();
        const qsizetype end = work.close;
        qsizetype p = work.open + 1;
        while (p < end) {
            // Searched inside the brackets only: a search running on through the rest of the
            // text would make many small lists cost the square of the file's length.
            const qsizetype found = m_text.sliced(p, end - p).indexOf(u',');
            const qsizetype comma = found < 0 ? end : p + found;
            if (!readFlowItem(work.node, p, comma, pending)) {
                return false;
            }
            p = comma + 1;
            while (p < end && m_text[p] == u',') {
                ++p;
            }
        }
    }
    return true;
}

bool YamlRoot::readFlowItem(std::uint32_t target, qsizetype begin, qsizetype end,
                            std::vector<FlowWork>& pending) {
    while (begin < end && isFlowBlank(m_text[begin])) {
        ++begin;
    }
    while (end > begin && isFlowBlank(m_text[end - 1])) {
        --end;
    }
    const std::uint32_t item = addChild(target, -1);
    if (begin == end) {
        return true;
    }
    const QStringView value = m_text.sliced(begin, end - begin);
    if (value.front() == u'[') {
        if (value.size() < 2 || value.back() != u']') {
            fail(begin);
            return false;
        }
        node(item).setKind(RealNode::List);
        pending.push_back(
            {item, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - 1)});
        return true;
    }
    qsizetype unused = 0;
    return readScalar(item, begin, end, false, unused);
}

void YamlRoot::fail(qsizetype position) {
    int line = 0;
    for (qsizetype i = 0; i < position && i < m_text.size(); ++i) {
        if (m_text[i] == u'\n') {
            ++line;
        } else if (m_text[i] == u'\r' && (i + 1 >= m_text.size() || m_text[i + 1] != u'\n')) {
            ++line;
        }
    }
    m_errorLine = line;
    clear();
    support::SimpleLog log;
    log.writeValue("NODE is invalid in line", line);
}

} // namespace talvik::iface
