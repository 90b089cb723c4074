#pragma once

#include "radio_device_list.h"
#include "radio_list_upkeep.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace talvik::devices {
class RadioDevices;
}

namespace talvik::app {

// The "Радиоустройства" page: the radio device list ListView1 with its choice menu, the note
// under it, "Очистить время", the learning button with its countdown, and "Удаление
// выбранного". It shows the radio logic's state and hands the user's actions to it; it also
// keeps the list in step when the user edits a target's setting on the settings pages.
class RadioPage : public QWidget, public editor::RadioListUpkeep {
    Q_OBJECT
public:
    // Column widths of ListView1; "Данные" fills what the others leave.
    static constexpr int kColumnWidths[] = {80, 100, 140, 130, 100, 200, 70};
    static constexpr int kDataColumn = 5;

    explicit RadioPage(devices::RadioDevices& radio, QWidget* parent = nullptr);

    // After the user left a settings field.
    void ShowTargetAssignments(int setting) override;
    void RenameUser(int setting, const QString& text) override;

    // The right mouse button on the list at (x, y) of its client area: the choice menu.
    void ListView1MouseDown(Qt::MouseButton button, int x, int y);
    // The choice menu now shown, or null.
    [[nodiscard]] QMenu* choiceMenu() const { return m_menu; }

    QTreeWidget* ListView1;
    QLabel* noteLabel; // the note under the list
    QPushButton* Button15;
    QPushButton* Button16;
    QLabel* Label7;
    QPushButton* Button17;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildList();
    void showRow(int index);
    void insertRow(int index);
    void removeRow(int index);
    void showAllRows();
    void showLearning(bool learning);
    void keepMinimumWidth(int column, int oldSize, int newSize);
    [[nodiscard]] std::optional<int> firstSelectedRow() const;
    [[nodiscard]] QList<int> selectedRows() const;
    void Button17Click();

    devices::RadioDevices& m_radio;
    devices::RadioDeviceList& m_list;
    QPointer<QMenu> m_menu;
};

} // namespace talvik::app
