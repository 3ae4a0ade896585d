#include "ui/main/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace glyphs {

namespace {
template<typename Paint>
QIcon drawn(Paint paint)
{
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 24.0, size / 24.0);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
} // namespace

QIcon refresh()
{
    return drawn([](QPainter &p) {
        QPen pen(QColor(0x10, 0x10, 0x10), 2.6, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(15.5, 1.5);
        head.lineTo(21.5, 5.5);
        head.lineTo(14.5, 9.0);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x10, 0x10, 0x10));
        p.drawPath(head);
    });
}

QIcon pin()
{
    return drawn([](QPainter &p) {
        p.translate(12, 12);
        p.rotate(45);
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
        p.setBrush(QColor(0xD0, 0x20, 0x20));
        p.drawRoundedRect(QRectF(-4, -10, 8, 9), 1.5, 1.5);
        p.drawRect(QRectF(-6.5, -1.5, 13, 2.5));
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 1), QPointF(0, 10));
    });
}

} // namespace glyphs
