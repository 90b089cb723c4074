#include "test_dir.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess process;
    process.start(qEnvironmentVariable("TALVIK_BIN_DIR") + QStringLiteral("/talvik-iface"),
                  arguments);
    ToolRun run;
    if (!process.waitForFinished(30000)) {
        return run;
    }
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

Json parsed(const QByteArray& text) {
    return Json::parse(text.toStdString(), nullptr, false);
}

TEST(TalvikIfaceTool, TreePrintsEveryKindOfNode) {
    TestDir dir;
    dir.writeFile(QStringLiteral("d.h"), "a: 1\nb: \"q\"\nc:\n  - \n  - [x]\na: {}\n");
    const ToolRun run = runTool({QStringLiteral("tree"), dir.file(QStringLiteral("d.h"))});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const Json expected = Json::parse(R"({"kind":"map","entries":[
        ["a",{"kind":"scalar","text":"1","quoted":false}],
        ["b",{"kind":"scalar","text":"q","quoted":true}],
        ["c",{"kind":"list","items":[{"kind":"empty"},
              {"kind":"list","items":[{"kind":"scalar","text":"x","quoted":false}]}]}],
        ["a",{"kind":"map","entries":[]}]]})");
    EXPECT_EQ(parsed(run.out), expected) << run.out.toStdString();

    dir.writeFile(QStringLiteral("empty.h"), {});
    const ToolRun empty = runTool({QStringLiteral("tree"), dir.file(QStringLiteral("empty.h"))});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out.trimmed(), "null");
}

TEST(TalvikIfaceTool, RejectedFileExitsWithTheLineOnStderrAndInTheLog) {
    TestDir dir;
    dir.writeFile(QStringLiteral("bad.h"), "a:\r\n  b: 1\r\n - c\r\n");
    for (const QString& command : {QStringLiteral("tree"), QStringLiteral("plan")}) {
        const ToolRun run = runTool({command, dir.file(QStringLiteral("bad.h"))});
        EXPECT_EQ(run.status, 1) << command.toStdString();
        EXPECT_EQ(run.out.trimmed(), "null");
        EXPECT_EQ(run.err, "NODE is invalid in line:\t2\n");
    }
    // The tool runs in the test's folder, so its log lands here.
    EXPECT_TRUE(dir.readFile(QStringLiteral("log.txt")).contains("NODE is invalid in line:\t2\n"));

    const ToolRun missing = runTool({QStringLiteral("tree"), dir.file(QStringLiteral("none.h"))});
    EXPECT_EQ(missing.status, 2);
    const ToolRun wrong = runTool({QStringLiteral("plan"), QStringLiteral("--type")});
    EXPECT_EQ(wrong.status, 2);
}

TEST(TalvikIfaceTool, PlanShowsFieldsWithTheirSettings) {
    TestDir dir;
    dir.writeFile(QStringLiteral("i.h"), R"(Templates:
  T:
    - Type: CheckList
      Captions: [0]
      Hints: [1]
      Disable:
        - [8, 9]
Structure:
  - Type: Tab
    Caption: Main
    Values: [5, 6, 7, 8, 9, 10, 11]
    Content:
      - Type: EditList
        Special: integer
        Limits: [0, 99]
        Offset: 1
        Captions: [Delay]
      - Type: TemplateList
        Name: T
        Params:
          - [Siren, Loud]
      - Type: ComboSameList
        Captions: [Mode]
        Contents: [Off, On]
      - Type: RichEdit
        File: help.rtf
        Height: 80
      - Type: Table
        HW: [406]
        Columns: [A]
        Lines: [L]
      - Type: Label
        Caption: Done
Voices:
  - - 2.0
    - [a]
)");
    const ToolRun run = runTool({QStringLiteral("plan"), dir.file(QStringLiteral("i.h"))});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const Json expected = Json::parse(R"({"content":[{"type":"Tab","caption":"Main","content":[
        {"type":"Edit","caption":"Delay","hint":"","setting":5,"special":"integer",
         "limits":[0,99],"offset":1},
        {"type":"Check","caption":"Siren","hint":"Loud","setting":6,"disables":[8,9]},
        {"type":"Combo","caption":"Mode","hint":"","setting":7,"items":["Off","On"]},
        {"type":"RichEdit","file":"help.rtf","height":80},
        {"type":"Label","caption":"Done"}]}],
        "disables":[],"voices":[{"version":"2.0","words":["a"]}]})");
    EXPECT_EQ(parsed(run.out), expected) << run.out.toStdString();

    const ToolRun tq11 =
        runTool({QStringLiteral("plan"), QStringLiteral("--version"), QStringLiteral("1.0"),
                 QStringLiteral("--type"), QStringLiteral("406"), dir.file(QStringLiteral("i.h"))});
    const Json table = parsed(tq11.out)["content"][0]["content"][4];
    EXPECT_EQ(table, Json::parse(R"({"type":"Table","columns":["A"],"lines":["L"],
                                     "settings":[[8]]})"));

    const ToolRun none = runTool({QStringLiteral("plan"), QStringLiteral("--type"),
                                  QStringLiteral("0"), dir.file(QStringLiteral("i.h"))});
    EXPECT_EQ(parsed(none.out), Json::parse(R"({"content":[],"disables":[],"voices":[]})"));
}

TEST(TalvikIfaceTool, HelpNamesTheDescriptionFile) {
    const ToolRun run = runTool({QStringLiteral("--help")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains("Interface/interface.h"));
    EXPECT_TRUE(run.out.contains("setting number"));
}

} // namespace
