#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace talvik::devices {

// The radio devices the controller has reported or the settings name, one row per number text,
// sorted by that text in the order of its UTF-16 code units (so "%10%" comes before "%2%"). The
// page's list shows the rows; the rows themselves live here, so the logic runs without widgets.
class RadioDeviceList : public QObject {
    Q_OBJECT
public:
    // The cells after the number text, by sub-item.
    enum SubItem { Type = 0, Zone = 1, User = 2, Thermometer = 3, Data = 4, Time = 5 };
    static constexpr int kSubItems = 6;

    struct Row {
        QString number;
        std::array<QString, kSubItems> cells;
    };

    explicit RadioDeviceList(QObject* parent = nullptr);

    // The row of a number text; when there is none and `create` is set, a new row with empty
    // cells at its sorted place. Nothing when there is none and `create` is not set.
    [[nodiscard]] std::optional<int> FindDeviceRow(const QString& number, bool create);

    [[nodiscard]] int rowCount() const { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] const Row& row(int index) const { return m_rows[static_cast<size_t>(index)]; }
    [[nodiscard]] const QString& cell(int index, SubItem item) const;
    void setCell(int index, SubItem item, const QString& text);
    // Several cells of one row, announced as one change.
    void setCells(int index, std::initializer_list<std::pair<SubItem, QString>> cells);
    // Empties every cell of one column.
    void clearColumn(SubItem item);
    // Empties the cells of one column that hold `text`.
    void clearCells(SubItem item, const QString& text);
    // Removes the rows at the given indices (any order), then renumbers RowIndexMap from the
    // list.
    void removeRows(QList<int> indices);
    // Empties the list and RowIndexMap together (the controller was let go).
    void clear();

    // Number text -> row index; always agrees with the rows.
    QHash<QString, int> RowIndexMap;

Q_SIGNALS:
    void rowInserted(int index);
    void rowChanged(int index);
    void rowRemoved(int index);
    // Everything changed at once: the list emptied or a whole column was rewritten.
    void listReset();

private:
    void clearCellsWhere(SubItem item, const std::function<bool(const QString&)>& match);
    void rebuildIndexMap();

    std::vector<Row> m_rows;
};

} // namespace talvik::devices
