#include "json_root.h"

#include <QFile>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// Builds nodes straight from the parser's events: no intermediate JSON value, and no recursion
// however deep the text nests.
class JsonRoot::Builder : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit Builder(JsonRoot& document) : m_document(document) {}

    bool null() override {
        place();
        return true;
    }
    bool boolean(bool value) override {
        return scalar(value ? QStringLiteral("true") : QStringLiteral("false"), false);
    }
    bool number_integer(number_integer_t value) override {
        return scalar(QString::number(value), false);
    }
    bool number_unsigned(number_unsigned_t value) override {
        return scalar(QString::number(value), false);
    }
    bool number_float(number_float_t, const string_t& text) override {
        return scalar(QString::fromStdString(text), false);
    }
    bool string(string_t& value) override { return scalar(QString::fromStdString(value), true); }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override {
        open(RealNode::Map);
        return true;
    }
    bool key(string_t& value) override {
        m_key = m_document.internKey(QString::fromStdString(value));
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
    RealNode* place() {
        RealNode* node = nullptr;
        if (m_open.empty()) {
            node = m_document.newNode();
            m_document.setRoot(node);
        } else {
            RealNode* parent = m_open.back();
            node = m_document.addChild(parent, parent->kind == RealNode::Map ? m_key : -1);
        }
        return node;
    }
    bool scalar(QString text, bool quoted) {
        RealNode* node = place();
        node->kind = RealNode::Scalar;
        node->quoted = quoted ? 1 : 0;
        node->text = std::move(text);
        return true;
    }
    void open(RealNode::Kind kind) {
        RealNode* node = place();
        node->kind = kind;
        m_open.push_back(node);
    }

    JsonRoot& m_document;
    std::vector<RealNode*> m_open;
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
    Builder builder(*this);
    const char* begin = text.data();
    const bool ok = nlohmann::json::sax_parse(begin, begin + text.size(), &builder,
                                              nlohmann::json::input_format_t::json, true);
    if (!ok) {
        clear();
    }
    return ok;
}
