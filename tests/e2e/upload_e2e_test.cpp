#include "e2e_harness.h"

#include <QProgressBar>
#include <QPushButton>
#include <QtEndian>

using namespace talvik::app;
using namespace talvik::link;

namespace {

const QString kLoaderDone = u"Программирование завершено успешно."_s;
const QString kFileDone = u"Прошивка завершена успешно"_s;

// Bytes that differ from one position to the next, so a misplaced chunk shows.
QByteArray Pattern(int size, int seed) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + seed) % 251);
    }
    return bytes;
}

// Loader firmware: records of a big-endian length and that many bytes.
QByteArray Records(int count) {
    QByteArray image;
    for (int i = 0; i < count; ++i) {
        image += QByteArray("\0\x20", 2) + Pattern(32, i);
    }
    return image;
}

// The image a controller from 401 on receives: type byte, little-endian length, the file.
QByteArray Typed(char type, const QByteArray& file) {
    char length[4];
    qToLittleEndian(static_cast<std::uint32_t>(file.size()), length);
    return type + QByteArray(length, 4) + file;
}

struct UploadRow {
    const char* name;
    int hardware;
    int button; // 5 firmware, 6 profile, 13 sounds
    QByteArray file;
    QByteArray image; // what the controller must end up with
    QString result;
    bool restarts; // the window lets the controller go at once and waits for it
};

void PrintTo(const UploadRow& row, std::ostream* out) {
    *out << row.name;
}

class UploadEndToEnd : public EndToEnd, public testing::WithParamInterface<UploadRow> {
protected:
    // Starts the upload of `file` with the given button and returns the bar's highest value.
    void Start(TForm1& form, int button, const QByteArray& file) {
        const NamedControls page(form);
        const struct {
            QPushButton* button;
            QLineEdit* field;
            QString name;
        } starts[] = {{page.Button5, page.Edit23, u"new.enc"_s},
                      {page.Button6, page.Edit24, u"new.evc"_s},
                      {page.Button13, page.Edit6, u"voice.psnd"_s}};
        const auto& start = starts[button == 5 ? 0 : button == 6 ? 1 : 2];
        dir.writeFile(start.name, file);
        start.field->setText(start.name);
        QObject::connect(page.ProgressBar3, &QProgressBar::valueChanged, page.ProgressBar3,
                         [this](int value) { highest = std::max(highest, value); });
        start.button->click();
    }

    int highest = 0;
};

TEST_P(UploadEndToEnd, ImageArrivesWholeAndTheControllerIsFoundAgain) {
    const UploadRow& row = GetParam();
    const QString saved = dir.file(u"received.bin"_s);
    Emulator emulator({u"--hardware"_s, QString::number(row.hardware), u"--save-upload"_s, saved,
                       u"--after-firmware-version"_s, u"2.40"_s});
    auto form = Window(emulator.path());
    const NamedControls page(*form);
    ASSERT_TRUE(WaitFor(10000, [&] { return Settled(*form); }));
    Start(*form, row.button, row.file);
    ASSERT_TRUE(WaitFor(20000, [&] { return page.Label26->text() == row.result; }))
        << page.Label26->text().toStdString();
    EXPECT_EQ(highest, row.image.size());
    EXPECT_EQ(form->session().port() == nullptr, row.restarts);
    ASSERT_TRUE(
        WaitFor(25000, [&] { return Identified(*form) && !page.Label6->text().isEmpty(); }));
    EXPECT_EQ(dir.readFile(u"received.bin"_s).toHex(' '), row.image.toHex(' '));
    EXPECT_EQ(page.Label6->text().contains(u"2.40"_s), row.button == 5);
    EXPECT_FALSE(page.Button7->isEnabled());
}

const QByteArray kProfile = "PROFILE" + QByteArray(1, '\0') + Pattern(300, 3);

INSTANTIATE_TEST_SUITE_P(
    Families, UploadEndToEnd,
    testing::Values(
        UploadRow{"loader_firmware", 50, 5, Records(5).toHex().toUpper(), Records(5), kLoaderDone,
                  false},
        UploadRow{"loader_profile", 50, 6, kProfile, kProfile, kLoaderDone, false},
        UploadRow{"file_firmware", 150, 5, Pattern(300, 4), Pattern(300, 4), kFileDone, true},
        UploadRow{"file_sounds", 150, 13, Pattern(200, 6), Pattern(200, 6), kFileDone, false},
        UploadRow{"chunk_firmware", 450, 5, Pattern(1000, 7), Typed(2, Pattern(1000, 7)), kFileDone,
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

using UploadFaults = UploadEndToEnd;

TEST_F(UploadFaults, ChunksAnsweredAsBadAreSentAgainUntilTheImageIsWhole) {
    const QString saved = dir.file(u"received.bin"_s);
    Emulator emulator({u"--hardware"_s, u"450"_s, u"--save-upload"_s, saved,
                       u"--bad-chunk-percent"_s, u"10"_s, u"--seed"_s, u"7"_s});
    auto form = Window(emulator.path());
    ASSERT_TRUE(WaitFor(10000, [&] { return Settled(*form); }));
    Start(*form, 5, Pattern(4000, 1));
    ASSERT_TRUE(WaitFor(20000, [&] {
        return NamedChild<QLabel>(*form, u"Label26"_s)->text() == kFileDone;
    })) << NamedChild<QLabel>(*form, u"Label26"_s)->text().toStdString();
    EXPECT_EQ(dir.readFile(u"received.bin"_s), Typed(2, Pattern(4000, 1)));
    EXPECT_GT(Logged("Repeat sending"), 0);
}

TEST_F(UploadFaults, ControllerFallingSilentMidwayEndsWithAWriteErrorAndTheWindowGoesOn) {
    Emulator emulator({u"--hardware"_s, u"450"_s, u"--silent-after"_s, u"4"_s});
    auto form = Window(emulator.path());
    const NamedControls page(*form);
    ASSERT_TRUE(WaitFor(4000, [&] { return Identified(*form); }));
    Start(*form, 5, Pattern(256 * 1024, 2));
    ASSERT_TRUE(WaitFor(20000, [&] { return !page.Button7->isEnabled(); }));
    EXPECT_EQ(page.Label26->text(), u"Ошибка записи файла"_s);
    EXPECT_GT(highest, 0);
    EXPECT_TRUE(form->isEnabled());
    // The silent controller is let go and looked for again like any other.
    EXPECT_TRUE(WaitFor(4000, [&] { return form->session().port() == nullptr; }));
}

TEST_F(UploadFaults, LoaderWithTooLittleRoomRefusesTheProfile) {
    Emulator emulator({u"--hardware"_s, u"50"_s, u"--capacity"_s, u"100"_s});
    auto form = Window(emulator.path());
    ASSERT_TRUE(WaitFor(10000, [&] { return Settled(*form); }));
    Start(*form, 6, kProfile);
    EXPECT_TRUE(WaitFor(5000, [&] {
        return NamedChild<QLabel>(*form, u"Label26"_s)->text() == u"Файл слишком большой"_s;
    }));
}

} // namespace
