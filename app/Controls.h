#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

class QRadioButton;

namespace app {

// Option buttons that behave as the windows expect: setting one true from
// code clears the others and runs its Click handler, just as a click does.
class OptionGroup final : public QObject {
public:
    explicit OptionGroup(QObject* parent = nullptr) : QObject(parent) {}

    void add(QRadioButton* button, std::function<void()> click);
    void setValue(int index, bool value);
    bool value(int index) const;
    int size() const { return int(m_options.size()); }

private:
    struct Option {
        QPointer<QRadioButton> button;
        std::function<void()> click;
    };
    std::vector<Option> m_options;
};

// A timer with Interval and Enabled. It ticks while its window is hidden and
// stops with the window's controls.
class VbTimer final : public QObject {
    Q_OBJECT
public:
    VbTimer(QObject* parent, std::function<void()> tick);

    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool isRunning() const { return m_timer.isActive(); }

private:
    void restart();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

} // namespace app
