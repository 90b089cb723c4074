#include "e2e_harness.h"

#include <QJsonDocument>

namespace {

// One run of `talvik` on the command line, in the test's folder.
struct Outcome {
    int status = -1;
    QString out;
    QString errors;
};

class BatchEndToEnd : public EndToEnd {
protected:
    BatchEndToEnd() { LinkShippedFolders(); }

    [[nodiscard]] Outcome talvik(const QStringList& arguments) const {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik"_s, arguments);
        process.waitForFinished(120000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};

TEST_F(BatchEndToEnd, AFileLoadedAndSavedWithoutAControllerIsTheSameFile) {
    const Outcome run = talvik(
        {u"--type"_s, u"415"_s, u"--load"_s, u"Configs/415.set"_s, u"--save"_s, u"copy.set"_s});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(dir.readFile(u"copy.set"_s)),
              QJsonDocument::fromJson(dir.readFile(u"Configs/415.set"_s)));
}

TEST_F(BatchEndToEnd, ReadFromOneControllerAndWrittenToAnotherLeavesTheSameStore) {
    // Two controllers that differ in one setting.
    for (const QString& value : {u"first.set:101=23"_s, u"second.set:101=17"_s}) {
        ASSERT_EQ(talvik({u"--type"_s, u"412"_s, u"--factory"_s, u"--set"_s, value.section(u':', 1),
                          u"--save"_s, value.section(u':', 0, 0)})
                      .status,
                  0);
    }
    Emulator first({u"--settings"_s, u"first.set"_s, u"--save"_s, u"first-saved.set"_s});
    Emulator second({u"--settings"_s, u"second.set"_s, u"--save"_s, u"second-saved.set"_s});
    const Outcome read =
        talvik({u"--port"_s, first.path(), u"--read"_s, u"--save"_s, u"copy.set"_s});
    ASSERT_EQ(read.status, 0) << read.errors.toStdString();
    EXPECT_TRUE(read.out.contains(u"--read: Готово\n"_s)) << read.out.toStdString();
    const Outcome write =
        talvik({u"--port"_s, second.path(), u"--load"_s, u"copy.set"_s, u"--write"_s});
    ASSERT_EQ(write.status, 0) << write.errors.toStdString();
    EXPECT_TRUE(write.out.contains(u"--write: Готово\n"_s)) << write.out.toStdString();
    first.stop();
    second.stop();
    EXPECT_EQ(differences(StoreOf(dir.readFile(u"second-saved.set"_s)),
                          StoreOf(dir.readFile(u"first-saved.set"_s))),
              "");
}

TEST_F(BatchEndToEnd, ASetValueIsWhatGetPrints) {
    const Outcome run =
        talvik({u"--type"_s, u"412"_s, u"--set"_s, u"101=42"_s, u"--get"_s, u"101"_s});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(run.out, u"101=42\n"_s);
}

TEST_F(BatchEndToEnd, AValueTheFieldRejectsFailsNamingTheSettingAndTheReason) {
    const Outcome run =
        talvik({u"--type"_s, u"412"_s, u"--set"_s, u"101=300"_s, u"--get"_s, u"101"_s});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains(u"--set 101=300: setting 101 rejected: Ошибка ввода: "
                                    u"Некорректное значение в поле редактирования"_s))
        << run.errors.toStdString();
    EXPECT_EQ(run.out, QString()) << "the actions after a failure do not run";
}

// --diff and --diff-pending against the factory settings and a copy with three values changed.
class DiffFiles : public BatchEndToEnd {
protected:
    DiffFiles() {
        const Outcome made = talvik({u"--type"_s, u"415"_s, u"--load"_s, u"Configs/415.set"_s,
                                     u"--set"_s, u"101=201"_s, u"--set"_s, u"102=202"_s, u"--set"_s,
                                     u"103=203"_s, u"--save"_s, u"changed.set"_s});
        EXPECT_EQ(made.status, 0) << made.errors.toStdString();
    }
};

struct Diff {
    const char* name;
    QStringList arguments;
    int status;
};

class BatchDiff : public DiffFiles, public testing::WithParamInterface<Diff> {};

TEST_P(BatchDiff, EndsWithTheStatusOfTheDifference) {
    const Outcome run =
        talvik(QStringList{u"--type"_s, u"415"_s, u"--quiet"_s} + GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status) << run.errors.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    BatchEndToEnd, BatchDiff,
    testing::Values(
        Diff{"SameFile", {u"--load"_s, u"Configs/415.set"_s, u"--diff"_s, u"Configs/415.set"_s}, 0},
        Diff{"ChangedFile", {u"--load"_s, u"Configs/415.set"_s, u"--diff"_s, u"changed.set"_s}, 1},
        Diff{"NothingPending", {u"--diff-pending"_s}, 0},
        Diff{"PendingAfterASet", {u"--set"_s, u"101=201"_s, u"--diff-pending"_s}, 1}),
    [](const testing::TestParamInfo<Diff>& info) { return std::string(info.param.name); });

TEST_F(DiffFiles, DiffPrintsARowPerDifferingSetting) {
    const Outcome run = talvik({u"--type"_s, u"415"_s, u"--quiet"_s, u"--load"_s,
                                u"Configs/415.set"_s, u"--diff"_s, u"changed.set"_s});
    EXPECT_EQ(run.out.count(u'\n'), 3) << run.out.toStdString();
}

TEST_F(BatchEndToEnd, NoControllerEndsWithStatusThree) {
    const Outcome run = talvik({u"--port"_s, dir.file(u"nothing"_s), u"--wait-connect"_s, u"1"_s,
                                u"--read"_s, u"--quiet"_s});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(run.errors.contains(u"no controller answered within 1 s"_s))
        << run.errors.toStdString();
}

TEST_F(BatchEndToEnd, AQuestionWithoutYesIsAnError) {
    Emulator emulator({});
    const Outcome run = talvik({u"--port"_s, emulator.path(), u"--factory"_s});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains(
        u"ВНИМАНИЕ: Заводские настройки установлены. Записать их в устройство? — no answer"_s))
        << run.errors.toStdString();
}

TEST_F(BatchEndToEnd, ACommandPrintsTheControllersAnswer) {
    Emulator emulator({});
    const Outcome run =
        talvik({u"--port"_s, emulator.path(), u"--command"_s, u"ver"_s, u"--listen"_s, u"1"_s});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.out.contains(u" >>> Версия ПО: 3.0.1 Конфигурация: 2.19 HV: 412\n"_s))
        << run.out.toStdString();
}

// The upload ends with its result, and the run waits for the restarted controller to come back.
// The families' images and results are checked through the window and over a noisy line.
TEST_F(BatchEndToEnd, AnUploadEndsWithTheResultAndTheControllerBack) {
    QByteArray image(8000, '\0');
    for (qsizetype i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>(i * 7 + 1);
    }
    dir.writeFile(u"image.bin"_s, image);
    Emulator emulator({u"--hardware"_s, u"200"_s});
    const Outcome run = talvik(
        {u"--port"_s, emulator.path(), u"--upload-firmware"_s, u"image.bin"_s, u"--get"_s, u"0"_s});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.out.contains(u"--upload-firmware image.bin: Прошивка завершена успешно\n"_s))
        << run.out.toStdString();
    EXPECT_EQ(run.out.count(u"Connected on "_s), 2) << run.out.toStdString();
}

TEST_F(BatchEndToEnd, BadUsageEndsWithStatusTwoAndTheUsageLine) {
    const Outcome run = talvik({u"--read"_s, u"--frobnicate"_s});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.errors.contains(u"\nusage: talvik "_s)) << run.errors.toStdString();
}

} // namespace
