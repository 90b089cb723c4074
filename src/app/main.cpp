#include "batch_dialogs.h"
#include "batch_options.h"
#include "batch_runner.h"
#include "port_listing.h"
#include "simple_log.h"
#include "single_instance.h"
#include "start_options.h"
#include "system_port_enumerator.h"
#include "termination_signals.h"
#include "tform1.h"
#include "user_folder.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>
#include <cstdio>

using namespace talvik::app;

namespace {
constexpr int kBadUsage = 2;

// An installed window works in the user's own data folder, prepared from the shipped folders;
// run from the build tree it works where it was started.
void enterUserFolder(QTextStream& errors) {
    const QString shipped = UserFolder::shippedFolder(QCoreApplication::applicationDirPath());
    if (shipped.isEmpty()) {
        return;
    }
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!UserFolder::prepare(shipped, user, TForm1::kVersion.toString())) {
        errors << "talvik: could not copy every shipped file from " << shipped << " to " << user
               << '\n';
    }
    QDir::setCurrent(user);
}

int runWindow(const BatchOptions& options) {
    // Before anything else (the log truncates "log.txt"), hand over to a copy already running.
    SingleInstance instance(QStringLiteral("Rezazozaduzi Talvik"));
    if (!instance.claim()) {
        [[maybe_unused]] const bool raised = instance.activateRunning();
        return 0;
    }
    [[maybe_unused]] const bool answering = instance.listen();

    TerminationSignals termination;
    TForm1 form(StartOptions{options.port()});
    QObject::connect(&instance, &SingleInstance::activationRequested, &form, &TForm1::bringToFront);
    QObject::connect(&termination, &TerminationSignals::received, &form, &QWidget::close);
    form.show();
    return QApplication::exec();
}

// Batch runs take no single-instance claim: one run per port may work side by side, and the
// window's own claim is not theirs to take.
int runBatch(const BatchOptions& options, QTextStream& out, QTextStream& errors) {
    BatchDialogs dialogs(errors, options.yes());
    TerminationSignals termination;
    TForm1 form(StartOptions{options.port()}, &dialogs);
    BatchRunner runner(form, dialogs, options, out, errors);
    // Queued, so that the run never ends before the event loop has begun.
    QObject::connect(
        &runner, &BatchRunner::finished, &form,
        [&form](int status) {
            form.close();
            QCoreApplication::exit(status);
        },
        Qt::QueuedConnection);
    QObject::connect(&termination, &TerminationSignals::received, &runner, &BatchRunner::interrupt);
    if (options.show()) {
        form.show();
    }
    runner.start();
    return QApplication::exec();
}
} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const BatchOptions options = BatchOptions::parse(arguments);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (options.helpAsked()) {
        out << BatchOptions::help();
        return 0;
    }
    if (!options.error().isEmpty()) {
        err << "talvik: " << options.error() << '\n' << BatchOptions::usage() << '\n';
        return kBadUsage;
    }
    if (options.listPorts()) {
        out << PortListing::lines(talvik::link::SystemPortEnumerator(), options.port()).join(u'\n')
            << '\n';
        return 0;
    }
    if (!options.logFile().isEmpty()) {
        talvik::support::SimpleLog::setFileName(options.logFile());
    }
    // A batch that shows no window needs no display, so it runs over SSH and in scripts.
    if (options.batch() && !options.show()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (!options.batch()) {
        enterUserFolder(err);
    }
    return options.batch() ? runBatch(options, out, err) : runWindow(options);
}
