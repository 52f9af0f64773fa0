// The program's windows as the frame reaches them: installs the main-menu
// command table, the ways back between windows, and the sender of the trigger
// set-up's conditions at the map window's trigger start. The program calls it
// once, before the main window is made.
#pragma once

void installProgramWindows();
