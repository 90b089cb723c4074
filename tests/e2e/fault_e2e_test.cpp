#include "e2e_harness.h"
#include "settings_feature.h"
#include "settings_transfer.h"

#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <optional>

using namespace talvik::app;

namespace {

// What the controller is busy with when the cable goes.
enum class Phase { Identification, Dump, WriteBatch, Upload };
// How the cable goes: the controller falls silent on a terminal that stays, or the terminal
// vanishes with the process behind it.
enum class Pull { Silent, Killed };

struct PullRow {
    const char* name;
    Phase phase;
    Pull pull;
    int hardware; // decides the upload family: 50 loader, 150 file, 450 chunk
};

void PrintTo(const PullRow& row, std::ostream* out) {
    *out << row.name;
}

class CablePulled : public EndToEnd, public testing::WithParamInterface<PullRow> {
protected:
    CablePulled() { LinkShippedFolders(); }

    // The controller as the row wants it, behind one link that outlives each emulator.
    void plug() {
        QStringList arguments{u"--link"_s, link, u"--hardware"_s,
                              QString::number(GetParam().hardware)};
        if (GetParam().phase == Phase::Dump) {
            arguments << u"--dump-stall"_s;
        }
        emulator.emplace(arguments);
    }

    void pull() {
        if (GetParam().pull == Pull::Silent) {
            emulator->pause();
        } else {
            // The link goes with the device, so the window never opens a terminal number that
            // another program has since been given.
            emulator->stop(true);
            QFile::remove(link);
        }
    }

    void plugBack() {
        if (GetParam().pull == Pull::Silent) {
            emulator->resume();
        } else {
            plug();
        }
    }

    // Brings the window to the row's phase and returns once it is under way.
    [[nodiscard]] bool reachPhase(TForm1& form) {
        switch (GetParam().phase) {
        case Phase::Identification:
            return WaitFor(8000, [&] { return Logged(":\t <--- (2): ver") > 0; });
        case Phase::Dump:
            return WaitFor(
                10000, [&] { return Identified(form) && form.session().port()->dumpActive != 0; });
        case Phase::WriteBatch:
            return startWrite(form);
        case Phase::Upload:
            return startUpload(form);
        }
        return false;
    }

    // The factory settings written over a controller that holds zeros: many settings to send.
    bool startWrite(TForm1& form) {
        if (!WaitFor(10000, [&] { return Settled(form); })) {
            return false;
        }
        form.settings().transfer().LoadSettingsFile(u"Configs/412.set"_s);
        form.findChild<QAbstractButton*>(QStringLiteral("PNGButton4"))->click();
        CPort& port = *form.session().port();
        const std::size_t queued = port.QueueSize();
        return queued > 10 && WaitFor(5000, [&] { return port.QueueSize() + 2 < queued; });
    }

    // A sound set long enough to take seconds on the line.
    bool startUpload(TForm1& form) {
        if (!WaitFor(10000, [&] { return Settled(form); })) {
            return false;
        }
        const NamedControls page(form);
        dir.writeFile(u"voice.psnd"_s, QByteArray(64 * 1024, '\x5a'));
        page.Edit6->setText(u"voice.psnd"_s);
        page.Button13->click();
        return WaitFor(5000, [&] { return page.ProgressBar3->value() > 0; });
    }

    QString link = dir.file(u"ttyTALVIK"_s);
    std::optional<Emulator> emulator;
};

TEST_P(CablePulled, TheWindowScansAgainKeepsWhatItShowedAndFindsTheControllerBack) {
    plug();
    auto form = Window(link);
    ASSERT_TRUE(reachPhase(*form));
    pull();
    ASSERT_TRUE(WaitFor(10000, [&] { return form->session().port() == nullptr; }));
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->waitingWindow(), nullptr);
    EXPECT_EQ(NamedChild<QLabel>(*form, u"Label13"_s)->text(), QString())
        << "the port is no longer shown";

    // Loaded back, "last.set" shows every value as the window showed it when the cable went.
    const Store shown = Shown(*form);
    form->settings().transfer().LoadSettingsFile(u"last.set"_s);
    EXPECT_EQ(differences(Shown(*form), shown), "");

    plugBack();
    EXPECT_TRUE(WaitFor(15000, [&] { return Identified(*form); }));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CablePulled,
    testing::Values(PullRow{"silent_in_identification", Phase::Identification, Pull::Silent, 412},
                    PullRow{"killed_in_identification", Phase::Identification, Pull::Killed, 412},
                    PullRow{"silent_in_dump", Phase::Dump, Pull::Silent, 412},
                    PullRow{"killed_in_dump", Phase::Dump, Pull::Killed, 412},
                    PullRow{"silent_in_write_batch", Phase::WriteBatch, Pull::Silent, 412},
                    PullRow{"killed_in_write_batch", Phase::WriteBatch, Pull::Killed, 412},
                    PullRow{"silent_in_loader_upload", Phase::Upload, Pull::Silent, 50},
                    PullRow{"killed_in_loader_upload", Phase::Upload, Pull::Killed, 50},
                    PullRow{"silent_in_file_upload", Phase::Upload, Pull::Silent, 150},
                    PullRow{"killed_in_file_upload", Phase::Upload, Pull::Killed, 150},
                    PullRow{"silent_in_chunk_upload", Phase::Upload, Pull::Silent, 450},
                    PullRow{"killed_in_chunk_upload", Phase::Upload, Pull::Killed, 450}),
    [](const auto& info) { return std::string(info.param.name); });

