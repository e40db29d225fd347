#pragma once

#include <QString>

namespace core {

// The exam's clock: counts the seconds of the time limit down, one tick a
// second, and reads as "01:59:59". Past the limit it keeps counting but
// reads 00:00:00.
class Countdown {
public:
    explicit Countdown(int limitMinutes = 0) : m_limitSeconds(qint64(limitMinutes) * 60) {}

    void setLimitMinutes(int minutes) { m_limitSeconds = qint64(minutes) * 60; }
    void tick() { ++m_elapsedSeconds; }
    void reset() { m_elapsedSeconds = 0; }

    qint64 elapsedSeconds() const { return m_elapsedSeconds; }
    qint64 remainingSeconds() const;
    bool expired() const { return m_elapsedSeconds >= m_limitSeconds; }
    QString text() const;

private:
    qint64 m_limitSeconds = 0;
    qint64 m_elapsedSeconds = 0;
};

} // namespace core
