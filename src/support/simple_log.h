#pragma once

#include "log_base.h"

#include <atomic>

namespace talvik::support {

// The log object every part of the program holds. The first one created truncates "log.txt";
// the last one destroyed writes "Closing logs".
class SimpleLog : public LogBase {
public:
    SimpleLog();
    explicit SimpleLog(QStringView name);
    ~SimpleLog() override;

    // Where the shared file is opened; tests point this at a temporary folder before the first
    // log object exists.
    static void setFileName(const QString& path);
    [[nodiscard]] static QString fileName();

protected:
    [[nodiscard]] std::mutex* sharedLock() override;
    [[nodiscard]] std::FILE* sharedFile() override;
    void close() override;

private:
    static std::atomic<int> s_references;
    static std::atomic<std::FILE*> s_file;
    static std::mutex s_lock;
};

} // namespace talvik::support
