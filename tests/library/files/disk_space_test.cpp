#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <fstream>
#include <utility>

#include "library/support/program_folder.h"
#include "tramsoll.h"

namespace {

// Other processes write to the same disk while the test runs (a build
// beside it): a figure counts as right when it lies between the readings
// taken just before and just after it, give or take a few megabytes.
struct DiskReadings {
  struct statvfs before {}, after {};
  bool taken = statvfs(".", &before) == 0;
  void takeAfter() { taken = taken && statvfs(".", &after) == 0; }
  std::pair<double, double> range(uint64_t (*of)(const struct statvfs&), uint64_t cap) const {
    const double a = double(std::min(of(before), cap)), b = double(std::min(of(after), cap));
    constexpr double kSlack = 4.0 * (1 << 20);
    return {std::min(a, b) - kSlack, std::max(a, b) + kSlack};
  }
};

uint64_t availableBytes(const struct statvfs& space) { return uint64_t{space.f_bavail} * space.f_frsize; }
uint64_t freeBytes(const struct statvfs& space) { return uint64_t{space.f_bfree} * space.f_frsize; }

TEST(DiskSpace, FreeSpaceOfTheFolderAPathLiesIn) {
  testsupport::ProgramFolder folder;
  DiskReadings disk;
  int32_t kilobytes = -1;
  float bytes = -1;
  ASSERT_EQ(getFreeDskSzEx(".", &kilobytes, &bytes), 0);
  // The plain count is 32-bit: it stops at its maximum instead of wrapping.
  int32_t plain = 0;
  ASSERT_EQ(getFreeDskSz(folder.path().c_str(), &plain), 0);
  disk.takeAfter();
  ASSERT_TRUE(disk.taken);

  const auto [lowKb, highKb] = disk.range(availableBytes, uint64_t{INT32_MAX} << 10);
  EXPECT_GE(double(kilobytes) * 1024, lowKb);
  EXPECT_LE(double(kilobytes) * 1024, highKb);
  EXPECT_EQ(bytes, float(double(kilobytes) * 1024.0));
  if (freeBytes(disk.before) >= 0xFFFFFFFFull && freeBytes(disk.after) >= 0xFFFFFFFFull) {
    EXPECT_EQ(uint32_t(plain), 0xFFFFFFFFu);
  } else {
    const auto [low, high] = disk.range(freeBytes, 0xFFFFFFFFull);
    EXPECT_GE(double(uint32_t(plain)), low);
    EXPECT_LE(double(uint32_t(plain)), high);
  }

  // A drive root of another system names no folder here; a name below a
  // file or a missing folder is measured where it would lie.
  std::ofstream("file") << "x";
  for (const char* root : {"C:\\", "file/below", "missing/deeper/", ""}) {
    kilobytes = 0;
    EXPECT_EQ(getFreeDskSzEx(root, &kilobytes, &bytes), 0) << root;
    EXPECT_GT(kilobytes, 0) << root;
  }
  EXPECT_EQ(getFreeDskSz(nullptr, &plain), 0);
}

}  // namespace
