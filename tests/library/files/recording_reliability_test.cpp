// Recorded files must read back whole whatever happens while they are
// written: a process killed at any moment, or a disk that fills up.
#include <algorithm>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "files/recording_step.h"
#include "library/files/recording_support.h"
#include "library/support/file_size_limit.h"
#include "library/support/periodic_start.h"
#include "tramsoll.h"

using namespace recordingtest;
namespace fs = std::filesystem;

namespace {

class RecordingReliabilityTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    addUnit(unitKind::kOutdoor, 16, 3, 1, {{"E0", 20}, {"E1", 40}}, 2);
    addUnit(unitKind::kIndoor, 33, 3, 2, {{"E0", 20}});
  }

  // Every counted record must hold the bytes of its own slot: time, stamp
  // and the pattern, part by part.
  static void expectWhole(const std::string& path, int interval) {
    das::File file;
    std::string error;
    ASSERT_TRUE(das::readFile(path, file, error)) << path << ": " << error;
    for (uint32_t r = 0; r < file.header.recordCount; ++r) {
      const das::Record& record = file.records[r];
      uint32_t slot = file.header.firstRecordTime + r * uint32_t(interval);
      ASSERT_EQ(record.time, slot) << path << " record " << r;
      ASSERT_EQ(record.parts.size(), 3u);
      const int addresses[] = {16, 16, 33};
      const int blocks[] = {0, 1, 0};
      for (size_t p = 0; p < 3; ++p) {
        ASSERT_EQ(record.parts[p].stamp, stampOf(slot)) << path << " record " << r;
        for (size_t i = 0; i < record.parts[p].data.size(); ++i)
          ASSERT_EQ(record.parts[p].data[i], patternByte(slot, addresses[p], blocks[p], int(i)))
              << path << " record " << r << " part " << p;
      }
    }
  }

  // The child appends periodic and trigger records and cuts the trigger
  // file as fast as it can, until it is killed.
  [[noreturn]] void recordUntilKilled(uint32_t first) {
    for (uint32_t n = 0; n < 100000; ++n) {
      uint32_t slot = first + 10 * n;
      gatherSlot(slot);
      appendPeriodicRecord(slot);
      appendTriggerRecord(slot);
      if (triggerRecordCount() > 12) dropOldestTriggerRecords(triggerRecordCount() - 4);
    }
    _exit(0);
  }
};

TEST_F(RecordingReliabilityTest, FilesOfAKilledRecorderCountOnlyWholeRecords) {
  std::mt19937 random(20240611);
  int withRecords = 0;
  // Up to 40 rounds in about 6 s; on a busy machine, where a child may be
  // killed before its first record every time, the rounds go on with twice
  // the longest wait each until one child wrote a record.
  const auto start = std::chrono::steady_clock::now();
  const auto until = start + std::chrono::seconds(6);
  const auto giveUp = start + std::chrono::seconds(120);
  int longestWaitUs = 40000;
  for (int round = 0; round < 200; ++round) {
    const auto now = std::chrono::steady_clock::now();
    const bool roundsDone = round >= 40 || now >= until;
    if ((roundsDone && withRecords > 0) || now >= giveUp) break;
    if (roundsDone) longestWaitUs = std::min(2 * longestWaitUs, 5000000);
    std::string subfolder = "round" + std::to_string(round) + "/";
    fs::create_directory(subfolder);
    ASSERT_EQ(setFileHeader(" ", "", "", "", subfolder.c_str()), 0);
    ASSERT_EQ(testsupport::startPeriodic(3, 10), 0);
    ASSERT_EQ(saveTrigData(1, 3, 1), 0);
    uint32_t first = uint32_t(gatherValues().dataDue) + 10;

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) recordUntilKilled(first);
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(200, longestWaitUs)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    expectWhole(subfolder + "const3.das", 10);
    expectWhole(subfolder + "trigger.das", 10);
    das::File file;
    std::string error;
    if (das::readFile(subfolder + "const3.das", file, error) && file.header.recordCount > 0) ++withRecords;
    saveConstData(0, nullptr, 0);
    saveTrigData(0, 0, 0);
  }
  EXPECT_GT(withRecords, 0) << "no child got to write a record";
}

// A file system that fills up: a small tmpfs where mounting is permitted,
// else a file-size limit on this process makes the writes fail alike.
class FullDisk {
 public:
  explicit FullDisk(const std::string& folder) : folder_(folder) {
    fs::create_directory(folder);
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
  }
  ~FullDisk() {
    limit_.lift();
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  // Without the mount, files may grow only to `size` bytes from now on.
  void limitIfNotMounted(uint64_t size) {
    if (!mounted_) limit_.set(size);
  }
  bool mounted() const { return mounted_; }

 private:
  std::string folder_;
  bool mounted_ = false;
  testsupport::FileSizeLimit limit_;
};

TEST_F(RecordingReliabilityTest, AFullDiskStopsTheRecordingWithResult3AndKeepsTheFileWhole) {
  FullDisk disk(folder.path() + "/small");
  ASSERT_EQ(setFileHeader(" ", "", "", "", "small/"), 0);
  ASSERT_EQ(testsupport::startPeriodic(3, 10), 0);
  disk.limitIfNotMounted(40000);
  std::cout << (disk.mounted() ? "[ tmpfs of 64 KiB ]\n" : "[ file size limit ]\n");

  uint32_t slot = uint32_t(gatherValues().dataDue);
  int32_t result = 0, written = 0;
  for (int n = 0; n < 2000 && result == 0; ++n) {
    slot += 10;
    gatherSlot(slot);
    appendPeriodicRecord(slot);
    int32_t constSaving = 0, trigState = 0;
    result = execTramsoll(&constSaving, &trigState);
    if (result == 0) ++written;
  }
  ASSERT_EQ(result, 3);
  // The program stops every recording on result 3.
  ASSERT_EQ(saveConstData(0, nullptr, 0), 0);
  EXPECT_FALSE(hasBits(gatherState, gather::kPeriodicRecording));

  expectWhole("small/const3.das", 10);
  das::File file = readBack("small/const3.das");
  EXPECT_EQ(file.header.recordCount, uint32_t(written));
  EXPECT_GT(written, 10);
  bool reported = false;
  for (const std::string& line : testsupport::drainDebugLines())
    reported |= line.rfind("FileHndl: SvFile write error", 0) == 0;
  EXPECT_TRUE(reported);
}

}  // namespace
