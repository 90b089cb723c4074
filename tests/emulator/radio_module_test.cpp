#include "cp1251.h"
#include "emu_harness.h"
#include "null_log.h"
#include "radio_data.h"
#include "radio_report.h"

#include <QMap>
#include <QSet>

using namespace Qt::StringLiterals;
using namespace talvik::devices;
using namespace talvik::emu;
using namespace talvik::support;

namespace {

// An emulator on the fake clock whose radio reports are collected as time passes.
class EmuRadio : public testing::Test {
protected:
    void start(const QStringList& arguments) {
        emu = std::make_unique<EmuHarness>(arguments);
        command("#S63=1", 3);
    }

    void command(const QByteArray& text, std::uint8_t channel) {
        emu->core.receive(*FrameCodec::encode({0, channel, ' ' + text + '\0'}), 115200);
    }

    // Lets `ms` pass, the program probing the line once a second as it does while connected,
    // and returns the radio reports.
    QList<RadioReport> run(std::uint32_t ms) {
        QList<RadioReport> reports;
        for (std::uint32_t passed = 0, probe = 0; passed < ms;) {
            if (passed >= probe) {
                emu->core.receive(*FrameCodec::encode({0, 1, QByteArray(1, '\0')}), 115200);
                probe += 1000;
            }
            const std::uint32_t step =
                std::clamp(emu->core.msUntilOutput().value_or(1000), 1u, probe - passed);
            emu->clock.advance(step);
            passed += step;
            for (const Frame& frame : emu->take()) {
                const QString text = Cp1251::toUnicode(frame.payload).trimmed();
                if (const auto report = RadioReport::read(text);
                    report && text.startsWith(u"#R"_s) && frame.kind == 0) {
                    reports.append(*report);
                }
            }
        }
        return reports;
    }

    static QMap<QString, int> countByNumber(const QList<RadioReport>& reports) {
        QMap<QString, int> counts;
        for (const RadioReport& report : reports) {
            ++counts[report.number];
        }
        return counts;
    }

    std::unique_ptr<EmuHarness> emu;
};

TEST_F(EmuRadio, SilentUntilTheProgramAsksForReports) {
    emu = std::make_unique<EmuHarness>(QStringList{u"--radio-devices"_s, u"3"_s});
    EXPECT_TRUE(run(10000).isEmpty());
}

TEST_F(EmuRadio, KnownDevicesReportOncePerPeriod) {
    start({u"--radio-devices"_s, u"4"_s, u"--radio-period"_s, u"1000"_s});
    const QMap<QString, int> counts = countByNumber(run(10000));
    EXPECT_EQ(counts.keys(), (QStringList{u"%101%"_s, u"%102%"_s, u"%103%"_s, u"%104%"_s}));
    for (const int count : counts) {
        EXPECT_EQ(count, 10);
    }
}

TEST_F(EmuRadio, ReportsDecodeWithoutFaults) {
    start({u"--radio-devices"_s, u"4"_s, u"--seed"_s, u"7"_s});
    NullLog log;
    QSet<QString> types;
    for (const RadioReport& report : run(20000)) {
        types.insert(report.type);
        EXPECT_FALSE(DecodeRadioData(report.data, log).isEmpty()) << report.number.toStdString();
    }
    EXPECT_EQ(types, (QSet<QString>{u"AM"_s, u"RQ"_s, u"TK1"_s, u"DT"_s}));
}

TEST_F(EmuRadio, LearningBringsNewDevicesForAMinute) {
    start({});
    command("#S63=60", 3);
    const QMap<QString, int> learned = countByNumber(run(60000));
    EXPECT_EQ(learned.size(), 14);
    EXPECT_EQ(countByNumber(run(30000)).size(), 14) << "learned devices keep reporting";
}

TEST_F(EmuRadio, StopEndsLearning) {
    start({});
    command("#S63=60", 3);
    const QMap<QString, int> first = countByNumber(run(9000));
    command("#S63=0", 3);
    const QMap<QString, int> later = countByNumber(run(30000));
    EXPECT_EQ(later.keys(), first.keys());
    EXPECT_EQ(later.size(), 2);
}

} // namespace
