#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace gui {

// A timer with Interval and Enabled. It ticks while its window is hidden and
// stops with the window's controls.
//
// Its handler never runs inside another one: while a message or input box is
// open (a Hold exists), intervals that come due are counted instead of
// handled, and once the last box has closed and the handler that opened it
// has returned, each counted tick runs, one after the other, so that a clock
// shows the right time again.
class RepeatingTimer final : public QObject {
    Q_OBJECT
public:
    RepeatingTimer(QObject* parent, std::function<void()> tick);
    ~RepeatingTimer() override;

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool isRunning() const { return m_timer.isActive(); }

    // Starts the interval again from now and forgets the ticks held so far.
    void restart();

    // What happens each time an interval has passed: the tick, or, while
    // ticks are held, one more tick to handle later. Tests call it in place
    // of waiting.
    void intervalElapsed();
    // Ticks that came due while held and have not run yet.
    int heldTicks() const { return m_held; }

    // While one exists, the ticks of every timer are held.
    class Hold {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };
    static bool ticksHeld();

private:
    // Runs the held ticks, unless a box has opened again meanwhile.
    void runHeldTicks();
    void scheduleHeldTicks();

    QTimer m_timer;
    std::function<void()> m_tick;
    int m_interval = 0;
    bool m_enabled = true;
    int m_held = 0;
    bool m_heldTicksScheduled = false;
};

} // namespace gui
