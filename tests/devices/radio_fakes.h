#pragma once

#include "fake_clock.h"
#include "log_base.h"
#include "radio_devices.h"
#include "radio_link.h"
#include "scripted_dialogs.h"
#include "target_settings.h"

#include <QByteArrayList>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <cstdio>
#include <mutex>

// A log that keeps its lines in a temporary file of its own, without the time stamps.
class MemoryLog final : public talvik::support::LogBase {
public:
    MemoryLog() : m_file(std::tmpfile()) {}
    ~MemoryLog() override { std::fclose(m_file); }

    [[nodiscard]] QByteArrayList lines() {
        std::fflush(m_file);
        std::rewind(m_file);
        QByteArray all;
        char buffer[4096];
        for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;) {
            all.append(buffer, static_cast<qsizetype>(n));
        }
        std::fseek(m_file, 0, SEEK_END);
        QByteArrayList lines;
        for (const QByteArray& line : all.split('\n')) {
            if (!line.isEmpty()) { // drop "date time "
                lines.append(line.mid(line.indexOf(' ', line.indexOf(' ') + 1) + 1));
            }
        }
        return lines;
    }

protected:
    std::mutex* sharedLock() override { return &m_lock; }
    std::FILE* sharedFile() override { return m_file; }
    void close() override {}

private:
    std::FILE* m_file;
    std::mutex m_lock;
};

// The connected controller: records the commands sent to it.
class FakeRadioLink final : public talvik::devices::RadioLink {
public:
    bool isConnected = true;
    QString version = QStringLiteral("2.19");
    QStringList sent;
    QList<int> flags;

    [[nodiscard]] bool connected() const override { return isConnected; }
    [[nodiscard]] QString VersionText() const override { return version; }
    void SendCommand(const QString& command, talvik::link::SendFlag flag) override {
        sent.append(command);
        flags.append(static_cast<int>(flag));
    }
};

// Setting texts by number, and which were marked changed.
class MapSettings final : public talvik::devices::TargetSettings {
public:
    QMap<int, QString> texts;
    QSet<int> changed;

    [[nodiscard]] std::optional<QString> text(int setting) const override {
        const auto found = texts.constFind(setting);
        return found == texts.constEnd() ? std::nullopt : std::optional<QString>(*found);
    }
    void setText(int setting, const QString& text) override {
        if (texts.contains(setting)) {
            texts[setting] = text;
        }
    }
    void markChanged(int setting) override { changed.insert(setting); }
};

// The radio page's logic over fakes.
struct RadioRig {
    FakeRadioLink link;
    MapSettings settings;
    ScriptedDialogs dialogs;
    FakeClock clock{1000};
    MemoryLog log;
    talvik::devices::RadioDevices radio{link, settings, dialogs, clock, log};

    [[nodiscard]] talvik::devices::RadioDeviceList& list() { return radio.list(); }
    // The cell of the row with that number text; "(none)" when there is no such row.
    [[nodiscard]] QString cell(const QString& number,
                               talvik::devices::RadioDeviceList::SubItem item) {
        const std::optional<int> row = list().FindDeviceRow(number, false);
        return row ? list().cell(*row, item) : QStringLiteral("(none)");
    }
    [[nodiscard]] QStringList numbers() {
        QStringList numbers;
        for (int row = 0; row < list().rowCount(); ++row) {
            numbers.append(list().row(row).number);
        }
        return numbers;
    }
};
