#include "gui/shell/StartUp.h"

#include "gui/shell/MainWindow.h"
#include "gui/toolkit/Program.h"

namespace gui {

void startUp(Program& program)
{
    program.run().QuestionCount = program.edition().questionCount;
    program.form<MainWindow>().Show();
}

} // namespace gui
