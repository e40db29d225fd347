#pragma once

#include <QLabel>
#include <functional>

namespace app {

// A label that acts as a button: a click, or Space/Enter when it has the
// focus, runs its handler. Used where a window shows a picture or a caption
// to click rather than a push button.
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

// The small built-in picture that reads "Exhibit", sharp at any scale.
QPixmap exhibitButtonPicture(qreal devicePixelRatio);

// "01:59:59": hours, minutes and seconds, each at least two digits.
QString clockText(int hours, int minutes, int seconds);
// The same for a count of seconds, never below 00:00:00.
QString clockText(qint64 seconds);

} // namespace app
