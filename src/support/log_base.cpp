#include "log_base.h"

#include "cp1251.h"
#include "date_time.h"

#include <cerrno>

namespace talvik::support {

void LogBase::write(const QByteArray& text) {
    writeLine(text);
}

void LogBase::write(QStringView text) {
    writeLine(Cp1251::fromUnicode(text));
}

void LogBase::writeValue(const QByteArray& label, const QByteArray& value) {
    writeLine(label + ":\t" + value);
}

void LogBase::writeValue(const QByteArray& label, long long value) {
    writeValue(label, QByteArray::number(value));
}

void LogBase::writeBytes(const QByteArray& text, const unsigned char* bytes, std::size_t count) {
    QByteArray line = text + ":\t";
    for (std::size_t i = 0; i < count; ++i) {
        line += QByteArray::number(bytes[i], 16).toUpper();
        line += ' ';
    }
    writeLine(line);
}

void LogBase::writeError(const QByteArray& text) {
    const int code = errno;
    writeLine("Error: " + text + " - " + QByteArray::number(code));
}

void LogBase::setName(QStringView name) {
    m_name = Cp1251::fromUnicode(name);
}

void LogBase::addName(QByteArray& line) {
    if (!m_name.isEmpty()) {
        line += m_name;
        line += ":\t";
    }
}

void LogBase::writeLine(const QByteArray& message) {
    QByteArray line = DateTime::format(DateTime::now(), {}, 4).toLatin1() + ' ';
    std::FILE* file = sharedFile();
    if (file == nullptr) {
        return;
    }
    const std::lock_guard guard(*sharedLock());
    addName(line);
    line += message;
    line += '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), file);
    std::fflush(file);
}

} // namespace talvik::support
