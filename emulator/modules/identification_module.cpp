#include "cp1251.h"
#include "emu_module.h"
#include "module_registry.h"

#include <QList>

#include <optional>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

// The thermometers on the controller's 1-Wire bus: slot, reading offset and serial number.
struct Thermometer {
    int slot;
    int kelvinTenths;
    const char* serial;
};
constexpr Thermometer kThermometers[] = {{0, 2961, "28FF4A1B03000012"},
                                         {2, 2735, "28FF0C7A0300005E"}};
constexpr int kThermometerSlots = 10;
constexpr int kFirstSlotSetting = 653;

// Identification (" ver", the serial number) and the live status the program polls. The status
// runs through a one-minute story so that a watching user and the tests see every state: guard
// off, arming, guard on; mains then backup supply; the signal level wandering; a short spell of
// roaming.
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
        const std::uint32_t ms = (request.atMs - *m_sessionStart) % kStoryMs;
        if (text == "ver") {
            out.reply(' ' + versionText());
            return true;
        }
        if (text == "#S63=1") {
            return true; // switches on the controller's own status reports; nothing to answer
        }
        if (text.startsWith("#P")) {
            const std::optional<QByteArray> serial = thermometerSerial(text);
            if (serial) {
                out.reply(" " + text.chopped(1) + ':' + *serial);
            }
            return serial.has_value();
        }
        if (!text.startsWith("#S")) {
            return false;
        }
        QByteArray answer;
        for (const QByteArray& query : text.mid(1).split('#')) {
            const std::optional<QByteArray> value = status(query, ms);
            if (!value) {
                return false; // not a status this module knows: maybe another module's
            }
            answer += '#' + query.chopped(1) + ':' + *value;
        }
        out.reply(' ' + answer);
        return true;
    }

    void hostLost() override { m_sessionStart.reset(); }

private:
    static constexpr std::uint32_t kStoryMs = 60000;

    [[nodiscard]] QByteArray versionText() const {
        QString text = u"Версия ПО: 3.0.1 Конфигурация: "_s + m_version;
        if (!m_hardware.isEmpty()) {
            text += u" HV: "_s + m_hardware;
        }
        return support::Cp1251::fromUnicode(text);
    }

    // "#P653?" to "#P662?" ask for the serial number of a thermometer slot.
    [[nodiscard]] static std::optional<QByteArray> thermometerSerial(const QByteArray& text) {
        if (!text.endsWith('?')) {
            return std::nullopt;
        }
        bool ok = false;
        const int slot = text.mid(2, text.size() - 3).toInt(&ok) - kFirstSlotSetting;
        if (!ok || slot < 0 || slot >= kThermometerSlots) {
            return std::nullopt;
        }
        for (const Thermometer& t : kThermometers) {
            if (t.slot == slot) {
                return QByteArray(t.serial);
            }
        }
        return QByteArray();
    }

    // The value of one "S<n>?" query at the given point of the story, or nothing for other
    // queries.
    [[nodiscard]] std::optional<QByteArray> status(const QByteArray& query,
                                                   std::uint32_t ms) const {
        const std::uint32_t second = ms / 1000;
        if (query == "S0?") {
            if (second < 20) {
                return QByteArray("0");
            }
            if (second < 30) { // arming: whole seconds left, in tenths
                return QByteArray::number((30000 - ms + 999) / 1000 * 10);
            }
            return QByteArray("1");
        }
        if (query == "S4?") {
            const int level = 14 + static_cast<int>(second * 7 % 18);
            const char* network = second >= 50 && second < 55 ? " 5 " : " 1 ";
            return QByteArray::number(level) + network + support::Cp1251::fromUnicode(u"МегаФон"_s);
        }
        if (query == "S6?") {
            return second < 45 ? QByteArray::number(124 + second % 5) + " 0" : QByteArray("41 1");
        }
        if (query == "S23?") {
            QList<QByteArray> readings(kThermometerSlots, "0");
            for (const Thermometer& t : kThermometers) {
                readings[t.slot] =
                    QByteArray::number(t.kelvinTenths + static_cast<int>(second % 7));
            }
            return readings.join(' ');
        }
        if (query == "S54?") {
            return m_serial;
        }
        return std::nullopt;
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
       u"Hardware number the controller reports (default 412); empty leaves out \"HV\"."_s,
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
