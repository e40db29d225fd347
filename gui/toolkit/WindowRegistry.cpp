#include "gui/toolkit/WindowRegistry.h"

#include <algorithm>

namespace gui {

WindowRegistry::~WindowRegistry()
{
    m_discarded.clear();
    // Windows go in the reverse order of their creation.
    for (auto it = m_order.rbegin(); it != m_order.rend(); ++it)
        m_forms.erase(*it);
}

void WindowRegistry::discard(std::type_index type)
{
    auto it = m_forms.find(type);
    if (it == m_forms.end())
        return;
    std::unique_ptr<Window> form = std::move(it->second);
    m_forms.erase(it);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), type), m_order.end());
    form->Unload();
    m_discarded.push_back(std::move(form));
    QTimer::singleShot(0, &m_context, [this] { collectDiscarded(); });
}

void WindowRegistry::collectDiscarded()
{
    m_discarded.clear();
}

void WindowRegistry::unloadAll()
{
    for (auto it = m_order.rbegin(); it != m_order.rend(); ++it)
        m_forms.at(*it)->Unload();
}

void WindowRegistry::formActivated(const Window& form)
{
    for (auto& [type, other] : m_forms) {
        if (other.get() != &form)
            other->deactivated();
    }
}

std::vector<Window*> WindowRegistry::visibleForms() const
{
    std::vector<Window*> shown;
    for (const auto& type : m_order) {
        Window* form = m_forms.at(type).get();
        if (form->isVisible())
            shown.push_back(form);
    }
    return shown;
}

} // namespace gui
