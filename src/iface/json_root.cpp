#include "json_root.h"

#include <QFile>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace talvik::iface {

// Builds nodes straight from the parser's events: no intermediate JSON value, and no recursion
// however deep the text nests.
class JsonRoot::Builder : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit Builder(JsonRoot& document) : m_document(document) {}

    bool null() override {
        place();
        return true;
    }
    bool boolean(bool value) override { return scalar(value ? u"true" : u"false", false); }
    bool number_integer(number_integer_t value) override {
        return scalar(QString::number(value), false);
    }
    bool number_unsigned(number_unsigned_t value) override {
        return scalar(QString::number(value), false);
    }
    bool number_float(number_float_t, const string_t& text) override {
        return scalar(QString::fromStdString(text), false);
    }
    bool string(string_t& value) override {
        return scalar(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())), true);
    }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override {
        open(RealNode::Map);
        return true;
    }
    bool key(string_t& value) override {
        m_key = m_document.internKey(
            QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
        return true;
    }
    bool end_object() override {
        m_open.pop_back();
        return true;
    }
    bool start_array(std::size_t) override {
        open(RealNode::List);
        return true;
    }
    bool end_array() override {
        m_open.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    std::uint32_t place() {
        if (m_open.empty()) {
            return m_document.newRoot();
        }
        const std::uint32_t parent = m_open.back();
        return m_document.addChild(parent,
                                   m_document.node(parent).kind() == RealNode::Map ? m_key : -1);
    }
    bool scalar(QStringView text, bool quoted) {
        const std::uint32_t node = place();
        m_document.setScalar(node, m_document.store(text), text.size(), quoted);
        return true;
    }
    void open(RealNode::Kind kind) {
        const std::uint32_t node = place();
        m_document.node(node).setKind(kind);
        m_open.push_back(node);
    }

    JsonRoot& m_document;
    std::vector<std::uint32_t> m_open;
    int m_key = -1;
};

JsonRoot::JsonRoot(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray bytes = file.readAll();
    parse(bytes);
}

bool JsonRoot::parse(QByteArrayView text) {
    clear();
    if (text.size() > kMaxText) {
        return false;
    }
    Builder builder(*this);
    const char* begin = text.data();
    const bool ok = nlohmann::json::sax_parse(begin, begin + text.size(), &builder,
                                              nlohmann::json::input_format_t::json, true);
    if (ok) {
        finish();
    } else {
        clear();
    }
    return ok;
}

} // namespace talvik::iface
