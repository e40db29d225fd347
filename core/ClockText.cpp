#include "core/ClockText.h"

namespace core {

QString clockText(int hours, int minutes, int seconds)
{
    auto two = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return two(hours) + u':' + two(minutes) + u':' + two(seconds);
}

QString clockText(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    // H = floor(R / 3600), M = floor(R / 60 - 60 H), S = R - 60 M - 3600 H
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 - 60 * hours;
    const qint64 rest = seconds - 60 * minutes - 3600 * hours;
    return clockText(int(hours), int(minutes), int(rest));
}

} // namespace core
