#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString emulatorPath() {
    return qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-emu"_s;
}

TEST(EmulatorProcess, HelpListsTheOptionsAndBadValuesAreRefused) {
    QProcess help;
    help.start(emulatorPath(), {u"--help"_s});
    ASSERT_TRUE(help.waitForFinished(5000));
    const QByteArray text = help.readAllStandardOutput();
    EXPECT_TRUE(text.contains("--baud")) << "the module options are listed with the emulator's";
    EXPECT_TRUE(text.contains("--dump-gaps"));

    const QStringList bad[] = {{u"--baud"_s, u"19200"_s},
                               {u"--drop-percent"_s, u"101"_s},
                               {u"--silent-after"_s, u"soon"_s},
                               {u"--silent-for"_s, u"5"_s},
                               {u"--settings"_s, u"/nonexistent.set"_s},
                               {u"--dump-gaps"_s, u"many"_s}};
    for (const QStringList& arguments : bad) {
        QProcess emu;
        emu.start(emulatorPath(), arguments);
        ASSERT_TRUE(emu.waitForFinished(5000));
        EXPECT_NE(emu.exitCode(), 0) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(emu.readAllStandardOutput().isEmpty());
    }
}

} // namespace
