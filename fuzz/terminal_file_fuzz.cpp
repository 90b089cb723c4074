// Feeds arbitrary bytes to the "terminal.txt" reader: nothing may crash, the history never holds
// an empty line, and what the reader made of a file is written back and read again unchanged.
#include "terminal_file.h"

#include <cstdint>
#include <cstdlib>

using namespace talvik::app;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TerminalFile file =
        TerminalFile::Decode(QByteArrayView(reinterpret_cast<const char*>(data), size));
    for (const QString& command : file.history) {
        if (command.isEmpty()) {
            std::abort();
        }
    }
    const TerminalFile again = TerminalFile::Decode(file.Encode());
    if (again.history != file.history) {
        std::abort();
    }
    return 0;
}
