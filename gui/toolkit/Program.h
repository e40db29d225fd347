#pragma once

#include "core/Edition.h"
#include "core/Prompter.h"
#include "core/RunValues.h"
#include "gui/toolkit/WindowRegistry.h"

#include <functional>

namespace data {
class DataError;
}

namespace gui {

// One running program: its edition, the run values, the windows, and the one
// way to ask the candidate something.
class Program {
public:
    Program(core::Edition edition, core::Prompter& prompter);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const core::Edition& edition() const { return m_edition; }
    core::RunValues& run() { return m_run; }
    WindowRegistry& windows() { return m_windows; }
    template <typename T> T& window() { return m_windows.get<T>(); }

    // The question database in use, as an absolute path. The windows open it
    // by its bare name in the current folder, which start-up has made the
    // folder the database was found in.
    QString databasePath() const;

    // A message box; without a title of its own it shows the application
    // title. `details`, technical detail, is also written to standard error.
    int msgBox(const QString& prompt, int style = core::Prompter::OkOnly,
               const QString& title = QString(), const QString& details = QString());
    QString inputBox(const QString& prompt, const QString& title, const QString& defaultText);
    // Tells the candidate, in the program's words, what went wrong with the database.
    void reportDataError(const data::DataError& error);

    // Closes every window and ends the program at once.
    void end();
    bool hasEnded() const { return m_ended; }
    // What ending means: the event loop's exit in the program, a flag in tests.
    void setEndHandler(std::function<void()> handler) { m_endHandler = std::move(handler); }

private:
    core::Edition m_edition;
    core::Prompter& m_prompter;
    core::RunValues m_run;
    WindowRegistry m_windows;
    bool m_ended = false;
    std::function<void()> m_endHandler;
};

} // namespace gui
