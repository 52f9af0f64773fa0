#include "recording/recording_size.h"

#include "frame/common_routines.h"
#include "frame/library/tramsoll_api.h"
#include "frame/site/paths.h"
#include "frame/texts/text_table.h"
#include "recording/recording_systems.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kHoursEntry = 7;
constexpr double kSensorBytesPerSample = 32;

bool stopsByTime(const MapQ7net& map) { return map.recodeMethod != 0; }

// Samples of the recording: all minutes by time, one hour by hand.
double sampleCount(const MapQ7net& map) {
  const double seconds = stopsByTime(map) ? static_cast<double>(map.recodeTime) * 60 : 3600;
  return seconds / map.recodeInterval;
}

QString kilobyteText(int64_t kilobytes) { return QString::number(kilobytes); }

}  // namespace

bool carriesSensorInputs(const MapQ7net& map, int32_t systemNo) {
  if (!recordsSensorInputs(map.ifMode)) return false;
  const auto system = sensorSystem(map);
  return system && system->systemNumber == systemNo;
}

double sensorInputBytes(const MapQ7net& map) {
  if (map.recodeInterval <= 0) return 0;
  return sampleCount(map) * kSensorBytesPerSample;
}

double getFileSize(const MapQ7net& map, int32_t systemNo) {
  if (map.recodeInterval <= 0) return 0;
  int32_t headerBytes = 0;
  int32_t bytesPerSample = 0;
  // A library that cannot size the system leaves both at 0.
  tramsollApi().getDataSize(systemNo, map.recodeInterval, &headerBytes, &bytesPerSample);
  double size = sampleCount(map) * bytesPerSample + headerBytes;
  if (carriesSensorInputs(map, systemNo)) size += sensorInputBytes(map);
  return size;
}

int64_t sizeKilobytes(double bytes) {
  // The default rounding mode sends halves to the even neighbour. Sums over
  // many huge systems are held well inside 64 bits.
  constexpr double kHeld = 9.0e18;
  const double kilobytes = std::clamp(std::nearbyint(bytes / 1024), -kHeld, kHeld);
  return static_cast<int64_t>(kilobytes) + 1;
}

QString sizeUnitText(int32_t recodeMethod) {
  const QString unit = QStringLiteral("KB");
  return recodeMethod != 0 ? unit : unit + QLatin1Char('/') + tableText(kHoursEntry);
}

RecodeFileSizes recodeFileSizes(const MapQ7net& map) {
  RecodeFileSizes sizes;
  sizes.unit = sizeUnitText(map.recodeMethod);
  double total = 0;
  for (const SystemRow& row : combinedSystemRows(map)) {
    if (row.system->recode != 1) {
      sizes.rowTexts.emplace_back();
      continue;
    }
    const double size = getFileSize(map, row.row);
    total += size;
    sizes.rowTexts.push_back(kilobyteText(sizeKilobytes(size)) + sizes.unit);
  }
  sizes.total = kilobyteText(sizeKilobytes(total));
  return sizes;
}

SensorInputFileSize sensorInputFileSize(const MapQ7net& map) {
  double size = 0;
  if (map.ifMode == 1) {
    size = sensorInputBytes(map);
  } else if (const auto system = sensorSystem(map); recordsSensorInputs(map.ifMode) && system) {
    size = getFileSize(map, system->systemNumber);
  }
  // Unlike the periodic figures, no size shows as 0, not 1.
  return {kilobyteText(size == 0 ? 0 : sizeKilobytes(size)), sizeUnitText(map.recodeMethod)};
}

bool freeDiskBelow(double bytes) {
  int32_t kilobytes = 0;
  float freeBytes = 0;
  getFreeDiskSize(programFolder(), kilobytes, freeBytes);
  return static_cast<double>(freeBytes) < bytes;
}

QString freeDiskMegabyteText() {
  int32_t kilobytes = 0;
  float freeBytes = 0;
  getFreeDiskSize(programFolder(), kilobytes, freeBytes);
  return QLocale().toString(kilobytes / 1024.0, 'f', 1);
}

bool whetherFileSizeOver(const MapQ7net& map) {
  if (!stopsByTime(map)) return false;
  double total = 0;
  for (const SystemRow& row : combinedSystemRows(map)) {
    if (row.system->recode == 1) total += getFileSize(map, row.row);
  }
  return freeDiskBelow(total);
}

bool sensorInputFileSizeOver(const MapQ7net& map) {
  if (!stopsByTime(map)) return false;
  return freeDiskBelow(sensorInputBytes(map));
}
