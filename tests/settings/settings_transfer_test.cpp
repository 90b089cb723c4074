#include "settings_fixture.h"

#include "cp1251.h"

#include <gtest/gtest.h>

namespace {

struct Reading : testing::Test {
    TransferFixture f;
    void reply(const char* piece) { f.transfer->OnParameterReply(QString::fromUtf8(piece)); }
};

TEST_F(Reading, NewFirmwareAsksForTheListingOldFirmwareSettingBySetting) {
    f.addEdit(20);
    f.addCheck(3);
    f.store().findOrAdd(900).valueText = QStringLiteral("left over");
    f.link.version = QStringLiteral("1.66");
    f.transfer->PNGButton3Click();
    EXPECT_EQ(f.link.sent, QStringList{QStringLiteral(" #S15=2/2")});
    EXPECT_EQ(f.link.dump, 1);
    EXPECT_EQ(f.store().find(900), nullptr);
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Считывание параметров..."));
    EXPECT_EQ(f.ProgressBar2->maximum(), 2);
    EXPECT_FALSE(f.GroupBox4->isEnabled());
    EXPECT_FALSE(f.Button1->isEnabled());

    f.link = RecordingLink{};
    f.link.version = QStringLiteral("1.65");
    f.transfer->PNGButton3Click();
    EXPECT_EQ(f.link.sent, (QStringList{QStringLiteral(" #P3?/2"), QStringLiteral(" #P20?/2"),
                                        QStringLiteral("end/1")}));
    EXPECT_EQ(f.link.dump, 0);

    f.connected = false;
    f.link.sent.clear();
    f.transfer->PNGButton3Click();
    EXPECT_TRUE(f.link.sent.isEmpty());
}

TEST_F(Reading, RepliesFillTheStoreThermometerSlotsAndTheListing) {
    QLineEdit* edit = f.addEdit(12);
    edit->setText(QStringLiteral("old"));
    f.store().find(12)->changed = true;
    reply("#P12:");
    EXPECT_EQ(edit->text(), QString());
    EXPECT_FALSE(f.store().find(12)->changed);
    reply("#P12");
    reply("#P40:unshown");
    EXPECT_EQ(f.store().find(40)->valueText, QStringLiteral("unshown"));
    const int records = f.store().size();
    reply("#P653:28FF0011");
    reply("#P662:28FF0099");
    EXPECT_EQ(f.transfer->ThermometerSerials.value(0), QStringLiteral("28FF0011"));
    EXPECT_EQ(f.transfer->ThermometerSerials.value(9), QStringLiteral("28FF0099"));
    EXPECT_EQ(f.store().size(), records);

    f.link.dump = 1;
    f.ProgressBar2->setMaximum(10);
    f.ProgressBar2->setValue(0);
    reply("#P0:1");
    reply("#P2:1");
    reply("#P3:!");
    EXPECT_EQ(f.link.sent, (QStringList{QStringLiteral(" #P1?/2"), QStringLiteral("end/1")}));
    EXPECT_EQ(f.ProgressBar2->value(), 3);
    EXPECT_EQ(f.store().find(3), nullptr); // the terminator carries no setting
}

TEST_F(Reading, ReportHourAndZoneDependentAreTurnedBackFromOneSixtySixOn) {
    struct Case {
        QString version;
        int hour;
        int dependent;
    };
    for (const Case& c : {Case{QStringLiteral("2.19"), 8, 5}, Case{QStringLiteral("1.65"), 5, 2}}) {
        f.link.version = c.version;
        QComboBox* hour = f.addCombo(214, 24);
        f.addEdit(447, Parameter::Integer);
        QComboBox* dependent = f.addCombo(683, 24);
        reply("#P214:5");
        reply("#P447:3");
        reply("#P683:2");
        EXPECT_EQ(hour->currentIndex(), c.hour) << c.version.toStdString();
        EXPECT_EQ(dependent->currentIndex(), c.dependent) << c.version.toStdString();
    }
}

TEST_F(Reading, BatchResultAndTheNoReplyRule) {
    f.GroupBox4->setEnabled(false);
    f.ProgressBar2->setVisible(true);
    f.transfer->ShowBatchResult();
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Готово"));
    EXPECT_TRUE(f.GroupBox4->isEnabled());
    EXPECT_TRUE(f.Timer4->isActive());

    f.link.current = " #P20?";
    for (int i = 0; i < 3; ++i) {
        f.transfer->OnNoReply(f.link);
    }
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Готово")); // the batch goes on
    f.transfer->ShowBatchResult();
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Готово c 3 ошибками"));

    f.GroupBox4->setEnabled(false);
    f.link.current = " #S15=2";
    f.link.dump = 1;
    f.link.errors = 0;
    f.transfer->OnNoReply(f.link);
    EXPECT_EQ(f.link.errors, 1000);
    EXPECT_EQ(f.link.dump, 0);
    EXPECT_TRUE(f.link.sent.isEmpty());
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Готово c 1000 ошибками"));
    EXPECT_TRUE(f.GroupBox4->isEnabled());
    EXPECT_TRUE(f.log.text().contains("NoReply  #S15=2"));
}

TEST_F(Reading, OldFirmwareIsOfferedAReadOncePerSerialNewFirmwareReadsEveryConnect) {
    f.addEdit(20);
    f.link.version = QStringLiteral("1.65");
    f.dialogs.answers = {false};
    f.transfer->DecideRead();
    f.transfer->DecideRead(); // the decision is taken once per connect
    ASSERT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_EQ(f.dialogs.shown[0].caption, QStringLiteral("Вопрос"));
    EXPECT_EQ(f.dialogs.shown[0].text, QStringLiteral("Считать настройки с устройства?"));
    EXPECT_TRUE(f.link.sent.isEmpty());
    f.transfer->readOffered = false; // reconnect
    f.transfer->DecideRead();
    EXPECT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_TRUE(f.link.sent.isEmpty());

    // Another controller with old firmware: asked again.
    f.transfer->readOffered = false;
    f.Edit1->setText(QStringLiteral("0123456789AC"));
    f.dialogs.answers = {true};
    f.transfer->DecideRead();
    EXPECT_EQ(f.dialogs.shown.size(), 2);
    EXPECT_EQ(f.link.sent.value(0), QStringLiteral(" #P20?/2"));

    // New firmware: the disconnect forgets the serial, so every connect reads.
    for (int connect = 0; connect < 2; ++connect) {
        f.link = RecordingLink{};
        f.transfer->readOffered = false;
        f.transfer->rememberedSerial.clear();
        f.transfer->DecideRead();
        EXPECT_EQ(f.link.sent, QStringList{QStringLiteral(" #S15=2/2")});
    }
    EXPECT_EQ(f.dialogs.shown.size(), 2);
}

TEST_F(Reading, LoginResetSendsAtOnceAfterYes) {
    f.dialogs.answers = {false, true};
    f.transfer->Button11Click();
    EXPECT_TRUE(f.link.texts.isEmpty());
    f.transfer->Button11Click();
    ASSERT_EQ(f.link.texts.size(), 1);
    EXPECT_EQ(f.link.texts[0], Cp1251::fromUnicode(u" Сброс логина") + "/1");
    EXPECT_EQ(f.dialogs.shown[1].caption, QStringLiteral("Предупреждение"));
    EXPECT_EQ(f.dialogs.shown[1].text,
              QStringLiteral("При сбросе логина вполняется отвязывание устройства от личного "
                             "кабинета веб сервиса. Потребуется его заново добавить в личный "
                             "кабинет. Вы уверены?"));
    f.connected = false;
    f.transfer->Button11Click();
    EXPECT_EQ(f.dialogs.shown.size(), 2);
}

} // namespace
