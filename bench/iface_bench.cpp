// Interface description: how fast the tree-text reader reads a large description (against
// yaml-cpp on the same text) and how long the model takes to plan the pages of a rich one and
// of the richest shipped one.

#include "device_type.h"
#include "interface_model.h"
#include "yaml_root.h"

#include <QByteArray>
#include <QString>
#include <benchmark/benchmark.h>
#include <yaml-cpp/yaml.h>

#include <string>

using namespace talvik::iface;

namespace {

// A description in the shape of the shipped ones: templates for phones and zones, and per page
// groups of every element kind, version- and model-dependent elements and template calls.
std::string description(int pages) {
    std::string out = R"(Templates:
  Phone:
    - Type: EditList
      Special: phone
      Captions: [0]
      Hints: [1]
  Zone:
    - Type: GroupBox
      Caption: 0
      Hint: "Zone settings: type, delay and outputs"
      Content:
        - Type: ComboList
          Width: 150
          Contents:
            - - 1
              - [Off, Instant, Delayed, "24 hours", Fire]
              - [0, 1, 2, 4, 8]
          Hints: [Zone type]
        - Type: EditList
          Special: double10
          Limits: [0, 600]
          Captions: [Entry delay, Exit delay]
        - Type: CheckBits
          Caption: 2
          Bits: [Siren, Light, "Call owner", "SMS owner", Output 1, Output 2, Output 3, Output 4]
Structure:
)";
    int number = 1;
    for (int page = 0; page < pages; ++page) {
        const std::string p = std::to_string(page);
        out += "  - Type: Tab\n    Caption: Page " + p + "\n    Values: [";
        for (int i = 0; i < 40; ++i) {
            out += std::to_string(number++) + (i < 39 ? ", " : "]\n");
        }
        out += R"(    Content:
      - Type: GroupBox
        Caption: Phones and access
        Hint: "Numbers that may call the controller and receive its messages"
        Content:
          - Type: TemplateList
            Name: Phone
            Params:
              - [Owner phone, "Main number - called first"]
              - [Spare phone, "Called when the owner does not answer"]
              - [Service phone, "3"]
          - Type: EditList
            Special: integer
            Limits: [0, 255]
            Offset: 1
            Captions: [Rings before answer, Call attempts, Pause between calls]
            Hints: ["0 means never", "How many times", "In seconds"]
          - Type: EditList
            SinceVer: 1.66
            Special: voice
            Captions: [Greeting]
          - Type: CheckList
            HW: [406, 412, 415]
            Captions: [Answer unknown numbers, Report by SMS, Report by voice]
            Disable:
              - [12, 13]
              - []
      - Type: ComboSameList
        Captions: [Output 1 mode, Output 2 mode, Output 3 mode]
        Contents: [Off, "On while armed", Pulse, Siren, Ignition lock]
      - Type: Table
        TillVer: 2.33
        Columns: [Mon, Tue, Wed, Thu, Fri]
        Lines: [From, To]
      - Type: TemplateList
        Name: Zone
        Values: [200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211]
        Params:
          - [Zone 1, Zone 1 type, Zone 1 outputs]
          - [Zone 2, Zone 2 type, Zone 2 outputs]
          - [Zone 3, Zone 3 type, Zone 3 outputs]
      - Type: Label
        HW_except: [403]
        Caption: Settings below apply after the controller restarts
      - Type: RichEdit
        File: help.rtf
        Height: 120
)";
    }
    out += R"(Disables:
  - Trigger: 3
    Affects:
      - Who: 4
        ByValue: [0]
      - Who: 5
        ByValue: [0, 2]
Voices:
  - - 1.0
    - [one, two, three, alarm, zone, door]
  - - 2.19
    - [one, two, three, alarm, zone, door, trunk, hood]
)";
    return out;
}

// About 2 MB of text.
const std::string& bigDescription() {
    static const std::string text = description(1000);
    return text;
}

void BM_YamlRootRead(benchmark::State& state) {
    const std::string& text = bigDescription();
    for (auto _ : state) {
        YamlRoot document;
        const bool ok = document.parse(QString::fromUtf8(text.data(), qsizetype(text.size())));
        benchmark::DoNotOptimize(ok);
        if (!ok) {
            state.SkipWithError("the description was rejected");
        }
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size()));
}
BENCHMARK(BM_YamlRootRead)->Unit(benchmark::kMillisecond);

void BM_YamlCppRead(benchmark::State& state) {
    const std::string& text = bigDescription();
    for (auto _ : state) {
        YAML::Node node = YAML::Load(text);
        benchmark::DoNotOptimize(node);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size()));
}
BENCHMARK(BM_YamlCppRead)->Unit(benchmark::kMillisecond);

// The plan of a description of state.range(0) pages, for the device and version with the most
// elements shown.
void BM_InterfaceModelPlan(benchmark::State& state) {
    const std::string text = description(int(state.range(0)));
    YamlRoot document;
    if (!document.parse(QString::fromUtf8(text.data(), qsizetype(text.size())))) {
        state.SkipWithError("the description was rejected");
        return;
    }
    qsizetype pages = 0;
    for (auto _ : state) {
        InterfacePlan plan = InterfaceModel::plan(document.root(), 415, u"2.19");
        pages = plan.content.size();
        benchmark::DoNotOptimize(plan);
    }
    state.counters["bytes"] = double(text.size());
    // A large description is cut short once its pages would hold too many controls.
    state.counters["pages"] = double(pages);
}
BENCHMARK(BM_InterfaceModelPlan)->Arg(8)->Arg(20)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The longest a description can keep the model busy: forty templates, each calling the next with
// two argument lists, stay within the nesting limit and would expand 2^40 times; the plan is cut
// short when its work runs out.
void BM_InterfaceModelPlanRunaway(benchmark::State& state) {
    constexpr int kTemplates = 40;
    std::string text = "Templates:\n";
    for (int i = 0; i < kTemplates; ++i) {
        text += "  T" + std::to_string(i) + ":\n    - Type: TemplateList\n      Name: T" +
                std::to_string(i + 1) + "\n      Params: [[a], [b]]\n";
    }
    text += "Structure:\n  - Type: TemplateList\n    Name: T0\n    Params: [[x]]\n";
    YamlRoot document;
    if (!document.parse(QString::fromStdString(text))) {
        state.SkipWithError("the description was rejected");
        return;
    }
    for (auto _ : state) {
        InterfacePlan plan = InterfaceModel::plan(document.root(), 415, u"2.19");
        if (!plan.truncated) {
            state.SkipWithError("the plan was not cut short");
        }
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_InterfaceModelPlanRunaway)->Unit(benchmark::kMillisecond);

// The plan of the richest shipped description, as the window builds it for a Pellam Q5 with no
// controller connected.
void BM_InterfaceModelPlanShipped(benchmark::State& state) {
    const YamlRoot document(QStringLiteral(TALVIK_SOURCE_DIR "/data/Interface/interface.h"), 65001);
    if (!document.root().valid()) {
        state.SkipWithError("the shipped description was not read");
        return;
    }
    std::int64_t items = 0;
    for (auto _ : state) {
        InterfacePlan plan = InterfaceModel::plan(document.root(), DeviceType::kCodes[5],
                                                  DeviceType::noDeviceVersion());
        items = plan.content.size();
        benchmark::DoNotOptimize(plan);
    }
    state.counters["tabs"] = double(items);
}
BENCHMARK(BM_InterfaceModelPlanShipped)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
