// A FIFO, or a link to /dev/zero, where the library expects a regular file
// once hung the export that opened it, and every export behind it: the open
// of a FIFO waits for its other end, a read of /dev/zero never ends. Each is
// now refused as that file's read or write failure, its name in the line.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/settings.h"
#include "library/files/replay_support.h"
#include "library/support/library_test.h"
#include "library/support/periodic_start.h"
#include "tables/all_tables.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"

using namespace replaytest;

namespace {

enum class SpecialFile { Fifo, LinkToZeroDevice };

bool makeSpecialFile(const std::string& path, SpecialFile kind) {
  ::unlink(path.c_str());
  return kind == SpecialFile::Fifo ? ::mkfifo(path.c_str(), 0644) == 0 : ::symlink("/dev/zero", path.c_str()) == 0;
}

struct SpecialCase {
  const char* what;
  std::function<std::string()> place;  // readies the files; the path to replace
  std::function<int32_t()> call;
  int32_t answer;
  std::string named;  // what a diagnostic line holds; "" no line
};

void runCases(const std::vector<SpecialCase>& cases) {
  for (const SpecialCase& c : cases) {
    for (SpecialFile kind : {SpecialFile::Fifo, SpecialFile::LinkToZeroDevice}) {
      SCOPED_TRACE(std::string(c.what) + (kind == SpecialFile::Fifo ? " as a FIFO" : " as a link to /dev/zero"));
      ASSERT_TRUE(makeSpecialFile(c.place(), kind));
      testsupport::drainDebugLines();
      EXPECT_EQ(c.call(), c.answer);
      bool named = c.named.empty();
      for (const std::string& line : testsupport::drainDebugLines()) named |= line.find(c.named) != line.npos;
      EXPECT_TRUE(named) << "no line names " << c.named;
    }
  }
}

using SpecialFiles = testsupport::LibraryTest;

TEST_F(SpecialFiles, SettingTableAndIniFilesThatAreNotRegularAreRefusedNotWaitedOn) {
  testsupport::ProgramFolder folder;
  auto sample = [&folder](const char* file) {
    return [&folder, file] {
      std::filesystem::remove(folder.pathOf("vexa5.set"));
      std::filesystem::remove_all(folder.pathOf("table"));
      folder.copyTestdataSet();
      clearSettingTables();
      resetModelTables();  // item files already held are not read again
      return folder.pathOf(file);
    };
  };
  char text[32];
  int32_t n = 0;
  runCases({
      {"vexa5.set", sample("vexa5.set"), checkKishuTbl, 1, "\"vexa5.set\""},
      {"vexa5.set for its version", sample("vexa5.set"),
       [&] { return getSetFileVer(text, &n, text, &n, text, &n, text, &n); }, 1, ""},
      {"an item file", sample("table/syst01.itm"), checkKishuTbl, 1, "\"syst01.itm\""},
      {"a conversion table", sample("table/pressure.ktb"), checkKishuTbl, 1, "\"pressure.ktb\""},
      {"pelomar3.ini at start-up", sample("pelomar3.ini"), initTramsoll, 0, ""},
      {"pelomar3.ini read", sample("pelomar3.ini"), [] { return ReadINIfile("ADPTYP"); }, 0, ""},
      {"pelomar3.ini written", sample("pelomar3.ini"), [] { return WriteINIfile("ADPTYP", 1); }, 1, ""},
  });
  EXPECT_EQ(adapterType.load(), 0);
  ASSERT_TRUE(makeSpecialFile(folder.pathOf("pelomar3.ini"), SpecialFile::Fifo));
  WriteINIfile("ADPTYP", 1);
  struct stat info {};
  EXPECT_TRUE(::lstat(folder.pathOf("pelomar3.ini").c_str(), &info) == 0 && S_ISFIFO(info.st_mode))
      << "a write puts no file in its place";
  clearSettingTables();
  resetModelTables();
  checkMode = false;
}

class SpecialDataFiles : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    addSystem();
    std::filesystem::create_directory("q7data");
  }
  // The recording of system 3 listed (and opened when `select`), after what
  // stood at its name was removed.
  std::string listedRecording(bool select) {
    clearFileList();
    ::unlink(recording.c_str());
    recordPeriodic(4);
    EXPECT_EQ(listFolder(), 1);
    EXPECT_EQ(select ? selectDataFile(customerFolder().c_str(), 1) : 0, 0);
    return recording;
  }

  // Its name follows from the time of its first record.
  std::string recording = das::fileName(customerFolder().c_str(), "C001", das::kPeriodic, 3, kStart + 5);
};

TEST_F(SpecialDataFiles, RecordedCsvAndBusLogFilesThatAreNotRegularAreRefusedNotWaitedOn) {
  std::string csvBase = folder.path() + "/out", name = recording.substr(recording.rfind('/') + 1);
  const char* w = "w";
  auto exportCsv = [&] {
    int32_t result = setCsvFile(customerFolder().c_str(), 1, csvBase.c_str(), w, w, w, w, w, w, w, w, w, w, w, w, w,
                                w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w);
    for (int32_t progress = 0; result == 0 || result == 1;) result = execCsvOut(&progress);
    return result;
  };
  runCases({
      {"a recording at its selection", [&] { return listedRecording(false); },
       [&] { return selectDataFile(customerFolder().c_str(), 1); }, 1, name},
      {"a recording at a reload of its records", [&] { return listedRecording(true); },
       [&] { return cursorText(0, 1, kTemp, 2) == "refused 7" ? 7 : 0; }, 7, name},
      {"a CSV file", [&] { return listedRecording(false), csvBase + "_Ou01.csv"; }, exportCsv, 3, "out_Ou01.csv"},
      {"a bus log", [] { return "q7data/q7-net.dl2"; }, [] { return saveQ7Data(1, "q7data\\q7-net"); }, 2,
       "q7-net.dl2"},
      {"a periodic recording's new file", [&] { return recording; },
       [&] { return setFileHeader("C001", "", "", "", customerFolder().c_str()) + testsupport::startPeriodic(3); },
       4, ""},
  });
  int32_t constSaving = 0, trigState = 0;
  EXPECT_EQ(execTramsoll(&constSaving, &trigState), 0) << "the library still answers";
}

}  // namespace
