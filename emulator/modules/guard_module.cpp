#include "emu_module.h"
#include "module_registry.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

// The guard (status 0): " #S0=1" arms it after a countdown that status 0 shows in tenths of a
// second (whole seconds, so it never reads 1 before the guard is on), " #S0=0" disarms it at
// once. The guard stays as it is when the controller restarts.
class GuardModule final : public EmuModule {
public:
    static constexpr std::uint32_t kArmingMs = 5000;

    bool handle(const Request& request, Responder& out) override {
        const QByteArray text = request.text();
        if (text == "#S0=1") {
            if (m_state == State::Off) {
                m_state = State::Arming;
                m_armedAt = request.atMs;
            }
        } else if (text == "#S0=0") {
            m_state = State::Off;
        } else {
            return false;
        }
        out.reply(" #S0:" + *statusValue(0, request.atMs));
        return true;
    }

    std::optional<QByteArray> statusValue(int number, std::uint32_t atMs) override {
        if (number != 0) {
            return std::nullopt;
        }
        if (m_state == State::Arming) {
            const std::uint32_t elapsed = atMs - m_armedAt;
            if (elapsed < kArmingMs) {
                return QByteArray::number((kArmingMs - elapsed + 999) / 1000 * 10);
            }
            m_state = State::On;
        }
        return QByteArray(m_state == State::On ? "1" : "0");
    }

private:
    enum class State { Off, Arming, On };

    State m_state = State::Off;
    std::uint32_t m_armedAt = 0;
};

[[maybe_unused]] const bool registered = ModuleRegistry::instance().add(
    {u"guard"_s, {}, [](const QCommandLineParser&) { return std::make_unique<GuardModule>(); }});

} // namespace

} // namespace talvik::emu
