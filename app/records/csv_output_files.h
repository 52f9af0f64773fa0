// The CSV files a conversion writes beside its base path (a folder and a
// file stem): base path + "_Ou", "_Iu", "_Cu" or "_Se" + the unit number in
// two or more digits + an optional "-" and set number + ".csv". Older files
// of the same base path are found and removed before a new conversion.
#pragma once

#include "frame/file_operations.h"

#include <QString>
#include <QStringList>

// The 31 heading texts of the files' header rows, in the order the library
// takes them, from the text table (the bus access text is fixed).
QStringList csvHeadingTexts();

// The base path of a name chosen in the save dialog: the name less a final
// ".csv" in any case; a name without it stays whole.
QString csvBasePath(const QString& chosenName);

// True for a file name the conversion writes for `stem`, compared without
// regard to case ("data_summary.csv" is not one).
bool isOldCsvFileName(const QString& stem, const QString& fileName);

struct OldCsvFiles {
  QString folder;     // the base path's folder
  QStringList names;  // the old files in it, in name order ignoring case
  FileOutcome outcome;  // the folder's listing
};
OldCsvFiles findOldCsvFiles(const QString& basePath);

struct OldCsvRemoval {
  // Every old file that could not be removed is passed over and the others
  // are still tried; these name the last failure.
  QString lastFailedName;
  FileOutcome lastFailure;
  explicit operator bool() const { return bool(lastFailure); }
};
OldCsvRemoval deleteOldCsvFiles(const QString& basePath);
