#include "one_wire.h"

#include "cp1251.h"
#include "recording_clipboard.h"
#include "recording_link.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::devices;
using namespace talvik::support;

namespace {

class OneWireTest : public ::testing::Test {
protected:
    RecordingLink link;
    ScriptedDialogs dialogs;
    RecordingClipboard clipboard;
    OneWire oneWire{[this] { return link.current(); }, dialogs, clipboard};
};

TEST_F(OneWireTest, ButtonsDoNothingWithoutAController) {
    oneWire.OnKeyTouch(u"Касание эл. ключом: 01AA"_s);
    link.connected = false;
    oneWire.Button10Click(OneWire::Sender::AddKeys);
    oneWire.Button10Click(OneWire::Sender::RemoveAll);
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_EQ(oneWire.TouchedKeys.size(), 1);
}

TEST_F(OneWireTest, NewKeyIsCopiedAndAnnouncedInTheBox) {
    oneWire.OnKeyTouch(u"12:00 Касание эл. ключом: 01A2B3C4D5E6F7АБ"_s);
    ASSERT_EQ(clipboard.copies.size(), 1);
    EXPECT_EQ(clipboard.copies[0], Cp1251::fromUnicode(u"01A2B3C4D5E6F7АБ"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption, u"Новый ключ"_s);
    EXPECT_EQ(dialogs.shown[0].text,
              u"Касание новым ключом 01A2B3C4D5E6F7АБ. Ключ скопирован в буффер обмена. Вы "
              u"можете назначить его пользователю на соответствующей вкладке."_s);
}

TEST_F(OneWireTest, KeyStartsTwoCharactersAfterTheFirstPhrase) {
    oneWire.OnKeyTouch(u"Касание эл. ключом=>K1 Касание эл. ключом: K2"_s);
    ASSERT_EQ(clipboard.copies.size(), 1);
    EXPECT_EQ(clipboard.copies[0], Cp1251::fromUnicode(u"K1 Касание эл. ключом: K2"));
}

struct IgnoredLine {
    const char* name;
    QString line;
};

class OneWireIgnores : public OneWireTest, public ::testing::WithParamInterface<IgnoredLine> {};

TEST_P(OneWireIgnores, LineWithoutAKeyCode) {
    oneWire.OnKeyTouch(GetParam().line);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(clipboard.copies.isEmpty());
    EXPECT_TRUE(oneWire.TouchedKeys.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, OneWireIgnores,
    ::testing::Values(IgnoredLine{"NoPhrase", u"TMSET OK"_s},
                      IgnoredLine{"PhraseAtTheEnd", u"Касание эл. ключом"_s},
                      IgnoredLine{"OneCharacterAfter", u"Касание эл. ключом:"_s},
                      IgnoredLine{"OnlyTheSeparator", u"Касание эл. ключом: "_s},
                      IgnoredLine{"OtherCase", u"касание эл. ключом: 01AA"_s}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
