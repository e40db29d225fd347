#pragma once

#include <QString>

namespace core {

// "01:59:59": hours, minutes and seconds, each at least two digits.
QString clockText(int hours, int minutes, int seconds);
// The same for a count of seconds, never below 00:00:00.
QString clockText(qint64 seconds);
// The same count in words, as a screen reader should say it:
// "1 hour 59 minutes 59 seconds", "2 hours", "0 seconds".
QString clockWords(qint64 seconds);

} // namespace core
