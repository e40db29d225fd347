#include "gui/toolkit/PressableLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace gui {

PressableLabel::PressableLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void PressableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
    else
        QLabel::mouseReleaseEvent(event);
}

void PressableLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter)
        click();
    else
        QLabel::keyPressEvent(event);
}

} // namespace gui
