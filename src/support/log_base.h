#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdio>
#include <mutex>

namespace talvik::support {

// A writer into the program's shared log file. Every line carries a time stamp and, when the
// object has a name (a port's name, for instance), that name.
class LogBase {
public:
    LogBase() = default;
    virtual ~LogBase() = default;
    LogBase(const LogBase&) = delete;
    LogBase& operator=(const LogBase&) = delete;

    void write(const QByteArray& text);
    void write(QStringView text);
    void writeValue(const QByteArray& label, const QByteArray& value);
    void writeValue(const QByteArray& label, long long value);
    void writeBytes(const QByteArray& text, const unsigned char* bytes, std::size_t count);
    void writeError(const QByteArray& text);
    void setName(QStringView name);
    [[nodiscard]] const QByteArray& name() const { return m_name; }

protected:
    [[nodiscard]] virtual std::mutex* sharedLock() = 0;
    [[nodiscard]] virtual std::FILE* sharedFile() = 0;
    virtual void addName(QByteArray& line);
    virtual void close() = 0;
    virtual void onClose() {}

private:
    void writeLine(const QByteArray& message);

    QByteArray m_name;
};

} // namespace talvik::support
