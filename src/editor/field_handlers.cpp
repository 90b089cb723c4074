#include "field_handlers.h"

#include "parameter_store.h"
#include "radio_list_upkeep.h"
#include "voice_completion.h"

#include "dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

namespace talvik::editor {

namespace {

// The voice vocabulary is chosen for this version when no controller is connected.
const QString kNoDeviceVoiceVersion = QStringLiteral("99.99.99");

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool typesText(const QKeyEvent& key) {
    // Ctrl with Alt is AltGr on some keyboards, which types characters.
    const Qt::KeyboardModifiers chord = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (chord == Qt::ControlModifier) {
        return false;
    }
    const QString text = key.text();
    return !text.isEmpty() && std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.category() == QChar::Other_Control;
    });
}

// A box hidden on purpose is not checked; one merely inside a window not shown yet is.
bool hiddenOnPurpose(const QWidget* widget) {
    return widget->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
           widget->testAttribute(Qt::WA_WState_Hidden);
}

// Switching to another window or opening a pop-up moves the focus without the user leaving
// or entering the field.
bool userFocusChange(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

FieldHandlers::FieldHandlers(ParameterStore& store, support::Dialogs& dialogs, QWidget* window,
                             QTimer* timer, QObject* parent)
    : QObject(parent), m_store(store), m_dialogs(dialogs), m_window(window), m_timer(timer) {
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_timer->stop();
        destroySuggestions();
    });
}

FieldHandlers::~FieldHandlers() {
    destroySuggestions();
}

void FieldHandlers::attachEdit(QLineEdit* edit) {
    edit->installEventFilter(this);
}

void FieldHandlers::attachCombo(QComboBox* combo) {
    connect(combo, &QComboBox::activated, this, [this, combo] {
        dropDownSelect(combo);
        dropPutBack(combo);
    });
}

void FieldHandlers::attachCheckBox(QCheckBox* box) {
    box->installEventFilter(this);
    // Only after the click is the box in its new state.
    connect(box, &QCheckBox::clicked, this, [this, box] { dropPutBack(box); });
}

void FieldHandlers::dropPutBack(const QObject* control) {
    Parameter* record = m_store.recordOf(control);
    if (record == nullptr || !record->changed || !record->held ||
        ParameterStore::valueOf(*record) != *record->held) {
        return;
    }
    record->changed = false;
    Q_EMIT changeMarked();
}

bool FieldHandlers::eventFilter(QObject* watched, QEvent* event) {
    // Only controls of the current pages are handled; the store forgets the controls of pages
    // before they are destroyed, so a dying control is never looked at.
    if (!m_store.numberOf(watched)) {
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        if (auto* edit = qobject_cast<QLineEdit*>(watched);
            edit != nullptr && userFocusChange(event)) {
            editEnter(edit);
        }
        break;
    case QEvent::FocusOut:
        if (auto* edit = qobject_cast<QLineEdit*>(watched);
            edit != nullptr && userFocusChange(event)) {
            editExit(edit);
        }
        break;
    case QEvent::KeyPress:
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool backspace = key->key() == Qt::Key_Backspace;
            const bool escape = key->key() == Qt::Key_Escape;
            // Only typed characters go through the field's rules; keys that type nothing or a
            // control character (arrows, Tab, Return, Delete, Ctrl shortcuts) pass untouched.
            if (!backspace && !escape && !typesText(*key)) {
                break;
            }
            return !editKeyPress(edit, key->text(), backspace, escape);
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second click of a double click toggles the box too
        if (auto* box = qobject_cast<QCheckBox*>(watched);
            box != nullptr && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            checkBoxMouseDown(box);
        }
        break;
    default:
        break;
    }
    return false;
}

void FieldHandlers::editEnter(QLineEdit* edit) {
    m_entryText = edit->text();
}

void FieldHandlers::editExit(QLineEdit* edit) {
    editExit(edit, m_entryText);
    dropPutBack(edit);
}

