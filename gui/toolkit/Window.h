#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QKeyEvent;

namespace gui {

class Program;
class WindowEvents;

// Thrown by an onLoad that has told the candidate why the window cannot
// open; the window is left unloaded and show() shows nothing.
struct LoadAbandoned {};

// One window of the program, with the life the windows rely on:
// the instance is created on first use (onInitialize, once); show() loads
// it if needed (onLoad), shows it modeless and activates it
// (onActivate); hide() keeps it loaded; unload() destroys the controls but
// keeps the instance and its members, so the next show() loads it again.
// Handlers are plain member functions, so tests can call them directly.
// The widget's objectName is the window's name in the design.
class Window {
public:
    explicit Window(Program& program);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void show();
    void hide();
    void unload();
    // Makes sure the controls exist (onLoad on the way), without showing.
    void load();

    bool isLoaded() const { return bool(m_widget); }
    bool isVisible() const;
    QWidget* widget() const { return m_widget.data(); }

    // Runs onInitialize; the registry calls it once right after creation.
    void initialize();

    // The window's frame was asked to close; true lets it go (it unloads).
    virtual bool queryClose() { return true; }

protected:
    virtual void onInitialize() {}
    virtual void onLoad() {}
    virtual void onActivate() {}
    // The window is about to lose its controls.
    virtual void onUnload() {}
    // With key preview on, every key pressed anywhere in the window.
    virtual void onKeyPress(QKeyEvent&) {}

    // Builds the window and its controls (its design), owned by the returned widget.
    virtual QWidget* createWidget() = 0;
    void setKeyPreview(bool on) { m_keyPreview = on; }

    Program& program() const { return m_program; }

private:
    friend class WindowEvents;
    friend class WindowRegistry;
    void activated();
    void deactivated() { m_active = false; }

    Program& m_program;
    QPointer<QWidget> m_widget;
    std::unique_ptr<WindowEvents> m_events;
    bool m_active = false;
    bool m_keyPreview = false;
    bool m_loading = false;
};

} // namespace gui
