#pragma once

#include "interface_plan.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace talvik::iface {

// Every setting the pages of a plan show, in page order, with the words that find it: its
// label, hint, the captions of the groups around it and its drop-down or bit texts. The find
// field searches it as the user types, and the compare window names settings by it.
class SettingIndex {
public:
    struct Entry {
        int setting = 0;
        // Position of its page among the plan's pages, from 0, and that page's caption.
        int page = 0;
        QString pageCaption;
        // What names it on its page: the label, check box or bit group caption; for a table
        // cell its line and column.
        QString label;
    };

    SettingIndex() = default;
    explicit SettingIndex(const QList<PlanItem>& content);

    // The settings whose words contain the query (case-insensitive) or, when the query is a
    // number, whose number it is; in page order, each once. An empty query finds nothing.
    [[nodiscard]] QList<int> find(QStringView query) const;
    // Where the pages show a setting; null when they do not.
    [[nodiscard]] const Entry* entry(int setting) const;
    [[nodiscard]] int size() const { return static_cast<int>(m_entries.size()); }

private:
    void add(const PlanItem& item, int page, const QString& pageCaption, const QStringList& groups);
    void addSetting(int setting, int page, const QString& pageCaption, const QString& label,
                    const QStringList& words);

    QList<Entry> m_entries;
    // For each entry, its words case-folded and joined, so a keystroke searches one text each.
    QList<QString> m_words;
    QHash<int, qsizetype> m_bySetting;
};

} // namespace talvik::iface
