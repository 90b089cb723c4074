#include "pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace talvik::app {

namespace {
const QColor kInk(0x2f, 0x4f, 0x7f);
const QColor kAccent(0xe0, 0x8a, 0x1e);

QPixmap canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void paintHouse(QPainter& p) {
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xdd, 0xe8, 0xf6));
    p.drawPolygon(QPolygonF({{6, 15}, {16, 6}, {26, 15}, {26, 27}, {6, 27}}));
    p.setBrush(kAccent);
    p.drawRect(QRectF(13, 19, 6, 8));
}

void paintRadio(QPainter& p) {
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 14), QPointF(16, 28));
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(16, 13), 3, 3);
    p.setBrush(Qt::NoBrush);
    for (const int r : {7, 12}) {
        const QRectF arc(16 - r, 13 - r, 2 * r, 2 * r);
        p.drawArc(arc, -40 * 16, 80 * 16);
        p.drawArc(arc, 140 * 16, 80 * 16);
    }
}

void paintSliders(QPainter& p) {
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    const int knobs[] = {12, 22, 16};
    for (int i = 0; i < 3; ++i) {
        const double y = 8 + i * 8;
        p.drawLine(QPointF(5, y), QPointF(27, y));
        p.setBrush(i == 1 ? kAccent : QColor(0xdd, 0xe8, 0xf6));
        p.drawEllipse(QPointF(knobs[i], y), 3.5, 3.5);
    }
}
} // namespace

QPixmap Pictures::tabImage(int index) {
    QPixmap pixmap = canvas(kTabImageSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case MainPage:
        paintHouse(p);
        break;
    case RadioPage:
        paintRadio(p);
        break;
    default:
        paintSliders(p);
        break;
    }
    return pixmap;
}

QPixmap Pictures::connection(bool connected) {
    QPixmap pixmap = canvas(kConnectionSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = connected ? QColor(0x3c, 0xa8, 0x4a) : QColor(0xb8, 0xbc, 0xc2);
    p.setPen(QPen(fill.darker(130), 2));
    p.setBrush(fill);
    p.drawEllipse(QRectF(3, 3, 34, 34));
    // A plug: two pins and a body, joined to its socket only when connected.
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::white);
    const double shift = connected ? 0 : 3;
    p.drawLine(QPointF(16 - shift, 11), QPointF(16 - shift, 15));
    p.drawLine(QPointF(24 - shift, 11), QPointF(24 - shift, 15));
    p.drawRoundedRect(QRectF(12 - shift, 15, 16, 7), 2, 2);
    p.drawLine(QPointF(20 - shift, 22), QPointF(20 - shift, 29));
    return pixmap;
}

} // namespace talvik::app
