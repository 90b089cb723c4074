#pragma once

#include "batch_options.h"
#include "progress_lines.h"
#include "settings_comparison.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

class QTextStream;

namespace talvik::app {

class BatchDialogs;
class TForm1;

// A batch run: the window's own logic, driven by the actions of the command line as a user
// would drive it with the buttons. It waits for the controller to be connected and identified
// (or works on files without one), lets a read that follows identification end, runs the
// actions one after another, each once no read or write runs, prints progress and results on
// `out` and what went wrong on `errors`, and ends with the exit status.
class BatchRunner : public QObject {
    Q_OBJECT
public:
    static constexpr int kSucceeded = 0;
    static constexpr int kFailed = 1;
    // Every action succeeded, and a --diff or --diff-pending found a difference.
    static constexpr int kDiffers = 1;
    static constexpr int kNoController = 3;

    BatchRunner(TForm1& form, BatchDialogs& dialogs, BatchOptions options, QTextStream& out,
                QTextStream& errors, QObject* parent = nullptr);

    // Begins: selects the --type pages or starts waiting for a controller.
    void start();
    // Ends early (the user interrupted), as a failure.
    void interrupt();

Q_SIGNALS:
    // The run is over; the window is to be closed and the program to end with `status`.
    void finished(int status);

private:
    // What the run waits for before it goes on.
    enum class Awaiting {
        Nothing,    // an action runs, or the next may begin
        Controller, // the first identification
        Batch,      // the end of a read or write the action started
        Upload,     // the result of an upload
        Return,     // the controller again after an upload
        Listen,     // the end of --listen after a --command
    };

    void identified();
    void disconnected();
    void waitExpired();
    void batchStarted(const QString& status, int maximum);
    void batchProgressed(int position);
    void batchFinished(const QString& result);
    void uploadStatus(const QString& text);
    void uploadProgressMaximum(int maximum);
    void uploadEnded(const QString& text);
    void printTerminalLine(const QString& line);

    // Runs the next action once no batch runs; ends after the last.
    void next();
    void run(const BatchOptions::Step& step);
    void read();
    void load(const QString& path);
    void factory();
    void set(const QString& assignment);
    void get(const QString& number);
    void command(const QString& text);
    void upload(BatchOptions::Action action, const QString& path);
    void diff(const QString& path);
    void diffPending();
    // Prints the rows of a difference; any row makes the run end with kDiffers.
    void printDifferences(const QList<settings::SettingsComparison::Row>& rows);
    // Waits for `what`; with a time, the wait also ends when it has passed.
    void await(Awaiting what, std::optional<int> seconds = std::nullopt);
    // The action is over: its errors (and a batch result other than "Готово") fail the run.
    void complete(const std::optional<QString>& result);
    void fail(const QString& why);
    void finish(int status);
    void say(const QString& line);

    TForm1& m_form;
    BatchDialogs& m_dialogs;
    BatchOptions m_options;
    QTextStream& m_out;
    QTextStream& m_errors;
    QTimer m_wait;
    ProgressLines m_progress;
    QString m_uploadStatus;
    qsizetype m_step = -1; // the action under way; -1 before the first
    Awaiting m_awaiting = Awaiting::Nothing;
    bool m_batchRunning = false;
    bool m_done = false;
    bool m_differs = false;
    // The result of the read that followed identification, until an action runs.
    std::optional<QString> m_firstRead;
    // The result of a batch that the action under way started.
    std::optional<QString> m_result;
};

} // namespace talvik::app
