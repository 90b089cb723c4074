// talvik-iface: lets a person editing Interface/interface.h check it without the window.

#include "device_type.h"
#include "interface_model.h"
#include "plan_json.h"
#include "tree_json.h"
#include "yaml_root.h"

#include <QFileInfo>
#include <QString>
#include <cstdio>
#include <cstring>
#include <string>

using namespace talvik::iface;
using namespace talvik::tools;

namespace {

constexpr char kHelp[] = R"(Usage:
  talvik-iface tree FILE
  talvik-iface plan [--type CODE] [--version V] FILE
  talvik-iface --help

Checks an interface description (Interface/interface.h) the way the programmer reads it,
so that the person editing it sees mistakes and numbering before starting the window.

  tree   Reads FILE (UTF-8) with the programmer's tree-text reader and prints the document
         as JSON: {"kind":"empty"}, {"kind":"scalar","text":T,"quoted":B},
         {"kind":"list","items":[...]} or {"kind":"map","entries":[[KEY,NODE],...]}.
         Use it to see how a line was understood (is a value quoted, is it a list item
         or part of the key before it, which key a repeated key hides).

  plan   Prints what the settings window builds from FILE for one device type and
         firmware version: pages, groups and fields in creation order with templates
         expanded, every text as the window shows it, and the setting number each field
         edits; then the Disables rules and the Voices table. Use it to check which
         setting number a field gets and which elements HW, HW_except, SinceVer and
         TillVer leave out.
           --type CODE    device-type code: 406 Orvix TQ-11, 412 Orvix TQ-12,
                          403 Orvix TQ-13, 414 Orvix TQ-14, 415 Pellam Q5 (default);
                          0 (no model chosen) reads and builds nothing
           --version V    firmware version to compare with SinceVer and TillVer
                          (default 9.99, as when no controller is connected)

A description that would keep the window busy too long (template calls nested too
deep or expanding without end, or pages of more controls, table cells or table
columns than the window builds in well under a second) is cut short at that point:
the plan prints what came before, and "template calls nest too deep or expand too
far, or the pages would hold too many controls; the plan is cut short" goes to
standard error and to log.txt.

When the reader rejects the file, both commands print null, write
"NODE is invalid in line:<TAB>N" to standard error and to log.txt, and exit with
status 1. N counts lines from 0: the offending line is line N+1 in an editor.
Exit status 2: wrong arguments or a file that cannot be read.
)";

int usage() {
    std::fputs(kHelp, stderr);
    return 2;
}

bool readable(const char* path) {
    const QFileInfo info(QString::fromLocal8Bit(path));
    if (!info.isFile() || !info.isReadable()) {
        std::fprintf(stderr, "talvik-iface: cannot read %s\n", path);
        return false;
    }
    return true;
}

// Prints the reader's verdict on a rejected file; false when the document can be used.
bool rejected(const YamlRoot& document) {
    if (document.errorLine() < 0) {
        return false;
    }
    std::puts("null");
    std::fprintf(stderr, "NODE is invalid in line:\t%d\n", document.errorLine());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc < 3) {
        return usage();
    }
    const std::string command = argv[1];
    if (command == "tree") {
        if (argc != 3) {
            return usage();
        }
        if (!readable(argv[2])) {
            return 2;
        }
        const YamlRoot document(QString::fromLocal8Bit(argv[2]), 65001);
        if (rejected(document)) {
            return 1;
        }
        PrintTreeJson(document.root(), stdout);
        return 0;
    }
    if (command != "plan") {
        return usage();
    }
    int type = DeviceType::kCodes[5];
    QString version = DeviceType::noDeviceVersion();
    int i = 2;
    for (; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--type") == 0) {
            bool ok = false;
            type = QString::fromLocal8Bit(argv[i + 1]).toInt(&ok);
            if (!ok) {
                return usage();
            }
        } else if (std::strcmp(argv[i], "--version") == 0) {
            version = QString::fromLocal8Bit(argv[i + 1]);
        } else {
            break;
        }
    }
    if (i != argc - 1) {
        return usage();
    }
    if (!readable(argv[i])) {
        return 2;
    }
    // With no model chosen the window neither reads the description nor builds anything.
    if (type == 0) {
        std::puts(PlanJson({}).c_str());
        return 0;
    }
    const YamlRoot document(QString::fromLocal8Bit(argv[i]), 65001);
    if (rejected(document)) {
        return 1;
    }
    const InterfacePlan plan = InterfaceModel::plan(document.root(), type, version);
    std::puts(PlanJson(plan).c_str());
    if (plan.truncated) {
        std::fprintf(stderr, "talvik-iface: %s\n", InterfaceModel::kCutShort);
    }
    return 0;
}
