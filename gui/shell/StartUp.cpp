#include "gui/shell/StartUp.h"

#include "gui/shell/MainWindow.h"
#include "gui/toolkit/Program.h"

namespace gui {

void startUp(Program& program)
{
    program.run().questionCount = program.edition().questionCount;
    program.window<MainWindow>().show();
}

} // namespace gui
