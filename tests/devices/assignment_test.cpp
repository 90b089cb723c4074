#include "radio_fakes.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::devices;

namespace {

// Pages with every target: zones 45 to 57, users 20 to 29 named by settings 0 to 9, and
// thermometers 318 to 327, all empty or "0".
class Assignment : public testing::Test {
protected:
    void SetUp() override {
        for (int k = 0; k < 10; ++k) {
            rig.settings.texts[k] = u"Водитель %1"_s.arg(k + 1);
            rig.settings.texts[20 + k] = QString();
            rig.settings.texts[318 + k] = u"0"_s;
        }
        for (int zone = 45; zone <= 57; ++zone) {
            rig.settings.texts[zone] = QString();
        }
    }

    void build() { rig.radio.BuildAssignmentTargets(); }
    int row(const QString& number) { return *rig.list().FindDeviceRow(number, true); }
    QStringList menuNames(const QString& number, int kind) {
        QStringList names;
        for (const auto& item : rig.radio.MenuFor(row(number), kind)) {
            names.append(item.name);
        }
        return names;
    }
    void choose(const QString& number, int kind, const QString& name) {
        const int at = row(number);
        for (const auto& item : rig.radio.MenuFor(at, kind)) {
            if (item.name == name) {
                rig.radio.MenuClick(at, kind, item);
            }
        }
    }

    RadioRig rig;
};

TEST_F(Assignment, BuildNamesTargetsWithDoubleSpaces) {
    build();
    EXPECT_EQ(rig.radio.targets().find(45)->name, u"Радиозона  1"_s);
    EXPECT_EQ(rig.radio.targets().find(54)->name, u"Радиозона 10"_s);
    EXPECT_EQ(rig.radio.targets().find(327)->name, u"Термометр 10"_s);
    EXPECT_EQ(rig.radio.targets().find(327)->marker, u"%"_s);
    EXPECT_EQ(rig.radio.targets().find(23)->name, u"Водитель 4"_s);
    EXPECT_EQ(rig.radio.targets().find(23)->index, 3);
}

TEST_F(Assignment, BuildShowsTheDevicesTheSettingsName) {
    rig.settings.texts[47] = u" %7% 12"_s;
    rig.settings.texts[21] = u"%7%"_s;
    rig.settings.texts[319] = u"9"_s;
    build();
    EXPECT_EQ(rig.numbers(), (QStringList{u"%7%"_s, u"%9%"_s}));
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::Zone), u"Радиозона  3"_s);
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::User), u"Водитель 2"_s);
    EXPECT_EQ(rig.cell(u"%9%"_s, RadioDeviceList::Thermometer), u"Термометр  2"_s);
}

TEST_F(Assignment, BuildRunsOnce) {
    build();
    rig.settings.texts[0] = u"Другой"_s;
    build();
    EXPECT_EQ(rig.radio.targets().find(20)->name, u"Водитель 1"_s);
}

TEST_F(Assignment, TargetsWithoutSettingsAreSkipped) {
    rig.settings.texts.clear();
    build();
    (void)row(u"%7%"_s);
    choose(u"%7%"_s, Unit::Zone, u"Радиозона  3"_s);
    rig.radio.Button17Click({0});
    EXPECT_TRUE(rig.settings.texts.isEmpty());
    EXPECT_EQ(rig.list().rowCount(), 0);
}

TEST_F(Assignment, ZoneMoveLeavesTheOldZone) {
    rig.settings.texts[45] = u" %7% %8%"_s;
    rig.settings.texts[47] = u" %3%"_s;
    build();
    choose(u"%7%"_s, Unit::Zone, u"Радиозона  3"_s);
    EXPECT_EQ(rig.settings.texts[45], u" %8%"_s);
    EXPECT_EQ(rig.settings.texts[47], u" %3% %7%"_s);
    EXPECT_EQ(rig.settings.changed, (QSet<int>{45, 47}));
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::Zone), u"Радиозона  3"_s);
}

TEST_F(Assignment, EntryThatStartsTheTextTakesTheSpaceAfterIt) {
    rig.settings.texts[45] = u"%7% %8%"_s;
    build();
    choose(u"%7%"_s, Unit::Zone, u"Радиозона  2"_s);
    EXPECT_EQ(rig.settings.texts[45], u"%8%"_s);
}

TEST_F(Assignment, ThermometerTakeoverClearsThePreviousDevice) {
    rig.settings.texts[318] = u"5"_s;
    build();
    choose(u"%9%"_s, Unit::Thermometer, u"Термометр  1"_s);
    EXPECT_EQ(rig.settings.texts[318], u"9"_s);
    EXPECT_EQ(rig.cell(u"%5%"_s, RadioDeviceList::Thermometer), QString());
    EXPECT_EQ(rig.cell(u"%9%"_s, RadioDeviceList::Thermometer), u"Термометр  1"_s);
}

TEST_F(Assignment, ThermometerMoveFreesTheOldOne) {
    rig.settings.texts[318] = u"9"_s;
    build();
    choose(u"%9%"_s, Unit::Thermometer, u"Термометр  4"_s);
    EXPECT_EQ(rig.settings.texts[318], u"0"_s);
    EXPECT_EQ(rig.settings.texts[321], u"9"_s);
}

