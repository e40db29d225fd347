#pragma once

#include "gui/toolkit/Window.h"

#include <QTimer>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace gui {

class Program;

// The program-wide instance of each window class. window<T>() creates the
// instance on first use; discard<T>() drops it, so the next use creates a
// new one. A discarded instance is destroyed once the handler that dropped
// it has returned, since that handler may belong to the instance itself.
class WindowRegistry {
public:
    explicit WindowRegistry(Program& program) : m_program(program) {}
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;
    ~WindowRegistry();

    template <typename T> T& get()
    {
        auto it = m_windows.find(typeid(T));
        if (it == m_windows.end()) {
            auto created = std::make_unique<T>(m_program);
            T& ref = *created;
            m_order.push_back(typeid(T));
            m_windows.emplace(typeid(T), std::move(created));
            ref.initialize();
            return ref;
        }
        return static_cast<T&>(*it->second);
    }

    template <typename T> T* existing() const
    {
        auto it = m_windows.find(typeid(T));
        return it == m_windows.end() ? nullptr : static_cast<T*>(it->second.get());
    }

    template <typename T> void discard() { discard(std::type_index(typeid(T))); }

    // Unloads every window (the program ends).
    void unloadAll();
    // Destroys discarded instances now (tests; the event loop does it otherwise).
    void collectDiscarded();
    // Windows currently on screen.
    std::vector<Window*> visibleWindows() const;
    // One window is active at a time: the others will run onActivate
    // again when they next become active.
    void windowActivated(const Window& window);

private:
    void discard(std::type_index type);

    Program& m_program;
    std::unordered_map<std::type_index, std::unique_ptr<Window>> m_windows;
    std::vector<std::type_index> m_order;
    std::vector<std::unique_ptr<Window>> m_discarded;
    QObject m_context; // ends the deferred clean-up with the registry
};

} // namespace gui
