#pragma once

#include "core/Edition.h"

#include <functional>

namespace gui {

class Program;

// Runs one edition as a desktop program: finds its question database,
// refuses a second copy, shows the main window and serves events until
// Exit. `started`, when given, runs once the main window is up.
int runProgram(int argc, char** argv, const core::Edition& edition,
               const std::function<void(Program&)>& started = {});

// Makes the folder of the program the current folder when the database is
// not in the current folder but beside the program. Returns that folder.
QString findDatabaseFolder(const QString& databaseFile, const QString& programFolder);

} // namespace gui
