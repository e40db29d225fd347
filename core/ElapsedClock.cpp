#include "core/ElapsedClock.h"

#include "core/ClockText.h"

namespace core {

void ElapsedClock::tick()
{
    if (m_seconds < mostSeconds)
        ++m_seconds;
}

QString ElapsedClock::text() const
{
    return clockText(m_seconds);
}

} // namespace core
