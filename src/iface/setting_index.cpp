#include "setting_index.h"

namespace talvik::iface {

namespace {
// Between the words of a setting, so that a query never matches across two of them.
constexpr QChar kSeparator = u'\n';
} // namespace

SettingIndex::SettingIndex(const QList<PlanItem>& content) {
    int page = 0;
    for (const PlanItem& item : content) {
        if (item.type != PlanItem::Type::Tab) {
            continue;
        }
        for (const PlanItem& child : item.content) {
            add(child, page, item.caption, {});
        }
        ++page;
    }
}

void SettingIndex::add(const PlanItem& item, int page, const QString& pageCaption,
                       const QStringList& groups) {
    switch (item.type) {
    case PlanItem::Type::GroupBox:
        for (const PlanItem& child : item.content) {
            add(child, page, pageCaption, groups + QStringList{item.caption, item.hint});
        }
        return;
    case PlanItem::Type::Edit:
    case PlanItem::Type::Check:
        addSetting(item.setting, page, pageCaption, item.caption,
                   groups + QStringList{item.caption, item.hint});
        return;
    case PlanItem::Type::Combo:
        addSetting(item.setting, page, pageCaption, item.caption,
                   groups + QStringList{item.caption, item.hint} + item.items);
        return;
    case PlanItem::Type::Bits:
        addSetting(item.setting, page, pageCaption, item.caption,
                   groups + QStringList{item.caption, item.hint} + item.bits + item.bitHints);
        return;
    case PlanItem::Type::Table:
        for (qsizetype c = 0; c < item.cells.size(); ++c) {
            for (qsizetype r = 0; r < item.cells[c].size(); ++r) {
                const QString line = item.lines.value(r);
                const QString column = item.columns.value(c);
                addSetting(item.cells[c][r], page, pageCaption,
                           line + QStringLiteral(", ") + column,
                           groups + QStringList{line, column});
            }
        }
        return;
    default:
        return;
    }
}

void SettingIndex::addSetting(int setting, int page, const QString& pageCaption,
                              const QString& label, const QStringList& words) {
    if (setting == 0) {
        return;
    }
    // A setting shown twice lives in its later control, as in the setting store; it keeps its
    // place in the order of the first.
    const auto known = m_bySetting.constFind(setting);
    const qsizetype at = known == m_bySetting.constEnd() ? m_entries.size() : *known;
    if (at == m_entries.size()) {
        m_bySetting.insert(setting, at);
        m_entries.append(Entry{});
        m_words.append(QString());
    }
    m_entries[at] = {setting, page, pageCaption, label};
    m_words[at] = words.join(kSeparator).toCaseFolded();
}

QList<int> SettingIndex::find(QStringView query) const {
    const QString wanted = query.trimmed().toString().toCaseFolded();
    QList<int> found;
    if (wanted.isEmpty()) {
        return found;
    }
    bool isNumber = false;
    const int number = wanted.toInt(&isNumber);
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if ((isNumber && m_entries[i].setting == number) || m_words[i].contains(wanted)) {
            found.append(m_entries[i].setting);
        }
    }
    return found;
}

const SettingIndex::Entry* SettingIndex::entry(int setting) const {
    const auto it = m_bySetting.constFind(setting);
    return it == m_bySetting.constEnd() ? nullptr : &m_entries[*it];
}

} // namespace talvik::iface
