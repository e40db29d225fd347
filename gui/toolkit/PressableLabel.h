#pragma once

#include <QLabel>

namespace gui {

// A label pressed as a button is: a left click inside it, or Space or Enter
// while it has the focus, calls click(). It takes the focus with Tab or a
// click and shows the pointing hand.
class PressableLabel : public QLabel {
public:
    explicit PressableLabel(QWidget* parent = nullptr);
    virtual void click() = 0;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace gui
