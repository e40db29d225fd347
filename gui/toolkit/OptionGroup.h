#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QRadioButton;

namespace gui {

// Option buttons that behave as the windows expect: setting one true from
// code clears the others and runs its Click handler, just as a click does.
//
// The buttons form one exclusive group, so that assistive technology hears
// radio buttons and arrow keys move the choice within the group; "no option
// chosen" stays possible because clearing lifts the exclusiveness for that
// moment. The Click handler runs whenever an option becomes chosen, however
// that happened (mouse, Space, arrow keys, access key, an accessibility
// Toggle or Press, code), and when the chosen option is clicked again.
class OptionGroup final : public QObject {
public:
    explicit OptionGroup(QObject* parent = nullptr);

    void add(QRadioButton* button, std::function<void()> click);
    void setValue(int index, bool value);
    bool value(int index) const;
    int size() const { return int(m_options.size()); }

private:
    struct Option {
        QPointer<QRadioButton> button;
        std::function<void()> click;
    };
    void runClick(int index);

    std::vector<Option> m_options;
    QButtonGroup* m_group;
    // The button pressed, if it was the chosen one already: its click
    // changes nothing, so no toggle runs the handler for it.
    QAbstractButton* m_pressedWhileChosen = nullptr;
};

} // namespace gui
