#include "radio_device_list.h"

#include <algorithm>

namespace talvik::devices {

RadioDeviceList::RadioDeviceList(QObject* parent) : QObject(parent) {}

std::optional<int> RadioDeviceList::FindDeviceRow(const QString& number, bool create) {
    const auto found = RowIndexMap.constFind(number);
    if (found != RowIndexMap.constEnd()) {
        return *found;
    }
    if (!create) {
        return std::nullopt;
    }
    // QString's ordering is that of the UTF-16 code units.
    const auto at =
        std::lower_bound(m_rows.begin(), m_rows.end(), number,
                         [](const Row& row, const QString& n) { return row.number < n; });
    const int index = static_cast<int>(at - m_rows.begin());
    m_rows.insert(at, Row{number, {}});
    for (int& stored : RowIndexMap) {
        if (stored >= index) {
            ++stored;
        }
    }
    RowIndexMap.insert(number, index);
    Q_EMIT rowInserted(index);
    return index;
}

const QString& RadioDeviceList::cell(int index, SubItem item) const {
    return row(index).cells[static_cast<size_t>(item)];
}

void RadioDeviceList::setCell(int index, SubItem item, const QString& text) {
    QString& cell = m_rows[static_cast<size_t>(index)].cells[static_cast<size_t>(item)];
    if (cell != text) {
        cell = text;
        Q_EMIT rowChanged(index);
    }
}

void RadioDeviceList::setCells(int index,
                               std::initializer_list<std::pair<SubItem, QString>> cells) {
    Row& row = m_rows[static_cast<size_t>(index)];
    for (const auto& [item, text] : cells) {
        row.cells[static_cast<size_t>(item)] = text;
    }
    Q_EMIT rowChanged(index);
}

void RadioDeviceList::clearColumn(SubItem item) {
    clearCellsWhere(item, [](const QString&) { return true; });
}

void RadioDeviceList::clearCells(SubItem item, const QString& text) {
    clearCellsWhere(item, [&text](const QString& cell) { return cell == text; });
}

void RadioDeviceList::clearCellsWhere(SubItem item,
                                      const std::function<bool(const QString&)>& match) {
    bool changed = false;
    for (Row& row : m_rows) {
        QString& cell = row.cells[static_cast<size_t>(item)];
        if (!cell.isEmpty() && match(cell)) {
            cell.clear();
            changed = true;
        }
    }
    if (changed) {
        Q_EMIT listReset();
    }
}

void RadioDeviceList::removeRows(QList<int> indices) {
    std::sort(indices.begin(), indices.end(), std::greater<>());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (const int index : indices) {
        if (index >= 0 && index < rowCount()) {
            m_rows.erase(m_rows.begin() + index);
            Q_EMIT rowRemoved(index);
        }
    }
    rebuildIndexMap();
}

void RadioDeviceList::clear() {
    m_rows.clear();
    RowIndexMap.clear();
    Q_EMIT listReset();
}

void RadioDeviceList::rebuildIndexMap() {
    RowIndexMap.clear();
    for (int i = 0; i < rowCount(); ++i) {
        RowIndexMap.insert(m_rows[static_cast<size_t>(i)].number, i);
    }
}

} // namespace talvik::devices
