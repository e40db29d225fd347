#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QRadioButton;

namespace gui {

// Option buttons that behave as the windows expect: setting one true from
// code clears the others and runs its Click handler, just as a click does.
class OptionGroup final : public QObject {
public:
    explicit OptionGroup(QObject* parent = nullptr) : QObject(parent) {}

    void add(QRadioButton* button, std::function<void()> click);
    void setValue(int index, bool value);
    bool value(int index) const;
    int size() const { return int(m_options.size()); }

private:
    struct Option {
        QPointer<QRadioButton> button;
        std::function<void()> click;
    };
    std::vector<Option> m_options;
};

} // namespace gui
