#include "core/ClockText.h"

#include <QStringList>

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

QString clockWords(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    const qint64 parts[3] = {seconds / 3600, seconds / 60 % 60, seconds % 60};
    const char* units[3] = {"hour", "minute", "second"};
    QStringList words;
    for (int i = 0; i < 3; ++i) {
        if (parts[i] == 0)
            continue;
        words << QString::number(parts[i]) + u' ' + QLatin1StringView(units[i]) +
                     (parts[i] == 1 ? QString() : QStringLiteral("s"));
    }
    return words.isEmpty() ? QStringLiteral("0 seconds") : words.join(u' ');
}

} // namespace core
