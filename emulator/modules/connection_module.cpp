#include "emu_module.h"
#include "module_registry.h"

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

// Answers the program's idle probe: the first probe of a session gets the connect announcement,
// later ones a harmless '#' text that only proves the line is alive (the program drops '#' texts
// it cannot sort and does not print them).
class ConnectionModule final : public EmuModule {
public:
    bool handle(const Request& request, Responder& out) override {
        if (!request.keepAlive()) {
            return false;
        }
        if (m_announced) {
            out.reply(QByteArrayLiteral(" #"));
        } else {
            m_announced = true;
            out.reply(QByteArrayLiteral("\x01Talvik controller emulator"));
        }
        return true;
    }

    void hostLost() override { m_announced = false; }

private:
    bool m_announced = false;
};

[[maybe_unused]] const bool registered =
    ModuleRegistry::instance().add({u"connection"_s, {}, [](const QCommandLineParser&) {
                                        return std::make_unique<ConnectionModule>();
                                    }});

} // namespace

} // namespace talvik::emu
