#include "gui/shell/MainBackdrop.h"

#include <QLinearGradient>
#include <QPainter>

namespace gui {

MainBackdrop::MainBackdrop(QString title, QWidget* parent)
    : QWidget(parent), m_title(std::move(title))
{
    setFocusPolicy(Qt::NoFocus);
}

void MainBackdrop::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    shade.setColorAt(1, QColor(0xdc, 0xe6, 0xf2));
    p.fillRect(rect(), shade);

    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 3.2);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(QColor(0x1f, 0x5f, 0x99));
    const QRect upper(0, 0, width(), height() / 2);
    p.drawText(upper, Qt::AlignHCenter | Qt::AlignBottom, m_title);

    QFont hintFont = font();
    hintFont.setPointSizeF(hintFont.pointSizeF() * 1.2);
    p.setFont(hintFont);
    p.setPen(QColor(0x44, 0x55, 0x66));
    const QRect lower(0, height() / 2 + 12, width(), height() / 2 - 12);
    p.drawText(lower, Qt::AlignHCenter | Qt::AlignTop,
               tr("Choose a practice exam from the Exam menu, or page through an answer key "
                  "from the Review menu."));
}

} // namespace gui
