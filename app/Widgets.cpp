#include "Widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace app {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ClickableLabel::click()
{
    if (m_handler && isEnabled())
        m_handler();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
    else
        QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter)
        click();
    else
        QLabel::keyPressEvent(event);
}

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

QString clockText(int hours, int minutes, int seconds)
{
    auto two = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return two(hours) + u':' + two(minutes) + u':' + two(seconds);
}

QString clockText(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    // H = floor(R / 3600), M = floor(R / 60 - 60 H), S = R - 60 M - 3600 H
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 - 60 * hours;
    const qint64 rest = seconds - 60 * minutes - 3600 * hours;
    return clockText(int(hours), int(minutes), int(rest));
}

} // namespace app
