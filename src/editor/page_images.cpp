#include "page_images.h"

#include <QFileInfo>
#include <QImage>

namespace talvik::editor {

namespace {

QPixmap maskedImage(const QString& path) {
    QImage image(path);
    if (image.isNull()) {
        return {};
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == transparent) {
                line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

QPixmap PageImages::image(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists()) {
        m_images.remove(path);
        return {};
    }
    Entry& entry = m_images[path];
    if (entry.size != file.size() || entry.modified != file.lastModified()) {
        entry = {file.lastModified(), file.size(), maskedImage(path)};
    }
    return entry.pixmap;
}

} // namespace talvik::editor
