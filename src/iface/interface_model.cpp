#include "interface_model.h"

#include "compare_versions.h"
#include "simple_log.h"

#include <limits>

namespace talvik::iface {

namespace {

bool lists(Node codes, QStringView type) {
    for (int i = 0; i < codes.count(); ++i) {
        if (codes.child(i).asString() == type) {
            return true;
        }
    }
    return false;
}

QList<int> integers(Node list) {
    QList<int> out;
    out.reserve(list.count());
    for (int i = 0; i < list.count(); ++i) {
        out.append(list.child(i).asInteger());
    }
    return out;
}

EditSpecial specialOf(QStringView text) {
    if (text == u"integer") {
        return EditSpecial::Integer;
    }
    if (text == u"phone") {
        return EditSpecial::Phone;
    }
    if (text == u"voice") {
        return EditSpecial::Voice;
    }
    if (text == u"double10") {
        return EditSpecial::Double10;
    }
    return EditSpecial::Plain;
}

bool isDigit(const QString& text) {
    return text.size() == 1 && text[0] >= u'0' && text[0] <= u'9';
}

} // namespace

InterfaceModel::InterfaceModel(Node root, int typeCode, QStringView version)
    : m_templates(root.child(u"Templates")), m_type(QString::number(typeCode)),
      m_version(version.toString()) {}

InterfacePlan InterfaceModel::plan(Node root, int typeCode, QStringView version) {
    if (typeCode == 0 || !root.valid()) {
        return {};
    }
    InterfaceModel model(root, typeCode, version);
    model.build(root.child(u"Structure"), model.m_plan.content);
    model.loadDisables(root.child(u"Disables"));
    model.loadVoices(root.child(u"Voices"));
    return std::move(model.m_plan);
}

void InterfaceModel::build(Node elements, QList<PlanItem>& out) {
    if (m_depth >= kMaxDepth) {
        cutShort();
        return;
    }
    if (!spend(1)) {
        return;
    }
    ++m_depth;
    for (int i = 0; i < elements.count() && !m_plan.truncated; ++i) {
        const Node element = elements.child(i);
        if (applies(element)) {
            buildElement(element, out);
        }
    }
    --m_depth;
}

bool InterfaceModel::applies(Node element) {
    // Finding a key reads every key of the element, and the device lists are read whole.
    const Node except = element.child(u"HW_except");
    const Node hw = element.child(u"HW");
    if (!spend(qint64{1} + element.count() + except.count() + hw.count())) {
        return false;
    }
    if (lists(except, m_type)) {
        return false;
    }
    if (hw.valid() && !lists(hw, m_type)) {
        return false;
    }
    const Node till = element.child(u"TillVer");
    if (till.valid() && support::CompareVersions(m_version, till.asString()) >= 0) {
        return false;
    }
    const Node since = element.child(u"SinceVer");
    return !since.valid() || support::CompareVersions(m_version, since.asString()) >= 0;
}

void InterfaceModel::buildElement(Node element, QList<PlanItem>& out) {
    const QString type = element.child(u"Type").asString();
    const Node values = element.child(u"Values");
    if (values.valid()) {
        if (!spend(values.count())) {
            return;
        }
        m_numbers = integers(values);
        m_position = 0;
    }
    if (type == u"Tab" || type == u"GroupBox") {
        const bool tab = type == u"Tab";
        // A page is the page itself and the panel that holds its content.
        if (!create(tab ? 2 : 1)) {
            return;
        }
        PlanItem& item = add(out, tab ? PlanItem::Type::Tab : PlanItem::Type::GroupBox,
                             element.child(u"Caption"));
        if (!tab) {
            item.hint = resolve(element.child(u"Hint"));
        }
        // Build into a local list: out may grow (and move its items) during the nested build.
        QList<PlanItem> content;
        build(element.child(u"Content"), content);
        out.back().content = std::move(content);
    } else if (type == u"Label") {
        if (create(1)) {
            add(out, PlanItem::Type::Label, element.child(u"Caption"));
        }
    } else if (type == u"RichEdit") {
        if (create(1)) {
            PlanItem& item = add(out, PlanItem::Type::RichEdit, Node());
            item.file = element.child(u"File").asString();
            item.height = element.child(u"Height").asInteger();
        }
    } else if (type == u"EditList") {
        buildEditList(element, out);
    } else if (type == u"ComboList") {
        buildComboList(element, out);
    } else if (type == u"ComboSameList") {
        buildComboSameList(element, out);
    } else if (type == u"CheckList") {
        buildCheckList(element, out);
    } else if (type == u"CheckBits") {
        buildCheckBits(element, out);
    } else if (type == u"Table") {
        buildTable(element, out);
    } else if (type == u"TemplateList") {
        buildTemplateList(element, out);
    }
}

void InterfaceModel::buildEditList(Node element, QList<PlanItem>& out) {
    const Node captions = element.child(u"Captions");
    const Node hints = element.child(u"Hints");
    const EditSpecial special = specialOf(element.child(u"Special").asString());
    // A numeric field without Limits takes any value that fits the field.
    int limits[2] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
    int offset = 0;
    if (special == EditSpecial::Integer || special == EditSpecial::Double10) {
        element.readIntegers(u"Limits", limits, 2);
        offset = element.child(u"Offset").asInteger();
    }
    for (int i = 0; i < captions.count() && create(2); ++i) {
        PlanItem& item = add(out, PlanItem::Type::Edit, captions.child(i));
        item.hint = resolve(hints.child(i));
        item.special = special;
        item.limitLow = limits[0];
        item.limitHigh = limits[1];
        item.offset = offset;
        item.setting = nextSetting();
    }
}

void InterfaceModel::buildComboList(Node element, QList<PlanItem>& out) {
    const Node rows = element.child(u"Contents");
    const Node hints = element.child(u"Hints");
    const int width = element.child(u"Width").asInteger();
    for (int i = 0; i < rows.count(); ++i) {
        const Node row = rows.child(i);
        if (!create(2) || !spend(row.child(1).count())) {
            return;
        }
        PlanItem& item = add(out, PlanItem::Type::Combo, row.child(0));
        item.hint = resolve(hints.child(i));
        item.width = width;
        item.items = resolveAll(row.child(1));
        if (row.count() > 2) {
            const Node codes = row.child(2);
            QList<int> stored;
            stored.reserve(item.items.size());
            for (int j = 0; j < item.items.size(); ++j) {
                stored.append(codes.child(j).asInteger());
            }
            item.codes = std::move(stored);
        }
        item.setting = nextSetting();
    }
}

void InterfaceModel::buildComboSameList(Node element, QList<PlanItem>& out) {
    const Node captions = element.child(u"Captions");
    const Node hints = element.child(u"Hints");
    const int width = element.child(u"Width").asInteger();
    const Node contents = element.child(u"Contents");
    for (int i = 0; i < captions.count() && create(2) && spend(contents.count()); ++i) {
        PlanItem& item = add(out, PlanItem::Type::Combo, captions.child(i));
        item.hint = resolve(hints.child(i));
        item.width = width;
        item.items = resolveAll(contents);
        item.setting = nextSetting();
    }
}

void InterfaceModel::buildCheckList(Node element, QList<PlanItem>& out) {
    const Node captions = element.child(u"Captions");
    const Node hints = element.child(u"Hints");
    const Node disable = element.child(u"Disable");
    for (int i = 0; i < captions.count() && create(1); ++i) {
        PlanItem& item = add(out, PlanItem::Type::Check, captions.child(i));
        item.hint = resolve(hints.child(i));
        item.setting = nextSetting();
        const Node entry = disable.child(i);
        if (entry.valid() && spend(entry.count())) {
            item.disables = integers(entry);
        }
    }
}

void InterfaceModel::buildCheckBits(Node element, QList<PlanItem>& out) {
    const Node bits = element.child(u"Bits");
    const Node hints = element.child(u"Hints");
    if (!create(qint64{1} + bits.count()) || !spend(hints.count())) {
        return;
    }
    PlanItem& item = add(out, PlanItem::Type::Bits, element.child(u"Caption"));
    item.hint = resolve(element.child(u"Hint"));
    item.width = element.child(u"Width").asInteger();
    item.setting = nextSetting();
    item.bits = resolveAll(bits);
    item.bitHints = resolveAll(hints);
}

void InterfaceModel::buildTable(Node element, QList<PlanItem>& out) {
    const Node columns = element.child(u"Columns");
    const Node lines = element.child(u"Lines");
    // A caption for every line and column, and an edit box in every cell.
    if (columns.count() > kMaxTableColumns) {
        cutShort();
        return;
    }
    const qint64 cells = qint64{columns.count()} * lines.count();
    if (!create(qint64{columns.count()} + lines.count() + cells)) {
        return;
    }
    PlanItem& item = add(out, PlanItem::Type::Table, Node());
    item.columns = resolveAll(columns);
    item.lines = resolveAll(lines);
    for (qsizetype c = 0; c < item.columns.size(); ++c) {
        QList<int> column;
        column.reserve(item.lines.size());
        for (qsizetype r = 0; r < item.lines.size(); ++r) {
            column.append(nextSetting());
        }
        item.cells.append(std::move(column));
    }
}

void InterfaceModel::buildTemplateList(Node element, QList<PlanItem>& out) {
    if (!spend(m_templates.count())) {
        return;
    }
    const Node body = m_templates.child(element.child(u"Name").asString());
    const Node params = element.child(u"Params");
    for (int i = 0; i < params.count(); ++i) {
        m_arguments.push_back(params.child(i));
        build(body, out);
        m_arguments.pop_back();
    }
}

PlanItem& InterfaceModel::add(QList<PlanItem>& out, PlanItem::Type type, Node caption) {
    PlanItem& item = out.emplace_back();
    item.type = type;
    item.caption = resolve(caption);
    return item;
}

bool InterfaceModel::spend(qint64 steps) {
    return take(m_steps, kMaxSteps, steps);
}

bool InterfaceModel::create(qint64 controls) {
    return take(m_controls, kMaxControls, controls);
}

bool InterfaceModel::take(qint64& used, qint64 limit, qint64 amount) {
    if (m_plan.truncated) {
        return false;
    }
    used += amount;
    if (used > limit) {
        cutShort();
    }
    return !m_plan.truncated;
}

void InterfaceModel::cutShort() {
    if (!m_plan.truncated) {
        m_plan.truncated = true;
        support::SimpleLog log;
        log.write(QByteArray(kCutShort));
    }
}

int InterfaceModel::nextSetting() {
    const int number = m_position < m_numbers.size() ? m_numbers[m_position] : 0;
    ++m_position;
    return number;
}

QString InterfaceModel::resolve(Node text) const {
    // An unquoted single digit names an argument of the innermost call; an argument that is
    // itself such a digit names one of the next call out, and so on.
    std::size_t level = m_arguments.size();
    for (;;) {
        QString value = text.asString();
        if (text.isQuoted() || !isDigit(value)) {
            return value;
        }
        if (level == 0) {
            return QStringLiteral("THIS CAN NOT BE!!!");
        }
        --level;
        const Node arguments = m_arguments[level];
        const int index = value[0].unicode() - u'0';
        if (index >= arguments.count()) {
            return {};
        }
        text = arguments.child(index);
    }
}

QStringList InterfaceModel::resolveAll(Node list) const {
    QStringList out;
    out.reserve(list.count());
    for (int i = 0; i < list.count(); ++i) {
        out.append(resolve(list.child(i)));
    }
    return out;
}

void InterfaceModel::loadDisables(Node rules) {
    for (int i = 0; i < rules.count(); ++i) {
        const Node rule = rules.child(i);
        const int trigger = rule.child(u"Trigger").asInteger();
        const Node affects = rule.child(u"Affects");
        for (int j = 0; j < affects.count(); ++j) {
            const Node affect = affects.child(j);
            m_plan.disables.append(
                {trigger, affect.child(u"Who").asInteger(), integers(affect.child(u"ByValue"))});
        }
    }
}

void InterfaceModel::loadVoices(Node entries) {
    for (int i = 0; i < entries.count(); ++i) {
        const Node entry = entries.child(i);
        m_plan.voices.append({entry.child(0).asString(), {}});
        const Node words = entry.child(1);
        for (int j = 0; j < words.count(); ++j) {
            m_plan.voices.back().words.append(words.child(j).asString());
        }
    }
}

} // namespace talvik::iface
