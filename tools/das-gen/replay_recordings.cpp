// replay-recordings FOLDER: writes the recordings the replay tests move
// through into FOLDER, all of system 1 of the sample installation (outdoor
// unit 1 at address 1, indoor unit 1 at address 17) on the bus, starting on
// 2024-05-01 at 09:00:00 UTC:
//   periodic-5s.das    1000 records every 5 s
//   periodic-30s.das   10 records every 30 s whose compressor frequency
//                      (outdoor item 7) reads 5, 7, -, 9, 3, 9, 2, 8, -, 6
//                      ("-": the operation group carries no data) and whose
//                      error byte (outdoor item 30) reads 0, 0, 1, 0, 2, 0,
//                      then 0
//   periodic-120s.das  100 records every 120 s
//   periodic-600s.das  50 records every 600 s
//   trigger-10s.das    a trigger recording of 721 records every 10 s, the
//                      trigger on record 181
//   empty.das          a periodic recording without records
#include "das_gen.h"
#include "sample_units.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

namespace das = tramsoll::das;

constexpr uint32_t kStart = 1714554000;  // 2024-05-01 09:00:00 UTC

// Groups of the outdoor unit (unit 0) and the data bytes the items read.
constexpr int kOperationGroup = 1;    // E0RUN
constexpr int kFrequencyByte = 8;     // E0RUN[8]: CompFreq
constexpr int kErrorGroup = 4;        // EAERR
constexpr int kErrorByte = 5;         // EAERR[5]: Error

// 0 stands for a record whose operation group carries no data.
constexpr uint8_t kFrequencies[] = {5, 7, 0, 9, 3, 9, 2, 8, 0, 6};
constexpr uint8_t kErrors[] = {0, 0, 1, 0, 2, 0, 0, 0, 0, 0};

template <std::size_t N>
void setText(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  std::strncpy(field, text, N - 1);
}

dasgen::Recording recording(int kind, uint16_t interval, uint32_t records) {
  dasgen::Recording made;
  das::FileHeader& h = made.header;
  setText(h.customerName, "Replay");
  setText(h.personInCharge, "Ito");
  setText(h.modelText, "TALMA-224");
  setText(h.mapName, "Replay map");
  h.mapNumber = 1;
  h.systemNumber = 1;
  h.interfaceMode = 2;
  h.recordingKind = static_cast<uint16_t>(kind);
  h.firstRecordTime = kStart;
  h.interval = interval;
  h.statusLength = 6;
  made.records = records;
  made.units = {dasgen::sampleUnit(dasgen::SampleModel::Outdoor, 1, 1, 1),
                dasgen::sampleUnit(dasgen::SampleModel::Indoor, 1, 17, 1)};
  made.dataByte = dasgen::sampleData(made.units);
  return made;
}

// The searched values over the sample bytes.
dasgen::Recording searchedRecording() {
  dasgen::Recording made = recording(das::kPeriodic, 30, 10);
  const auto sample = made.dataByte;
  made.dataByte = [sample](uint32_t r, int unit, int group, int i) -> uint8_t {
    if (unit == 0 && group == kOperationGroup && i == kFrequencyByte) return kFrequencies[r];
    if (unit == 0 && group == kErrorGroup && i == kErrorByte) return kErrors[r];
    return sample(r, unit, group, i);
  };
  made.stamp = [](uint32_t r, int unit, int group) -> uint32_t {
    const uint32_t time = kStart + 30 * r - 2;
    return unit == 0 && group == kOperationGroup && kFrequencies[r] == 0 ? 0 : time;
  };
  return made;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: replay-recordings FOLDER\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  dasgen::Recording trigger = recording(das::kTrigger, 10, 721);
  trigger.header.triggerRecord = 180;  // read back as record 181
  trigger.units[0].conditions = {dasgen::conditionBlock("Error", "1", "", 2)};
  const std::pair<const char*, dasgen::Recording> files[] = {
      {"periodic-5s.das", recording(das::kPeriodic, 5, 1000)},
      {"periodic-30s.das", searchedRecording()},
      {"periodic-120s.das", recording(das::kPeriodic, 120, 100)},
      {"periodic-600s.das", recording(das::kPeriodic, 600, 50)},
      {"trigger-10s.das", trigger},
      {"empty.das", recording(das::kPeriodic, 5, 0)},
  };
  for (const auto& [name, made] : files) {
    std::string error;
    if (!dasgen::writeRecording(folder + name, made, error)) {
      std::fprintf(stderr, "replay-recordings: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
