#pragma once

#include "cp1251.h"
#include "settings_link.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <deque>

// A controller channel for the settings transfer that records what is queued
// ("command/flag") and what is written at once ("text/channel!").
class RecordingSettingsLink final : public talvik::settings::SettingsLink {
public:
    QString version = QStringLiteral("2.19");
    QString serial = QStringLiteral("0123456789AB");
    QStringList sent;
    QByteArray current;
    int touches = 0, dump = 0, lastNumber = -1, errors = 0;
    std::deque<int> missing;

    void SendCommand(const QString& command, talvik::link::SendFlag flag) override {
        sent.append(command + QStringLiteral("/%1").arg(static_cast<int>(flag)));
    }
    void SendText(const QByteArray& text, talvik::link::SendFlag channel) override {
        sent.append(talvik::support::Cp1251::toUnicode(text) +
                    QStringLiteral("/%1!").arg(static_cast<int>(channel)));
    }
    [[nodiscard]] QString VersionText() const override { return version; }
    [[nodiscard]] QString SerialNumber() const override { return serial; }
    [[nodiscard]] QByteArray Current() const override { return current; }
    void ClearCurrent() override { current.clear(); }
    void TouchLastSendTime() override { ++touches; }
    [[nodiscard]] int& dumpActive() override { return dump; }
    [[nodiscard]] int& lastDumpNumber() override { return lastNumber; }
    [[nodiscard]] std::deque<int>& missingNumbers() override { return missing; }
    [[nodiscard]] int& errorCount() override { return errors; }
};
