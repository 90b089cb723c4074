#include "e2e_harness.h"
#include "recording_clipboard.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace talvik::app;

namespace {

// A window identified on talvik-emu, with the clipboard recorded.
class DevicesEndToEnd : public EndToEnd {
protected:
    void Start(const QStringList& arguments = {}) {
        emulator = std::make_unique<Emulator>(arguments);
        form = std::make_unique<TForm1>(StartOptions{emulator->path()}, &dialogs, &clipboard);
        form->show();
        page.emplace(*form);
        ASSERT_TRUE(WaitFor(8000, [&] { return Identified(*form); }));
        // The settings read that follows the connect holds the status poll and the terminal
        // back until it ends.
        ASSERT_TRUE(WaitFor(20000, [&] { return page->Button1->isEnabled(); }));
    }
    [[nodiscard]] QString Output() const { return page->RichEdit1->toPlainText(); }
    [[nodiscard]] QStringList NewKeyTexts() const {
        QStringList texts;
        for (const ScriptedDialogs::Shown& shown : dialogs.shown) {
            if (shown.caption == u"Новый ключ"_s) {
                texts.append(shown.text);
            }
        }
        return texts;
    }

    RecordingClipboard clipboard;
    std::unique_ptr<Emulator> emulator;
    std::unique_ptr<TForm1> form;
    std::optional<NamedControls> page;
};

TEST_F(DevicesEndToEnd, GuardArmsWithACountdownAndDisarms) {
    Start();
    ASSERT_TRUE(WaitFor(8000, [&] { return page->Label18->text() == u"выкл"_s; }));
    ASSERT_EQ(page->Button2->text(), u"Включить"_s);
    page->Button2->click();
    ASSERT_TRUE(WaitFor(4000, [&] { return page->Label18->text().startsWith(u"Постановка "_s); }));
    EXPECT_TRUE(page->Label18->text().endsWith(u" с"_s));
    EXPECT_FALSE(page->Button2->isEnabled());
    ASSERT_TRUE(WaitFor(8000, [&] { return page->Label18->text() == u"вкл"_s; }));
    EXPECT_EQ(page->Button2->text(), u"Выключить"_s);
    page->Button2->click();
    EXPECT_TRUE(WaitFor(8000, [&] { return page->Label18->text() == u"выкл"_s; }));
}

TEST_F(DevicesEndToEnd, TouchedKeyIsAnnouncedOnceUntilEveryDeviceIsRemoved) {
    Start();
    page->Button10->click();
    ASSERT_TRUE(WaitFor(8000, [&] { return NewKeyTexts().size() == 2; }));
    // The first key touches twice before the second one comes.
    EXPECT_TRUE(NewKeyTexts()[0].startsWith(u"Касание новым ключом 01D2C3B4A5000013."_s));
    EXPECT_EQ(clipboard.copies, (QByteArrayList{"01D2C3B4A5000013", "01F1E2D3C4000027"}));
    EXPECT_TRUE(WaitFor(1000, [&] { return Output().count(u">>> Касание эл. ключом: "_s) == 3; }));

    page->Button3->click();
    page->Button10->click();
    ASSERT_TRUE(WaitFor(6000, [&] { return NewKeyTexts().size() == 3; }));
    EXPECT_EQ(NewKeyTexts()[2], NewKeyTexts()[0]);
}

TEST_F(DevicesEndToEnd, ThermometersAreListedWithTheirSerials) {
    Start({u"--thermometers"_s, u"2"_s});
    QTreeWidget* list = page->ListView2;
    ASSERT_TRUE(WaitFor(8000, [&] { return list->topLevelItemCount() == 2; }));
    EXPECT_EQ(list->topLevelItem(1)->text(1), u"неисправен"_s);
    EXPECT_TRUE(WaitFor(8000, [&] { return list->topLevelItem(0)->text(2).size() == 16; }));
}

TEST_F(DevicesEndToEnd, TypedCommandIsAnswered) {
    Start();
    page->ComboBox1->setEditText(u"помощь"_s);
    page->Button1->click();
    EXPECT_TRUE(
        WaitFor(3000, [&] { return Output().contains(u">>> Неизвестная команда: помощь"_s); }));
    EXPECT_TRUE(Output().contains(u"<<< помощь"_s));
}

TEST_F(DevicesEndToEnd, RestartedControllerIsFoundAgain) {
    Start({u"--restart-quiet"_s, u"7"_s});
    page->Button12->click();
    EXPECT_TRUE(WaitFor(1000, [&] { return Output().endsWith(u"<<< ReStarT"_s); }));
    ASSERT_TRUE(WaitFor(9000, [&] { return form->session().port() == nullptr; }));
    EXPECT_TRUE(WaitFor(10000, [&] { return Identified(*form); }));
}

} // namespace
