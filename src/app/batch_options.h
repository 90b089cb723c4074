#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace talvik::app {

// What `talvik` was asked to do on its command line. With no action and no --list-ports it is
// the window as always; with actions it runs them one after another and ends (batch mode).
class BatchOptions {
public:
    // Actions run in the order written.
    enum class Action {
        Read,
        Write,
        Save,
        Load,
        Factory,
        Set,
        Get,
        Command,
        UploadFirmware,
        UploadProfile,
        UploadSounds,
        Diff,
        DiffPending
    };
    struct Step {
        Action action;
        QString argument; // a file, "N=VALUE", "N" or a command; empty for read, write, factory
        // The step as written, for the lines that report on it.
        [[nodiscard]] QString text() const;
    };

    static constexpr int kDefaultWaitSeconds = 30;
    static constexpr int kDefaultListenSeconds = 2;
    // Device-type codes --type takes.
    static constexpr int kTypeCodes[] = {406, 412, 403, 414, 415};

    // The command line without the program name. Bad usage gives an error text.
    [[nodiscard]] static BatchOptions parse(const QStringList& arguments);

    // The one line shown with bad usage, and the --help text that follows it.
    [[nodiscard]] static QString usage();
    [[nodiscard]] static QString help();

    // Why the command line cannot be run; empty when it can.
    [[nodiscard]] const QString& error() const { return m_error; }
    [[nodiscard]] bool helpAsked() const { return m_help; }
    [[nodiscard]] bool listPorts() const { return m_listPorts; }
    // Batch mode: at least one action.
    [[nodiscard]] bool batch() const { return !m_steps.isEmpty(); }
    // Whether a controller is waited for: a port was named or an action needs one.
    [[nodiscard]] bool needsController() const;

    [[nodiscard]] const QList<Step>& steps() const { return m_steps; }
    [[nodiscard]] const QString& port() const { return m_port; }
    [[nodiscard]] int waitSeconds() const { return m_waitSeconds; }
    // How long the controller's texts are printed after a --command.
    [[nodiscard]] int listenSeconds() const { return m_listenSeconds; }
    // The device type for offline work; none when a controller decides it.
    [[nodiscard]] std::optional<int> typeCode() const { return m_typeCode; }
    [[nodiscard]] bool yes() const { return m_yes; }
    [[nodiscard]] bool quiet() const { return m_quiet; }
    [[nodiscard]] bool show() const { return m_show; }
    // The log file; empty for the usual "log.txt".
    [[nodiscard]] const QString& logFile() const { return m_logFile; }

private:
    // Takes one option (and its value); false with m_error set when it is wrong.
    bool take(const QString& name, const std::optional<QString>& inlineValue,
              const QStringList& arguments, qsizetype& index);
    void check();

    QString m_error;
    bool m_help = false;
    bool m_listPorts = false;
    QList<Step> m_steps;
    QString m_port;
    int m_waitSeconds = kDefaultWaitSeconds;
    int m_listenSeconds = kDefaultListenSeconds;
    std::optional<int> m_typeCode;
    bool m_yes = false;
    bool m_quiet = false;
    bool m_show = false;
    QString m_logFile;
};

} // namespace talvik::app
