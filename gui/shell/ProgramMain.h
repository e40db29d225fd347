#pragma once

#include "core/Edition.h"

#include <functional>

namespace gui {

class Program;

// Runs one edition as a desktop program: reads its command line (--help,
// --version, --reset-bank), finds its question database (see prepareBank),
// refuses a second copy, shows the main window and serves events until
// Exit. `started`, when given, runs once the main window is up.
int runProgram(int argc, char** argv, const core::Edition& edition,
               const std::function<void(Program&)>& started = {});

} // namespace gui
