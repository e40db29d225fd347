#pragma once

#include "BankModel.h"

#include <QString>

namespace bank {

// Writes `edition` as a new question database at `databasePath`, replacing
// any file there only once the new one is complete. Per exam N the working
// table examN gets each question with every choice cleared and the key table
// examNN the same question with its correct choices set; cat, "Test
// Information" and the exhibits follow the edition. Exhibits are read from
// `exhibitsSourceDir` and written to `exhibitsOutDir`: an SVG drawing becomes
// "<name>@2x.png" at twice its own size on white, other pictures are copied;
// diagram1 holds "exhibits/<file>". SVG rendering needs a QGuiApplication.
// Expects a bank validate() accepted; throws BankError on any failure.
void writeDatabase(const Edition& edition, const QString& databasePath,
                   const QString& exhibitsSourceDir, const QString& exhibitsOutDir);

} // namespace bank
