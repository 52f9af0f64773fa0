// The end of the program.
#pragma once

// Winds the program down: stops the recordings, tells every display window
// to close, stops gathering, stores the settings and hides the main window;
// the end timer ends the program once the windows are gone.
void prepareEndOfApp();
