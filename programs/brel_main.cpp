#include "gui/shell/ProgramMain.h"

int main(int argc, char** argv)
{
    return gui::runProgram(argc, argv, core::fullEdition());
}
