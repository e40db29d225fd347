#pragma once

#include <QString>

namespace core {

// Every message box and input box of the program goes through this, so that
// tests can script the answers instead of a person clicking.
class Prompter {
public:
    // The buttons and icon of a message box, numbered as the windows have always asked for them.
    enum Style { OkOnly = 0, OkCancelQuestion = 33, YesNoWarning = 52 };
    // The button pressed.
    enum Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

    virtual ~Prompter() = default;
    // `details`, when given, is technical detail the box offers on request
    // ("Show Details..."), below the prompt the candidate reads.
    virtual int msgBox(const QString& prompt, int style, const QString& title,
                       const QString& details = QString()) = 0;
    // The text typed; "" when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
};

} // namespace core
