#pragma once

#include "edit_special.h"
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace talvik::iface {

// What the settings pages hold for one device type and firmware version, decided before any
// widget exists: which elements apply, in which order, with every shown text already resolved
// (template arguments substituted) and every setting number already assigned. The page builder
// only turns these items into controls and lays them out; it never reads the description, picks
// elements, resolves texts or counts setting numbers itself.
//
// Items come in creation order, depth first. Elements that do not apply to the device are
// absent. Template calls are expanded in place: their items appear among their siblings, one
// copy per argument list, exactly as if written there. An element that binds settings appears
// as one item per control it creates (one Edit per caption, one Combo per row or caption, one
// Check per caption), so the builder advances its running position once per item; the Edit and
// Combo items (never the Table cells) are the value controls that share one final alignment.
struct PlanItem {
    enum class Type {
        Tab,      // a page: caption, content (the caption also names the page image)
        GroupBox, // a framed group: caption, hint, content
        Label,    // a line of text: caption
        RichEdit, // a read-only text box: file (inside the interface folder), height
        Edit,     // a labelled edit box: caption, hint, setting, special, limits, offset
        Combo,    // a labelled drop-down: caption, hint, setting, width, items, codes
        Check,    // a check box: caption, hint, setting, disables
        Bits,     // a group of bit check boxes: caption, hint, setting, width, bits, bitHints
        Table,    // a grid of edit boxes: columns, lines, cells
    };

    Type type = Type::Label;
    QString caption;
    // The item's hover text; empty when the description gives none.
    QString hint;
    // The setting the control edits (0 when the number list ran out).
    int setting = 0;

    // Edit.
    EditSpecial special = EditSpecial::Plain;
    // Only Integer and Double10 fields read these (the whole int range when the description
    // gives no Limits); they stay 0 otherwise.
    int limitLow = 0;
    int limitHigh = 0;
    int offset = 0;

    // Combo: control width in pixels, 0 meaning "up to the container's right edge".
    // Bits: width of each bit check box, 0 likewise.
    int width = 0;
    // Combo: the drop-down texts in order.
    QStringList items;
    // Combo: the stored code of each item (same length as items), or none, in which case the
    // stored value is the item's position.
    std::optional<QList<int>> codes;

    // Check: the settings whose controls are disabled while the box is checked, when given.
    std::optional<QList<int>> disables;

    // Bits: one text per bit, bit 0 first, and each bit box's hover text (may be shorter).
    QStringList bits;
    QStringList bitHints;

    // RichEdit.
    QString file;
    int height = 0;

    // Table: column and line captions; cells[c][r] is the setting of the edit box in column c,
    // line r. Numbers were taken column by column.
    QStringList columns;
    QStringList lines;
    QList<QList<int>> cells;

    // Tab and GroupBox: what is built inside.
    QList<PlanItem> content;
};

// One entry of the Affects list of a Disables rule: choosing a value of ByValue in the drop-down
// of setting `trigger` disables the control of setting `who`.
struct DisableRule {
    int trigger = 0;
    int who = 0;
    QList<int> values;
};

// Trigger setting -> affected setting -> the trigger values that disable it.
using DisableTable = QHash<int, QHash<int, QSet<int>>>;

// The vocabulary that voice fields offer for firmware from `version` on.
struct VoiceEntry {
    QString version;
    QStringList words;
};

struct InterfacePlan {
    QList<PlanItem> content;
    // In file order, one per Affects entry.
    QList<DisableRule> disables;
    // In file order.
    QList<VoiceEntry> voices;
    // Set when template calls nested too deep or expanded beyond reason (a template that calls
    // itself, for instance), or the pages would hold more controls than the window can build
    // at a type change; the content is then cut short at that point.
    bool truncated = false;

    // Adds the Disables rules to a rule table; rules for the same trigger and affected setting
    // accumulate, and nothing already in the table is removed.
    void addDisablesTo(DisableTable& table) const;
};

} // namespace talvik::iface
