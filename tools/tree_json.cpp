#include "tree_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <vector>

namespace talvik::tools {

std::string JsonString(const QString& text) {
    return nlohmann::json(text.toStdString())
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

namespace {

struct Frame {
    iface::Node node;
    int next;
    // The node is the value of a map entry, whose bracket closes after it.
    bool entry;
};

// Writes the node's opening (or the whole node when it has no children to visit) and says
// whether its children still have to be written.
bool open(std::string& out, iface::Node node) {
    if (!node.valid()) {
        out += "null";
        return false;
    }
    if (node.isScalar()) {
        out += R"({"kind":"scalar","text":)";
        out += JsonString(node.asString());
        out += node.isQuoted() ? R"(,"quoted":true})" : R"(,"quoted":false})";
        return false;
    }
    if (node.isList()) {
        out += R"({"kind":"list","items":[)";
        return true;
    }
    if (node.isMap()) {
        out += R"({"kind":"map","entries":[)";
        return true;
    }
    out += R"({"kind":"empty"})";
    return false;
}

} // namespace

void PrintTreeJson(iface::Node root, std::FILE* file) {
    // Written out in pieces: the text is many times the size of the tree it shows.
    constexpr std::size_t kPiece = std::size_t{1} << 16;
    std::string out;
    const auto flush = [&] {
        std::fwrite(out.data(), 1, out.size(), file);
        out.clear();
    };
    std::vector<Frame> stack;
    if (open(out, root)) {
        stack.push_back({root, 0, false});
    }
    while (!stack.empty()) {
        if (out.size() >= kPiece) {
            flush();
        }
        Frame& frame = stack.back();
        if (frame.next >= frame.node.count()) {
            const bool entry = frame.entry;
            out += "]}";
            stack.pop_back();
            if (entry) {
                out += ']';
            }
            continue;
        }
        if (frame.next > 0) {
            out += ',';
        }
        const bool map = frame.node.isMap();
        const iface::Node child = frame.node.child(frame.next++);
        if (map) {
            out += '[';
            out += JsonString(child.key());
            out += ',';
        }
        if (open(out, child)) {
            stack.push_back({child, 0, map});
        } else if (map) {
            out += ']';
        }
    }
    out += '\n';
    flush();
}

} // namespace talvik::tools
