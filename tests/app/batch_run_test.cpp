#include "batch_dialogs.h"
#include "progress_lines.h"

#include <QTextStream>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;

namespace {

struct Progress {
    const char* name;
    int maximum;
    QList<int> positions;
    QStringList lines;
};
void PrintTo(const Progress& row, std::ostream* out) {
    *out << row.name;
}

class ProgressLinesTest : public testing::TestWithParam<Progress> {};

TEST_P(ProgressLinesTest, PrintsEachTenthOnce) {
    ProgressLines progress;
    progress.start(u"Запись параметров..."_s, GetParam().maximum);
    QStringList lines;
    for (const int position : GetParam().positions) {
        if (const std::optional<QString> line = progress.advance(position)) {
            lines.append(*line);
        }
    }
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    BatchRun, ProgressLinesTest,
    testing::Values(Progress{"StepByStep",
                             20,
                             {1, 2, 3, 4},
                             {u"Запись параметров... 10%"_s, u"Запись параметров... 20%"_s}},
                    Progress{"AJumpGivesOneLine", 10, {7}, {u"Запись параметров... 70%"_s}},
                    Progress{
                        "PastTheMaximumStopsAtAll", 4, {4, 5, 6}, {u"Запись параметров... 100%"_s}},
                    Progress{"NothingBelowATenth", 100, {9}, {}},
                    Progress{"NoMaximumNoLines", 0, {1}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchRun, ANewBatchStartsFromNothing) {
    ProgressLines progress;
    progress.start(u"a"_s, 10);
    static_cast<void>(progress.advance(10));
    progress.start(u"b"_s, 10);
    EXPECT_EQ(progress.advance(1), std::optional<QString>(u"b 10%"_s));
}

class BatchDialogsTest : public testing::Test {
protected:
    [[nodiscard]] BatchDialogs& dialogs(bool yes) {
        m_dialogs.emplace(m_stream, yes);
        return *m_dialogs;
    }
    QString printed;

private:
    QTextStream m_stream{&printed};
    std::optional<BatchDialogs> m_dialogs;
};

TEST_F(BatchDialogsTest, ABoxIsALineWithCaptionAndText) {
    dialogs(false).warning(u"Предупреждение"_s, u"первая\nвторая"_s);
    EXPECT_EQ(printed, u"Предупреждение: первая вторая\n"_s);
}

TEST_F(BatchDialogsTest, InformationIsNoError) {
    BatchDialogs& boxes = dialogs(false);
    boxes.information(u"Новый ключ"_s, u"ключ"_s);
    EXPECT_EQ(boxes.takeErrors(), QStringList());
}

TEST_F(BatchDialogsTest, YesAnswersEveryQuestion) {
    BatchDialogs& boxes = dialogs(true);
    EXPECT_TRUE(boxes.question(u"Вопрос"_s, u"Да?"_s));
    EXPECT_EQ(boxes.takeErrors(), QStringList());
}

TEST_F(BatchDialogsTest, TheActionsOwnAnswerGoesBeforeYesAndOnlyOnce) {
    BatchDialogs& boxes = dialogs(true);
    boxes.answer(u"Считать?"_s, false);
    EXPECT_FALSE(boxes.question(u"Вопрос"_s, u"Считать?"_s));
    EXPECT_TRUE(boxes.question(u"Вопрос"_s, u"Считать?"_s));
}

TEST_F(BatchDialogsTest, AChooserGetsTheNamedFileOnce) {
    BatchDialogs& boxes = dialogs(false);
    boxes.chooseFile(u"a.set"_s);
    EXPECT_EQ(boxes.openFile(u"Загрузка параметров"_s, {}, {}), u"a.set"_s);
    EXPECT_EQ(boxes.saveFile(u"Сохранить настройки"_s, {}, {}, {}), QString());
}

TEST_F(BatchDialogsTest, AChooserWithoutAFileIsAnError) {
    BatchDialogs& boxes = dialogs(false);
    static_cast<void>(boxes.openFile(u"Загрузка параметров"_s, {}, {}));
    EXPECT_EQ(boxes.takeErrors(), QStringList{u"Загрузка параметров: no file named for it"_s});
}

} // namespace
