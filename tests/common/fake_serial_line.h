#pragma once

#include "serial_line.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <algorithm>
#include <functional>
#include <memory>

// An in-memory serial line. The test keeps the shared state after the line itself has moved
// into a port: it feeds incoming bytes, injects failures and reads back what was written.
class FakeSerialLine final : public talvik::link::SerialLine {
public:
    struct Write {
        QByteArray bytes;
        std::uint32_t baud = 0;
    };
    struct State {
        bool isOpen = false;
        QString portName;
        int opens = 0;
        std::uint32_t baud = 0;
        std::uint8_t stopBits = 0;
        std::size_t inputQueue = 0;
        bool failOpen = false;
        QList<QString> refusedNames; // ports that fail to open, as if in use elsewhere
        QList<QString> deniedNames;  // ports that fail to open for lack of rights
        bool failSettings = false;
        bool failClose = false;
        bool gone = false; // the device vanished: bytesWaiting fails
        int error = 0;
        int bytesWaitingCalls = 0;
        QByteArray incoming;
        QList<Write> writes;
        std::function<void()> arrival;
    };

    explicit FakeSerialLine(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    [[nodiscard]] bool open(const QString& portName) override {
        m_state->portName = portName;
        ++m_state->opens;
        m_state->isOpen = !m_state->failOpen && !m_state->refusedNames.contains(portName) &&
                          !m_state->deniedNames.contains(portName);
        return m_state->isOpen;
    }
    [[nodiscard]] bool close() override {
        const bool ok = m_state->isOpen && !m_state->failClose;
        m_state->isOpen = false;
        return ok;
    }
    [[nodiscard]] bool setLineSettings(std::uint32_t baud, std::uint8_t stopBits) override {
        m_state->baud = baud;
        m_state->stopBits = stopBits;
        return !m_state->failSettings;
    }
    [[nodiscard]] bool setBaudRate(std::uint32_t baud) override {
        m_state->baud = baud;
        return !m_state->failSettings;
    }
    [[nodiscard]] bool setQueueSizes(std::size_t input, std::size_t) override {
        m_state->inputQueue = input;
        return true;
    }
    [[nodiscard]] std::int64_t bytesWaiting() override {
        ++m_state->bytesWaitingCalls;
        return m_state->gone ? -1 : m_state->incoming.size();
    }
    std::int64_t read(std::uint8_t* data, std::size_t size) override {
        const auto count =
            std::min<qsizetype>(static_cast<qsizetype>(size), m_state->incoming.size());
        std::copy_n(m_state->incoming.constData(), count, reinterpret_cast<char*>(data));
        m_state->incoming.remove(0, count);
        return count;
    }
    std::int64_t write(const std::uint8_t* data, std::size_t size) override {
        m_state->writes.append(
            {QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
             m_state->baud});
        return static_cast<std::int64_t>(size);
    }
    [[nodiscard]] int errorCode() const override { return m_state->error; }
    [[nodiscard]] bool accessDenied() const override {
        return !m_state->isOpen && m_state->deniedNames.contains(m_state->portName);
    }
    void setArrivalHandler(std::function<void()> handler) override {
        m_state->arrival = std::move(handler);
    }

private:
    std::shared_ptr<State> m_state;
};
