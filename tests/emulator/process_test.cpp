#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The real program refuses options it cannot honour before it opens a terminal. That it answers on
// its pseudo-terminal is what every end-to-end test relies on.
struct BadOption {
    const char* name;
    QStringList arguments;
};

struct EmulatorProcess : testing::TestWithParam<BadOption> {};

TEST_P(EmulatorProcess, RefusesABadOptionWithoutOpeningATerminal) {
    QProcess refused;
    refused.start(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-emu"_s, GetParam().arguments);
    ASSERT_TRUE(refused.waitForFinished(5000));
    EXPECT_NE(refused.exitCode(), 0);
    EXPECT_TRUE(refused.readAllStandardOutput().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Options, EmulatorProcess,
    testing::Values(BadOption{"UnsupportedSpeed", {u"--baud"_s, u"19200"_s}},
                    BadOption{"DropOverAHundredPercent", {u"--drop-percent"_s, u"101"_s}},
                    BadOption{"SilenceStartNotANumber", {u"--silent-after"_s, u"soon"_s}},
                    BadOption{"SilenceLengthAlone", {u"--silent-for"_s, u"5"_s}},
                    BadOption{"MissingSettingsFile", {u"--settings"_s, u"/nonexistent.set"_s}},
                    BadOption{"DumpGapsNotANumber", {u"--dump-gaps"_s, u"many"_s}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
