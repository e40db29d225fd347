#include "gui/toolkit/ExhibitButtonPicture.h"

#include <QPainter>

namespace gui {

QPixmap exhibitButtonPicture(qreal devicePixelRatio)
{
    const QSize size(104, 33);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    QLinearGradient shade(0, 0, 0, size.height());
    shade.setColorAt(0, QColor(0xfd, 0xf3, 0xd6));
    shade.setColorAt(1, QColor(0xf0, 0xd9, 0x8c));
    p.setBrush(shade);
    p.setPen(QPen(QColor(0x8a, 0x6d, 0x1d), 1));
    p.drawRoundedRect(frame, 5, 5);
    QFont font = p.font();
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x4a, 0x37, 0x05));
    p.drawText(frame, Qt::AlignCenter, QStringLiteral("Exhibit"));
    return pixmap;
}

} // namespace gui
