#include "Controls.h"

#include <QRadioButton>

namespace app {

void OptionGroup::add(QRadioButton* button, std::function<void()> click)
{
    const int index = int(m_options.size());
    button->setAutoExclusive(false);
    m_options.push_back({button, std::move(click)});
    connect(button, &QRadioButton::clicked, this, [this, index] { setValue(index, true); });
}

void OptionGroup::setValue(int index, bool value)
{
    Option& option = m_options.at(std::size_t(index));
    if (!option.button)
        return;
    if (!value) {
        option.button->setChecked(false);
        return;
    }
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        if (m_options[i].button)
            m_options[i].button->setChecked(int(i) == index);
    }
    if (option.click)
        option.click();
}

bool OptionGroup::value(int index) const
{
    const Option& option = m_options.at(std::size_t(index));
    return option.button && option.button->isChecked();
}

VbTimer::VbTimer(QObject* parent, std::function<void()> tick) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [tick = std::move(tick)] { tick(); });
}

void VbTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    restart();
}

void VbTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

void VbTimer::restart()
{
    // A timer started or changed counts a full interval from now.
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

} // namespace app
