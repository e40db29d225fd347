#include "gui/toolkit/AppIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace gui {
namespace {

void paintEmblem(QPainter& p, const QRectF& area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(area.topLeft());
    const qreal s = std::min(area.width(), area.height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x5f, 0x99));
    p.drawRoundedRect(QRectF(0.04 * s, 0.04 * s, 0.92 * s, 0.92 * s), 0.18 * s, 0.18 * s);
    // a tick: the mark of a right answer
    QPainterPath tick;
    tick.moveTo(0.24 * s, 0.52 * s);
    tick.lineTo(0.43 * s, 0.70 * s);
    tick.lineTo(0.77 * s, 0.30 * s);
    p.setPen(QPen(Qt::white, 0.11 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    p.restore();
}

// Draws the emblem at the size asked for, when it is asked for: nothing is
// painted at start-up that no window system wants.
class EmblemEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        paintEmblem(*painter, rect);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    }
    QIconEngine* clone() const override { return new EmblemEngine; }
};

} // namespace

QIcon applicationIcon()
{
    static const QIcon icon(new EmblemEngine);
    return icon;
}

} // namespace gui
