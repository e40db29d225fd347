#include "Module1.h"

#include "Program.h"

namespace exam {

void SetTimeLimit(app::Program& program)
{
    program.run().TimeLimitMinutes = program.edition().timeLimitMinutes;
}

} // namespace exam
