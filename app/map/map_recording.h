// The map's side of the recordings the library makes: the systems a
// periodic recording takes, the system a trigger recording watches, the
// files a start without a customer replaces, and the bus logs an earlier
// bus-data recording left.
#pragma once

#include "types/MapQ7net.h"

#include <QString>

#include <array>
#include <cstdint>

// The system selection of saveConstData: system n (as the library numbers
// it) at index n - 1. The library records systems 1..255 only.
inline constexpr std::size_t kSystemSelectionSize = 256;
inline constexpr int32_t kHighestRecordedSystem = 255;
using SystemSelection = std::array<int32_t, kSystemSelectionSize>;

// The marked ordinary and central systems (recode 1); a sensor-only map
// (ifMode 1) records system 1 whatever its systems say. Systems the library
// cannot number are left out.
SystemSelection periodicSelection(const MapQ7net& map);
// The library number of the first ordinary system marked for trigger
// recording, else of the first central one, else 1; systems the library
// cannot number are passed over.
int32_t triggerSystemIndex(const MapQ7net& map);

// Without a customer the library writes into the program folder and first
// deletes what an earlier such recording left there: every const*.das at a
// periodic start, trigger.das at a trigger start. These say whether the
// folder holds such a file (names compared without regard to case).
bool periodicFilesWouldBeReplaced(const QString& folder);
bool triggerFileWouldBeReplaced(const QString& folder);

// A bus-log base path ("<folder>/q7-net") split at its last "/".
struct BusLogBase {
  QString folder;
  QString name;
};
BusLogBase splitBusLogBase(const QString& basePath);
// Whether an earlier bus log stands in the base's folder: a ".dl2" file
// whose name begins with the base name (without regard to case).
bool checkWhetherQ7dataFileExists(const QString& basePath);
// The logs the library writes for a base name: "<name>.dl2" and
// "<name>-<digits>.dl2", without regard to case.
bool isBusLogOf(const QString& fileName, const QString& baseName);

// What deleting the earlier bus logs came to.
struct BusLogDeletion {
  bool listed = false;  // the folder could be listed
  QString lastFailed;   // the last log that could not be removed
  bool done() const { return listed && lastFailed.isEmpty(); }
};
// Removes every log of the base that the library wrote (through the file
// operations' removeFile); a log that cannot be removed does not stop the
// others.
BusLogDeletion deleteBusLogs(const QString& basePath);
