#include "files/csv_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "base/caller_values.h"
#include "base/debug_ring.h"
#include "base/kinds.h"
#include "base/local_time.h"
#include "base/program_files.h"
#include "base/status_words.h"
#include "base/table_growth.h"
#include "files/file_io.h"
#include "files/file_list.h"
#include "files/item_lookup.h"
#include "store/discovery_table.h"

namespace tramsoll {

namespace {

constexpr std::size_t kValueTextSize = 32;  // a value holds at most 31 characters
constexpr std::size_t kBasePathSize = 1024;
constexpr int kMostUnitsOfKind = 64;
constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kDateTextSize = 80;

// ---- Date range ----

struct DateRange {
  LocalDate from;
  LocalDate to;
  bool header = false;
  bool allData = false;
};

std::mutex& rangeMutex() {
  static std::mutex mutex;
  return mutex;
}

DateRange& dateRange() {
  static DateRange range;
  return range;
}

// "yyyy/mm/dd hh:mm:ss" into calendar fields; numbers the text lacks are 0.
LocalDate calendarFields(const char* text) {
  LocalDate fields;
  if (text)
    std::sscanf(text, "%d/%d/%d %d:%d:%d", &fields.year, &fields.month, &fields.day, &fields.hour, &fields.minute,
                &fields.second);
  return fields;
}

// ---- Text of the files ----

// A quoted cell: every '"' inside is doubled.
void appendQuoted(std::string& out, const char* text) {
  out += '"';
  std::size_t length = std::strlen(text);
  while (const char* quote = static_cast<const char*>(std::memchr(text, '"', length))) {
    std::size_t upTo = static_cast<std::size_t>(quote - text) + 1;
    out.append(text, upTo);
    out += '"';
    text += upTo;
    length -= upTo;
  }
  out.append(text, length);
  out += '"';
}

void appendNumber(std::string& out, const char* format, int value) {
  char text[24];
  std::snprintf(text, sizeof text, format, value);
  out += text;
}

// "<label>","<text>"
void labelLine(std::string& out, const std::string& label, const char* text) {
  appendQuoted(out, label.c_str());
  out += ',';
  appendQuoted(out, text);
  out += kLineEnd;
}

void labelLine(std::string& out, const std::string& label, const char* format, int value) {
  char text[24];
  std::snprintf(text, sizeof text, format, value);
  labelLine(out, label, text);
}

void dateText(const LocalDate& date, char (&out)[kDateTextSize]) {
  std::snprintf(out, sizeof out, "%d/%02d/%02d %02d:%02d:%02d", date.year, date.month, date.day, date.hour,
                date.minute, date.second);
}

// ---- The job ----

struct CsvUnit {
  int kind = 0;
  int number = 0;
  int32_t unitIndex = -1;  // in the replay tables
  das::UnitBlock block{};
  std::vector<std::string> itemNames;
  std::vector<PreparedItem> items;
  std::string path;                   // of the present set
  std::unique_ptr<FileHandle> file;   // open only within a slice
  std::string pending;                // what the slice has not written yet
  int64_t sizeAtReopen = -1;          // -1: nothing to cut back on a failed slice
};

// Where a failed slice goes back to, so that a repeated call writes nothing twice.
struct CsvMark {
  int32_t nextRecord;
  int32_t setNumber;
  int32_t lineCount;
};

struct CsvJob {
  std::string folder;
  int32_t index = 0;  // 0-based
  std::string basePath;
  std::string words[kCsvWords];
  uint64_t opening = 0;  // the opening of the source file that the job holds
  int32_t nextRecord = 0;
  int32_t setNumber = -1;
  int32_t lineCount = kCsvSetLines;
  CsvMark undoPoint{};
  std::vector<CsvUnit> units;

