#include "settings_fixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Transfer : testing::Test {
    TransferFixture f;
    void reply(const char* piece) { f.transfer->OnParameterReply(QString::fromUtf8(piece)); }
    QStringList write(const QString& version) {
        f.link.version = version;
        f.link.sent.clear();
        f.transfer->Button3Click();
        return f.link.sent;
    }
    void change(int number) { f.store().find(number)->changed = true; }
};

TEST_F(Transfer, ReadDecisionAndStart) {
    f.addEdit(20);
    f.addCheck(3);
    f.link.version = u"1.65"_s;
    f.dialogs.answers = {true};
    f.transfer->DecideRead();
    f.transfer->DecideRead(); // once per connect
    ASSERT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_EQ(f.box(0), u"Вопрос | Считать настройки с устройства?"_s);
    EXPECT_EQ(f.link.sent, (QStringList{u" #P3?/2"_s, u" #P20?/2"_s, u"end/1"_s}));
    EXPECT_EQ(f.Label5->text(), u"Считывание параметров..."_s);
    EXPECT_EQ(f.ProgressBar2->maximum(), 2);
    EXPECT_FALSE(f.GroupBox4->isEnabled() || f.Button1->isEnabled());
    f.transfer->readOffered = false; // the same old controller again: neither asked nor read
    f.link.sent.clear();
    f.transfer->DecideRead();
    EXPECT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_TRUE(f.link.sent.isEmpty());

    // From 1.66 on the disconnect forgets the serial, and every connect reads the listing
    // unasked, dropping the records that no page shows.
    f.link.version = u"1.66"_s;
    for (int connect = 0; connect < 2; ++connect) {
        f.store().findOrAdd(900);
        f.link.sent.clear();
        f.transfer->readOffered = false;
        f.transfer->rememberedSerial.clear();
        f.transfer->DecideRead();
        EXPECT_EQ(f.link.sent, QStringList{u" #S15=2/2"_s});
        EXPECT_EQ(f.link.dump, 1);
        EXPECT_EQ(f.store().find(900), nullptr);
    }
    EXPECT_EQ(f.dialogs.shown.size(), 1);
}

TEST_F(Transfer, RepliesFillTheStoreAndTheThermometerSlots) {
    QLineEdit* edit = f.addEdit(12);
    edit->setText(u"old"_s);
    change(12);
    reply("#P12:");
    EXPECT_EQ(edit->text(), QString());
    EXPECT_FALSE(f.store().find(12)->changed);
    reply("#P12");
    reply("#P:5"); // the colon is looked for from the fourth character on
    reply("#P40:a:b");
    EXPECT_EQ(f.store().find(40)->valueText, u"a:b"_s);
    reply("#P653:28FF0011");
    reply("#P662:28FF0099");
    EXPECT_EQ(f.transfer->ThermometerSerials.value(0), u"28FF0011"_s);
    EXPECT_EQ(f.transfer->ThermometerSerials.value(9), u"28FF0099"_s);
    EXPECT_EQ(f.store().size(), 2);
    EXPECT_TRUE(f.link.sent.isEmpty() && f.link.touches == 0); // no listing runs
}

TEST_F(Transfer, ListingAsksForItsGapsAfterTheTerminator) {
    const std::pair<std::vector<const char*>, QStringList> cases[] = {
        {{"#P0:1", "#P1:1", "#P4:1", "#P5:!"}, {u" #P2?/2"_s, u" #P3?/2"_s, u"end/1"_s}},
        {{"#P3:1", "#P4:!"}, {u" #P0?/2"_s, u" #P1?/2"_s, u" #P2?/2"_s, u"end/1"_s}},
        {{"#P0:1", "#P1:1", "#P2:!"}, {u"end/1"_s}},
    };
    for (const auto& [lines, sent] : cases) {
        f.store().clear();
        f.link = RecordingLink{};
        f.link.dump = 1;
        f.link.current = " #S15=2";
        f.ProgressBar2->setValue(0);
        for (const char* line : lines) {
            reply(line);
        }
        EXPECT_EQ(f.link.sent, sent);
        EXPECT_EQ(f.link.dump, 0);
        EXPECT_TRUE(f.link.current.isEmpty()); // the listing request counts as answered
        EXPECT_EQ(f.link.touches, lines.size());
        EXPECT_EQ(f.ProgressBar2->value(), lines.size());
        EXPECT_EQ(f.store().size(), lines.size() - 1); // the terminator carries no setting
    }
}

TEST_F(Transfer, BatchResultCountsUnansweredCommands) {
    f.link.current = " #P20?";
    for (int i = 0; i < 3; ++i) {
        f.transfer->OnNoReply(f.link);
    }
    EXPECT_EQ(f.Label5->text(), QString()); // the batch goes on
    f.transfer->ShowBatchResult();
    EXPECT_EQ(f.Label5->text(), u"Готово c 3 ошибками"_s); // Latin c
    EXPECT_TRUE(f.ProgressBar2->isHidden() && f.Timer4->isActive());

    // An unanswered listing request ends the read at once.
    f.GroupBox4->setEnabled(false);
    f.link.current = " #S15=2";
    f.link.dump = 1;
    f.link.errors = 0;
    f.transfer->OnNoReply(f.link);
    EXPECT_EQ(f.link.dump, 0);
    EXPECT_TRUE(f.link.sent.isEmpty());
    EXPECT_EQ(f.Label5->text(), u"Готово c 1000 ошибками"_s);
    EXPECT_TRUE(f.GroupBox4->isEnabled() && f.Button1->isEnabled());
    QFile log(SimpleLog::fileName());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_TRUE(text.contains("NoReply  #P20?\n") && text.contains("NoReply  #S15=2\n"));
}

