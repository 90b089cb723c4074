#include "settings_fixture.h"

#include "settings_wire.h"

#include <gtest/gtest.h>

namespace {

TEST(ParameterReply, PiecesGiveNumberAndValue) {
    struct Case {
        QString piece;
        bool accepted;
        int number;
        QString value;
    };
    const Case cases[] = {
        {QStringLiteral("#P12:abc"), true, 12, QStringLiteral("abc")},
        {QStringLiteral("#P12:"), true, 12, QString()},
        {QStringLiteral("#P5:a:b"), true, 5, QStringLiteral("a:b")},
        {QStringLiteral("#P7:!"), true, 7, QStringLiteral("!")},
        {QStringLiteral("#Pxy:1"), true, 0, QStringLiteral("1")},
        {QStringLiteral("#P12"), false, 0, {}},
        // The colon is looked for from the fourth character on.
        {QStringLiteral("#P:5"), false, 0, {}},
    };
    for (const Case& c : cases) {
        const auto reply = SettingsWire::parseReply(c.piece);
        ASSERT_EQ(reply.has_value(), c.accepted) << c.piece.toStdString();
        if (reply) {
            EXPECT_EQ(reply->number, c.number) << c.piece.toStdString();
            EXPECT_EQ(reply->value, c.value) << c.piece.toStdString();
        }
    }
}

TEST(DumpTracking, GapsAreAskedForAfterTheTerminator) {
    struct Case {
        QList<std::pair<int, QString>> lines;
        QStringList sent;
        int lastNumber;
    };
    const QString v = QStringLiteral("1");
    const QString end = QStringLiteral("!");
    const Case cases[] = {
        {{{0, v}, {1, v}, {4, v}, {5, end}},
         {QStringLiteral(" #P2?/2"), QStringLiteral(" #P3?/2"), QStringLiteral("end/1")},
         5},
        {{{3, v}, {4, end}},
         {QStringLiteral(" #P0?/2"), QStringLiteral(" #P1?/2"), QStringLiteral(" #P2?/2"),
          QStringLiteral("end/1")},
         4},
        {{{0, v}, {1, v}, {2, end}}, {QStringLiteral("end/1")}, 2},
    };
    for (const Case& c : cases) {
        RecordingLink link;
        link.dump = 1;
        link.current = " #S15=2";
        for (const auto& [number, value] : c.lines) {
            SettingsWire::trackDump(link, number, value);
        }
        EXPECT_EQ(link.sent, c.sent);
        EXPECT_EQ(link.dump, 0);
        EXPECT_TRUE(link.current.isEmpty());
        EXPECT_TRUE(link.missing.empty());
        EXPECT_EQ(link.lastNumber, c.lastNumber);
        EXPECT_EQ(link.touches, c.lines.size());
    }
}

TEST(DumpTracking, NothingWhileNoListingRuns) {
    RecordingLink link;
    link.current = " #P3?";
    SettingsWire::trackDump(link, 7, u"!");
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_EQ(link.current, " #P3?");
    EXPECT_EQ(link.touches, 0);
    EXPECT_EQ(link.lastNumber, -1);
}

struct WriteQueue : testing::Test {
    TransferFixture f;
    QStringList write(const QString& version) {
        f.link.version = version;
        f.link.sent.clear();
        f.transfer->Button3Click();
        return f.link.sent;
    }
};

TEST_F(WriteQueue, ChangedSettingsInAscendingOrderThenApplyAndEnd) {
    f.addEdit(20)->setText(QStringLiteral("x"));
    QCheckBox* box = f.addCheck(5);
    box->setChecked(true);
    f.addEdit(7)->setText(QStringLiteral("unchanged"));
    f.store().find(20)->changed = true;
    f.store().find(5)->changed = true;
    EXPECT_EQ(write(QStringLiteral("1.70")),
              (QStringList{QStringLiteral(" #P5=1/2"), QStringLiteral(" #P20=x/2"),
                           QStringLiteral(" #S15=1/2"), QStringLiteral("end/1")}));
    EXPECT_FALSE(f.store().anyChanged());
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Запись параметров..."));
    EXPECT_EQ(f.ProgressBar2->maximum(), 2);
    EXPECT_FALSE(f.GroupBox4->isEnabled());
    EXPECT_FALSE(f.Button1->isEnabled());

    // Nothing changed: nothing goes out and the screen stays as it is.
    f.Label5->setText(QStringLiteral("Готово"));
    EXPECT_TRUE(write(QStringLiteral("1.70")).isEmpty());
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Готово"));
}

TEST_F(WriteQueue, ValueTextsByKindAndFirmware) {
    struct Case {
        int special;
        int offset;
        QString text;
        QString version;
        QString sent;
    };
    const Case cases[] = {
        {Parameter::Plain, 0, QStringLiteral("a b"), QStringLiteral("1.67"),
         QStringLiteral(" #P20=(a b)/2")},
        {Parameter::Plain, 0, QStringLiteral("a b"), QStringLiteral("1.68"),
         QStringLiteral(" #P20=a b/2")},
        {Parameter::Voice, 0, QStringLiteral("a b"), QStringLiteral("1.60"),
         QStringLiteral(" #P20=(a b)/2")},
        {Parameter::Phone, 0, QStringLiteral("+7001"), QStringLiteral("1.50"),
         QStringLiteral(" #P20=+7001 #P20?/2")},
        {Parameter::Double10, 0, QStringLiteral("1,25"), QStringLiteral("2.19"),
         QStringLiteral(" #P20=13/2")},
        {Parameter::Double10, 0, QStringLiteral("-0.25"), QStringLiteral("2.19"),
         QStringLiteral(" #P20=-3/2")},
        {Parameter::Double10, 2, QStringLiteral("1.25"), QStringLiteral("2.19"),
         QStringLiteral(" #P20=33/2")},
        {Parameter::Integer, 10, QStringLiteral("25"), QStringLiteral("1.58"),
         QStringLiteral(" #P20=35/2")},
        // An empty whole-number field goes out as its offset.
        {Parameter::Integer, 5, QString(), QStringLiteral("2.19"), QStringLiteral(" #P20=5/2")},
    };
    for (const Case& c : cases) {
        f.addEdit(20, c.special, c.offset)->setText(c.text);
        f.store().find(20)->changed = true;
        EXPECT_EQ(write(c.version).value(0), c.sent) << c.text.toStdString();
    }
    QCheckBox* box = f.addCheck(20);
    box->setChecked(true);
    f.store().find(20)->changed = true;
    EXPECT_EQ(write(QStringLiteral("1.50")).value(0), QStringLiteral(" #P20=1 #P20?/2"));
    const QList<QCheckBox*> bits = f.addBits(20, 3);
    bits[0]->setChecked(true);
    bits[2]->setChecked(true);
    f.store().find(20)->changed = true;
    EXPECT_EQ(write(QStringLiteral("2.19")).value(0), QStringLiteral(" #P20=5/2"));
}

TEST_F(WriteQueue, SettingThreeFourteenNeverGoesOut) {
    f.addEdit(314)->setText(QStringLiteral("1"));
    f.store().find(314)->changed = true;
    EXPECT_TRUE(write(QStringLiteral("2.19")).isEmpty());
    f.addEdit(313)->setText(QStringLiteral("1"));
    f.store().find(313)->changed = true;
    f.store().find(314)->changed = true;
    EXPECT_EQ(write(QStringLiteral("2.19")).value(0), QStringLiteral(" #P313=1/2"));
    EXPECT_EQ(write(QStringLiteral("2.19")).size(), 0);
}

TEST_F(WriteQueue, ReportHourAndZoneDependentGoRelativeToTheTimeZone) {
    f.addEdit(447, Parameter::Integer)->setText(QStringLiteral("3"));
    f.addCombo(214, 24)->setCurrentIndex(10);
    f.addCombo(683, 24)->setCurrentIndex(12);
    f.store().find(214)->changed = true;
    // 214 comes before the zone, so the zone goes out in the same batch.
    EXPECT_EQ(write(QStringLiteral("1.50")),
              (QStringList{QStringLiteral(" #P214=7 #P214?/2"), QStringLiteral(" #P447=3 #P447?/2"),
                           QStringLiteral(" #S15=1/2"), QStringLiteral("end/1")}));
    // 683 comes after it: the zone stays flagged for the next write.
    f.store().find(683)->changed = true;
    EXPECT_EQ(write(QStringLiteral("2.19")).value(0), QStringLiteral(" #P683=9/2"));
    EXPECT_TRUE(f.store().find(447)->changed);
}

} // namespace
