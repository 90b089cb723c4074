#pragma once

#include "interface_plan.h"

#include <QLineEdit>
#include <QList>
#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <QString>

class QCheckBox;
class QComboBox;
class QTimer;
class QWidget;

namespace talvik::support {
class Dialogs;
}

namespace talvik::editor {

class ParameterStore;
class RadioListUpkeep;

// The handlers of the generated controls: they check what the user types, mark settings as
// changed, switch dependent controls on and off, and offer the words of voice fields.
class FieldHandlers : public QObject {
    Q_OBJECT
public:
    static inline const QString kInputError = QStringLiteral("Ошибка ввода");
    static inline const QString kBadValue = QStringLiteral("Некорректное значение в поле ");
    static inline const QString kEditField = QStringLiteral("редактирования");
    static inline const QString kBadPhones =
        QStringLiteral("Номера телефонов должны быть написанны корректно, через запятую, без "
                       "пробелов");

    // window owns the suggestion list; timer (1 ms, one-shot use) closes it once the current
    // event is done.
    FieldHandlers(ParameterStore& store, support::Dialogs& dialogs, QWidget* window, QTimer* timer,
                  QObject* parent = nullptr);
    ~FieldHandlers() override;

    // The input flag: while false the drop-down and check-box handlers do nothing and the edit
    // exit skips its checks (the program clears it while it fills the controls itself).
    [[nodiscard]] bool input() const { return m_input; }
    void setInput(bool input) { m_input = input; }

    // Rules from Disables (trigger -> affected -> disabling values) and the voice vocabulary.
    [[nodiscard]] iface::DisableTable& rules() { return m_rules; }
    void setVoices(QList<iface::VoiceEntry> voices) { m_voices = std::move(voices); }
    // The connected controller's firmware version; empty while none is connected.
    void setDeviceVersion(const QString& version) { m_deviceVersion = version; }
    void setRadioListUpkeep(RadioListUpkeep* upkeep) { m_upkeep = upkeep; }

    // Wiring, done by the page builder.
    void attachEdit(QLineEdit* edit);
    void attachCombo(QComboBox* combo);
    void attachCheckBox(QCheckBox* box);

    // The edit box handlers. editExit is also run by the settings-file load with the text shown
    // before as the entry text; only the user's own exit takes a change away when the value is
    // back to the one the controller holds.
    void editEnter(QLineEdit* edit);
    void editExit(QLineEdit* edit);
    void editExit(QLineEdit* edit, const QString& entryText);
    // Returns false when the key is to be cancelled.
    bool editKeyPress(QLineEdit* edit, QStringView key, bool backspace, bool escape);
    void dropDownSelect(QComboBox* combo);
    // Runs before the click changes the box.
    void checkBoxMouseDown(QCheckBox* box);

    // The field validators; on rejection they show the message and return false.
    [[nodiscard]] static bool checkInteger(support::Dialogs& dialogs, QLineEdit* edit,
                                           const QString& fieldName, int low, int high);
    [[nodiscard]] static bool checkDecimal(support::Dialogs& dialogs, QLineEdit* edit,
                                           const QString& fieldName, double low, double high);
    // Whether a phone field's text is acceptable ("NO", empty, or digits, "," and "+").
    [[nodiscard]] static bool phonesValid(QStringView text);

    [[nodiscard]] const QString& entryText() const { return m_entryText; }
    // The voice-word suggestion list, or null when none is shown.
    [[nodiscard]] QListWidget* suggestions() const { return m_suggestions; }
    void destroySuggestions();
    // Drops the suggestion list and everything tied to the current pages' controls.
    void reset();

Q_SIGNALS:
    // The user's input marked a setting changed, or took the change away.
    void changeMarked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The user put the value the controller holds back: there is nothing left to write.
    void dropPutBack(const QObject* control);
    void showSuggestions(QLineEdit* edit, const QStringList& words);
    void suggestionSelected();

    ParameterStore& m_store;
    support::Dialogs& m_dialogs;
    QWidget* m_window;
    QTimer* m_timer;
    bool m_input = true;
    QString m_entryText;
    iface::DisableTable m_rules;
    QList<iface::VoiceEntry> m_voices;
    QString m_deviceVersion;
    RadioListUpkeep* m_upkeep = nullptr;
    QPointer<QListWidget> m_suggestions;
    QPointer<QLineEdit> m_completed;
};

} // namespace talvik::editor
