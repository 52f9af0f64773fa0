#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <fstream>

#include "library/support/program_folder.h"
#include "tramsoll.h"

namespace {

TEST(DiskSpace, FreeSpaceOfTheFolderAPathLiesIn) {
  testsupport::ProgramFolder folder;
  struct statvfs space {};
  ASSERT_EQ(statvfs(".", &space), 0);
  uint64_t available = uint64_t{space.f_bavail} * space.f_frsize;

  int32_t kilobytes = -1;
  float bytes = -1;
  ASSERT_EQ(getFreeDskSzEx(".", &kilobytes, &bytes), 0);
  uint64_t expected = available >> 10;
  EXPECT_NEAR(double(kilobytes), double(expected > INT32_MAX ? INT32_MAX : expected), 64.0);
  EXPECT_EQ(bytes, float(double(kilobytes) * 1024.0));

  // The plain count is 32-bit: it stops at its maximum instead of wrapping.
  int32_t plain = 0;
  ASSERT_EQ(getFreeDskSz(folder.path().c_str(), &plain), 0);
  uint64_t free = uint64_t{space.f_bfree} * space.f_frsize;
  if (free >= 0xFFFFFFFFull) EXPECT_EQ(uint32_t(plain), 0xFFFFFFFFu);
  else EXPECT_NEAR(double(uint32_t(plain)), double(free), 1 << 20);

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
