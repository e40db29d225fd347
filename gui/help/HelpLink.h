#pragma once

#include "gui/toolkit/PressableLabel.h"

#include <QUrl>
#include <functional>

namespace gui {

// A link: shows its text underlined and, when clicked or pressed with Space
// or Enter, hands its address to the handler its window gave it. Assistive
// tools see it as a link named by its text.
class HelpLink final : public PressableLabel {
    Q_OBJECT
public:
    explicit HelpLink(QWidget* parent = nullptr);

    void setLink(const QString& text, const QUrl& url);
    QString linkText() const { return m_text; }
    QUrl url() const { return m_url; }
    void setClickHandler(std::function<void(const QUrl&)> handler)
    {
        m_handler = std::move(handler);
    }
    void click() override;

private:
    QString m_text;
    QUrl m_url;
    std::function<void(const QUrl&)> m_handler;
};

} // namespace gui
