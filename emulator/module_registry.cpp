#include "module_registry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <tuple>

namespace talvik::emu {

ModuleRegistry& ModuleRegistry::instance() {
    static ModuleRegistry registry;
    return registry;
}

void ModuleRegistry::refuse(const QString& message) {
    std::fprintf(stderr, "talvik-emu: %s\n", message.toLocal8Bit().constData());
    std::exit(2);
}

bool ModuleRegistry::add(Entry entry) {
    const auto at = std::lower_bound(
        m_entries.begin(), m_entries.end(), entry, [](const Entry& e, const Entry& added) {
            return std::tie(e.fallback, e.name) < std::tie(added.fallback, added.name);
        });
    m_entries.insert(at, std::move(entry));
    return true;
}

void ModuleRegistry::addOptions(QCommandLineParser& parser) const {
    for (const Entry& entry : m_entries) {
        parser.addOptions(entry.options);
    }
}

std::vector<std::unique_ptr<EmuModule>>
ModuleRegistry::createAll(const QCommandLineParser& parser) const {
    std::vector<std::unique_ptr<EmuModule>> modules;
    for (const Entry& entry : m_entries) {
        modules.push_back(entry.create(parser));
    }
    return modules;
}

QStringList ModuleRegistry::names() const {
    QStringList names;
    for (const Entry& entry : m_entries) {
        names.append(entry.name);
    }
    return names;
}

} // namespace talvik::emu
