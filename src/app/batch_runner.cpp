#include "batch_runner.h"

#include "batch_dialogs.h"
#include "batch_settings.h"
#include "connection.h"
#include "controller_session.h"
#include "device_type.h"
#include "programming.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "system_port_enumerator.h"
#include "terminal_panel.h"
#include "tform1.h"
#include "upload_panel.h"

#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace talvik::app {

using link::Programming;
using link::SystemPortEnumerator;
using settings::SettingsTransfer;
namespace DeviceType = iface::DeviceType;

namespace {
constexpr int kMillisecondsPerSecond = 1000;
// A controller that restarts after an upload is let alone this long before the scan resumes.
constexpr int kRestartSeconds = 10;
const QString kDone = QStringLiteral("Готово");
} // namespace

BatchRunner::BatchRunner(TForm1& form, BatchDialogs& dialogs, BatchOptions options,
                         QTextStream& out, QTextStream& errors, QObject* parent)
    : QObject(parent), m_form(form), m_dialogs(dialogs), m_options(std::move(options)), m_out(out),
      m_errors(errors) {
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, &BatchRunner::waitExpired);
    SettingsTransfer& transfer = m_form.settings().transfer();
    connect(&transfer, &SettingsTransfer::batchStarted, this, &BatchRunner::batchStarted);
    connect(&transfer, &SettingsTransfer::batchProgressed, this, &BatchRunner::batchProgressed);
    connect(&transfer, &SettingsTransfer::batchFinished, this, &BatchRunner::batchFinished);
    connect(&m_form.session(), &ControllerSession::identified, this, &BatchRunner::identified);
    connect(&m_form.session(), &ControllerSession::disconnected, this, &BatchRunner::disconnected);
    UploadPanel& upload = m_form.upload();
    connect(&upload, &UploadPanel::statusShown, this, &BatchRunner::uploadStatus);
    connect(&upload, &UploadPanel::progressMaximumSet, this, &BatchRunner::uploadProgressMaximum);
    connect(&upload, &UploadPanel::progressed, this, &BatchRunner::batchProgressed);
    connect(&upload, &UploadPanel::ended, this, &BatchRunner::uploadEnded);
    connect(&m_form.terminal().terminal(), &Terminal::printed, this,
            &BatchRunner::printTerminalLine);
}

void BatchRunner::start() {
    // Older firmware offers a read on connect: the command line has answered it already.
    const QList<BatchOptions::Step>& steps = m_options.steps();
    m_dialogs.answer(SettingsTransfer::kReadOffer,
                     std::any_of(steps.begin(), steps.end(), [](const BatchOptions::Step& step) {
                         return step.action == BatchOptions::Action::Read;
                     }));
    if (m_options.needsController()) {
        say(m_options.port().isEmpty() ? u"Waiting for a controller"_s
                                       : u"Waiting for a controller on "_s + m_options.port());
        await(Awaiting::Controller, m_options.waitSeconds());
        return;
    }
    // Files only: no port is scanned, so a controller plugged in meanwhile changes nothing.
    m_form.connection().setPortSource(std::make_unique<SystemPortEnumerator>(), u"none"_s);
    if (const std::optional<int> code = m_options.typeCode()) {
        const auto* position =
            std::find(std::begin(DeviceType::kCodes), std::end(DeviceType::kCodes), *code);
        m_form.showDeviceType(static_cast<int>(position - std::begin(DeviceType::kCodes)));
    }
    QTimer::singleShot(0, this, &BatchRunner::next);
}

void BatchRunner::interrupt() {
    fail(u"interrupted"_s);
}

void BatchRunner::await(Awaiting what, std::optional<int> seconds) {
    m_awaiting = what;
    if (seconds) {
        m_wait.start(*seconds * kMillisecondsPerSecond);
    } else {
        m_wait.stop();
    }
}

void BatchRunner::identified() {
    if (m_done || (m_awaiting != Awaiting::Controller && m_awaiting != Awaiting::Return)) {
        return;
    }
    const ControllerSession& session = m_form.session();
    say(u"Connected on %1: %2, serial number %3"_s.arg(session.portName(), session.versionReply(),
                                                       session.serialNumber()));
    // A read that identification starts ends before the next action.
    if (std::exchange(m_awaiting, Awaiting::Nothing) == Awaiting::Return) {
        complete(std::nullopt);
        return;
    }
    m_wait.stop();
    QTimer::singleShot(0, this, &BatchRunner::next);
}

void BatchRunner::disconnected() {
    // The controller may go before it is identified, and restarts after an upload.
    if (!m_done && m_awaiting != Awaiting::Controller && m_awaiting != Awaiting::Return) {
        fail(u"the controller was lost"_s);
    }
}

