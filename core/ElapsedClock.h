#pragma once

#include <QString>

namespace core {

// How long a window has been open, one tick a second, read as "00:01:05".
// It stops at 99:59:59, the most two-digit hours can show, rather than
// overflow or run past what the candidate can read.
class ElapsedClock {
public:
    static constexpr qint64 mostSeconds = 99 * 3600 + 59 * 60 + 59;

    void tick();
    void reset() { m_seconds = 0; }
    qint64 seconds() const { return m_seconds; }
    QString text() const;

private:
    qint64 m_seconds = 0;
};

} // namespace core
