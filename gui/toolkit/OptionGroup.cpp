#include "gui/toolkit/OptionGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace gui {

OptionGroup::OptionGroup(QObject* parent) : QObject(parent), m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
}

void OptionGroup::add(QRadioButton* button, std::function<void()> click)
{
    const int index = int(m_options.size());
    // A radio button that is not auto-exclusive reports itself as a check
    // box to assistive technology; the group decides the exclusiveness.
    button->setAutoExclusive(true);
    m_group->addButton(button, index);
    m_options.push_back({button, std::move(click)});
    connect(button, &QAbstractButton::pressed, this,
            [this, button] { m_pressedWhileChosen = button->isChecked() ? button : nullptr; });
    connect(button, &QAbstractButton::toggled, this, [this, index](bool checked) {
        if (checked)
            runClick(index);
    });
    connect(button, &QAbstractButton::clicked, this, [this, index, button] {
        const bool unchanged = m_pressedWhileChosen == button;
        m_pressedWhileChosen = nullptr;
        if (unchanged)
            runClick(index);
    });
}

void OptionGroup::runClick(int index)
{
    const Option& option = m_options.at(std::size_t(index));
    if (option.click)
        option.click();
}

void OptionGroup::setValue(int index, bool value)
{
    Option& option = m_options.at(std::size_t(index));
    if (!option.button)
        return;
    if (!value) {
        if (option.button->isChecked()) {
            m_group->setExclusive(false);
            option.button->setChecked(false);
            m_group->setExclusive(true);
        }
        return;
    }
    if (option.button->isChecked())
        runClick(index); // set true again: Click runs as for a change
    else
        option.button->setChecked(true); // the toggle runs Click
}

bool OptionGroup::value(int index) const
{
    const Option& option = m_options.at(std::size_t(index));
    return option.button && option.button->isChecked();
}

} // namespace gui