// The work a batch run does over a noisy line.
enum class Work { Identify, Read, Write, Upload };

struct NoiseRow {
    const char* name;
    Work work;
    const char* knob; // --drop-percent or --corrupt-percent
    int percent;
    int hardware;
    // The run ends with its result; otherwise it may also end with a reported error instead.
    bool succeeds;
};

void PrintTo(const NoiseRow& row, std::ostream* out) {
    *out << row.name;
}

class NoisyLine : public EndToEnd, public testing::WithParamInterface<NoiseRow> {
protected:
    NoisyLine() { LinkShippedFolders(); }

    // The controller's arguments, the run's arguments and the line that reports success.
    struct Run {
        QStringList controller;
        QStringList actions;
        QString result;
    };
    [[nodiscard]] Run plan() const {
        switch (GetParam().work) {
        case Work::Identify:
            return {{},
                    {u"--get"_s, u"0"_s},
                    u"Конфигурация: 2.19 HV: 412, serial number 0123456789AB\n"_s};
        case Work::Read:
            return {{u"--settings"_s, u"Configs/412.set"_s, u"--fill"_s},
                    {u"--read"_s, u"--save"_s, u"copy.set"_s},
                    u"--read: Готово\n"_s};
        case Work::Write:
            return {
                {u"--settings"_s, u"Configs/406.set"_s, u"--fill"_s, u"--save"_s, u"saved.set"_s},
                {u"--load"_s, u"Configs/412.set"_s, u"--write"_s},
                u"--write: Готово\n"_s};
        case Work::Upload:
            return {{u"--save-upload"_s, u"received.bin"_s},
                    {u"--upload-sounds"_s, u"voice.psnd"_s},
                    u"--upload-sounds voice.psnd: "_s};
        }
        return {};
    }
};

TEST_P(NoisyLine, EndsWithItsResultOrAReportedErrorAndNeverCrashes) {
    const NoiseRow& row = GetParam();
    dir.writeFile(u"voice.psnd"_s, QByteArray(6000, '\x33'));
    const Run run = plan();
    Emulator emulator(run.controller + QStringList{QString::fromUtf8(row.knob),
                                                   QString::number(row.percent), u"--seed"_s,
                                                   u"7"_s, u"--hardware"_s,
                                                   QString::number(row.hardware)});
    QProcess talvik;
    talvik.setWorkingDirectory(dir.path());
    talvik.start(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik"_s,
                 QStringList{u"--port"_s, emulator.path()} + run.actions);
    ASSERT_TRUE(talvik.waitForFinished(90000));
    ASSERT_EQ(talvik.exitStatus(), QProcess::NormalExit);
    const QString out = QString::fromUtf8(talvik.readAllStandardOutput());
    const QString errors = QString::fromUtf8(talvik.readAllStandardError());
    if (!row.succeeds && talvik.exitCode() == 1) {
        EXPECT_TRUE(errors.contains(u"\ntalvik: "_s) || errors.startsWith(u"talvik: "_s))
            << errors.toStdString();
        return;
    }
    ASSERT_EQ(talvik.exitCode(), 0) << errors.toStdString();
    EXPECT_TRUE(out.contains(run.result)) << out.toStdString();
    emulator.stop();
    if (row.work == Work::Write) {
        const Store written = StoreOf(dir.readFile(u"Configs/412.set"_s));
        Store held = StoreOf(dir.readFile(u"saved.set"_s));
        std::erase_if(held, [&](const auto& entry) { return written.count(entry.first) == 0; });
        EXPECT_EQ(differences(held, written), "");
    } else if (row.work == Work::Upload) {
        EXPECT_TRUE(dir.readFile(u"received.bin"_s).endsWith(dir.readFile(u"voice.psnd"_s)));
    }
}

// Representative rows: every fault and rate during identification, and each of the longer
// works under a rate it finishes at within seconds.
INSTANTIATE_TEST_SUITE_P(
    Faults, NoisyLine,
    testing::Values(
        NoiseRow{"identify_drop_1", Work::Identify, "--drop-percent", 1, 412, true},
        NoiseRow{"identify_drop_5", Work::Identify, "--drop-percent", 5, 412, true},
        NoiseRow{"identify_drop_20", Work::Identify, "--drop-percent", 20, 412, true},
        NoiseRow{"identify_corrupt_1", Work::Identify, "--corrupt-percent", 1, 412, true},
        NoiseRow{"identify_corrupt_5", Work::Identify, "--corrupt-percent", 5, 412, true},
        NoiseRow{"identify_corrupt_20", Work::Identify, "--corrupt-percent", 20, 412, false},
        NoiseRow{"read_drop_5", Work::Read, "--drop-percent", 5, 412, true},
        NoiseRow{"read_drop_20", Work::Read, "--drop-percent", 20, 412, true},
        NoiseRow{"read_corrupt_1", Work::Read, "--corrupt-percent", 1, 412, true},
        NoiseRow{"read_corrupt_5", Work::Read, "--corrupt-percent", 5, 412, true},
        NoiseRow{"write_drop_1", Work::Write, "--drop-percent", 1, 412, true},
        NoiseRow{"write_corrupt_5", Work::Write, "--corrupt-percent", 5, 412, true},
        NoiseRow{"loader_upload_drop_5", Work::Upload, "--drop-percent", 5, 50, true},
        NoiseRow{"file_upload_drop_1", Work::Upload, "--drop-percent", 1, 150, true},
        NoiseRow{"chunk_upload_corrupt_1", Work::Upload, "--corrupt-percent", 1, 450, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
