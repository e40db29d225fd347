#pragma once

#include <QString>

namespace app {

// Message-box styles and answers the windows use.
enum MsgBoxStyle { vbOKOnly = 0, vbOKCancelQuestion = 33, vbYesNoExclamation = 52 };
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Every message box and input box of the program goes through this, so that
// tests can script the answers instead of a person clicking.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual int msgBox(const QString& prompt, int style, const QString& title) = 0;
    // The text typed; "" when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
};

// Real dialogs, modal over the active window.
class QtPrompter final : public Prompter {
public:
    int msgBox(const QString& prompt, int style, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
};

} // namespace app
