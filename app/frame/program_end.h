// The end of the program. Three roads lead to it: the main menu's END
// button, the menu command END, and closing the main window. It may only
// come when no recording runs, every display window has closed, gathering
// is stopped and the settings are written back.
#pragma once

#include "frame/gathering.h"

#include <functional>

// END button and menu command: when a recording runs, asks first whether to
// stop it (Yes winds the program down); otherwise winds it down at once.
void requestEndOfApp();

// Winds the program down: the windows that take part in the end
// (end_participant.h) stop their recordings and close their display windows
// and themselves; gathering stops, the port and sensor settings are stored
// and the main window hides; the end timer ends the program once the
// windows are gone.
void prepareEndOfApp();
// The end timer's step (every 500 ms once the end has begun): ends the
// program when every window that takes part in the end has closed (no
// display window left, the map window closed) and no sliced job runs, or
// when they have not managed to close within kEndTimeoutTicks steps.
void tmrForEndApp_Timer();
inline constexpr int kEndTimeoutTicks = 60;  // 30 s
// Releases the site records and the event guard and closes the main window,
// which ends the program.
void finishEndOfApp();

// The end asked for from outside (SIGTERM, SIGHUP): the END road without
// questions, running recordings stopped as END's Yes stops them. Nothing
// happens when the end has begun already.
void endOnRequestFromOutside();

// Asked when the main window is to close. True: gathering is stopped, every
// setting written, and the window may close (the program ends). False: the
// window stays, and the end has been asked for or begun.
bool mainWindowMayClose();

// Writes every setting kept in the store; the main window's place only when
// its top and left are 0 or more. False when the store could not be written.
bool saveAllSettings();

// Ends the program: by default the event loop is told to return. Tests put
// in an action of their own.
void endProgram();
bool programHasEnded();
void setEndProgramAction(std::function<void()> action);
// Forgets an earlier end (a new start).
void resetProgramEnd();
