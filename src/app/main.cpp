#include "single_instance.h"
#include "start_options.h"
#include "termination_signals.h"
#include "tform1.h"

#include <QApplication>
#include <QCommandLineParser>

using namespace talvik::app;

namespace {
StartOptions parseOptions(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Программатор Талвик"));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Look for the controller on this port only."),
                                  QStringLiteral("PATH"));
    parser.addOption(port);
    parser.process(app);
    return StartOptions{parser.value(port)};
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const StartOptions options = parseOptions(app);

    // Before anything else (the log truncates "log.txt"), hand over to a copy already running.
    SingleInstance instance(QStringLiteral("Rezazozaduzi Talvik"));
    if (!instance.claim()) {
        [[maybe_unused]] const bool raised = instance.activateRunning();
        return 0;
    }
    [[maybe_unused]] const bool answering = instance.listen();

    TerminationSignals termination;
    TForm1 form(options);
    QObject::connect(&instance, &SingleInstance::activationRequested, &form, &TForm1::bringToFront);
    QObject::connect(&termination, &TerminationSignals::received, &form, &QWidget::close);
    form.show();
    return QApplication::exec();
}
