#include "test_dir.h"

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
    [[nodiscard]] Json json() const { return Json::parse(out.toStdString(), nullptr, false); }
};

ToolRun runTool(const QStringList& arguments) {
    QProcess process;
    process.start(qEnvironmentVariable("TALVIK_BIN_DIR") + QStringLiteral("/talvik-iface"),
                  arguments);
    ToolRun run;
    if (process.waitForFinished(30000)) {
        run = {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
    return run;
}

TEST(TalvikIfaceTool, TreePrintsEveryKindOfNode) {
    TestDir dir;
    dir.writeFile(QStringLiteral("d.h"), "a: 1\nb: \"q\"\nc:\n  - \n  - [x]\na: {}\n");
    const ToolRun run = runTool({QStringLiteral("tree"), dir.file(QStringLiteral("d.h"))});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.json(), Json::parse(R"({"kind":"map","entries":[
        ["a",{"kind":"scalar","text":"1","quoted":false}],
        ["b",{"kind":"scalar","text":"q","quoted":true}],
        ["c",{"kind":"list","items":[{"kind":"empty"},
              {"kind":"list","items":[{"kind":"scalar","text":"x","quoted":false}]}]}],
        ["a",{"kind":"map","entries":[]}]]})"));
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
    EXPECT_EQ(runTool({QStringLiteral("tree"), dir.file(QStringLiteral("none.h"))}).status, 2);
    EXPECT_EQ(runTool({QStringLiteral("plan"), QStringLiteral("--type")}).status, 2);
    // With no model chosen the file is not even read.
    const ToolRun none = runTool({QStringLiteral("plan"), QStringLiteral("--type"),
                                  QStringLiteral("0"), dir.file(QStringLiteral("bad.h"))});
    EXPECT_EQ(none.json(), Json::parse(R"({"content":[],"disables":[],"voices":[]})"));
    const ToolRun help = runTool({QStringLiteral("--help")});
    EXPECT_TRUE(help.out.contains("Interface/interface.h") && help.out.contains("setting number"));
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
  - Type: GroupBox
    Caption: Main
    Hint: G
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
      - Type: ComboList
        Contents:
          - - Mode
            - [Off, On]
            - [4]
      - Type: CheckBits
        Caption: Out
        Bits: [A, B]
      - Type: Table
        HW: [406]
        Columns: [A]
        Lines: [L]
  - Type: Tab
    Caption: Help
    Content:
      - Type: RichEdit
        File: help.rtf
        Height: 80
      - Type: Label
        Caption: Done
Disables:
  - Trigger: 7
    Affects:
      - Who: 8
        ByValue: [0]
Voices:
  - - 2.0
    - [a]
)");
    const ToolRun run = runTool({QStringLiteral("plan"), dir.file(QStringLiteral("i.h"))});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.json(), Json::parse(R"({"content":[
        {"type":"GroupBox","caption":"Main","hint":"G","content":[
          {"type":"Edit","caption":"Delay","hint":"","setting":5,"special":"integer",
           "limits":[0,99],"offset":1},
          {"type":"Check","caption":"Siren","hint":"Loud","setting":6,"disables":[8,9]},
          {"type":"Combo","caption":"Mode","hint":"","setting":7,"items":["Off","On"],
           "codes":[4,0]},
          {"type":"Bits","caption":"Out","hint":"","setting":8,"bits":["A","B"]}]},
        {"type":"Tab","caption":"Help","content":[{"type":"RichEdit","file":"help.rtf","height":80},
          {"type":"Label","caption":"Done"}]}],
        "disables":[{"trigger":7,"who":8,"values":[0]}],"voices":[{"version":"2.0","words":["a"]}]})"))
        << run.out.toStdString();

    const ToolRun tq11 =
        runTool({QStringLiteral("plan"), QStringLiteral("--version"), QStringLiteral("1.0"),
                 QStringLiteral("--type"), QStringLiteral("406"), dir.file(QStringLiteral("i.h"))});
    EXPECT_EQ(tq11.json()["content"][0]["content"][4],
              Json::parse(R"({"type":"Table","columns":["A"],"lines":["L"],"settings":[[9]]})"));
}

} // namespace
