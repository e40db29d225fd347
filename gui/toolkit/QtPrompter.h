#pragma once

#include "core/Prompter.h"

namespace gui {

// Real dialogs, modal over the active window.
class QtPrompter final : public core::Prompter {
public:
    int msgBox(const QString& prompt, int style, const QString& title,
               const QString& details = QString()) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
};

} // namespace gui
