#include "gui/toolkit/Program.h"

#include "data/DataError.h"
#include "gui/toolkit/RepeatingTimer.h"

#include <QDir>

#include <cstdio>

namespace gui {

Program::Program(core::Edition edition, core::Prompter& prompter)
    : m_edition(std::move(edition)), m_prompter(prompter), m_windows(*this)
{
}

Program::~Program() = default;

int Program::msgBox(const QString& prompt, int style, const QString& title, const QString& details)
{
    if (!details.isEmpty())
        std::fprintf(stderr, "%s: %s\n", qPrintable(m_edition.programName), qPrintable(details));
    // A box runs its own event loop: no timer handler may run inside it.
    RepeatingTimer::Hold hold;
    return m_prompter.msgBox(prompt, style, title.isEmpty() ? m_edition.applicationTitle : title,
                             details);
}

QString Program::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    RepeatingTimer::Hold hold;
    return m_prompter.inputBox(prompt, title.isEmpty() ? m_edition.applicationTitle : title,
                               defaultText);
}

void Program::reportDataError(const data::DataError& error)
{
    // The candidate reads the program's words; SQLite's, and the statement,
    // go behind the box's details.
    msgBox(error.describe(), core::Prompter::OkOnly, QString(), error.technical());
}

QString Program::databasePath() const
{
    return QDir::current().absoluteFilePath(m_edition.databaseFile);
}

void Program::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_windows.unloadAll();
    if (m_endHandler)
        m_endHandler();
}

} // namespace gui
