#pragma once

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

// The programmer's main window. It lays out the header and the pages, runs the four timers
// that drive the device link, owns the waiting window, and keeps the start-up and shutdown
// order. Features take their controls from Panel1 and TabSheet3 and their ticks from the timers.
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
    // The device-type change for the type chosen in ComboBox2; the new pages show the last
    // settings. byUser: the user made it, so what the old pages showed is kept first; the
    // program's own changes (start-up, an identified controller, a settings file) keep nothing.
    void changeDeviceType(bool byUser);
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
    // The attached controller and the events of its link.
    [[nodiscard]] ControllerSession& session() { return *m_session; }

    // Sizes the header and the page control to the window and the active page (on resize,
    // page change and after creation). Whoever adds or fills a page calls it afterwards.
    void layoutPages();

    HeaderPanel* Panel1;
    PageControl* PageControl1;
    MainPage* TabSheet3;
    QWidget* TabSheet1; // radio devices, shown only while a controller is connected
    QTimer* Timer1;     // port scan while not connected, the link's clock while connected
    QTimer* Timer2;     // reception
    QTimer* Timer3;     // one-shot helper of the settings editor
    QTimer* Timer4;     // clears the batch result text
    // The device link: port scan, identification, status, disconnect.
    Connection* connection = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void formCreate();
    void readTerminalFile();
    void writeTerminalFile();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();

    support::SimpleLog m_log;
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
