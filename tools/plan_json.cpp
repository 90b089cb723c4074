#include "plan_json.h"

#include <nlohmann/json.hpp>

namespace talvik::tools {

namespace {

using Json = nlohmann::ordered_json;

Json texts(const QStringList& list) {
    Json out = Json::array();
    for (const QString& text : list) {
        out.push_back(text.toStdString());
    }
    return out;
}

Json numbers(const QList<int>& list) {
    Json out = Json::array();
    for (const int n : list) {
        out.push_back(n);
    }
    return out;
}

const char* specialName(iface::EditSpecial special) {
    switch (special) {
    case iface::EditSpecial::Integer:
        return "integer";
    case iface::EditSpecial::Phone:
        return "phone";
    case iface::EditSpecial::Voice:
        return "voice";
    case iface::EditSpecial::Double10:
        return "double10";
    case iface::EditSpecial::Plain:
        break;
    }
    return "plain";
}

Json items(const QList<iface::PlanItem>& list);

Json item(const iface::PlanItem& it) {
    Json out = Json::object();
    switch (it.type) {
    case iface::PlanItem::Type::Tab:
        out["type"] = "Tab";
        out["caption"] = it.caption.toStdString();
        out["content"] = items(it.content);
        break;
    case iface::PlanItem::Type::GroupBox:
        out["type"] = "GroupBox";
        out["caption"] = it.caption.toStdString();
        out["hint"] = it.hint.toStdString();
        out["content"] = items(it.content);
        break;
    case iface::PlanItem::Type::Label:
        out["type"] = "Label";
        out["caption"] = it.caption.toStdString();
        break;
    case iface::PlanItem::Type::RichEdit:
        out["type"] = "RichEdit";
        out["file"] = it.file.toStdString();
        out["height"] = it.height;
        break;
    case iface::PlanItem::Type::Edit:
        out["type"] = "Edit";
        out["caption"] = it.caption.toStdString();
        out["hint"] = it.hint.toStdString();
        out["setting"] = it.setting;
        out["special"] = specialName(it.special);
        if (it.special == iface::EditSpecial::Integer ||
            it.special == iface::EditSpecial::Double10) {
            out["limits"] = Json::array({it.limitLow, it.limitHigh});
            out["offset"] = it.offset;
        }
        break;
    case iface::PlanItem::Type::Combo:
        out["type"] = "Combo";
        out["caption"] = it.caption.toStdString();
        out["hint"] = it.hint.toStdString();
        out["setting"] = it.setting;
        out["items"] = texts(it.items);
        if (it.codes) {
            out["codes"] = numbers(*it.codes);
        }
        break;
    case iface::PlanItem::Type::Check:
        out["type"] = "Check";
        out["caption"] = it.caption.toStdString();
        out["hint"] = it.hint.toStdString();
        out["setting"] = it.setting;
        if (it.disables) {
            out["disables"] = numbers(*it.disables);
        }
        break;
    case iface::PlanItem::Type::Bits:
        out["type"] = "Bits";
        out["caption"] = it.caption.toStdString();
        out["hint"] = it.hint.toStdString();
        out["setting"] = it.setting;
        out["bits"] = texts(it.bits);
        break;
    case iface::PlanItem::Type::Table: {
        out["type"] = "Table";
        out["columns"] = texts(it.columns);
        out["lines"] = texts(it.lines);
        Json cells = Json::array();
        for (const QList<int>& column : it.cells) {
            cells.push_back(numbers(column));
        }
        out["settings"] = std::move(cells);
        break;
    }
    }
    return out;
}

Json items(const QList<iface::PlanItem>& list) {
    Json out = Json::array();
    for (const iface::PlanItem& it : list) {
        out.push_back(item(it));
    }
    return out;
}

} // namespace

std::string PlanJson(const iface::InterfacePlan& plan) {
    Json out = Json::object();
    out["content"] = items(plan.content);
    Json disables = Json::array();
    for (const iface::DisableRule& rule : plan.disables) {
        disables.push_back(
            Json{{"trigger", rule.trigger}, {"who", rule.who}, {"values", numbers(rule.values)}});
    }
    out["disables"] = std::move(disables);
    Json voices = Json::array();
    for (const iface::VoiceEntry& voice : plan.voices) {
        voices.push_back(
            Json{{"version", voice.version.toStdString()}, {"words", texts(voice.words)}});
    }
    out["voices"] = std::move(voices);
    return out.dump(2, ' ', false, Json::error_handler_t::replace);
}

} // namespace talvik::tools
