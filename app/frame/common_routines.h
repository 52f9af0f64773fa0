// Routines the windows of every part of the program share: paths, unit
// addresses, number and date texts, free disk space, the data folders and
// the version texts.
#pragma once

#include "types/DataShowFile.h"

#include <QString>

#include <cstdint>

// The text after the last path separator ("/" or "\"); the whole text when
// there is none.
QString pathBaseName(const QString& path);
// file = the text after the last separator; folder = the text before it,
// keeping the separator when that is the root ("/", "C:\"). A path without
// a separator gives an empty folder and the whole text as file.
void splitPath(const QString& path, QString& folder, QString& file);

// A bus address as "G-UU" (group 1..8, unit 00..15); -1 gives "".
QString unitAddressToText(int32_t address);
// The address of a "G-UU" text (outer blanks ignored); "" gives -1, and so
// does a text that is not of that form.
int32_t unitAddressFromText(const QString& text);

// The decimal text filled with zeros in front to three characters.
QString zeroPad3(int32_t value);

// Dates and times as the program shows them.
inline constexpr const char* kDateFormat = "yyyy/MM/dd";
inline constexpr const char* kTimeFormat = "HH:mm:ss";
// The time of day of a second count (counts past a day run on into it).
QString secondsToTimeText(int32_t secondsOfDay);
// A month outside 1..12 and a day outside 1..31 become 1; a day past the
// month's end runs into the next month.
QString makeDateText(int32_t year, int32_t month, int32_t day);
QString recordFileDateTimeText(const DataShowFile& file);
// A date text from the library in the program's date form, or unchanged when
// it is not a date.
QString generalDateText(const QString& text);

// Free space of the disk holding `path`, through the library: in kilobytes
// and in bytes. Values past 32 bits are held at the largest 32-bit value,
// never wrapped; a failed query gives 0 for both.
void getFreeDiskSize(const QString& path, int32_t& kilobytes, float& bytes);

// Makes the program folder the current folder.
bool setProgramFolderAsCurrent();
// Makes the folders csv and q7data in the program folder when missing and
// sets csvFolder and q7dataFolder. False when one could not be made (the
// values are then left as they were).
bool ensureDataFolders();
// Fetches the setting-file and library version texts into versionTexts.
void loadFileVersions();
