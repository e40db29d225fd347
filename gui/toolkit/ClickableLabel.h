#pragma once

#include <QLabel>
#include <functional>

namespace gui {

// A label that acts as a button: a click, or Space/Enter when it has the
// focus, runs its handler. Used where a window shows a picture or a caption
// to click rather than a push button. Assistive technology meets it as a
// button whose Press action runs the same handler.
class ClickableLabel final : public QLabel {
public:
    explicit ClickableLabel(QWidget* parent = nullptr);
    void setClickHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    void click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> m_handler;
};

} // namespace gui
