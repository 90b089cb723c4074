#include "emu_module.h"
#include "module_registry.h"
#include "settings_file.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <set>
#include <vector>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

// Without a settings file the controller holds settings 0 to 99, all 0, like a blank unit.
constexpr int kBlankSettings = 100;

// The setting number in "#P<n>" up to the given end, or nothing when it is not a plain
// non-negative decimal number.
std::optional<int> settingNumber(const QByteArray& text, qsizetype end) {
    const QByteArray digits = text.mid(2, end - 2);
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

// The controller's numbered settings: single queries and writes, the whole-store listing
// (" #S15=2") and the commit after a write batch (" #S15=1").
//
// The listing sends one "#P<n>:<value>" line per frame, each as output of the controller's own
// (kind 0): the program keeps waiting for the listing as a whole and ends the wait itself at the
// terminator. One line per frame because the program cuts a reply text into
// pieces only before "#S", so two "#P" lines in one frame would reach it as one setting whose
// value runs on into the next line. After the last setting comes "#P<last + 1>:!", a number no
// setting has, so every setting up to the last one is either listed or, when left out, asked
// for again by the program.
class SettingsModule final : public EmuModule {
public:
    SettingsModule(SettingsFile::Contents contents, std::set<int> gaps, bool stallDump,
                   QString savePath)
        : m_contents(std::move(contents)), m_gaps(std::move(gaps)), m_stallDump(stallDump),
          m_savePath(std::move(savePath)) {}

    bool handle(const Request& request, Responder& out) override {
        const QByteArray text = request.text();
        if (text == "#S15=2") {
            if (!m_stallDump) {
                m_dumpFrom = 0; // a repeated request starts the listing over
            }
            return true;
        }
        if (text == "#S15=1") {
            out.reply(" #S15:1"); // the controller takes the written settings into use
            return true;
        }
        if (!text.startsWith("#P")) {
            return false;
        }
        if (!text.contains('=')) {
            const std::optional<int> number =
                text.endsWith('?') ? settingNumber(text, text.size() - 1) : std::nullopt;
            if (number) {
                out.reply(line(*number, valueOf(*number)));
            }
            return number.has_value();
        }
        return write(text, out);
    }

    bool sendNext(Responder& out) override {
        if (!m_dumpFrom) {
            return false;
        }
        const auto& settings = m_contents.settings;
        auto next = settings.lower_bound(*m_dumpFrom);
        while (next != settings.end() && m_gaps.contains(next->first)) {
            ++next;
        }
        if (next == settings.end()) {
            const int after = settings.empty() ? 0 : settings.rbegin()->first + 1;
            out.notify(line(after, "!"));
            m_dumpFrom.reset();
        } else {
            out.notify(line(next->first, next->second.value));
            m_dumpFrom = next->first + 1;
        }
        return true;
    }

    void hostLost() override { m_dumpFrom.reset(); }

    void shutDown() override {
        QString error;
        if (!m_savePath.isEmpty() && !SettingsFile::write(m_savePath, m_contents, error)) {
            std::fprintf(stderr, "talvik-emu: %s\n", error.toLocal8Bit().constData());
        }
    }

private:
    // " #P<n>:<value>", cut to what one frame can carry.
    static QByteArray line(int number, const QByteArray& value) {
        return QByteArray(" #P" + QByteArray::number(number) + ':' + value).left(255);
    }

    [[nodiscard]] QByteArray valueOf(int number) const {
        const auto found = m_contents.settings.find(number);
        return found == m_contents.settings.end() ? QByteArray() : found->second.value;
    }

    // "#P<n>=<value>", maybe followed by the read-back query " #P<n>?" of older programs; both
    // get the one answer "#P<n>:<value>". Older programs put texts with blanks in parentheses.
    bool write(const QByteArray& text, Responder& out) {
        const qsizetype equals = text.indexOf('=');
        const std::optional<int> number = equals < 0 ? std::nullopt : settingNumber(text, equals);
        if (!number) {
            return false;
        }
        QByteArray value = text.mid(equals + 1);
        const QByteArray readBack = " #P" + QByteArray::number(*number) + '?';
        if (value.endsWith(readBack)) {
            value.chop(readBack.size());
        }
        if (value.size() >= 2 && value.startsWith('(') && value.endsWith(')')) {
            value = value.mid(1, value.size() - 2);
        }
        m_contents.settings[*number].value = value;
        out.reply(line(*number, value));
        return true;
    }

    SettingsFile::Contents m_contents;
    std::set<int> m_gaps;
    bool m_stallDump;
    QString m_savePath;
    std::optional<int> m_dumpFrom; // the listing is running and goes on from this number
};

SettingsFile::Contents blankController() {
    SettingsFile::Contents contents;
    for (int number = 0; number < kBlankSettings; ++number) {
        contents.settings[number] = {"0", u"None"_s, true};
    }
    return contents;
}

// n settings of the store, picked with the emulator's seed, that the listing leaves out.
std::set<int> pickGaps(const SettingsFile::Contents& contents, const QCommandLineParser& parser) {
    bool ok = false;
    const int count = parser.isSet(u"dump-gaps"_s) ? parser.value(u"dump-gaps"_s).toInt(&ok) : 0;
    if (parser.isSet(u"dump-gaps"_s) && (!ok || count < 0)) {
        ModuleRegistry::refuse(u"--dump-gaps takes a whole number"_s);
    }
    std::vector<int> numbers;
    for (const auto& entry : contents.settings) {
        numbers.push_back(entry.first);
    }
    const std::uint32_t seed =
        parser.isSet(u"seed"_s) ? parser.value(u"seed"_s).toUInt() : std::random_device{}();
    std::mt19937 random(seed);
    std::shuffle(numbers.begin(), numbers.end(), random);
    numbers.resize(std::min(numbers.size(), static_cast<std::size_t>(count)));
    return {numbers.begin(), numbers.end()};
}

std::unique_ptr<EmuModule> create(const QCommandLineParser& parser) {
    SettingsFile::Contents contents = blankController();
    if (parser.isSet(u"settings"_s)) {
        QString error;
        auto read = SettingsFile::read(parser.value(u"settings"_s), error);
        if (!read) {
            ModuleRegistry::refuse(error);
        }
        contents = std::move(*read);
    }
    if (parser.isSet(u"fill"_s) && !contents.settings.empty()) {
        // A controller holds every number up to its last setting, shown on a page or not.
        for (int number = 0; number < contents.settings.rbegin()->first; ++number) {
            contents.settings.try_emplace(number, SettingsFile::Setting{"0", u"None"_s, true});
        }
    }
    std::set<int> gaps = pickGaps(contents, parser);
    return std::make_unique<SettingsModule>(std::move(contents), std::move(gaps),
                                            parser.isSet(u"dump-stall"_s), parser.value(u"save"_s));
}

[[maybe_unused]] const bool registered = ModuleRegistry::instance().add(
    {u"settings"_s,
     {{u"settings"_s,
       u"Settings file (.set) the controller's settings start from; without it settings 0 to "
       u"99 hold 0."_s,
       u"file"_s},
      {u"fill"_s,
       u"Hold every number up to the last setting of the settings file; the ones the file lacks "
       u"hold 0."_s},
      {u"save"_s, u"Write the settings as a .set file on exit."_s, u"file"_s},
      {u"dump-gaps"_s,
       u"Leave <n> settings, picked with the seed, out of the settings listing; they are "
       u"still answered when asked for one by one."_s,
       u"n"_s},
      {u"dump-stall"_s, u"Never answer the request for the settings listing."_s}},
     create});

} // namespace

} // namespace talvik::emu
