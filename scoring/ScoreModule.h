#pragma once

namespace app {
class Program;
}

// Module1's routine for the score sheet.
namespace scoring::Module1 {

// Puts the edition's title on the score sheet, sets PassScore to the
// edition's pass score and shows it as "700/1000". Creates the score sheet
// first when there is none.
void ShowTitleAndPassScore(app::Program& program);

} // namespace scoring::Module1
