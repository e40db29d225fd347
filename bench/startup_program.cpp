// The full edition's real start-up path, ended once its main window is shown.
#include "WindowShown.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProgramMain.h"
#include "gui/toolkit/Program.h"

int main(int argc, char** argv)
{
    return gui::runProgram(argc, argv, core::fullEdition(), [](gui::Program& program) {
        WindowShown::watch(program.window<gui::MainWindow>().widget());
    });
}
