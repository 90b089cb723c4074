#pragma once

#include "change_marks.h"
#include "field_handlers.h"
#include "node.h"
#include "page_images.h"
#include "parameter_store.h"
#include "setting_index.h"
#include "setting_pages.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <memory>

class QTabWidget;
class QTimer;
class QWidget;

namespace talvik::iface {
class SettingsFileHooks;
class YamlRoot;
} // namespace talvik::iface
namespace talvik::support {
class Dialogs;
}

namespace talvik::editor {

// The settings editor of the main window: the pages generated from the interface description
// for the chosen device type, the setting store behind them and the handlers of their controls.
// The window owns it and runs the device-type change through it. Reading, writing and the
// settings files reach the settings through its SettingPages side.
class SettingsEditor : public QObject, public iface::SettingPages {
    Q_OBJECT
public:
    // The window's own pages come first; generated pages start at this index.
    static constexpr int kFirstSettingsPage = 2;

    // pages: the window's page control; window: owner of message boxes and the suggestion list;
    // timer: the window's 1 ms one-shot helper; minimumPageWidth: the page width laid out for
    // while the page control has no size yet.
    SettingsEditor(QTabWidget* pages, QWidget* window, support::Dialogs& dialogs, QTimer* timer,
                   int minimumPageWidth = 0, QObject* parent = nullptr);
    ~SettingsEditor() override;

    // The device-type change: saves "last.set" first when the user made it and a type was
    // active, removes the generated pages, builds those of typeCode from
    // "Interface/interface.h" for the current version and loads "last.set" into them. Code 0
    // builds nothing.
    void changeDeviceType(int typeCode, bool byUser);

    // The connected controller's firmware version; an empty text while none is connected, in
    // which case the pages are built for "9.99".
    void setDeviceVersion(const QString& version);
    [[nodiscard]] QString version() const;
    [[nodiscard]] int typeCode() const override { return m_typeCode; }

    // Removes the generated pages together with the store, both maps and the rule table.
    void removePages();

    void setFileHooks(iface::SettingsFileHooks* hooks) { m_fileHooks = hooks; }

    [[nodiscard]] ParameterStore& store() { return m_store; }
    // Brings the changed marks of the pages in line with the store (after a read, a write or a
    // load; the user's edits bring them along themselves).
    void refreshChangeMarks() override { m_marks.refresh(); }
    [[nodiscard]] FieldHandlers& handlers() { return *m_handlers; }
    // The settings the generated pages show, with the words that find them.
    [[nodiscard]] const iface::SettingIndex& index() const { return m_index; }
    // The index of the page that holds a control, or -1.
    [[nodiscard]] int pageOf(QWidget* control) const { return m_marks.pageOf(control); }
    // The images of the generated pages, in page order (pages without one have none here).
    [[nodiscard]] const QList<QPixmap>& images() const { return m_images; }

    // The settings by number, for reading, writing and the settings files.
    [[nodiscard]] QList<int> numbers() const override;
    [[nodiscard]] iface::SettingKind kind(int number) const override;
    [[nodiscard]] iface::EditSpecial special(int number) const override;
    [[nodiscard]] bool changed(int number) const override;
    [[nodiscard]] QString value(int number) const override;
    [[nodiscard]] QString writtenValue(int number) const override;
    [[nodiscard]] QString heldValue(int number) const override;
    [[nodiscard]] QString shownText(int number, const QString& value) const override;
    [[nodiscard]] int shownNumber(int number) const override;
    void keep(int number) override;
    void dropUnshown() override;
    void markSent(int number) override;
    void markChanged(int number) override;
    void show(int number, const QString& value) override;
    void enter(int number, const QString& value, bool controllerValue) override;

private:
    // The description's root, read again when the file changed; null when there is none.
    [[nodiscard]] iface::Node description();

    QTabWidget* m_pages;
    ParameterStore m_store;
    std::unique_ptr<FieldHandlers> m_handlers;
    ChangeMarks m_marks;
    iface::SettingIndex m_index;
    iface::SettingsFileHooks* m_fileHooks = nullptr;
    QString m_deviceVersion;
    int m_typeCode = 0;
    int m_minimumPageWidth;
    QList<QPixmap> m_images;
    PageImages m_imageFiles;
    // The description as last read, and the file's state then: it is read again only when the
    // file changed, since flipping through device types would otherwise re-read the same text.
    std::unique_ptr<iface::YamlRoot> m_description;
    QDateTime m_descriptionTime;
    qint64 m_descriptionSize = -1;
};

} // namespace talvik::editor
