#pragma once

#include "gui/toolkit/PressableLabel.h"

#include <functional>

namespace gui {

// A label that acts as a button: a click, or Space/Enter when it has the
// focus, runs its handler. Used where a window shows a picture or a caption
// to click rather than a push button. Assistive technology meets it as a
// button whose Press action runs the same handler.
class ClickableLabel final : public PressableLabel {
public:
    explicit ClickableLabel(QWidget* parent = nullptr);
    void setClickHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    void click() override;

private:
    std::function<void()> m_handler;
};

} // namespace gui
