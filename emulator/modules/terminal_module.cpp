#include "cp1251.h"
#include "emu_module.h"
#include "module_registry.h"

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

// Typed commands that no other module knows get a plain text answer, as a controller's command
// line does, so the program's terminal shows something real. Queries and writes ('#') stay
// unanswered like on the controller.
class TerminalModule final : public EmuModule {
public:
    bool handle(const Request& request, Responder& out) override {
        const QByteArray text = request.text().trimmed();
        if (text.isEmpty() || text.startsWith('#')) {
            return false;
        }
        out.reply(' ' + support::Cp1251::fromUnicode(u"Неизвестная команда: "_s) + text);
        return true;
    }
};

[[maybe_unused]] const bool registered = ModuleRegistry::instance().add(
    {u"terminal"_s,
     {},
     [](const QCommandLineParser&) { return std::make_unique<TerminalModule>(); },
     true});

} // namespace

} // namespace talvik::emu
