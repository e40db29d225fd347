#pragma once

#include "core/BankLocation.h"
#include "core/Edition.h"
#include "core/Prompter.h"

#include <optional>

namespace gui {

// The folders a program started from `programFolder` looks in: the current
// folder, the program's, the user's data folder for this program, and the
// banks installed with it (share/quizmoor beside the program's bin/).
core::BankFolders bankFolders(const QString& programFolder);

// Finds the edition's question database. Installed, the program works on the
// user's own copy of the installed bank, made on first use and afterwards
// only replaced when `resetRequested` and the user agrees. A database that
// cannot be written is refused before any exam could start on it. Returns the
// folder to run in (the current one when there is no database at all, which
// the first exam then reports), or nothing after telling the user why the
// program cannot go on.
std::optional<QString> prepareBank(const core::Edition& edition, core::Prompter& prompter,
                                   const core::BankFolders& folders, bool resetRequested);

// The answer to a second start on the same database.
QString alreadyRunningMessage(const core::Edition& edition);

} // namespace gui
