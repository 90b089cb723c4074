#pragma once

#include "emu_module.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace talvik::emu {

// The list of modules the emulator is built from. Each module's own file registers it with its
// command-line options, so adding a module touches no other file.
class ModuleRegistry {
public:
    using Factory = std::function<std::unique_ptr<EmuModule>(const QCommandLineParser&)>;
    struct Entry {
        QString name;
        QList<QCommandLineOption> options;
        Factory create;
        // The module hears only the requests that no other module took.
        bool fallback = false;
    };

    static ModuleRegistry& instance();
    // Ends the emulator over an option it cannot honour, before its terminal is opened.
    [[noreturn]] static void refuse(const QString& message);

    // Returns true so that a module file can keep the result in a static.
    bool add(Entry entry);
    void addOptions(QCommandLineParser& parser) const;
    // One instance of every module, ordered by name so that runs are repeatable, the fallbacks
    // last.
    [[nodiscard]] std::vector<std::unique_ptr<EmuModule>>
    createAll(const QCommandLineParser& parser) const;
    [[nodiscard]] QStringList names() const;

private:
    std::vector<Entry> m_entries;
};

} // namespace talvik::emu
