#include "core/Countdown.h"

#include "core/ClockText.h"

#include <algorithm>

namespace core {

qint64 Countdown::remainingSeconds() const
{
    return std::max<qint64>(0, m_limitSeconds - m_elapsedSeconds);
}

QString Countdown::text() const
{
    return clockText(remainingSeconds());
}

} // namespace core
