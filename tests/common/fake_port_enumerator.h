#pragma once

#include "fake_serial_line.h"
#include "port_enumerator.h"

#include <memory>

// The ports a test says are present; every line it opens is a fake sharing one state.
class FakeEnumerator final : public talvik::link::PortEnumerator {
public:
    QList<Port> ports;
    std::shared_ptr<FakeSerialLine::State> lineState = std::make_shared<FakeSerialLine::State>();

    [[nodiscard]] QList<Port> AvailablePorts() const override { return ports; }
    [[nodiscard]] std::unique_ptr<talvik::link::SerialLine> CreateLine() const override {
        return std::make_unique<FakeSerialLine>(lineState);
    }
};
