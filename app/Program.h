#pragma once

#include "Edition.h"
#include "Forms.h"
#include "Prompter.h"
#include "RunValues.h"

#include <functional>

namespace data {
class DataError;
}

namespace app {

// One running program: its edition, the run values, the windows, and the one
// way to ask the candidate something.
class Program {
public:
    Program(Edition edition, Prompter& prompter);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const Edition& edition() const { return m_edition; }
    RunValues& run() { return m_run; }
    Forms& forms() { return m_forms; }
    template <typename T> T& form() { return m_forms.form<T>(); }

    // A message box; without a title of its own it shows the application title.
    int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText);
    // Tells the candidate, in the program's words, what went wrong with the database.
    void reportDataError(const data::DataError& error);

    // Closes every window and ends the program at once.
    void End();
    bool hasEnded() const { return m_ended; }
    // What ending means: the event loop's exit in the program, a flag in tests.
    void setEndHandler(std::function<void()> handler) { m_endHandler = std::move(handler); }

private:
    Edition m_edition;
    Prompter& m_prompter;
    RunValues m_run;
    Forms m_forms;
    bool m_ended = false;
    std::function<void()> m_endHandler;
};

} // namespace app
