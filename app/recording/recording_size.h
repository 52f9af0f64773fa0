// Expected sizes of periodic recordings and the free space they are held
// against: bytes as doubles, fractions kept; KB figures for the windows as
// 64-bit whole numbers.
#pragma once

#include "types/MapQ7net.h"

#include <QString>

#include <cstdint>
#include <vector>

// Bytes a recording of one system would take with the map's interval, stop
// method and minutes: the library's header and record sizes for the system
// (library system number), all minutes when it stops by time, one hour when
// it stops by hand; the system that carries the sensor inputs adds 32 bytes
// a sample. An interval of 0 or less gives 0.
double getFileSize(const MapQ7net& map, int32_t systemNo);
// Whether the system (library system number) carries the map's sensor
// inputs: a mode with sensor input and the sensor system tied to it.
bool carriesSensorInputs(const MapQ7net& map, int32_t systemNo);
// The sensor inputs' own bytes: 32 a sample over the minutes (by time) or one
// hour (by hand); 0 for an interval of 0 or less.
double sensorInputBytes(const MapQ7net& map);

// The KB figure the windows show for a size: to the nearest KB, a half to
// the even one, plus 1 (so 0 bytes show 1).
int64_t sizeKilobytes(double bytes);
// "KB", or for a recording stopped by hand "KB/hour(s)".
QString sizeUnitText(int32_t recodeMethod);

// The size column and total of the periodic set-up.
struct RecodeFileSizes {
  std::vector<QString> rowTexts;  // per system row: figure and unit, "" when not recorded
  QString total;                  // the KB figure of the summed bytes
  QString unit;
};
RecodeFileSizes recodeFileSizes(const MapQ7net& map);

// The expected size of the sensor-input set-up: a sensor-only map's inputs,
// or in modes 3, 5 and 9 the sensor system's whole size; "0" for none.
struct SensorInputFileSize {
  QString size;
  QString unit;
};
SensorInputFileSize sensorInputFileSize(const MapQ7net& map);

// Whether the free bytes of the program folder's disk are fewer than
// `bytes`; equal sizes fit.
bool freeDiskBelow(double bytes);
// The free space of the program folder's disk in MB with one decimal, in the
// user's digit grouping.
QString freeDiskMegabyteText();

// Whether a periodic recording stopped by time would not fit: the marked
// systems' sizes against the free space. Stopped by hand it always fits, and
// nothing is asked.
bool whetherFileSizeOver(const MapQ7net& map);
// The same for a sensor-only recording, whose need is the inputs' bytes.
bool sensorInputFileSizeOver(const MapQ7net& map);
