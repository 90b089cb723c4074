// The settings transfer's batches against pages without controls: this test links no widgets.
#include "fake_setting_pages.h"
#include "null_log.h"
#include "recording_settings_link.h"
#include "scripted_dialogs.h"
#include "settings_transfer.h"
#include "test_dir.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::settings;
using talvik::iface::SettingKind;

namespace {

struct Batch : testing::Test {
    TestDir dir;
    FakeSettingPages pages;
    ScriptedDialogs dialogs;
    NullLog log;
    RecordingSettingsLink link;
    SettingsTransfer transfer{pages, dialogs, log, [this] { return &link; },
                              SettingsTransfer::TypeChoice{[] { return 406; }, [](int) {}}};
    // What the header would show.
    QString status;
    int maximum = -1;
    int progress = 0;
    QString result;

    Batch() {
        pages.settings = {{3, {SettingKind::Edit, u"a"_s}}, {7, {SettingKind::Combo, u"2"_s}}};
        link.serial = u"AB"_s;
        QObject::connect(&transfer, &SettingsTransfer::batchStarted,
                         [this](const QString& text, int steps) {
                             status = text;
                             maximum = steps;
                         });
        QObject::connect(&transfer, &SettingsTransfer::batchProgressed,
                         [this](int position) { progress = position; });
        QObject::connect(
            &transfer, &SettingsTransfer::batchFinished,
            [this](const QString& text, const QString& note) { result = text + note; });
    }
};

TEST_F(Batch, AReadOfOlderFirmwareQueriesEverySettingThenEnds) {
    link.version = u"1.65"_s;
    transfer.PNGButton3Click();
    EXPECT_EQ(link.sent, (QStringList{u" #P3?/2"_s, u" #P7?/2"_s, u"end/1"_s}));
}

TEST_F(Batch, AReadFromFirmware166AsksForTheWholeListing) {
    transfer.PNGButton3Click();
    EXPECT_EQ(link.sent, QStringList{u" #S15=2/2"_s});
}

TEST_F(Batch, AReadShowsItsStatus) {
    transfer.PNGButton3Click();
    EXPECT_EQ(status, u"Считывание параметров..."_s);
}

TEST_F(Batch, AReadCountsOnlyTheSettingsThePagesShow) {
    pages.settings[40] = {SettingKind::None, u"kept"_s};
    transfer.PNGButton3Click();
    EXPECT_EQ(maximum, 2);
}

TEST_F(Batch, AWriteShowsItsStatus) {
    pages.settings[3].changed = true;
    transfer.Button3Click();
    EXPECT_EQ(status, u"Запись параметров..."_s);
}

TEST_F(Batch, AWriteCountsTheChangedSettings) {
    pages.settings[3].changed = true;
    transfer.Button3Click();
    EXPECT_EQ(maximum, 1);
}

TEST_F(Batch, AWriteOfNothingChangedStartsNoBatch) {
    transfer.Button3Click();
    EXPECT_EQ(maximum, -1);
}

TEST_F(Batch, EachCommandSentIsAStep) {
    transfer.OnCommandSent(link);
    transfer.OnCommandSent(link);
    EXPECT_EQ(progress, 2);
}

TEST_F(Batch, EachListingLineIsAStepAndTheCommandsSentAreNot) {
    transfer.PNGButton3Click();
    transfer.OnCommandSent(link);
    transfer.OnParameterReply(u"#P3:b"_s);
    EXPECT_EQ(progress, 1);
}

TEST_F(Batch, AReplyIsShown) {
    transfer.OnParameterReply(u"#P3:b"_s);
    EXPECT_EQ(pages.value(3), u"b"_s);
}

TEST_F(Batch, AReplyTakesTheUsersChangeAway) {
    pages.settings[3].changed = true;
    transfer.OnParameterReply(u"#P3:b"_s);
    EXPECT_FALSE(pages.changed(3));
}

TEST_F(Batch, AReplyForASettingThePagesDoNotShowIsKept) {
    transfer.OnParameterReply(u"#P90:x"_s);
    EXPECT_EQ(pages.value(90), u"x"_s);
}

TEST_F(Batch, AThermometerSlotReplyGoesToTheSerialsAndNotThePages) {
    transfer.OnParameterReply(u"#P655:28FF"_s);
    EXPECT_EQ(transfer.ThermometerSerials.value(2), u"28FF"_s);
    EXPECT_FALSE(pages.numbers().contains(655));
}

TEST_F(Batch, AnUnansweredListingEndsTheReadAtOnce) {
    transfer.PNGButton3Click();
    link.current = " #S15=2";
    transfer.OnNoReply(link);
    EXPECT_EQ(result, u"Готово c 1000 ошибками"_s);
}

TEST_F(Batch, AnUnansweredListingLetsTheStatusPollResume) {
    transfer.PNGButton3Click();
    link.current = " #S15=2";
    transfer.OnNoReply(link);
    EXPECT_EQ(link.dump, 0);
}

// The read decision when a controller is identified.
struct Decision {
    const char* name;
    const char* version;
    const char* remembered; // the serial the decision was last taken for
    bool agrees;            // the answer to the read offer
    bool reads;
};
void PrintTo(const Decision& row, std::ostream* out) {
    *out << row.name;
}
struct ReadDecision : Batch, testing::WithParamInterface<Decision> {};

TEST_P(ReadDecision, ReadsOrNot) {
    link.version = QString::fromLatin1(GetParam().version);
    transfer.rememberedSerial = QString::fromLatin1(GetParam().remembered);
    dialogs.answers = {GetParam().agrees};
    transfer.DecideRead();
    EXPECT_EQ(!status.isEmpty(), GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(
    Batch, ReadDecision,
    testing::Values(Decision{"NewerFirmwareWithoutAsking", "2.19", "", false, true},
                    Decision{"OlderFirmwareTheUserAgrees", "1.65", "", true, true},
                    Decision{"OlderFirmwareTheUserDeclines", "1.65", "", false, false},
                    Decision{"TheSameSerialAgain", "2.19", "AB", true, false},
                    Decision{"AnotherSerial", "1.65", "CD", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Batch, TheReadDecisionIsTakenOncePerConnect) {
    link.version = u"1.65"_s;
    transfer.DecideRead();
    transfer.DecideRead();
    EXPECT_EQ(dialogs.shown.size(), 1);
}

TEST_F(Batch, ADeclinedReadBuildsTheAssignmentTargets) {
    int builds = 0;
    transfer.BuildAssignmentTargets = [&builds] { ++builds; };
    link.version = u"1.65"_s;
    transfer.DecideRead();
    EXPECT_EQ(builds, 1);
}

TEST_F(Batch, AReadIsKeptUnderTheControllersSerial) {
    transfer.PNGButton3Click();
    transfer.ShowBatchResult();
    EXPECT_TRUE(QDir(u"Backups/AB"_s).exists());
}

} // namespace
