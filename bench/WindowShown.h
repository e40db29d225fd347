#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>

// For the start-up benchmark: once `window` is on screen (its first expose),
// prints the moment on the monotonic clock, which the benchmark compares with
// the moment it started the process, and ends the event loop.
class WindowShown final : public QObject {
public:
    static void watch(QWidget* window)
    {
        window->winId(); // the native window exists from here on
        QWindow* handle = window->windowHandle();
        if (handle->isExposed()) {
            report();
            return;
        }
        handle->installEventFilter(new WindowShown(handle));
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            report();
        }
        return false;
    }

private:
    explicit WindowShown(QObject* parent) : QObject(parent) {}

    static void report()
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("shown %lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        // let the first paint go out, then end as the program's Exit would
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
};
