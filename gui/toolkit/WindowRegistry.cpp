#include "gui/toolkit/WindowRegistry.h"

#include <algorithm>

namespace gui {

WindowRegistry::~WindowRegistry()
{
    m_discarded.clear();
    // Windows go in the reverse order of their creation.
    for (auto it = m_order.rbegin(); it != m_order.rend(); ++it)
        m_windows.erase(*it);
}

void WindowRegistry::discard(std::type_index type)
{
    auto it = m_windows.find(type);
    if (it == m_windows.end())
        return;
    std::unique_ptr<Window> window = std::move(it->second);
    m_windows.erase(it);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), type), m_order.end());
    window->unload();
    m_discarded.push_back(std::move(window));
    QTimer::singleShot(0, &m_context, [this] { collectDiscarded(); });
}

void WindowRegistry::collectDiscarded()
{
    m_discarded.clear();
}

void WindowRegistry::unloadAll()
{
    for (auto it = m_order.rbegin(); it != m_order.rend(); ++it)
        m_windows.at(*it)->unload();
}

void WindowRegistry::windowActivated(const Window& window)
{
    for (auto& [type, other] : m_windows) {
        if (other.get() != &window)
            other->deactivated();
    }
}

std::vector<Window*> WindowRegistry::visibleWindows() const
{
    std::vector<Window*> shown;
    for (const auto& type : m_order) {
        Window* window = m_windows.at(type).get();
        if (window->isVisible())
            shown.push_back(window);
    }
    return shown;
}

} // namespace gui
