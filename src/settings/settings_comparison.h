#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <map>
#include <optional>

namespace talvik::editor {
class ParameterStore;
}
namespace talvik::iface {
class Node;
class SettingIndex;
} // namespace talvik::iface

namespace talvik::settings {

// What differs between the settings the pages show and another source: the changes the next
// write sends, or a settings file. Rows carry what the user reads: the page and label of the
// setting (its number when no page shows it) and both values as the control shows them.
class SettingsComparison {
public:
    struct Row {
        int number = 0;
        QString page;
        QString label;
        QString shown;
        QString other;
    };

    SettingsComparison(editor::ParameterStore& store, const iface::SettingIndex& index)
        : m_store(store), m_index(index) {}

    // Every setting the write would send now, against the value the controller holds (last
    // read or sent), in ascending number order.
    [[nodiscard]] QList<Row> pending() const;
    // Every setting whose value in a settings file (its text) differs from the value a file
    // saved from the pages would hold; none for a text that is not a settings file.
    [[nodiscard]] std::optional<QList<Row>> withFile(QByteArrayView fileText) const;

    // The values of a settings file's setting elements by number, as the file holds them (the
    // value under the first kind name present); the header is skipped.
    [[nodiscard]] static std::map<int, QString> fileValues(const iface::Node& root);
    // The settings whose value in `other` differs from the one in `own`, a setting `own` does
    // not hold included; what `other` does not hold is no difference, since loading it leaves
    // the setting as it is. Ascending number order, the never-written login left out.
    [[nodiscard]] static QList<int> differing(const std::map<int, QString>& own,
                                              const std::map<int, QString>& other);
    // A row as one line of the batch output: number, page, label, shown and other value,
    // separated by tabs.
    [[nodiscard]] static QString line(const Row& row);

private:
    [[nodiscard]] Row row(int number, const QString& shown, const QString& other) const;

    editor::ParameterStore& m_store;
    const iface::SettingIndex& m_index;
};

} // namespace talvik::settings
