#include "emu_module.h"
#include "module_registry.h"

#include <QList>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

constexpr std::uint32_t kLearningMs = 60000;
// While learning, a new device is heard this long after the start and then again and again.
constexpr std::uint32_t kNewDeviceEveryMs = 4000;
constexpr std::uint32_t kDefaultPeriodMs = 5000;
// Devices given with --radio-devices are numbered from here; learned ones follow them.
constexpr int kFirstNumber = 101;

// The kinds of radio device the controller learns, in the order new ones turn up: remotes
// "AM", sensors "RQ", thermometers "TK1", and fuel-level sensors "DT".
const QByteArray kTypes[] = {"AM", "RQ", "TK1", "DT"};

struct Device {
    QByteArray type;
    std::uint32_t due = 0;
    int reports = 0;
};

// The radio side of the controller. After the program's " #S63=1" it reports every device it
// knows every few seconds ("#R:%<n>% <type> :<data>", the data as decimal bytes). " #S63=60"
// starts a minute of learning, during which a new device of the next type turns up every few
// seconds; " #S63=0" ends it. " #S64=<n>" removes a device and answers "#S64:<n> 0", or "1" for
// the device that --refuse-removal names.
class RadioModule final : public EmuModule {
public:
    RadioModule(int known, std::uint32_t periodMs, int refused, std::uint32_t seed)
        : m_periodMs(periodMs), m_refused(refused), m_random(seed) {
        for (int i = 0; i < known; ++i) {
            m_devices[kFirstNumber + i].type = kTypes[static_cast<std::size_t>(i) % 4];
        }
        m_nextNumber = kFirstNumber + known;
    }

    bool handle(const Request& request, Responder& out) override {
        const QByteArray text = request.text();
        if (text == "#S63=1") {
            startReporting(request.atMs);
            return true;
        }
        if (text == "#S63=60") {
            m_learningUntil = request.atMs + kLearningMs;
            m_nextNewAt = request.atMs + kNewDeviceEveryMs;
            return true;
        }
        if (text == "#S63=0") {
            m_learningUntil.reset();
            return true;
        }
        if (!text.startsWith("#S64=")) {
            return false;
        }
        bool ok = false;
        const int number = text.mid(5).toInt(&ok);
        if (!ok) {
            return false;
        }
        const bool removed = number != m_refused;
        if (removed) {
            m_devices.erase(number);
        }
        out.reply(" #S64:" + QByteArray::number(number) + (removed ? " 0" : " 1"));
        return true;
    }

    [[nodiscard]] std::optional<std::uint32_t> msUntilDue(std::uint32_t now) const override {
        std::optional<std::uint32_t> next;
        const auto consider = [&](std::uint32_t due) {
            const std::uint32_t wait = static_cast<std::int32_t>(due - now) > 0 ? due - now : 0;
            next = next ? std::min(*next, wait) : wait;
        };
        if (!m_reporting) {
            return next;
        }
        for (const auto& entry : m_devices) {
            consider(entry.second.due);
        }
        if (learning(now)) {
            consider(m_nextNewAt);
        }
        return next;
    }

    bool sendDue(Responder& out, std::uint32_t now) override {
        if (!m_reporting) {
            return false;
        }
        if (learning(now) && isDue(m_nextNewAt, now)) {
            m_nextNewAt += kNewDeviceEveryMs;
            const int number = m_nextNumber++;
            Device& device = m_devices[number];
            device.type = kTypes[static_cast<std::size_t>(m_learned++) % 4];
            report(out, number, device, now);
            return true;
        }
        for (auto& [number, device] : m_devices) {
            if (isDue(device.due, now)) {
                report(out, number, device, now);
                return true;
            }
        }
        return false;
    }

    void hostLost() override {
        m_reporting = false;
        m_learningUntil.reset();
    }

private:
    [[nodiscard]] static bool isDue(std::uint32_t due, std::uint32_t now) {
        return static_cast<std::int32_t>(now - due) >= 0;
    }

