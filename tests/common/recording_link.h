#pragma once

#include "command_link.h"

#include <QList>
#include <QString>

// A command queue for tests: keeps every command with its send flag, and can stand for "no
// controller connected".
class RecordingLink final : public talvik::link::CommandLink {
public:
    struct Sent {
        QString command;
        int flag = 0;
        bool operator==(const Sent&) const = default;
    };

    bool connected = true;
    QList<Sent> sent;

    void SendCommand(const QString& command, talvik::link::SendFlag flag) override {
        sent.append({command, static_cast<int>(flag)});
    }

    // What the features get: this queue while connected, null otherwise.
    [[nodiscard]] talvik::link::CommandLink* current() { return connected ? this : nullptr; }
};