TEST_F(Transfer, WriteSendsTheChangedSettingsInAscendingOrderThenApplyAndEnd) {
    f.addEdit(20)->setText(u"x"_s);
    f.addCheck(5)->setChecked(true);
    f.addEdit(7)->setText(u"unchanged"_s);
    f.addEdit(314)->setText(u"1"_s); // never sent
    for (int number : {20, 5, 314}) {
        change(number);
    }
    EXPECT_EQ(write(u"1.70"_s),
              (QStringList{u" #P5=1/2"_s, u" #P20=x/2"_s, u" #S15=1/2"_s, u"end/1"_s}));
    EXPECT_FALSE(f.store().find(5)->changed || f.store().find(20)->changed);
    EXPECT_EQ(f.Label5->text(), u"Запись параметров..."_s);
    EXPECT_EQ(f.ProgressBar2->maximum(), 2);
    EXPECT_FALSE(f.GroupBox4->isEnabled() || f.Button1->isEnabled());

    // Nothing changed: nothing goes out and the screen stays as it is.
    f.Label5->setText(u"Готово"_s);
    EXPECT_TRUE(write(u"1.70"_s).isEmpty());
    EXPECT_EQ(f.Label5->text(), u"Готово"_s);
}

TEST_F(Transfer, WriteValueTextsByKindAndFirmware) {
    const std::tuple<int, int, QString, QString, QString> cases[] = {
        {Parameter::Plain, 0, u"a b"_s, u"1.67"_s, u" #P20=(a b)/2"_s},
        {Parameter::Plain, 0, u"a b"_s, u"1.68"_s, u" #P20=a b/2"_s},
        {Parameter::Double10, 0, u"1,25"_s, u"2.19"_s, u" #P20=13/2"_s},
        {Parameter::Double10, 0, u"-0.25"_s, u"2.19"_s, u" #P20=-3/2"_s},
        {Parameter::Double10, 2, u"1.25"_s, u"2.19"_s, u" #P20=33/2"_s},
        {Parameter::Integer, 10, u"25"_s, u"1.58"_s, u" #P20=35/2"_s},
        {Parameter::Integer, 5, QString(), u"2.19"_s, u" #P20=5/2"_s}, // empty: the offset
    };
    for (const auto& [special, offset, text, version, sent] : cases) {
        f.addEdit(20, special, offset)->setText(text);
        change(20);
        EXPECT_EQ(write(version).value(0), sent) << text.toStdString();
    }
    f.addCheck(20)->setChecked(true);
    change(20);
    EXPECT_EQ(write(u"1.57"_s).value(0), u" #P20=1 #P20?/2"_s);
}

TEST_F(Transfer, ReportHourAndZoneDependentTravelRelativeToTheTimeZone) {
    f.addEdit(447, Parameter::Integer)->setText(u"3"_s);
    QComboBox* hour = f.addCombo(214, 24);
    QComboBox* dependent = f.addCombo(683, 24);
    hour->setCurrentIndex(10);
    dependent->setCurrentIndex(12);
    change(214);
    // 214 comes before the zone, so the zone goes out in the same batch.
    EXPECT_EQ(write(u"1.50"_s), (QStringList{u" #P214=7 #P214?/2"_s, u" #P447=3 #P447?/2"_s,
                                             u" #S15=1/2"_s, u"end/1"_s}));
    // 683 comes after it: the zone stays flagged for the next write.
    change(683);
    EXPECT_EQ(write(u"2.19"_s).value(0), u" #P683=9/2"_s);
    EXPECT_TRUE(f.store().find(447)->changed);

    // Replies are turned back from 1.66 on only.
    for (const auto& [version, hourShown, dependentShown] :
         {std::tuple{u"2.19"_s, 8, 5}, {u"1.65"_s, 5, 2}}) {
        f.link.version = version;
        reply("#P214:5");
        reply("#P447:3");
        reply("#P683:2");
        EXPECT_EQ(hour->currentIndex(), hourShown) << version.toStdString();
        EXPECT_EQ(dependent->currentIndex(), dependentShown) << version.toStdString();
    }
}

TEST_F(Transfer, LoginResetSendsAtOnceAfterYes) {
    f.dialogs.answers = {false, true};
    f.transfer->Button11Click();
    EXPECT_TRUE(f.link.sent.isEmpty());
    f.transfer->Button11Click();
    EXPECT_EQ(f.link.sent, QStringList{u" Сброс логина/1!"_s});
    EXPECT_EQ(f.box(1), u"Предупреждение | При сбросе логина вполняется отвязывание устройства от "
                        u"личного кабинета веб сервиса. Потребуется его заново добавить в личный "
                        u"кабинет. Вы уверены?"_s);
    f.connected = false;
    f.transfer->Button11Click();
    EXPECT_EQ(f.dialogs.shown.size(), 2);
}

} // namespace