void BatchRunner::waitExpired() {
    switch (m_awaiting) {
    case Awaiting::Controller:
        m_errors << u"talvik: no controller answered within %1 s"_s.arg(m_options.waitSeconds())
                 << Qt::endl;
        finish(kNoController);
        return;
    case Awaiting::Return:
        m_errors << u"talvik: the controller did not come back after the upload"_s << Qt::endl;
        finish(kNoController);
        return;
    case Awaiting::Listen:
        m_awaiting = Awaiting::Nothing;
        complete(std::nullopt);
        return;
    default:
        return;
    }
}

void BatchRunner::batchStarted(const QString& status, int maximum) {
    m_batchRunning = true;
    m_progress.start(status, maximum);
    say(status);
}

void BatchRunner::batchProgressed(int position) {
    if (const std::optional<QString> line = m_progress.advance(position)) {
        say(*line);
    }
}

void BatchRunner::batchFinished(const QString& result) {
    m_batchRunning = false;
    if (m_done) {
        return;
    }
    if (m_awaiting == Awaiting::Batch) {
        m_awaiting = Awaiting::Nothing;
        complete(result);
        return;
    }
    say(result);
    if (m_step < 0) {
        m_firstRead = result;
    }
    if (m_awaiting == Awaiting::Nothing) {
        QTimer::singleShot(0, this, &BatchRunner::next);
    }
}

void BatchRunner::uploadStatus(const QString& text) {
    if (m_awaiting == Awaiting::Upload) {
        m_uploadStatus = text;
        say(text);
    }
}

void BatchRunner::uploadProgressMaximum(int maximum) {
    m_progress.start(m_uploadStatus, maximum);
}

void BatchRunner::uploadEnded(const QString& text) {
    if (m_done || m_awaiting != Awaiting::Upload) {
        return;
    }
    const QString step = m_options.steps()[m_step].text();
    m_out << step << u": "_s << text << Qt::endl;
    if (text != Programming::kLoaderDone && text != Programming::kFileDone) {
        fail(step + u": "_s + text);
        return;
    }
    // The controller restarts, or is asked who it is again: either way it identifies anew.
    await(Awaiting::Return, m_options.waitSeconds() + kRestartSeconds);
}

void BatchRunner::printTerminalLine(const QString& line) {
    if (m_awaiting == Awaiting::Listen) {
        m_out << line << Qt::endl;
    }
}

void BatchRunner::next() {
    if (m_done || m_batchRunning || m_awaiting != Awaiting::Nothing) {
        return;
    }
    ++m_step;
    if (m_step >= m_options.steps().size()) {
        finish(m_differs ? kDiffers : kSucceeded);
        return;
    }
    run(m_options.steps()[m_step]);
}

void BatchRunner::run(const BatchOptions::Step& step) {
    SettingsTransfer& transfer = m_form.settings().transfer();
    switch (step.action) {
    case BatchOptions::Action::Read:
        read();
        return;
    case BatchOptions::Action::Write:
        transfer.Button3Click();
        if (m_batchRunning) {
            await(Awaiting::Batch);
        } else {
            say(u"--write: no setting changed, nothing sent"_s);
            complete(std::nullopt);
        }
        return;
    case BatchOptions::Action::Save:
        m_dialogs.chooseFile(step.argument);
        transfer.PNGButton5Click();
        complete(std::nullopt);
        return;
    case BatchOptions::Action::Load:
        load(step.argument);
        return;
    case BatchOptions::Action::Factory:
        factory();
        return;
    case BatchOptions::Action::Set:
        set(step.argument);
        return;
    case BatchOptions::Action::Get:
        get(step.argument);
        return;
    case BatchOptions::Action::Command:
        command(step.argument);
        return;
    case BatchOptions::Action::UploadFirmware:
    case BatchOptions::Action::UploadProfile:
    case BatchOptions::Action::UploadSounds:
        upload(step.action, step.argument);
        return;
    case BatchOptions::Action::Diff:
        diff(step.argument);
        return;
    case BatchOptions::Action::DiffPending:
        diffPending();
        return;
    }
}

void BatchRunner::read() {
    // The read that followed identification is the one asked for, when nothing came between.
    if (m_firstRead) {
        complete(m_firstRead);
        return;
    }
    m_form.settings().transfer().PNGButton3Click();
    if (m_batchRunning) {
        await(Awaiting::Batch);
    } else {
        fail(u"--read: no controller to read from"_s);
    }
}

void BatchRunner::load(const QString& path) {
    // The button says nothing about a file that is not there; a batch must.
    if (!QFile::exists(path)) {
        fail(u"--load: no file %1"_s.arg(path));
        return;
    }
    m_dialogs.chooseFile(path);
    m_form.settings().transfer().PNGButton6Click();
    complete(std::nullopt);
}

