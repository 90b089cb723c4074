#include "progress_lines.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {
constexpr int kTenths = 10;
} // namespace

void ProgressLines::start(const QString& status, int maximum) {
    m_status = status;
    m_maximum = maximum;
    m_tenths = 0;
}

std::optional<QString> ProgressLines::advance(int position) {
    if (m_maximum <= 0) {
        return std::nullopt;
    }
    // A batch may pass its maximum; it never shows more than all of it.
    const int tenths =
        static_cast<int>(std::min<qint64>(kTenths, qint64{position} * kTenths / m_maximum));
    if (tenths <= m_tenths) {
        return std::nullopt;
    }
    m_tenths = tenths;
    return u"%1 %2%"_s.arg(m_status).arg(tenths * kTenths);
}

} // namespace talvik::app
