#pragma once

#include "interface_plan.h"
#include "node.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace talvik::iface {

// Reads an interface description for one device type and firmware version: picks the elements
// of Structure that apply (HW_except, HW, TillVer, SinceVer), expands TemplateList calls,
// resolves the shown texts against the template arguments and hands out setting numbers from
// the Values lists, then reads Disables and Voices. The result is a plain InterfacePlan.
class InterfaceModel {
public:
    // Calls nested deeper than this (a template that calls itself, say) are not expanded.
    static constexpr int kMaxDepth = 64;
    // A description that expands to more items than this is cut short.
    static constexpr int kMaxItems = 1000000;

    // root is the description's root; typeCode 0 means no model chosen and gives an empty plan.
    [[nodiscard]] static InterfacePlan plan(Node root, int typeCode, QStringView version);

private:
    InterfaceModel(Node root, int typeCode, QStringView version);

    void build(Node elements, QList<PlanItem>& out);
    [[nodiscard]] bool applies(Node element) const;
    void buildElement(Node element, QList<PlanItem>& out);
    void buildEditList(Node element, QList<PlanItem>& out);
    void buildComboList(Node element, QList<PlanItem>& out);
    void buildComboSameList(Node element, QList<PlanItem>& out);
    void buildCheckList(Node element, QList<PlanItem>& out);
    void buildCheckBits(Node element, QList<PlanItem>& out);
    void buildTable(Node element, QList<PlanItem>& out);
    void buildTemplateList(Node element, QList<PlanItem>& out);
    PlanItem& add(QList<PlanItem>& out, PlanItem::Type type, Node caption);
    [[nodiscard]] int nextSetting();
    [[nodiscard]] QString resolve(Node text) const;
    [[nodiscard]] QStringList resolveAll(Node list) const;
    void loadDisables(Node rules);
    void loadVoices(Node entries);

    Node m_templates;
    QString m_type;
    QString m_version;
    QList<int> m_numbers;
    qsizetype m_position = 0;
    // Argument lists of the template calls being expanded, outermost first.
    std::vector<Node> m_arguments;
    int m_depth = 0;
    int m_items = 0;
    InterfacePlan m_plan;
};

} // namespace talvik::iface
