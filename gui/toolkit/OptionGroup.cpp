#include "gui/toolkit/OptionGroup.h"

#include <QRadioButton>

namespace gui {

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

} // namespace gui
