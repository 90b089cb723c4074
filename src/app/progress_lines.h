#pragma once

#include <QString>
#include <optional>

namespace talvik::app {

// The progress of a batch as lines a script or a person can follow: one line each time the
// progress reaches a further tenth of its maximum, never more than one for the same tenth.
class ProgressLines {
public:
    void start(const QString& status, int maximum);
    // The line to print for the new position, or none while the tenth shown is still current.
    [[nodiscard]] std::optional<QString> advance(int position);

private:
    QString m_status;
    int m_maximum = 0;
    int m_tenths = 0;
};

} // namespace talvik::app
