#pragma once

namespace gui {

class Program;

// Start-up: fixes the number of questions per exam and shows the main window.
// It opens no database; the first exam or review does.
void startUp(Program& program);

} // namespace gui