    [[nodiscard]] bool learning(std::uint32_t now) const {
        return m_learningUntil && !isDue(*m_learningUntil, now);
    }

    // The known devices report spread over one period, so the line carries an even load.
    void startReporting(std::uint32_t now) {
        if (m_reporting) {
            return;
        }
        m_reporting = true;
        const auto count = static_cast<std::uint32_t>(std::max<std::size_t>(m_devices.size(), 1));
        std::uint32_t i = 0;
        for (auto& entry : m_devices) {
            entry.second.due = now + m_periodMs * i++ / count;
        }
    }

    void report(Responder& out, int number, Device& device, std::uint32_t now) {
        device.due = now + m_periodMs;
        ++device.reports;
        QByteArray text = " #R:%" + QByteArray::number(number) + "% " + device.type + " :";
        const QList<int> data = dataOf(device);
        for (qsizetype i = 0; i < data.size(); ++i) {
            text += (i > 0 ? " " : "") + QByteArray::number(data[i]);
        }
        out.notify(text);
    }

    // Realistic radio data: the device's event, its battery, the signal it came in with and,
    // by type, its supply voltage, temperature or fuel level.
    QList<int> dataOf(const Device& device) {
        std::uniform_int_distribution<int> signal(-60, -20); // half-dBm steps above -74 dBm
        const int battery = 0x80 + 15 - std::min(device.reports / 50, 15);
        const int level = signal(m_random) & 0xFF;
        if (device.type == "AM") {
            return {device.reports % 2 == 1 ? 0x01 : 0x02, battery, 0xB0, level, 0xB4, 100};
        }
        if (device.type == "RQ") {
            return {device.reports % 3 == 0 ? 0x94 : 0x95, battery, 0xB0, level};
        }
        if (device.type.startsWith("TK")) {
            const int kelvinTenths = 2950 + static_cast<int>(m_random() % 60);
            return {0xC0, kelvinTenths & 0xFF, kelvinTenths >> 8, battery, 0xB0, level};
        }
        const int fuel = 1200 - device.reports % 200;
        return {0xC1, fuel & 0xFF, fuel >> 8, 0xB0, level, 0xB1, 200};
    }

    std::uint32_t m_periodMs;
    int m_refused;
    std::mt19937 m_random;
    std::map<int, Device> m_devices;
    int m_nextNumber = kFirstNumber;
    int m_learned = 0;
    bool m_reporting = false;
    std::optional<std::uint32_t> m_learningUntil;
    std::uint32_t m_nextNewAt = 0;
};

int wholeOption(const QCommandLineParser& parser, const QString& name, int fallback) {
    if (!parser.isSet(name)) {
        return fallback;
    }
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0) {
        ModuleRegistry::refuse(u"--"_s + name + u" takes a whole number"_s);
    }
    return value;
}

[[maybe_unused]] const bool registered = ModuleRegistry::instance().add(
    {u"radio"_s,
     {{u"radio-devices"_s, u"Start with <n> known radio devices, numbered from 101."_s, u"n"_s},
      {u"radio-period"_s, u"Milliseconds between two reports of one radio device (default 5000)."_s,
       u"ms"_s},
      {u"refuse-removal"_s, u"Refuse to remove radio device <n>."_s, u"n"_s}},
     [](const QCommandLineParser& parser) {
         const int period = wholeOption(parser, u"radio-period"_s, kDefaultPeriodMs);
         if (period == 0) {
             ModuleRegistry::refuse(u"--radio-period takes a positive number"_s);
         }
         return std::make_unique<RadioModule>(
             wholeOption(parser, u"radio-devices"_s, 0), static_cast<std::uint32_t>(period),
             wholeOption(parser, u"refuse-removal"_s, -1),
             parser.isSet(u"seed"_s) ? parser.value(u"seed"_s).toUInt() : std::random_device{}());
     }});

} // namespace

} // namespace talvik::emu
