#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace gui {

// A timer with Interval and Enabled. It ticks while its window is hidden and
// stops with the window's controls.
class RepeatingTimer final : public QObject {
    Q_OBJECT
public:
    RepeatingTimer(QObject* parent, std::function<void()> tick);

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool isRunning() const { return m_timer.isActive(); }

private:
    void restart();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

} // namespace gui
