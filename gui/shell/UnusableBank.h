#pragma once

#include "core/BankCheck.h"

#include <QString>

namespace gui {

class Program;

// Checks the question database before an exam starts (before the name
// prompt) or a review opens. A bank that cannot be used is told of once, by
// its file name and each problem; the technical detail goes to standard error
// and behind the box's details. Nothing is written. True when it can be used.
bool bankReadyFor(Program& program, int exam, core::BankUse use);

// What the candidate reads of a bank that failed the check: the file, then
// the first ten problems and how many more there are.
QString unusableBankMessage(const core::BankVerdict& verdict, int exam, core::BankUse use);
// The file's path and every problem with what SQLite said of it.
QString unusableBankDetails(const core::BankVerdict& verdict);

} // namespace gui
