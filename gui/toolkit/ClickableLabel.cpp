#include "gui/toolkit/ClickableLabel.h"

#include <QAccessibleWidget>

namespace gui {
namespace {

class ClickableLabelAccessible final : public QAccessibleWidget {
public:
    explicit ClickableLabelAccessible(ClickableLabel* label)
        : QAccessibleWidget(label, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = static_cast<ClickableLabel*>(widget())->text();
        return text;
    }
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<ClickableLabel*>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* clickableLabelAccessible(const QString&, QObject* object)
{
    if (auto* label = dynamic_cast<ClickableLabel*>(object))
        return new ClickableLabelAccessible(label);
    return nullptr;
}

} // namespace

ClickableLabel::ClickableLabel(QWidget* parent) : PressableLabel(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(clickableLabelAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

void ClickableLabel::click()
{
    if (m_handler && isEnabled())
        m_handler();
}

} // namespace gui
