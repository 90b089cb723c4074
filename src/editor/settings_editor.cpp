#include "settings_editor.h"

#include "page_builder.h"
#include "value_codecs.h"

#include "device_type.h"
#include "interface_model.h"
#include "settings_file_hooks.h"
#include "yaml_root.h"

#include "leading_integer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTabWidget>

namespace talvik::editor {

namespace {
const QString kInterfaceFolder = QStringLiteral("Interface/");
const QString kDescription = QStringLiteral("Interface/interface.h");
constexpr int kUtf8 = 65001;

// The text an edit box shows for a value: the controller's own value, or already a shown text.
QString editText(const Parameter& record, const QString& value, bool controllerValue) {
    if (!controllerValue || value.isEmpty()) {
        return value;
    }
    if (record.special == iface::EditSpecial::Integer) {
        return ValueCodecs::integerFromDevice(value, record.offset);
    }
    if (record.special == iface::EditSpecial::Double10) {
        return ValueCodecs::double10FromDevice(value, record.offset,
                                               ValueCodecs::decimalSeparator());
    }
    return value;
}

// Runs a control's change handler with the input flag telling whether the value differed,
// so that only a differing value is marked changed.
template <typename Run> void asChange(FieldHandlers& handlers, bool differed, Run run) {
    handlers.setInput(differed);
    run();
    handlers.setInput(false);
}

void enterBits(Parameter& record, long long bits, FieldHandlers& handlers) {
    QCheckBox* firstChanging = nullptr;
    for (qsizetype i = 0; i < record.controls.size() && firstChanging == nullptr; ++i) {
        QCheckBox* box = record.controls[i];
        if (box != nullptr &&
            box->isChecked() != (i < Parameter::kBitCount && ((bits >> i) & 1) != 0)) {
            firstChanging = box;
        }
    }
    if (firstChanging != nullptr) {
        asChange(handlers, true, [&] { handlers.checkBoxMouseDown(firstChanging); });
    }
    ParameterStore::show(record, QString::number(bits));
}

// Puts a value into a record's control with the input flag cleared, as enter() describes.
void enterValue(Parameter& record, const QString& value, bool controllerValue,
                FieldHandlers& handlers) {
    switch (record.kind) {
    case Parameter::Kind::None:
        if (value != record.valueText) {
            record.valueText = value;
            record.changed = true;
        }
        return;
    case Parameter::Kind::Edit:
        if (auto* edit = qobject_cast<QLineEdit*>(record.control.data())) {
            const QString before = edit->text();
            edit->setText(editText(record, value, controllerValue));
            handlers.editExit(edit, before);
        }
        return;
    case Parameter::Kind::Combo:
        if (auto* combo = qobject_cast<QComboBox*>(record.control.data())) {
            const int before = combo->currentIndex();
            if (controllerValue) {
                ParameterStore::show(record, value);
            } else {
                const int position = support::LeadingInteger(value);
                combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
            }
            asChange(handlers, combo->currentIndex() != before,
                     [&] { handlers.dropDownSelect(combo); });
        }
        return;
    case Parameter::Kind::Check:
        if (auto* box = qobject_cast<QCheckBox*>(record.control.data())) {
            const bool checked = support::LeadingInteger(value) != 0;
            // The handler expects the box as it is before the click that changes it.
            asChange(handlers, checked != box->isChecked(),
                     [&] { handlers.checkBoxMouseDown(box); });
            box->setChecked(checked);
        }
        return;
    case Parameter::Kind::Bits:
        enterBits(record, support::LeadingInteger(value), handlers);
        return;
    default:
        return;
    }
}
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
    PageBuilder builder(m_pages, m_store, m_handlers.get(), m_imageFiles, kInterfaceFolder,
                        m_minimumPageWidth);
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

QList<int> SettingsEditor::numbers() const {
    QList<int> numbers;
    numbers.reserve(m_store.size());
    for (const auto& entry : m_store) {
        numbers.append(entry.first);
    }
    return numbers;
}

iface::SettingKind SettingsEditor::kind(int number) const {
    const Parameter* record = m_store.find(number);
    return record != nullptr ? record->kind : Parameter::Kind::None;
}

iface::EditSpecial SettingsEditor::special(int number) const {
    const Parameter* record = m_store.find(number);
    return record != nullptr ? record->special : iface::EditSpecial::Plain;
}

bool SettingsEditor::changed(int number) const {
    const Parameter* record = m_store.find(number);
    return record != nullptr && record->changed;
}

QString SettingsEditor::value(int number) const {
    const Parameter* record = m_store.find(number);
    return record != nullptr ? ParameterStore::valueOf(*record) : QString();
}

QString SettingsEditor::writtenValue(int number) const {
    const Parameter* record = m_store.find(number);
    if (record == nullptr || record->kind != Parameter::Kind::Edit) {
        return value(number);
    }
    const auto* edit = qobject_cast<const QLineEdit*>(record->control.data());
    QString text = edit != nullptr ? edit->text() : QString();
    if (record->special == iface::EditSpecial::Integer) {
        return QString::number(static_cast<long long>(support::LeadingInteger(text)) +
                               record->offset);
    }
    if (record->special == iface::EditSpecial::Double10) {
        return ValueCodecs::double10ToDevice(text.isEmpty() ? u"0" : QStringView(text),
                                             record->offset);
    }
    return text;
}

QString SettingsEditor::heldValue(int number) const {
    const Parameter* record = m_store.find(number);
    return record != nullptr ? record->held.value_or(QString()) : QString();
}

QString SettingsEditor::shownText(int number, const QString& value) const {
    const Parameter* record = m_store.find(number);
    return record != nullptr ? ParameterStore::textOf(*record, value) : value;
}

int SettingsEditor::shownNumber(int number) const {
    const Parameter* record = m_store.find(number);
    const auto* edit =
        record != nullptr ? qobject_cast<const QLineEdit*>(record->control.data()) : nullptr;
    return edit != nullptr ? support::LeadingInteger(edit->text()) : 0;
}

void SettingsEditor::keep(int number) {
    static_cast<void>(m_store.findOrAdd(number));
}

void SettingsEditor::dropUnshown() {
    m_store.removeWithoutControl();
}

void SettingsEditor::markSent(int number) {
    if (Parameter* record = m_store.find(number)) {
        record->changed = false;
        record->held = ParameterStore::valueOf(*record);
    }
}

void SettingsEditor::markChanged(int number) {
    if (Parameter* record = m_store.find(number)) {
        record->changed = true;
    }
}

void SettingsEditor::show(int number, const QString& value) {
    if (Parameter* record = m_store.find(number)) {
        record->changed = false;
        ParameterStore::show(*record, value);
        record->held = ParameterStore::valueOf(*record);
    }
}

void SettingsEditor::enter(int number, const QString& value, bool controllerValue) {
    Parameter* record = m_store.find(number);
    if (record == nullptr) {
        return;
    }
    m_handlers->setInput(false);
    enterValue(*record, value, controllerValue, *m_handlers);
    m_handlers->setInput(true);
}

} // namespace talvik::editor
