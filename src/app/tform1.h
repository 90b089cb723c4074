#pragma once

#include "batch_state.h"
#include "simple_log.h"
#include "start_options.h"

#include <QMainWindow>
#include <memory>

class QScrollArea;
class QTimer;

namespace talvik::editor {
class SettingsEditor;
}
namespace talvik::support {
class Clipboard;
class Dialogs;
} // namespace talvik::support

namespace talvik::app {

class CompareWindow;
class Connection;
class ControllerSession;
class ControllerStatus;
class StatusPanel;
class FindBar;
class GuardPanel;
class HeaderPanel;
class MainPage;
class OneWirePanel;
class PageControl;
class PortCommandLink;
class RadioFeature;
class SettingsFeature;
class TForm2;
class TerminalPanel;
class UploadPanel;

// The programmer's main window. It lays out the header and the pages, creates the features and
// the panels that build their controls on them and wires them to each other, owns the waiting
// window, and keeps the start-up and shutdown order. No other class reaches its controls.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QStringView kVersion = u"2.6.4";
    // The header and the pages never get narrower than this; the window scrolls instead.
    static constexpr int kMinimumWidth = 900;
    // The page control is at least this tall, and 12 pixels taller than its lowest control.
    static constexpr int kMinimumPageHeight = 637;
    static constexpr int kPageBottomMargin = 12;

    // `dialogs` and `clipboard` replace the real message boxes and clipboard (tests); null means
    // the real ones.
    explicit TForm1(StartOptions options = {}, support::Dialogs* dialogs = nullptr,
                    support::Clipboard* clipboard = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    [[nodiscard]] const StartOptions& options() const { return m_options; }
    [[nodiscard]] support::Dialogs& dialogs() { return *m_dialogs; }
    [[nodiscard]] support::LogBase& log() { return m_log; }

    // The waiting window while a connected controller is initialised; null otherwise.
    [[nodiscard]] TForm2* waitingWindow() const { return m_waiting.get(); }
    void showWaitingWindow();
    // The program's own closing of the waiting window; the program goes on.
    void closeWaitingWindow();

    // Restores, raises and activates the window (a second start of the program asks for it).
    void bringToFront();

    // Device-type change: runs when the user picks a type in ComboBox2 and once at start-up.
    // The settings pages for the chosen type are built from the interface description here.
    void ComboBox2Change();
    // The device-type change for the chosen type; the new pages show the last settings.
    // byUser: the user made it, so what the old pages showed is kept first; the program's own
    // changes (start-up, an identified controller, a settings file) keep nothing.
    void changeDeviceType(bool byUser);
    // The program's own choice of a device type (its place in the type list), and its change.
    void showDeviceType(int position);
    // The settings pages, their setting store and field handlers. Whoever connects a controller
    // hands its firmware version to setDeviceVersion before the device-type change.
    [[nodiscard]] editor::SettingsEditor& settingsEditor() { return *m_editor; }
    // Reading, writing, settings files, factory settings and login reset.
    [[nodiscard]] SettingsFeature& settings() { return *m_settings; }
    // The upload group; it keeps the firmware, profile and sound choosers' last files.
    [[nodiscard]] UploadPanel& upload() { return *m_upload; }
    // The terminal, the 1-Wire group, and the guard and restart buttons of the main page.
    [[nodiscard]] TerminalPanel& terminal() { return *m_terminal; }
    [[nodiscard]] OneWirePanel& oneWire() { return *m_oneWire; }
    [[nodiscard]] GuardPanel& guard() { return *m_guard; }
    // The find field at the right of the tab row (Ctrl+F).
    [[nodiscard]] FindBar& findBar() { return *m_find; }
    // What differs from the controller or a settings file (the header's "Сравнить").
    [[nodiscard]] CompareWindow& compareWindow() { return *m_compare; }
    // The radio devices page and its logic.
    [[nodiscard]] RadioFeature& radio() { return *m_radio; }
    // Whether a settings read or write or an upload runs; the header and the terminal follow it.
    [[nodiscard]] BatchState& batch() { return m_batch; }
    // The attached controller and the events of its link.
    [[nodiscard]] ControllerSession& session() { return *m_session; }
    // What the main page shows of it, and the chosen device type.
    [[nodiscard]] ControllerStatus& status() { return *m_status; }
    // The device link: port scan, status poll, disconnect, and its timers.
    [[nodiscard]] Connection& connection() { return *m_connection; }

    // Sizes the header and the page control to the window and the active page (on resize,
    // page change and after creation). Whoever adds or fills a page calls it afterwards.
    void layoutPages();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void formCreate();
    // The device link and what the window does when a controller comes, is identified and goes.
    void followConnection();
    // Settings batches and uploads start and end the batch state; the panels follow it.
    void followBatch();
    // An identified controller: the pages its firmware version allows and the device type its
    // hardware number names, or a warning when its firmware gives no settings.
    void applyVersion();
    void forgetVersion();
    void setRadioPageShown(bool shown);
    void readTerminalFile();
    void writeTerminalFile();
    void Timer3Timer();

    HeaderPanel* Panel1;
    PageControl* PageControl1;
    MainPage* TabSheet3;
    QWidget* TabSheet1; // radio devices, shown only while a controller is connected
    QTimer* Timer3;     // one-shot helper of the settings editor
    support::SimpleLog m_log;
    BatchState m_batch;
    StartOptions m_options;
    std::unique_ptr<support::Dialogs> m_ownDialogs;
    support::Dialogs* m_dialogs;
    std::unique_ptr<support::Clipboard> m_ownClipboard;
    support::Clipboard* m_clipboard;
    QScrollArea* m_scroll;
    QWidget* m_content;
    std::unique_ptr<TForm2> m_waiting;
    // Created before every feature and destroyed after them, so that none outlives it.
    ControllerSession* m_session;
    ControllerStatus* m_status;
    StatusPanel* m_statusPanel = nullptr;
    Connection* m_connection = nullptr;
    std::unique_ptr<editor::SettingsEditor> m_editor;
    std::unique_ptr<SettingsFeature> m_settings;
    std::unique_ptr<PortCommandLink> m_commandLink;
    std::unique_ptr<TerminalPanel> m_terminal;
    std::unique_ptr<OneWirePanel> m_oneWire;
    std::unique_ptr<GuardPanel> m_guard;
    UploadPanel* m_upload = nullptr;
    FindBar* m_find = nullptr;
    CompareWindow* m_compare = nullptr;
    std::unique_ptr<RadioFeature> m_radio;
    bool m_closed = false;
};

} // namespace talvik::app
