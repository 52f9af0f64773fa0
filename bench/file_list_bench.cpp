// The recorded-file listing of a customer folder (getFileNum) with 2,000 and
// with 16,000 small recordings: the first listing after clearFileList and a
// re-listing of the same folder, the fastest of three rounds each. Before
// any figure, every listing is checked against what was written: the count,
// and the name, system number and record count of the first, a middle and
// the last file in name order; a wrong answer ends the run with an error
// and no figure. Reports each time beside one plain read of the same files'
// headers in the same run (the reference: the part of a listing no index can
// save), and the growth from 2,000 to 16,000 files (8x the files; a listing
// that costs n log n grows about 9x, the target is at most 12x). A timing
// program, not a pass/fail test of speed.
//
//   file_list_bench [--small N] [--large N]     (default 2000, 16000)
#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "das_gen.h"
#include "tramsoll.h"

namespace {

double now() {
  timespec at{};
  clock_gettime(CLOCK_MONOTONIC, &at);
  return static_cast<double>(at.tv_sec) + static_cast<double>(at.tv_nsec) / 1e9;
}

std::string fileName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "rec%05d.das", i);
  return name;
}

// What file i holds: its system number and record count vary with i.
int systemOf(int i) { return 1 + i % 30; }
uint32_t recordsOf(int i) { return 1 + static_cast<uint32_t>(i % 5); }

bool writeFolder(const std::string& folder, int files) {
  std::filesystem::create_directories(folder);
  for (int i = 0; i < files; ++i) {
    dasgen::Recording recording = dasgen::periodicRecording("Bench map", recordsOf(i));
    recording.header.systemNumber = static_cast<uint16_t>(systemOf(i));
    std::string error;
    if (!dasgen::writeRecording(folder + fileName(i), recording, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return false;
    }
  }
  return true;
}

// The listed file at a position as the listing gives it.
bool listedAs(const std::string& folder, int index, int expected) {
  char person[TRAMSOLL_PERSON_SIZE], map[TRAMSOLL_MAP_NAME_SIZE], model[TRAMSOLL_MODEL_TEXT_SIZE];
  char name[TRAMSOLL_FILE_NAME_SIZE];
  int32_t personLength = 0, mapLength = 0, system = 0, modelLength = 0, mode = 0, interface = 0, outdoor = 0;
  int32_t indoor = 0, central = 0, year = 0, month = 0, day = 0, second = 0, records = 0, trigger = 0;
  int32_t interval = 0, size = 0, nameLength = 0;
  getFileInfo(folder.c_str(), index, person, &personLength, map, &mapLength, &system, model, &modelLength, &mode,
              &interface, &outdoor, &indoor, &central, &year, &month, &day, &second, &records, &trigger, &interval,
              &size, name, &nameLength);
  const bool right = std::string(name, static_cast<std::size_t>(std::max(nameLength, 0))) == fileName(expected) &&
                     system == systemOf(expected) && static_cast<uint32_t>(records) == recordsOf(expected);
  if (!right) {
    std::fprintf(stderr, "listed file %d is %.*s (system %d, %d records), not %s (system %d, %u records)\n", index,
                 nameLength, name, system, records, fileName(expected).c_str(), systemOf(expected),
                 recordsOf(expected));
  }
  return right;
}

bool listingRight(const std::string& folder, int files, int32_t count) {
  if (count != files) {
    std::fprintf(stderr, "the listing of %d files counted %d\n", files, count);
    return false;
  }
  // Positions count from 1.
  return listedAs(folder, 1, 0) && listedAs(folder, files / 2 + 1, files / 2) && listedAs(folder, files, files - 1);
}

// The reference: the first bytes of every file read, as a listing does.
double readHeaders(const std::string& folder, int files) {
  char head[512];
  const double start = now();
  for (int i = 0; i < files; ++i) {
    const int fd = ::open((folder + fileName(i)).c_str(), O_RDONLY);
    if (fd < 0) continue;
    if (::read(fd, head, sizeof head) < 0) std::fprintf(stderr, "read failed\n");
    ::close(fd);
  }
  return now() - start;
}

struct Figures {
  double first = 1e9;
  double again = 1e9;
  double headers = 1e9;
};

// False when a listing gave a wrong answer.
bool timeListing(const std::string& folder, int files, Figures& best) {
  for (int round = 0; round < 3; ++round) {
    clearFileList();
    int32_t count = 0;
    double start = now();
    getFileNum(folder.c_str(), &count);
    best.first = std::min(best.first, now() - start);
    if (!listingRight(folder, files, count)) return false;
    start = now();
    getFileNum(folder.c_str(), &count);
    best.again = std::min(best.again, now() - start);
    if (!listingRight(folder, files, count)) return false;
    best.headers = std::min(best.headers, readHeaders(folder, files));
  }
  clearFileList();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int small = 2000, large = 16000;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--small") == 0) small = std::max(2, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--large") == 0) large = std::max(2, std::atoi(argv[i + 1]));
  }
  setenv("TZ", "UTC", 1);
  tzset();
  char pattern[] = "/tmp/file_list_bench.XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  bool ok = true;
  Figures figures[2];
  const int sizes[2] = {small, large};
  for (int s = 0; s < 2 && ok; ++s) {
    const std::string folder = std::string(pattern) + "/f" + std::to_string(sizes[s]) + "/";
    ok = writeFolder(folder, sizes[s]) && timeListing(folder, sizes[s], figures[s]);
  }
  std::filesystem::remove_all(pattern);
  if (!ok) {
    std::fprintf(stderr, "the listing gave a wrong answer: no figures\n");
    return 1;
  }
  // Both folders' listings were right: only now the figures.
  for (int s = 0; s < 2; ++s) {
    std::printf("%6d files: listing %8.4f s, re-listing %8.4f s, reading the headers alone %8.4f s\n", sizes[s],
                figures[s].first, figures[s].again, figures[s].headers);
  }
  const double files = static_cast<double>(large) / small;
  std::printf("growth for %.0fx the files: listing %.1fx, re-listing %.1fx, headers alone %.1fx (target at most "
              "12x for 8x the files)\n",
              files, figures[1].first / figures[0].first, figures[1].again / figures[0].again,
              figures[1].headers / figures[0].headers);
  return 0;
}
