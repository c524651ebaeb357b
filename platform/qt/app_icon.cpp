#include "platform/qt/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace platform::qt
{

namespace
{

QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    // The tile, as in the SVG: 64 by 64 units.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4e, 0x8c));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    painter.setPen(QPen(QColor(0xff, 0xff, 0xff, 0x50), 1.5));
    for (int y = 18; y <= 50; y += 16)
        painter.drawLine(QPointF(10, y), QPointF(54, y));
    QPainterPath line;
    line.moveTo(10, 46);
    line.lineTo(22, 38);
    line.lineTo(31, 42);
    line.lineTo(43, 24);
    line.lineTo(54, 16);
    painter.setPen(QPen(QColor(0x6c, 0xe0, 0x6c), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    return pixmap;
}

} // namespace

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(DrawIcon(size));
    return icon;
}

} // namespace platform::qt
