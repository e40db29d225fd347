#pragma once

#include "core/BankCheck.h"

namespace gui {

class Program;

// Checks the question database before an exam starts (before the name
// prompt) or a review opens. A bank that cannot be used is told of once: its
// file name, then its first ten problems and how many more there are; the
// file's path and each problem with what SQLite said of it go to standard
// error and behind the box's details. Nothing is written. True when the bank
// can be used.
bool bankReadyFor(Program& program, int exam, core::BankUse use);

} // namespace gui
