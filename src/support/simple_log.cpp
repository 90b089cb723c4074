#include "simple_log.h"

#include "date_time.h"

#include <QFile>

namespace talvik::support {

std::atomic<int> SimpleLog::s_references{0};
std::atomic<std::FILE*> SimpleLog::s_file{nullptr};
std::mutex SimpleLog::s_lock;

namespace {
QString& logPath() {
    static QString path = QStringLiteral("log.txt");
    return path;
}
} // namespace

SimpleLog::SimpleLog() {
    s_references.fetch_add(1);
    const std::lock_guard guard(s_lock);
    if (s_file.load() != nullptr) {
        return;
    }
    // Mode "w": a new run of the program starts a fresh log.
    s_file.store(std::fopen(QFile::encodeName(logPath()).constData(), "w"));
}

SimpleLog::SimpleLog(QStringView name) : SimpleLog() {
    setName(name);
}

SimpleLog::~SimpleLog() {
    close();
}

void SimpleLog::setFileName(const QString& path) {
    logPath() = path;
}

QString SimpleLog::fileName() {
    return logPath();
}

std::mutex* SimpleLog::sharedLock() {
    return &s_lock;
}

std::FILE* SimpleLog::sharedFile() {
    return s_file.load();
}

void SimpleLog::close() {
    if (s_references.fetch_sub(1) - 1 > 0) {
        return;
    }
    const std::lock_guard guard(s_lock);
    onClose();
    std::FILE* file = s_file.load();
    if (file == nullptr) {
        return;
    }
    const QByteArray line = DateTime::format(DateTime::now(), {}, 4).toLatin1() + " Closing logs\n";
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), file);
    std::fflush(file);
}

} // namespace talvik::support
