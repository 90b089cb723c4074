#include "serial_list.h"

#include <QFile>
#include <zlib.h>

namespace talvik::settings {

namespace {
const QString kResource = QStringLiteral(":/talvik/serials.txt.gz");

const QByteArray& builtInList() {
    static const QByteArray list = [] {
        QFile file(kResource);
        if (!file.open(QIODevice::ReadOnly)) {
            return QByteArray();
        }
        return SerialList::gunzip(file.readAll()).value_or(QByteArray());
    }();
    return list;
}
} // namespace

bool SerialList::contains(QStringView serial) {
    return listed(builtInList(), serial);
}

std::optional<QByteArray> SerialList::gunzip(QByteArrayView packed) {
    z_stream stream{};
    // 16 + MAX_WBITS: a gzip header and trailer around the deflate data.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        return std::nullopt;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    QByteArray out;
    char chunk[16384];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, static_cast<qsizetype>(sizeof chunk - stream.avail_out));
        if (result == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) {
            // Input ran out before the stream's end: truncated.
            result = Z_DATA_ERROR;
        }
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END) {
        return std::nullopt;
    }
    return out;
}

bool SerialList::listed(QByteArrayView list, QStringView serial) {
    if (serial.isEmpty()) {
        return false;
    }
    const QByteArray wanted = serial.toLatin1();
    if (QString::fromLatin1(wanted) != serial) {
        return false;
    }
    qsizetype start = 0;
    while (start < list.size()) {
        qsizetype end = list.indexOf('\n', start);
        if (end < 0) {
            end = list.size();
        }
        QByteArrayView line = list.sliced(start, end - start);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (line == QByteArrayView(wanted)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace talvik::settings
