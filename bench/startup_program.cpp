// The full edition's real start-up path, ended once its main window is shown.
#include "Form1.h"
#include "Program.h"
#include "ProgramMain.h"
#include "WindowShown.h"

int main(int argc, char** argv)
{
    return app::runProgram(argc, argv, app::fullEdition(), [](app::Program& program) {
        WindowShown::watch(program.form<app::Form1>().window());
    });
}
