#include "Module2.h"

#include "Form1.h"
#include "Program.h"

namespace app {

void Main(Program& program)
{
    program.run().QuestionCount = program.edition().questionCount;
    program.form<Form1>().Show();
}

} // namespace app