void FieldHandlers::editExit(QLineEdit* edit, const QString& entryText) {
    Parameter* record = m_store.recordOf(edit);
    if (record == nullptr) {
        return;
    }
    bool ok = true;
    if (m_input && record->special != iface::EditSpecial::Plain) {
        switch (record->special) {
        case iface::EditSpecial::Integer:
            ok = edit->text().isEmpty() ||
                 checkInteger(m_dialogs, edit, kEditField, record->limitLow, record->limitHigh);
            break;
        case iface::EditSpecial::Double10:
            ok = edit->text().isEmpty() ||
                 checkDecimal(m_dialogs, edit, kEditField, record->limitLow, record->limitHigh);
            break;
        case iface::EditSpecial::Phone:
            if (!phonesValid(edit->text())) {
                m_dialogs.error(kInputError, kBadPhones);
                ok = false;
            }
            break;
        case iface::EditSpecial::Voice:
            // Closed only after this event, so that a click on the list still reaches it.
            m_timer->start();
            break;
        default:
            break;
        }
        if (!ok) {
            // Deferred: the focus is still on its way to the control the user chose.
            QPointer<QLineEdit> back(edit);
            QTimer::singleShot(0, this, [back] {
                if (back != nullptr) {
                    back->setFocus(Qt::OtherFocusReason);
                }
            });
        }
    }
    if (ok && edit->text() != entryText) {
        record->changed = true;
        Q_EMIT changeMarked();
    }
    if (m_upkeep != nullptr) {
        const int number = record->number;
        m_upkeep->ShowTargetAssignments(number);
        m_upkeep->RenameUser(number, edit->text());
    }
}

bool FieldHandlers::editKeyPress(QLineEdit* edit, QStringView key, bool backspace, bool escape) {
    if (escape) {
        destroySuggestions();
        return true;
    }
    const Parameter* record = m_store.recordOf(edit);
    if (record == nullptr || record->special != iface::EditSpecial::Voice) {
        return true;
    }
    const QStringList words = VoiceCompletion::wordsFor(
        m_voices, m_deviceVersion.isEmpty() ? kNoDeviceVoiceVersion : m_deviceVersion);
    const VoiceCompletion::Outcome outcome =
        VoiceCompletion::press(words, edit->text(), key, backspace);
    switch (outcome.action) {
    case VoiceCompletion::Action::Cancel:
        return false;
    case VoiceCompletion::Action::Close:
        destroySuggestions();
        return true;
    case VoiceCompletion::Action::Show:
        showSuggestions(edit, outcome.words);
        return true;
    }
    return true;
}

void FieldHandlers::dropDownSelect(QComboBox* combo) {
    if (!m_input) {
        return;
    }
    const std::optional<int> number = m_store.numberOf(combo);
    Parameter* record = number ? m_store.find(*number) : nullptr;
    if (record == nullptr) {
        return;
    }
    record->changed = true;
    Q_EMIT changeMarked();
    const auto rules = m_rules.constFind(*number);
    if (rules == m_rules.constEnd()) {
        return;
    }
    const int value = ParameterStore::valueOf(*record).toInt();
    for (auto affected = rules->constBegin(); affected != rules->constEnd(); ++affected) {
        const Parameter* target = m_store.find(affected.key());
        if (target != nullptr && target->control != nullptr) {
            target->control->setEnabled(!affected.value().contains(value));
        }
    }
}

void FieldHandlers::checkBoxMouseDown(QCheckBox* box) {
    if (!m_input) {
        return;
    }
    Parameter* record = m_store.recordOf(box);
    if (record == nullptr) {
        return;
    }
    record->changed = true;
    Q_EMIT changeMarked();
    if (record->kind != Parameter::Kind::Check && record->kind != Parameter::Kind::Bits) {
        return;
    }
    // The click has not changed the box yet: after it, the listed controls are disabled
    // exactly while the box is checked.
    const bool enable = box->isChecked();
    for (const int number : std::as_const(record->numbers)) {
        const Parameter* target = m_store.find(number);
        if (target != nullptr && target->control != nullptr) {
            target->control->setEnabled(enable);
        }
    }
}

