// Conversion of a listed recorded file into comma-separated text files, one
// per unit: optional header rows describing the customer, the recording and
// the unit, a line of column heads, and one row per record with its date and
// time and one quoted value per item. The conversion is set up once and then
// written in slices of at most 64 records; between slices no output file is
// open. Files hold at most 65536 lines: the later sets of files carry "-1",
// "-2", ... before the extension. Lines end with CR LF.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tramsoll {

constexpr int kCsvWords = 31;
constexpr std::size_t kCsvWordSize = 64;
constexpr int32_t kCsvSlice = 64;
constexpr int32_t kCsvSetLines = 65536;
constexpr int32_t kCsvHeaderLines = 21;  // counted for every unit file, written or not

// The labels and texts the program passes, in the order of setCsvFile's
// arguments after the base path.
namespace csvword {
constexpr int kCustomerId = 0;
constexpr int kCustomerName = 1;
constexpr int kPersonInCharge = 2;
constexpr int kAccessMethod = 3;
constexpr int kBusAccess = 4;
constexpr int kBoardAccess = 5;
constexpr int kSensorOnlyAccess = 6;
constexpr int kBusSensorAccess = 7;
constexpr int kBoardSensorAccess = 8;
constexpr int kRecordingMode = 9;
constexpr int kPeriodicMode = 10;
constexpr int kTriggerMode = 11;
constexpr int kTriggerTime = 12;
constexpr int kInterval = 13;
constexpr int kMapName = 14;
constexpr int kSystemNumber = 15;
constexpr int kRomNumber = 16;  // passed, never written
constexpr int kOutdoorCount = 17;
constexpr int kIndoorCount = 18;
constexpr int kCentralCount = 19;
constexpr int kUnitNumber = 20;
constexpr int kModelName = 21;
constexpr int kSerialNumber = 22;
constexpr int kInstallPlace = 23;
constexpr int kAutoAddress = 24;
constexpr int kZubrelAddress = 25;
constexpr int kCentralAddress = 26;
constexpr int kOutdoorPrefix = 27;
constexpr int kIndoorPrefix = 28;
constexpr int kCentralPrefix = 29;
constexpr int kSensorPrefix = 30;
}  // namespace csvword

namespace csvresult {
constexpr int32_t kFinished = 0;
constexpr int32_t kCallAgain = 1;
constexpr int32_t kNoJob = 2;
constexpr int32_t kFileFailed = 3;
}  // namespace csvresult

// Date range and options; kept until the next call. Both texts read
// "yyyy/mm/dd hh:mm:ss" as local time; flags bit 0 writes the header rows,
// bit 1 takes every record whatever its date.
void setCsvDateRange(const char* fromText, const char* toText, int32_t flags);

// The present range with its bounds in seconds since 1970 (local time,
// daylight saving as the C library decides it).
struct CsvRange {
  bool header = false;
  bool allData = false;
  int64_t from = 0;
  int64_t to = 0;
  // Not before the from time and not after the to time: both ends count.
  bool accepts(int64_t recordTime) const { return allData || (recordTime >= from && recordTime <= to); }
};
CsvRange csvRange();

// Discards any earlier conversion, then opens the listed file (folder text,
// 1-based position) for replay and sets up its conversion into files named
// from `basePath`. 0 set up; 1 the file cannot be opened, 2 a unit's model
// is not loaded: then nothing is set up. `words` are the 31 texts in
// setCsvFile's order.
int32_t startCsvJob(const char* folder, int32_t position, const char* basePath, const char* const (&words)[kCsvWords]);
// Writes the next slice; a csvresult code, progress in percent.
int32_t continueCsvJob(int32_t& progress);
// Drops the conversion and releases its source file.
void discardCsvJob();

}  // namespace tramsoll
