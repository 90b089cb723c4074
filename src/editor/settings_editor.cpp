#include "settings_editor.h"

#include "page_builder.h"
#include "settings_file_hooks.h"

#include "device_type.h"
#include "interface_model.h"
#include "yaml_root.h"

#include <QFileInfo>
#include <QTabWidget>

namespace talvik::editor {

namespace {
const QString kInterfaceFolder = QStringLiteral("Interface/");
const QString kDescription = QStringLiteral("Interface/interface.h");
constexpr int kUtf8 = 65001;
} // namespace

SettingsEditor::SettingsEditor(QTabWidget* pages, QWidget* window, support::Dialogs& dialogs,
                               QTimer* timer, int minimumPageWidth, QObject* parent)
    : QObject(parent), m_pages(pages),
      m_handlers(std::make_unique<FieldHandlers>(m_store, dialogs, window, timer)),
      m_marks(pages, m_store, kFirstSettingsPage), m_minimumPageWidth(minimumPageWidth) {
    connect(m_handlers.get(), &FieldHandlers::changeMarked, this, [this] { m_marks.refresh(); });
}

SettingsEditor::~SettingsEditor() = default;

void SettingsEditor::setDeviceVersion(const QString& version) {
    m_deviceVersion = version;
    m_handlers->setDeviceVersion(version);
}

QString SettingsEditor::version() const {
    return m_deviceVersion.isEmpty() ? iface::DeviceType::noDeviceVersion() : m_deviceVersion;
}

void SettingsEditor::changeDeviceType(int typeCode, bool byUser) {
    if (m_typeCode != 0) {
        if (byUser && m_fileHooks != nullptr) {
            m_fileHooks->SaveLastSettings();
        }
        removePages();
    }
    m_typeCode = typeCode;
    if (typeCode == 0) {
        return;
    }
    const iface::Node root = description();
    if (!root.valid()) {
        return;
    }
    const iface::InterfacePlan plan = iface::InterfaceModel::plan(root, typeCode, version());
    PageBuilder builder(m_pages, m_store, m_handlers.get(), kInterfaceFolder, m_minimumPageWidth);
    builder.build(plan.content);
    m_images = builder.images();
    m_index = iface::SettingIndex(plan.content);
    plan.addDisablesTo(m_handlers->rules());
    m_handlers->setVoices(plan.voices);
    // Whatever rebuilt the pages, they show the kept settings rather than the description's
    // defaults: a controller that is not read again then shows what it held at the last
    // disconnect. A read or a settings file that follows overwrites them.
    if (m_fileHooks != nullptr) {
        m_fileHooks->LoadLastSettings();
    }
    m_store.holdShownValues();
}

iface::Node SettingsEditor::description() {
    const QFileInfo file(kDescription);
    if (!file.exists()) {
        m_description.reset();
        return {};
    }
    if (!m_description || file.lastModified() != m_descriptionTime ||
        file.size() != m_descriptionSize) {
        m_description = std::make_unique<iface::YamlRoot>(kDescription, kUtf8);
        m_descriptionTime = file.lastModified();
        m_descriptionSize = file.size();
    }
    return m_description->root();
}

void SettingsEditor::removePages() {
    // The maps go first, so that no handler can reach a control of a page being destroyed.
    m_handlers->reset();
    m_store.clear();
    m_images.clear();
    m_index = {};
    while (m_pages->count() > kFirstSettingsPage) {
        QWidget* page = m_pages->widget(m_pages->count() - 1);
        page->hide();
        m_pages->removeTab(m_pages->count() - 1);
        delete page;
    }
}

} // namespace talvik::editor
