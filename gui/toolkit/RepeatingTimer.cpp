#include "gui/toolkit/RepeatingTimer.h"

namespace gui {

RepeatingTimer::RepeatingTimer(QObject* parent, std::function<void()> tick) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [tick = std::move(tick)] { tick(); });
}

void RepeatingTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    restart();
}

void RepeatingTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

void RepeatingTimer::restart()
{
    // A timer started or changed counts a full interval from now.
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

} // namespace gui
