#include "emu_module.h"
#include "module_registry.h"

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

// " ReStarT" restarts the controller: it goes quiet for longer than the program waits before it
// gives the link up, and then answers the program's next probe with a new announcement.
class RestartModule final : public EmuModule {
public:
    explicit RestartModule(std::uint32_t quietMs) : m_quietMs(quietMs) {}

    bool handle(const Request& request, Responder& out) override {
        if (request.text() != "ReStarT") {
            return false;
        }
        out.restart(m_quietMs);
        return true;
    }

private:
    std::uint32_t m_quietMs;
};

std::unique_ptr<EmuModule> create(const QCommandLineParser& parser) {
    bool ok = false;
    const double seconds = parser.value(u"restart-quiet"_s).toDouble(&ok);
    if (!ok || seconds < 0 || seconds > 600) {
        ModuleRegistry::refuse(u"--restart-quiet takes a number of seconds"_s);
    }
    return std::make_unique<RestartModule>(static_cast<std::uint32_t>(seconds * 1000));
}

[[maybe_unused]] const bool registered = ModuleRegistry::instance().add(
    {u"restart"_s,
     {{u"restart-quiet"_s,
       u"Seconds the controller stays quiet after \" ReStarT\" (default 8, longer than the "
       u"program's link-loss time, so the program finds it again)."_s,
       u"seconds"_s, u"8"_s}},
     create});

} // namespace

} // namespace talvik::emu