void BatchRunner::factory() {
    SettingsTransfer& transfer = m_form.settings().transfer();
    const QString file = transfer.factoryFile();
    if (!QFile::exists(file)) {
        fail(u"--factory: no factory settings %1"_s.arg(file));
        return;
    }
    m_dialogs.answer(SettingsTransfer::kFactoryQuestion, true);
    transfer.Button4Click();
    if (m_batchRunning) {
        await(Awaiting::Batch);
    } else {
        say(u"--factory: %1 loaded"_s.arg(file));
        complete(std::nullopt);
    }
}

void BatchRunner::set(const QString& assignment) {
    const qsizetype equals = assignment.indexOf(u'=');
    const int number = assignment.left(equals).toInt();
    const QString reason =
        BatchSettings::put(m_form.settingsEditor(), number, assignment.mid(equals + 1));
    // A rejection by the field's own checks comes as its message box.
    const QStringList boxes = m_dialogs.takeErrors();
    if (!reason.isEmpty() || !boxes.isEmpty()) {
        fail(u"%1: setting %2 rejected: %3"_s.arg(m_options.steps()[m_step].text())
                 .arg(number)
                 .arg(reason.isEmpty() ? boxes.join(u"; "_s) : reason));
        return;
    }
    complete(std::nullopt);
}

void BatchRunner::get(const QString& number) {
    const std::optional<QString> value =
        BatchSettings::get(m_form.settingsEditor(), number.toInt());
    if (!value) {
        fail(u"--get: setting %1 is not among the settings of this device type"_s.arg(number));
        return;
    }
    m_out << number << u'=' << *value << Qt::endl;
    complete(std::nullopt);
}

void BatchRunner::command(const QString& text) {
    // The output shows the command and what the controller says while the run listens.
    await(Awaiting::Listen, m_options.listenSeconds());
    m_form.terminal().Send(text);
}

void BatchRunner::upload(BatchOptions::Action action, const QString& path) {
    if (!QFile::exists(path)) {
        fail(u"%1: no such file"_s.arg(m_options.steps()[m_step].text()));
        return;
    }
    // The chooser and the start button of the kind, as the user presses them.
    const link::UploadKind kind =
        action == BatchOptions::Action::UploadFirmware  ? link::UploadKind::Firmware
        : action == BatchOptions::Action::UploadProfile ? link::UploadKind::Profile
                                                        : link::UploadKind::Sounds;
    UploadPanel& panel = m_form.upload();
    m_dialogs.chooseFile(path);
    panel.chooseFile(kind);
    m_uploadStatus.clear();
    await(Awaiting::Upload);
    panel.start(kind);
    if (m_uploadStatus.isEmpty()) {
        fail(u"%1: the upload did not start"_s.arg(m_options.steps()[m_step].text()));
    }
}

void BatchRunner::diff(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(u"--diff: no file %1"_s.arg(path));
        return;
    }
    editor::SettingsEditor& editor = m_form.settingsEditor();
    const std::optional<QList<settings::SettingsComparison::Row>> rows =
        settings::SettingsComparison(editor, editor.index()).withFile(file.readAll());
    if (!rows) {
        fail(u"--diff: %1 is not a settings file"_s.arg(path));
        return;
    }
    printDifferences(*rows);
}

void BatchRunner::diffPending() {
    editor::SettingsEditor& editor = m_form.settingsEditor();
    printDifferences(settings::SettingsComparison(editor, editor.index()).pending());
}

void BatchRunner::printDifferences(const QList<settings::SettingsComparison::Row>& rows) {
    for (const settings::SettingsComparison::Row& row : rows) {
        m_out << settings::SettingsComparison::line(row) << Qt::endl;
    }
    say(u"%1: %2 settings differ"_s.arg(m_options.steps()[m_step].text()).arg(rows.size()));
    m_differs = m_differs || !rows.isEmpty();
    complete(std::nullopt);
}

void BatchRunner::complete(const std::optional<QString>& result) {
    const QString step = m_options.steps()[m_step].text();
    QStringList errors = m_dialogs.takeErrors();
    if (result) {
        m_out << step << u": "_s << *result << Qt::endl;
        if (*result != kDone) {
            errors.append(*result);
        }
    }
    if (!errors.isEmpty()) {
        fail(step + u": "_s + errors.join(u"; "_s));
        return;
    }
    m_firstRead.reset();
    QTimer::singleShot(0, this, &BatchRunner::next);
}

void BatchRunner::fail(const QString& why) {
    if (m_done) {
        return;
    }
    m_errors << u"talvik: "_s << why << Qt::endl;
    finish(kFailed);
}

void BatchRunner::finish(int status) {
    if (m_done) {
        return;
    }
    m_done = true;
    m_wait.stop();
    Q_EMIT finished(status);
}

void BatchRunner::say(const QString& line) {
    if (!m_options.quiet()) {
        m_out << line << Qt::endl;
    }
}

} // namespace talvik::app