TEST_F(Assignment, UnassignLeavesEveryTargetOfTheKind) {
    rig.settings.texts[20] = u" %7%"_s;
    rig.settings.texts[22] = u" %7% %8%"_s;
    build();
    choose(u"%7%"_s, Unit::User, RadioDevices::kUnassigned);
    EXPECT_EQ(rig.settings.texts[20], QString());
    EXPECT_EQ(rig.settings.texts[22], u" %8%"_s);
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::User), QString());
}

TEST_F(Assignment, CheckedChoiceChangesNothing) {
    rig.settings.texts[45] = u" %7%"_s;
    build();
    choose(u"%7%"_s, Unit::Zone, u"Радиозона  1"_s);
    EXPECT_TRUE(rig.settings.changed.isEmpty());
}

TEST_F(Assignment, RemoteSeesTheExtraZonesUnassignedFirst) {
    build();
    rig.radio.OnRadioReport(u"#R:%7% TK :1"_s);
    rig.radio.OnRadioReport(u"#R:%8% AMX :1"_s);
    (void)rig.list().FindDeviceRow(u"%9%"_s, true);
    rig.list().setCell(row(u"%9%"_s), RadioDeviceList::Type, u"AM"_s);
    const QStringList remote = menuNames(u"%9%"_s, Unit::Zone);
    EXPECT_EQ(remote.size(), 14);
    EXPECT_EQ(remote.first(), RadioDevices::kUnassigned);
    EXPECT_EQ(remote.last(), u"Тревожная кнопка"_s);
    EXPECT_EQ(menuNames(u"%7%"_s, Unit::Zone).size(), 11);
    EXPECT_EQ(menuNames(u"%8%"_s, Unit::Zone).last(), u"Радиозона 10"_s);
}

TEST_F(Assignment, MenuChecksTheCurrentChoice) {
    build();
    const auto menu = rig.radio.MenuFor(row(u"%7%"_s), Unit::Thermometer);
    ASSERT_FALSE(menu.isEmpty());
    EXPECT_TRUE(menu.first().checked);
    EXPECT_EQ(std::count_if(menu.begin(), menu.end(), [](const auto& i) { return i.checked; }), 1);
}

struct LimitCase {
    const char* name;
    const char16_t* version;
    bool connected;
    bool fits;
};

class UserLimit : public Assignment, public testing::WithParamInterface<LimitCase> {};

TEST_P(UserLimit, SeventeenPlusFourFitsFromFirmware233) {
    rig.link.version = QString::fromUtf16(GetParam().version);
    rig.link.isConnected = GetParam().connected;
    rig.settings.texts[20] = u"%11% %22% %33% ab"_s; // 17 characters
    build();
    choose(u"%44%"_s, Unit::User, u"Водитель 1"_s);
    EXPECT_EQ(rig.settings.texts[20].size(), GetParam().fits ? 22 : 17);
    EXPECT_EQ(rig.cell(u"%44%"_s, RadioDeviceList::User),
              GetParam().fits ? u"Водитель 1"_s : QString());
    EXPECT_EQ(rig.dialogs.shown.size(), GetParam().fits ? 0 : 1);
}

const LimitCase kLimitCases[] = {{"Firmware232", u"2.32", true, false},
                                 {"Firmware233", u"2.33", true, true},
                                 {"NoController", u"1.0", false, true}};

INSTANTIATE_TEST_SUITE_P(Versions, UserLimit, testing::ValuesIn(kLimitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Assignment, UserLimitMessage) {
    rig.link.version = u"2.32"_s;
    rig.settings.texts[20] = u"%11% %22% %33% %4%"_s;
    build();
    choose(u"%44%"_s, Unit::User, u"Водитель 1"_s);
    ASSERT_EQ(rig.dialogs.shown.size(), 1);
    EXPECT_EQ(rig.dialogs.shown[0].caption, u"Не могу выполнить"_s);
    EXPECT_EQ(rig.dialogs.shown[0].text,
              u"На этого пользователя назначено уже слишком много устройств. Чтобы добавить "
              u"новое, удалите какие либо из уже назначенных."_s);
}

TEST_F(Assignment, RenameUserFollowsIntoCellsAndMenu) {
    rig.settings.texts[21] = u" %7%"_s;
    build();
    rig.radio.RenameUser(1, u"Иван"_s);
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::User), u"Иван"_s);
    EXPECT_TRUE(menuNames(u"%7%"_s, Unit::User).contains(u"Иван"_s));
}

TEST_F(Assignment, RenameOfOtherSettingChangesNoUser) {
    build();
    rig.radio.RenameUser(45, u"Иван"_s);
    EXPECT_FALSE(menuNames(u"%7%"_s, Unit::User).contains(u"Иван"_s));
}

TEST(AssignmentColumns, KindFollowsTheColumnWidths) {
    const QList<int> widths{80, 100, 140, 130, 100, 200, 70};
    const std::pair<int, int> cases[] = {{0, 0},   {79, 0},  {181, 1}, {320, 1},
                                         {321, 2}, {451, 3}, {551, 0}, {5000, 0}};
    for (const auto& [x, kind] : cases) {
        EXPECT_EQ(RadioDevices::KindAt(x, widths), kind) << "x = " << x;
    }
}

} // namespace