  CsvMark mark() const { return {nextRecord, setNumber, lineCount}; }
  void restore(const CsvMark& m) {
    nextRecord = m.nextRecord;
    setNumber = m.setNumber;
    lineCount = m.lineCount;
  }
};

std::unique_ptr<CsvJob>& currentJob() {
  static std::unique_ptr<CsvJob> job;
  return job;
}

struct UnitKind {
  int kind;
  int prefixWord;
  const char* suffix;
  const char* name;
};

constexpr UnitKind kKinds[] = {
    {unitKind::kOutdoor, csvword::kOutdoorPrefix, "_Ou", "outdoor"},
    {unitKind::kIndoor, csvword::kIndoorPrefix, "_Iu", "indoor"},
    {unitKind::kCentral, csvword::kCentralPrefix, "_Cu", "central"},
    {unitKind::kSensor, csvword::kSensorPrefix, "_Se", "sensor"},
};

const UnitKind& kindOf(int kind) {
  for (const UnitKind& k : kKinds)
    if (k.kind == kind) return k;
  return kKinds[0];
}

int unitCountOf(const das::FileHeader& header, int kind) {
  switch (kind) {
    case unitKind::kOutdoor: return header.outdoorCount;
    case unitKind::kIndoor: return header.indoorCount;
    case unitKind::kCentral: return header.centralCount;
    default: return header.sensorFlag;
  }
}

// The units of the file in the order of the files: outdoor, indoor,
// central, sensor input, each by unit number from 1 to the header's count.
// A number the file does not hold is skipped.
void collectUnits(const ReplayTables& replay, const char* fileName, std::vector<CsvUnit>& out) {
  for (const UnitKind& kind : kKinds) {
    int count = std::min(unitCountOf(replay.header(), kind.kind), kMostUnitsOfKind);
    for (int number = 1; number <= count; ++number) {
      ItemUnit found;
      if (!findFileUnit(replay, kind.kind, number, found)) {
        logLine("FileHndl: CSV skips %s unit %d, not in %s", kind.name, number, fileName);
        continue;
      }
      CsvUnit unit;
      unit.kind = kind.kind;
      unit.number = number;
      unit.unitIndex = found.unitIndex;
      unit.block = replay.unitAt(found.unitIndex).block;
      for (int32_t itemNumber = 1; itemNumber <= found.itemCount; ++itemNumber) {
        ItemRecord item;
        unitItemDefinition(found, itemNumber, item);
        unit.itemNames.emplace_back(item.name, strnlen(item.name, sizeof item.name));
        unit.items.emplace_back(item);
      }
      out.push_back(std::move(unit));
    }
  }
}

std::string cut(const char* text, std::size_t size) {
  std::string s = text ? text : "";
  if (s.size() > size - 1) s.resize(size - 1);
  return s;
}

// ---- Header rows and column heads ----

// The access text by the interface mode; each but "sensor input only" is
// followed by a blank.
std::string accessText(const CsvJob& job, uint16_t mode) {
  const std::string* w = job.words;
  bool bus = (mode & gathermode::kBus) != 0;
  bool board = (mode & (gathermode::kOneSystem | gathermode::kOneUnit)) != 0;
  if (mode & gathermode::kLogger) {
    if (bus) return w[csvword::kBusSensorAccess] + ' ';
    if (board) return w[csvword::kBoardSensorAccess] + ' ';
    return w[csvword::kSensorOnlyAccess];
  }
  if (bus || mode == 0) return w[csvword::kBusAccess] + ' ';
  if (board) return w[csvword::kBoardAccess] + ' ';
  return "";
}

void appendHeader(std::string& out, const CsvJob& job, const das::FileHeader& h, const CsvUnit& unit) {
  const std::string* w = job.words;
  labelLine(out, w[csvword::kCustomerId], h.customerId);
  labelLine(out, w[csvword::kCustomerName], h.customerName);
  labelLine(out, w[csvword::kPersonInCharge], h.personInCharge);
  labelLine(out, w[csvword::kMapName], h.mapName);
  labelLine(out, w[csvword::kSystemNumber], "%d", h.systemNumber);
  labelLine(out, w[csvword::kOutdoorCount], "%d", h.outdoorCount);
  labelLine(out, w[csvword::kIndoorCount], "%d", h.indoorCount);
  labelLine(out, w[csvword::kCentralCount], "%d", h.centralCount);
  labelLine(out, w[csvword::kAccessMethod], accessText(job, h.interfaceMode).c_str());
  labelLine(out, w[csvword::kInterval], "%d", h.interval);
  const char* mode = h.recordingKind == das::kPeriodic  ? w[csvword::kPeriodicMode].c_str()
                     : h.recordingKind == das::kTrigger ? w[csvword::kTriggerMode].c_str()
                                                        : "";
  labelLine(out, w[csvword::kRecordingMode], mode);
  appendQuoted(out, w[csvword::kTriggerTime].c_str());
  if (h.recordingKind == das::kTrigger) {
    LocalDate date;
    localDate(int64_t{static_cast<int32_t>(h.firstRecordTime)} + int64_t{h.interval} * h.triggerRecord, date);
    char text[kDateTextSize];
    dateText(date, text);
    out += ',';
    appendQuoted(out, text);
  }
  out += kLineEnd;

  const das::UnitBlock& b = unit.block;
  labelLine(out, w[csvword::kUnitNumber], "%d", unit.number);
  labelLine(out, w[csvword::kModelName], b.modelText);
  labelLine(out, w[csvword::kSerialNumber], b.serialNumber);
  labelLine(out, w[csvword::kInstallPlace], b.place);
  bool addressed = unit.kind == unitKind::kOutdoor || unit.kind == unitKind::kIndoor;
  if (addressed)
    labelLine(out, w[csvword::kAutoAddress], "%03d", b.address);
  else
    labelLine(out, w[csvword::kAutoAddress], " ");
  if (b.zubrelAddress >= 1 && b.zubrelAddress <= 128)
    labelLine(out, w[csvword::kZubrelAddress], "%03d", b.zubrelAddress);
  else
    labelLine(out, w[csvword::kZubrelAddress], " ");
  if (b.controlAddress < 128) {
    char text[24];
    std::snprintf(text, sizeof text, "'%d-%02d", b.controlAddress / 16 + 1, b.controlAddress % 16);
    labelLine(out, w[csvword::kCentralAddress], text);
  } else {
    labelLine(out, w[csvword::kCentralAddress], " ");
  }
  out += kLineEnd;
}

void appendColumnHeads(std::string& out, const CsvJob& job, const CsvUnit& unit) {
  const std::string& prefix = job.words[kindOf(unit.kind).prefixWord];
  out += "\"\"";
  std::string head;
  for (const std::string& name : unit.itemNames) {
    head = prefix;
    appendNumber(head, "%d-", unit.number);
    head += name;
    out += ',';
    appendQuoted(out, head.c_str());
  }
  out += kLineEnd;
}

// ---- Files of a set ----

std::string setFileName(const CsvJob& job, const CsvUnit& unit) {
  std::string name = programPath(job.basePath.c_str());
  name += kindOf(unit.kind).suffix;
  appendNumber(name, "%02d", unit.number);
  if (job.setNumber > 0) appendNumber(name, "-%d", job.setNumber);
  name += ".csv";
  return name;
}

bool openUnitFile(CsvUnit& unit, int flags) {
  unit.file = std::make_unique<FileHandle>(unit.path, O_WRONLY | O_CREAT | O_APPEND | flags);
  if (unit.file->isOpen()) return true;
  unit.file.reset();
  setBits(errFault, fault::kCsvCreate);
  logLine("FileHndl: cannot create '%s' file!!", unit.path.c_str());
  return false;
}

// Writes what the unit's file is owed; false (with its line) when the
// write fails.
bool flushUnit(CsvUnit& unit) {
  if (unit.pending.empty()) return true;
  bool written = unit.file && unit.file->append(unit.pending.data(), unit.pending.size());
  unit.pending.clear();
  if (written) return true;
  setBits(errFault, fault::kCsvCreate);
  logLine("FileHndl: cannot write '%s' file!!", unit.path.c_str());
  return false;
}

// Closes every file; the first failed close is reported and ends the closing
// (the rest close with their handles all the same).
void closeUnitFiles(CsvJob& job) {
  bool reported = false;
  for (CsvUnit& unit : job.units) {
    if (!unit.file) continue;
    int closed = unit.file->close();
    unit.file.reset();
    if (closed == 0 || reported) continue;
    reported = true;
    setBits(errFault, fault::kCsvClose);
    logLine("FileHndl: fclose function error!! (ret=%Xh)", static_cast<unsigned>(closed));
  }
}

// Flushes and closes the set; false when a write failed.
bool finishSetFiles(CsvJob& job) {
  bool written = true;
  for (CsvUnit& unit : job.units) written = flushUnit(unit) && written;
  closeUnitFiles(job);
  return written;
}

// Files of a failed slice go back to what they held when it began, so that
// the repeated slice writes its rows once; files the slice created are made
// again by it.
void undoSlice(CsvJob& job, const CsvMark& mark) {
  for (CsvUnit& unit : job.units) {
    unit.pending.clear();
    if (unit.sizeAtReopen >= 0 && ::truncate(unit.path.c_str(), static_cast<off_t>(unit.sizeAtReopen)) != 0)
      logLine("FileHndl: cannot cut '%s' back", unit.path.c_str());
  }
  closeUnitFiles(job);
  job.restore(mark);
}

bool reopenSet(CsvJob& job) {
  for (CsvUnit& unit : job.units) unit.sizeAtReopen = -1;
  for (CsvUnit& unit : job.units) {
    if (!openUnitFile(unit, 0)) return false;
    unit.sizeAtReopen = unit.file->size();
  }
  return true;
}

// Creates the files of the next set, each with its header rows and column heads.
bool openSet(CsvJob& job, const das::FileHeader& header, bool withHeader) {
  for (CsvUnit& unit : job.units) {
    unit.path = setFileName(job, unit);
    if (!openUnitFile(unit, O_TRUNC)) return false;
    if (withHeader) appendHeader(unit.pending, job, header, unit);
    appendColumnHeads(unit.pending, job, unit);
  }
  return true;
}

// ---- Rows ----

void rowDate(int64_t time, char (&out)[kDateTextSize]) {
  LocalDate date;
  localDate(time, date, "FileHndl");
  dateText(date, out);
}

void appendRow(CsvUnit& unit, const ReplayTables& replay, int32_t record, const char* date) {
  std::string& out = unit.pending;
  out += '"';
  out += date;
  out += '"';
  char value[kValueTextSize];
  ReplayDataSource source(replay, unit.unitIndex, record);
  for (const PreparedItem& item : unit.items) {
    evaluateRecordText(item, source, value, sizeof value);
    out += ',';
    appendQuoted(out, value);
  }
  out += kLineEnd;
}

void dropJob(bool releaseFile) {
  std::unique_ptr<CsvJob>& job = currentJob();
  if (!job) return;
  closeUnitFiles(*job);
  if (releaseFile && replayOpening(job->folder.c_str(), job->index) == job->opening)
    releaseReplay(job->folder.c_str(), job->index);
  job.reset();
}

int32_t finished(int32_t& progress) {
  dropJob(true);
  progress = 100;
  return csvresult::kFinished;
}

}  // namespace

// ---- Date range ----

void setCsvDateRange(const char* fromText, const char* toText, int32_t flags) {
  std::lock_guard<std::mutex> lock(rangeMutex());
  DateRange& range = dateRange();
  range.from = calendarFields(fromText);
  range.to = calendarFields(toText);
  range.header = (flags & 1) != 0;
  range.allData = (flags & 2) != 0;
}

CsvRange csvRange() {
  std::lock_guard<std::mutex> lock(rangeMutex());
  const DateRange& range = dateRange();
  CsvRange out;
  out.header = range.header;
  out.allData = range.allData;
  out.from = localSeconds(range.from);
  out.to = localSeconds(range.to);
  return out;
}

// ---- The conversion ----

void discardCsvJob() { dropJob(true); }

int32_t startCsvJob(const char* folder, int32_t position, const char* basePath,
                    const char* const (&words)[kCsvWords]) {
  discardCsvJob();
  int32_t index = subtractHeld(position, 1);
  int32_t opened = acquireReplay(folder, index);
  if (opened == 1) return 1;
  if (opened == 2) {
    // Nothing is set up, so nothing holds the file.
    releaseReplay(folder, index);
    return 2;
  }
  const ListedFile* file = findListedFile(folder, index);
  std::unique_ptr<CsvJob> job;
  bool stored = allocateOrReport("csvJob", [&] {
    job = std::make_unique<CsvJob>();
    job->folder = folder;
    job->index = index;
    job->basePath = cut(basePath, kBasePathSize);
    for (int w = 0; w < kCsvWords; ++w) job->words[w] = cut(words[w], kCsvWordSize);
    job->opening = replayOpening(folder, index);
    collectUnits(*file->replay, file->name.c_str(), job->units);
  });
  if (!stored) {
    releaseReplay(folder, index);
    return 0;
  }
  currentJob() = std::move(job);
  return 0;
}

namespace {

// Writes the records of one slice; `job.undoPoint` is where a failure takes
// the job back to.
int32_t writeSlice(CsvJob& job, ReplayTables& replay, const das::FileHeader& header, int32_t& progress) {
  int32_t count = replay.recordCount();
  int32_t slice = std::min(kCsvSlice, count - job.nextRecord);
  if (!replay.ensureRecords(job.nextRecord, slice)) return csvresult::kFileFailed;
  CsvRange range = csvRange();
  if (job.lineCount < kCsvSetLines && !reopenSet(job)) return csvresult::kFileFailed;
  char date[kDateTextSize];
  for (int32_t n = 0; n < slice; ++n) {
    if (job.lineCount >= kCsvSetLines) {
      // The set is full: its files are written and closed before the next
      // set's are made.
      if (!finishSetFiles(job)) return csvresult::kFileFailed;
      job.undoPoint = job.mark();
      for (CsvUnit& unit : job.units) unit.sizeAtReopen = -1;
      ++job.setNumber;
      job.lineCount = 0;
      if (!openSet(job, header, range.header)) return csvresult::kFileFailed;
      job.lineCount += kCsvHeaderLines;
    }
    int32_t record = job.nextRecord;
    uint32_t time = replay.recordTime(record);
    if (range.accepts(time)) {
      rowDate(time, date);
      for (CsvUnit& unit : job.units) appendRow(unit, replay, record, date);
    }
    ++job.nextRecord;
    ++job.lineCount;
  }
  if (!finishSetFiles(job)) return csvresult::kFileFailed;
  if (job.nextRecord >= count) return finished(progress);
  progress = static_cast<int32_t>(int64_t{job.nextRecord} * 100 / count);
  return csvresult::kCallAgain;
}

}  // namespace

int32_t continueCsvJob(int32_t& progress) {
  progress = 0;
  std::unique_ptr<CsvJob>& held = currentJob();
  if (!held) return csvresult::kNoJob;
  CsvJob& job = *held;
  const ListedFile* file = findListedFile(job.folder.c_str(), job.index);
  if (!file || !file->replay || file->opening != job.opening) {
    // The list was cleared (or the file closed for good) under the
    // conversion: there is nothing left to release or to convert.
    dropJob(false);
    return csvresult::kNoJob;
  }
  if (job.nextRecord >= file->replay->recordCount()) return finished(progress);
  job.undoPoint = job.mark();
  int32_t result = csvresult::kFileFailed;
  try {
    result = writeSlice(job, *file->replay, file->header, progress);
  } catch (const std::bad_alloc&) {
    reportAllocationFailure("csvJob");
  }
  if (result == csvresult::kFileFailed) undoSlice(job, job.undoPoint);
  return result;
}

}  // namespace tramsoll
