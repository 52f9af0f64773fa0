// The start of the program, in its order: texts, clock and second-copy
// checks, the main window from the stored settings, every setting, the
// folders and the service-station record, the main menu and the splash
// window, and the library.
#pragma once

#include <QDate>
#include <QString>

#include <cstdint>

struct StartEnvironment {
  QDate today = QDate::currentDate();
  // Folder of the lock that keeps a second copy from starting; empty: the
  // user's runtime folder.
  QString lockFolder;
};

// Runs the start. True: the program runs (enter the event loop). False: it
// has ended (wrong clock, a second copy, or the library failed to start).
bool startProgram(const StartEnvironment& environment = StartEnvironment());

// The settings and program-wide values, the display options, the folders
// and the service-station record.
void loadStartupSettings();
// The six display options from the store through their menu handlers, the
// adapter type, the version texts and the status panel.
void loadDisplayOptions();
// Initialises the library; on failure says so and ends the program (false).
bool startTramsoll();

// The whole-number value of a key of section HEAD in pelomar3.ini in the
// current folder, read as the library reads it (0 when missing).
int32_t readIniHeadKey(const char* key);
