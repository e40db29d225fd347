#include "gui/help/HelpLink.h"

#include <QAccessibleWidget>

namespace gui {
namespace {

// A label would be read out as static text; this one is a link that can be pressed.
class AccessibleHelpLink final : public QAccessibleWidget {
public:
    explicit AccessibleHelpLink(HelpLink* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* link = static_cast<const HelpLink*>(widget());
        if (t == QAccessible::Name)
            return link->accessibleName().isEmpty() ? link->linkText() : link->accessibleName();
        if (t == QAccessible::Value)
            return link->url().toDisplayString();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<HelpLink*>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* accessibleHelpLink(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(HelpLink::staticMetaObject.className()))
        return new AccessibleHelpLink(static_cast<HelpLink*>(object));
    return nullptr;
}

} // namespace

HelpLink::HelpLink(QWidget* parent) : PressableLabel(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleHelpLink);
        return true;
    }();
    Q_UNUSED(installed);
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    // Without text interaction a label takes no focus; the link is reached with Tab.
    setFocusPolicy(Qt::StrongFocus);
}

void HelpLink::setLink(const QString& text, const QUrl& url)
{
    m_text = text;
    m_url = url;
    // Drawn as a link in the style's link colour; the label itself does the clicking.
    setText(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()));
}

void HelpLink::click()
{
    if (m_handler && isEnabled() && !m_url.isEmpty())
        m_handler(m_url);
}

} // namespace gui
