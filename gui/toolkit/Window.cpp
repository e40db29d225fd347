#include "gui/toolkit/Window.h"

#include "gui/toolkit/Program.h"
#include "gui/toolkit/RepeatingTimer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace gui {

// Hears the window's own events on behalf of the Window.
class WindowEvents final : public QObject {
public:
    explicit WindowEvents(Window& window) : m_window(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Close:
            if (watched == m_window.m_widget) {
                event->ignore();
                if (m_window.queryClose())
                    m_window.unload();
                return true;
            }
            break;
        case QEvent::WindowActivate:
            if (watched == m_window.m_widget)
                m_window.activated();
            break;
        case QEvent::WindowDeactivate:
            if (watched == m_window.m_widget)
                m_window.deactivated();
            break;
        case QEvent::KeyPress:
            if (m_window.m_keyPreview) {
                // A key its control leaves unused travels on to the parents,
                // which are watched too: the window hears each key once.
                if (event == m_previewed && m_previewedAt && watched->isWidgetType() &&
                    static_cast<QWidget*>(watched)->isAncestorOf(m_previewedAt))
                    break;
                m_previewed = event;
                m_previewedAt = qobject_cast<QWidget*>(watched);
                m_window.onKeyPress(*static_cast<QKeyEvent*>(event));
                // a key that closed the window goes no further
                return !m_window.isLoaded();
            }
            break;
        case QEvent::KeyRelease:
            m_previewed = nullptr;
            break;
        default:
            break;
        }
        return false;
    }

private:
    Window& m_window;
    const QEvent* m_previewed = nullptr; // the key press last shown to the window
    QPointer<QWidget> m_previewedAt;
};

Window::Window(Program& program)
    : m_program(program), m_events(std::make_unique<WindowEvents>(*this))
{
}

Window::~Window()
{
    if (m_widget) {
        m_widget->removeEventFilter(m_events.get());
        delete m_widget.data();
    }
}

void Window::initialize()
{
    onInitialize();
}

bool Window::isVisible() const
{
    return m_widget && m_widget->isVisible();
}

void Window::load()
{
    if (m_widget || m_loading)
        return;
    m_loading = true;
    QWidget* window = createWidget();
    m_widget = window;
    window->installEventFilter(m_events.get());
    if (m_keyPreview) {
        for (QWidget* child : window->findChildren<QWidget*>())
            child->installEventFilter(m_events.get());
    }
    m_active = false;
    try {
        onLoad();
    } catch (const LoadAbandoned&) {
        m_loading = false;
        unload();
        return;
    } catch (...) {
        // no half-loaded window is left behind to be shown later
        m_loading = false;
        unload();
        throw;
    }
    m_loading = false;
}

void Window::show()
{
    load();
    if (!m_widget)
        return;
    m_widget->show();
    // The offscreen platform (tests) cannot raise a window and says so each time.
    if (QGuiApplication::platformName() != QLatin1StringView("offscreen"))
        m_widget->raise();
    m_widget->activateWindow();
    // Becoming the active window runs onActivate at once, so what show()
    // starts is complete when show() returns; the window system's own
    // activation event that follows finds it active already.
    activated();
}

void Window::activated()
{
    if (m_active || !m_widget)
        return;
    m_active = true;
    m_program.windows().windowActivated(*this);
    onActivate();
}

void Window::hide()
{
    if (m_widget)
        m_widget->hide();
    m_active = false;
}

void Window::unload()
{
    if (!m_widget)
        return;
    onUnload();
    QWidget* window = m_widget.data();
    m_widget.clear();
    m_active = false;
    window->removeEventFilter(m_events.get());
    for (QWidget* child : window->findChildren<QWidget*>())
        child->removeEventFilter(m_events.get());
    // Its timers stop with it, though the controls go only later.
    for (RepeatingTimer* timer : window->findChildren<RepeatingTimer*>())
        timer->setEnabled(false);
    window->hide();
    // A handler of one of its own controls may be running: let it return first.
    window->deleteLater();
}

} // namespace gui
