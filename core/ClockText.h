#pragma once

#include <QString>

namespace core {

// "01:59:59": hours, minutes and seconds, each at least two digits.
QString clockText(int hours, int minutes, int seconds);
// The same for a count of seconds, never below 00:00:00.
QString clockText(qint64 seconds);

} // namespace core
