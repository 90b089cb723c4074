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
    // A small description can ask for unbounded work: a template that calls itself, once or
    // with several argument lists, or a table of a million cells. The plan is cut short, with
    // kCutShort in the log, at the first of these limits it reaches.
    // Template calls nested deeper than this.
    static constexpr int kMaxDepth = 64;
    // Elements visited, template bodies expanded, and list entries read for them (drop-down
    // entries among them): about 15 ms of planning, and the window fills that many entries in
    // a quarter of a second.
    static constexpr qint64 kMaxSteps = 250000;
    // Controls the window creates, a labelled field counting its label and a table every
    // caption and cell: three times what the richest shipped type has, built and shown in well
    // under a second even all in one page.
    static constexpr qint64 kMaxControls = 4000;
    // Table columns: each cell reaches the right edge, over the cells of the columns after it,
    // so drawing a line costs as much as its columns (the shipped tables have two or three).
    static constexpr int kMaxTableColumns = 32;
    static constexpr char kCutShort[] =
        "template calls nest too deep or expand too far, or the pages would hold too many "
        "controls; the plan is cut short";

    // root is the description's root; typeCode 0 means no model chosen and gives an empty plan.
    [[nodiscard]] static InterfacePlan plan(Node root, int typeCode, QStringView version);

private:
    InterfaceModel(Node root, int typeCode, QStringView version);

    void build(Node elements, QList<PlanItem>& out);
    [[nodiscard]] bool applies(Node element);
    void buildElement(Node element, QList<PlanItem>& out);
    void buildEditList(Node element, QList<PlanItem>& out);
    void buildComboList(Node element, QList<PlanItem>& out);
    void buildComboSameList(Node element, QList<PlanItem>& out);
    void buildCheckList(Node element, QList<PlanItem>& out);
    void buildCheckBits(Node element, QList<PlanItem>& out);
    void buildTable(Node element, QList<PlanItem>& out);
    void buildTemplateList(Node element, QList<PlanItem>& out);
    PlanItem& add(QList<PlanItem>& out, PlanItem::Type type, Node caption);
    // Take from the budgets; false (and the plan cut short) once one of them is spent.
    [[nodiscard]] bool spend(qint64 steps);
    [[nodiscard]] bool create(qint64 controls);
    [[nodiscard]] bool take(qint64& used, qint64 limit, qint64 amount);
    void cutShort();
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
    qint64 m_steps = 0;
    qint64 m_controls = 0;
    InterfacePlan m_plan;
};

} // namespace talvik::iface
