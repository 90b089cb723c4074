#include "cp1251.h"
#include "emu_module.h"
#include "module_registry.h"
#include "version_reply.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

// Identification (" ver", the serial number) and the status queries the program polls, which may
// ask in one command for values that other modules keep (the guard, the thermometers). The
// supply and network run through a one-minute story so that a watching user and the tests see
// every state: mains then backup supply; the signal level wandering; a short spell of roaming.
class IdentificationModule final : public EmuModule {
public:
    IdentificationModule(QString version, QString hardware, QByteArray serial)
        : m_version(std::move(version)), m_hardware(std::move(hardware)),
          m_serial(std::move(serial)) {}

    bool handle(const Request& request, Responder& out) override {
        const QByteArray text = request.text();
        if (!m_sessionStart) {
            m_sessionStart = request.atMs;
        }
        if (text == "ver") {
            out.reply(' ' + VersionReply(m_version, m_hardware));
            return true;
        }
        if (!text.startsWith("#S")) {
            return false;
        }
        QByteArray answer;
        for (const QByteArray& query : text.mid(1).split('#')) {
            const std::optional<int> number = queriedNumber(query);
            const std::optional<QByteArray> value = number ? out.status(*number) : std::nullopt;
            if (!value) {
                return false; // not a status query, or one nobody keeps
            }
            answer += '#' + query.chopped(1) + ':' + *value;
        }
        out.reply(' ' + answer);
        return true;
    }

    void hostLost() override { m_sessionStart.reset(); }

    std::optional<QByteArray> statusValue(int number, std::uint32_t atMs) override {
        const std::uint32_t second = (atMs - m_sessionStart.value_or(atMs)) % kStoryMs / 1000;
        switch (number) {
        case 4: {
            const int level = 14 + static_cast<int>(second * 7 % 18);
            const char* network = second >= 50 && second < 55 ? " 5 " : " 1 ";
            return QByteArray::number(level) + network + support::Cp1251::fromUnicode(u"МегаФон"_s);
        }
        case 6:
            return second < 45 ? QByteArray::number(124 + second % 5) + " 0" : QByteArray("41 1");
        case 54:
            return m_serial;
        default:
            return std::nullopt;
        }
    }

private:
    static constexpr std::uint32_t kStoryMs = 60000;

    // The number of an "S<n>?" query.
    [[nodiscard]] static std::optional<int> queriedNumber(const QByteArray& query) {
        if (!query.startsWith('S') || !query.endsWith('?')) {
            return std::nullopt;
        }
        bool ok = false;
        const int number = query.mid(1, query.size() - 2).toInt(&ok);
        return ok ? std::optional<int>(number) : std::nullopt;
    }

    QString m_version;
    QString m_hardware;
    QByteArray m_serial;
    std::optional<std::uint32_t> m_sessionStart;
};

[[maybe_unused]] const bool registered = ModuleRegistry::instance().add(
    {u"identification"_s,
     {{u"version"_s, u"Configuration version the controller reports (default 2.19)."_s, u"text"_s,
       u"2.19"_s},
      {u"hardware"_s,
       u"Hardware number the controller reports (default 412), which also decides how it takes "
       u"uploads; empty leaves out \"HV\"."_s,
       u"number"_s, u"412"_s},
      {u"serial"_s, u"Serial number the controller reports (default 0123456789AB)."_s, u"text"_s,
       u"0123456789AB"_s}},
     [](const QCommandLineParser& parser) {
         return std::make_unique<IdentificationModule>(
             parser.value(u"version"_s), parser.value(u"hardware"_s),
             support::Cp1251::fromUnicode(parser.value(u"serial"_s)));
     }});

} // namespace

} // namespace talvik::emu
