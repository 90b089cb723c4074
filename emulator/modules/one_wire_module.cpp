#include "cp1251.h"
#include "emu_module.h"
#include "module_registry.h"

#include <QList>

#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

constexpr int kSlots = 10;
constexpr int kFirstSerialSetting = 653;
// Readings are in tenths of a kelvin; a failed sensor reads 1.
constexpr QByteArrayView kFaultyReading = "1";

// The keys a learning session sees touch the reader: the same key twice, then a new one.
constexpr const char* kTouches[] = {"01D2C3B4A5000013", "01D2C3B4A5000013", "01F1E2D3C4000027"};
constexpr std::uint32_t kTouchEveryMs = 1500;
// After " TMCLR" the controller finds the thermometers still on the bus again this much later.
constexpr std::uint32_t kRescanMs = 10000;

// The 1-Wire bus: " TMSET" starts key learning, after which the keys touched report themselves
// as text lines; " TMCLR" forgets keys and thermometers. The thermometers fill the first slots,
// their readings drift by a few tenths over a minute, and with two or more the last one has
// failed. Status 23 carries the readings, " #P653?" to " #P662?" the slots' serial numbers.
class OneWireModule final : public EmuModule {
public:
    explicit OneWireModule(int thermometers) : m_thermometers(thermometers) {}

    bool handle(const Request& request, Responder& out) override {
        const QByteArray text = request.text();
        if (text == "TMSET") {
            m_learningFrom = request.atMs;
            m_touchesSent = 0;
            out.reply(" TMSET: OK");
            return true;
        }
        if (text == "TMCLR") {
            m_learningFrom.reset();
            m_clearedAt = request.atMs;
            out.reply(" TMCLR: OK");
            return true;
        }
        const std::optional<int> slot = serialSlot(text);
        if (!slot) {
            return false;
        }
        out.reply(" " + text.chopped(1) + ':' +
                  (present(*slot, request.atMs) ? serial(*slot) : QByteArray()));
        return true;
    }

    std::optional<std::uint32_t> msUntilDue(std::uint32_t now) const override {
        if (!m_learningFrom) {
            return std::nullopt;
        }
        const std::uint32_t due = (m_touchesSent + 1) * kTouchEveryMs;
        const std::uint32_t elapsed = now - *m_learningFrom;
        return elapsed >= due ? 0 : due - elapsed;
    }

    bool sendDue(Responder& out, std::uint32_t now) override {
        if (msUntilDue(now) != 0u) {
            return false;
        }
        out.notify(' ' + support::Cp1251::fromUnicode(u"Касание эл. ключом: "_s) +
                   kTouches[m_touchesSent++]);
        if (m_touchesSent == std::size(kTouches)) {
            m_learningFrom.reset();
        }
        return true;
    }

    void hostLost() override { m_learningFrom.reset(); }

    std::optional<QByteArray> statusValue(int number, std::uint32_t atMs) override {
        if (number != 23) {
            return std::nullopt;
        }
        QList<QByteArray> readings(kSlots, "0");
        for (int slot = 0; slot < kSlots; ++slot) {
            if (present(slot, atMs)) {
                readings[slot] = reading(slot, atMs);
            }
        }
        return readings.join(' ');
    }

private:
    // "#P653?" to "#P662?" ask for the serial number of a thermometer slot.
    [[nodiscard]] static std::optional<int> serialSlot(const QByteArray& text) {
        if (!text.startsWith("#P") || !text.endsWith('?')) {
            return std::nullopt;
        }
        bool ok = false;
        const int slot = text.mid(2, text.size() - 3).toInt(&ok) - kFirstSerialSetting;
        return ok && slot >= 0 && slot < kSlots ? std::optional<int>(slot) : std::nullopt;
    }

    [[nodiscard]] bool present(int slot, std::uint32_t atMs) const {
        return slot < m_thermometers && (!m_clearedAt || atMs - *m_clearedAt >= kRescanMs);
    }

    [[nodiscard]] QByteArray reading(int slot, std::uint32_t atMs) const {
        if (m_thermometers >= 2 && slot == m_thermometers - 1) {
            return kFaultyReading.toByteArray();
        }
        // Between 18.8 and 21.8 degrees, different in every slot, up and down once a minute.
        const int drift = std::abs(static_cast<int>(atMs / 2000 % 30) - 15);
        return QByteArray::number(2961 + 7 * slot + drift);
    }

    [[nodiscard]] static QByteArray serial(int slot) {
        return "28FF" + QByteArray::number(0x4A1B030000LL + slot * 0x111111LL, 16).toUpper() + "12";
    }

    int m_thermometers;
    std::optional<std::uint32_t> m_learningFrom;
    std::size_t m_touchesSent = 0;
    std::optional<std::uint32_t> m_clearedAt;
};

std::unique_ptr<EmuModule> create(const QCommandLineParser& parser) {
    bool ok = false;
    const int count = parser.value(u"thermometers"_s).toInt(&ok);
    if (!ok || count < 0 || count > kSlots) {
        ModuleRegistry::refuse(u"--thermometers takes a whole number from 0 to 10"_s);
    }
    return std::make_unique<OneWireModule>(count);
}

[[maybe_unused]] const bool registered = ModuleRegistry::instance().add(
    {u"one_wire"_s,
     {{u"thermometers"_s,
       u"Thermometers on the 1-Wire bus (default 3); with two or more the last one has "
       u"failed."_s,
       u"n"_s, u"3"_s}},
     create});

} // namespace

} // namespace talvik::emu
