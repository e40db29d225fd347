#pragma once

namespace app {
class Program;
}

namespace exam {

// Stores the edition's exam time limit in the run values.
void SetTimeLimit(app::Program& program);

} // namespace exam