bool FieldHandlers::checkInteger(support::Dialogs& dialogs, QLineEdit* edit,
                                 const QString& fieldName, int low, int high) {
    if (hiddenOnPurpose(edit)) {
        return true;
    }
    const QString text = edit->text();
    bool ok = !text.isEmpty() && text.size() <= 10;
    for (qsizetype i = 0; ok && i < text.size(); ++i) {
        ok = isAsciiDigit(text[i]) || (i == 0 && text[i] == u'-');
    }
    if (ok) {
        const qlonglong value = text.toLongLong(&ok);
        ok = ok && value >= low && value <= high;
    }
    if (!ok) {
        dialogs.error(kInputError, kBadValue + fieldName);
    }
    return ok;
}

bool FieldHandlers::checkDecimal(support::Dialogs& dialogs, QLineEdit* edit,
                                 const QString& fieldName, double low, double high) {
    if (hiddenOnPurpose(edit)) {
        return true;
    }
    QString text = edit->text();
    if (text.contains(u'.')) {
        text.replace(u'.', u',');
        edit->setText(text);
    }
    bool ok = !text.isEmpty() && text.size() <= 10 && text.count(u',') <= 1;
    for (qsizetype i = 0; ok && i < text.size(); ++i) {
        ok = isAsciiDigit(text[i]) || text[i] == u',';
    }
    if (ok) {
        const double value = QLocale::c().toDouble(QString(text).replace(u',', u'.'), &ok);
        ok = ok && value >= low && value <= high;
    }
    if (!ok) {
        dialogs.error(kInputError, kBadValue + fieldName);
    }
    return ok;
}

bool FieldHandlers::phonesValid(QStringView text) {
    if (text == u"NO") {
        return true;
    }
    for (const QChar c : text) {
        if (!isAsciiDigit(c) && c != u',' && c != u'+') {
            return false;
        }
    }
    return true;
}

void FieldHandlers::showSuggestions(QLineEdit* edit, const QStringList& words) {
    if (m_suggestions == nullptr) {
        m_suggestions = new QListWidget(m_window);
        m_suggestions->setObjectName(QStringLiteral("VoiceSuggestions"));
        m_suggestions->resize(200, 100);
        connect(m_suggestions, &QListWidget::itemSelectionChanged, this,
                &FieldHandlers::suggestionSelected);
        // The list opens below the end of the text and stays there while the word grows.
        const QPoint corner(m_window->fontMetrics().horizontalAdvance(edit->text()),
                            edit->height());
        m_suggestions->move(edit->mapTo(m_window, corner));
    }
    m_completed = edit;
    {
        const QSignalBlocker quiet(m_suggestions);
        m_suggestions->clear();
        m_suggestions->addItems(words);
    }
    int width = 0;
    for (const QString& word : words) {
        width = std::max(width, m_suggestions->fontMetrics().horizontalAdvance(word));
    }
    m_suggestions->resize(width + 30, 14 * static_cast<int>(words.size()) + 21);
    m_suggestions->show();
    m_suggestions->raise();
}

void FieldHandlers::suggestionSelected() {
    const QList<QListWidgetItem*> selected = m_suggestions->selectedItems();
    if (selected.isEmpty() || m_completed == nullptr) {
        return;
    }
    m_completed->setText(VoiceCompletion::complete(m_completed->text(), selected.first()->text()));
}

void FieldHandlers::destroySuggestions() {
    delete m_suggestions.data();
    m_suggestions = nullptr;
    m_completed = nullptr;
}

void FieldHandlers::reset() {
    destroySuggestions();
    m_timer->stop();
    m_rules.clear();
    m_voices.clear();
}

} // namespace talvik::editor
