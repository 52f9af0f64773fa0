// The program's windows as the frame reaches them: installs the main-menu
// command table. The program calls it once, before the main window is made.
#pragma once

void installProgramWindows();
