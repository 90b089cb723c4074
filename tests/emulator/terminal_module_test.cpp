#include "cp1251.h"
#include "emu_harness.h"

using namespace Qt::StringLiterals;
using namespace talvik::support;

namespace {

// The answer to an unknown typed command is covered end to end; what must not get it is here.
TEST(EmuTerminal, KnownCommandsAndQueriesAreNotTakenAsUnknown) {
    EmuHarness emu;
    EXPECT_TRUE(Cp1251::toUnicode(emu.ask("ver")).startsWith(u" Версия"_s));
    EXPECT_TRUE(emu.send("#P99999?#X").empty());
}

} // namespace
