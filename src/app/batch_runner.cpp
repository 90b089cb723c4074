#include "batch_runner.h"

#include "batch_dialogs.h"
#include "batch_settings.h"
#include "c_port.h"
#include "connection.h"
#include "device_type.h"
#include "main_page.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "system_port_enumerator.h"
#include "tform1.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTextStream>
#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {
constexpr int kMillisecondsPerSecond = 1000;
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
    connect(m_form.connection, &Connection::identified, this, &BatchRunner::identified);
    connect(m_form.connection, &Connection::disconnected, this, &BatchRunner::disconnected);
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
        m_wait.start(m_options.waitSeconds() * kMillisecondsPerSecond);
        return;
    }
    // Files only: no port is scanned, so a controller plugged in meanwhile changes nothing.
    m_form.connection->setPortSource(std::make_unique<SystemPortEnumerator>(), u"none"_s);
    if (const std::optional<int> code = m_options.typeCode()) {
        const auto* position =
            std::find(std::begin(DeviceType::kCodes), std::end(DeviceType::kCodes), *code);
        m_form.TabSheet3->ComboBox2->setCurrentIndex(
            static_cast<int>(position - std::begin(DeviceType::kCodes)));
        m_form.changeDeviceType(false);
    }
    QTimer::singleShot(0, this, &BatchRunner::next);
}

void BatchRunner::interrupt() {
    fail(u"interrupted"_s);
}

void BatchRunner::identified() {
    if (m_connected || m_done) {
        return;
    }
    m_connected = true;
    m_wait.stop();
    const CPort* port = m_form.connection->connectedPort();
    say(u"Connected on %1: %2, serial number %3"_s.arg(
        port->PortName(), m_form.TabSheet3->Label6->text(), m_form.TabSheet3->Edit1->text()));
    // A read that identification starts ends first.
    QTimer::singleShot(0, this, &BatchRunner::next);
}

void BatchRunner::disconnected() {
    if (m_connected && !m_done) {
        fail(u"the controller was lost"_s);
    }
}

void BatchRunner::waitExpired() {
    m_errors << u"talvik: no controller answered within %1 s"_s.arg(m_options.waitSeconds())
             << Qt::endl;
    finish(kNoController);
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
    if (m_step < 0) {
        m_firstRead = result;
        if (m_connected) {
            QTimer::singleShot(0, this, &BatchRunner::next);
        }
        return;
    }
    complete(result);
}

void BatchRunner::next() {
    if (m_done || m_batchRunning) {
        return;
    }
    ++m_step;
    if (m_step >= m_options.steps().size()) {
        finish(kSucceeded);
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
        if (!m_batchRunning) {
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
    }
}

void BatchRunner::read() {
    // The read that followed identification is the one asked for, when nothing came between.
    if (m_firstRead) {
        complete(m_firstRead);
        return;
    }
    m_form.settings().transfer().PNGButton3Click();
    if (!m_batchRunning) {
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
    if (!m_batchRunning) {
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
