#include "gui/toolkit/RepeatingTimer.h"

#include <QPointer>
#include <algorithm>
#include <vector>

namespace gui {
namespace {

// One GUI thread: the timers alive and the boxes open are program-wide.
std::vector<RepeatingTimer*>& liveTimers()
{
    static std::vector<RepeatingTimer*> timers;
    return timers;
}

int openHolds = 0;

} // namespace

RepeatingTimer::RepeatingTimer(QObject* parent, std::function<void()> tick)
    : QObject(parent), m_tick(std::move(tick))
{
    liveTimers().push_back(this);
    connect(&m_timer, &QTimer::timeout, this, [this] { intervalElapsed(); });
}

RepeatingTimer::~RepeatingTimer()
{
    auto& timers = liveTimers();
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
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
    m_held = 0;
    // A timer started or changed counts a full interval from now.
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

void RepeatingTimer::intervalElapsed()
{
    if (!m_enabled)
        return;
    if (ticksHeld()) {
        ++m_held;
        return;
    }
    m_tick();
}

bool RepeatingTimer::ticksHeld()
{
    return openHolds > 0;
}

void RepeatingTimer::scheduleHeldTicks()
{
    if (m_heldTicksScheduled)
        return;
    m_heldTicksScheduled = true;
    // Queued, so the handler that opened the box finishes first.
    QMetaObject::invokeMethod(
        this, [this] { runHeldTicks(); }, Qt::QueuedConnection);
}

void RepeatingTimer::runHeldTicks()
{
    m_heldTicksScheduled = false;
    if (ticksHeld())
        return; // another box is open; its closing schedules them again
    QPointer<RepeatingTimer> alive(this);
    while (alive && m_enabled && m_held > 0 && !ticksHeld()) {
        --m_held;
        m_tick();
    }
}

RepeatingTimer::Hold::Hold()
{
    ++openHolds;
}

RepeatingTimer::Hold::~Hold()
{
    if (--openHolds > 0)
        return;
    for (RepeatingTimer* timer : liveTimers()) {
        if (timer->m_held > 0)
            timer->scheduleHeldTicks();
    }
}

} // namespace gui
