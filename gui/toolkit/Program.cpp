#include "gui/toolkit/Program.h"

#include "data/DataError.h"
#include "gui/toolkit/RepeatingTimer.h"

#include <QDir>

namespace gui {

Program::Program(core::Edition edition, core::Prompter& prompter)
    : m_edition(std::move(edition)), m_prompter(prompter), m_windows(*this)
{
}

Program::~Program() = default;

int Program::msgBox(const QString& prompt, int style, const QString& title)
{
    // A box runs its own event loop: no timer handler may run inside it.
    RepeatingTimer::Hold hold;
    return m_prompter.msgBox(prompt, style, title.isEmpty() ? m_edition.applicationTitle : title);
}

QString Program::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    RepeatingTimer::Hold hold;
    return m_prompter.inputBox(prompt, title.isEmpty() ? m_edition.applicationTitle : title,
                               defaultText);
}

void Program::reportDataError(const data::DataError& error)
{
    msgBox(error.describe(), core::Prompter::OkOnly);
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
