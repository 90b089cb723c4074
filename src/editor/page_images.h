#pragma once

#include <QDateTime>
#include <QHash>
#include <QPixmap>
#include <QString>

namespace talvik::editor {

// The page images of the interface folder, each read and made transparent once and handed out
// again at every rebuild of the pages. The tab bar's icon cache keeps a copy of every distinct
// pixmap it has painted, so fresh pixmaps at each connection would pile up there.
class PageImages {
public:
    // The bitmap at `path` with the colour of its top-left pixel made transparent; a null
    // pixmap when there is no readable image. A file that changed since is read again.
    [[nodiscard]] QPixmap image(const QString& path);

private:
    struct Entry {
        QDateTime modified;
        qint64 size = -1;
        QPixmap pixmap;
    };
    QHash<QString, Entry> m_images;
};

} // namespace talvik::editor
