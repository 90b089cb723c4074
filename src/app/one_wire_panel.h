#pragma once

#include "one_wire.h"

#include <QHash>
#include <QObject>

class QPushButton;
class QTreeWidget;

namespace talvik::editor {
class SettingsEditor;
}
namespace talvik::support {
class Clipboard;
class Dialogs;
} // namespace talvik::support

namespace talvik::app {

class MainPage;
class ControllerSession;

// The 1-Wire group on the main page, which the panel builds and puts in its place: key learning,
// removing every device, the notice for a new key, and the thermometer list with each slot's
// reading, serial number and name.
class OneWirePanel : public QObject {
    Q_OBJECT
public:
    // serials: the thermometer slots' serial numbers as the settings replies bring them;
    // editor: the settings pages, whose settings name the thermometers.
    OneWirePanel(MainPage& page, ControllerSession& session,
                 std::function<link::CommandLink*()> link, support::Dialogs& dialogs,
                 support::Clipboard& clipboard, const QHash<int, QString>& serials,
                 editor::SettingsEditor& editor, QObject* parent = nullptr);

    [[nodiscard]] devices::OneWire& oneWire() { return m_oneWire; }

private:
    void build(MainPage& page);
    // The controller's thermometer readings: the list is built anew, drawn once.
    void UpdateThermometers(int number, const QString& readings);

    [[nodiscard]] QString nameOf(int setting) const;

    QPushButton* Button10;
    QPushButton* Button3;
    QTreeWidget* ListView2;
    devices::OneWire m_oneWire;
    const QHash<int, QString>& m_serials;
    editor::SettingsEditor& m_editor;
};

} // namespace talvik::app
