// A FIFO, or a link to a character device, where the library expects a
// regular file once hung the export that opened it, and with it every
// export behind the exclusion: the open of a FIFO waits for its other end, a
// read of /dev/zero never ends. Each such file is now refused as that file's
// read or write failure, and the diagnostic line names it.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/settings.h"
#include "files/bus_log.h"
#include "library/files/replay_support.h"
#include "library/support/special_file.h"
#include "tables/all_tables.h"
#include "tables/setting_tables.h"

using namespace replaytest;
using testsupport::answerWithin;
using testsupport::SpecialFile;

namespace {

constexpr SpecialFile kKinds[] = {SpecialFile::Fifo, SpecialFile::LinkToZeroDevice};

bool anyLineHas(const std::string& text) {
  for (const std::string& line : testsupport::drainDebugLines())
    if (line.find(text) != std::string::npos) return true;
  return false;
}

bool isFifo(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

struct SpecialCase {
  const char* what;
  std::function<std::string()> place;  // makes the files and answers the path to replace
  std::function<int32_t()> call;
  int32_t answer;
  std::string named;  // a diagnostic line holds this; "" none
};

void runCases(const std::vector<SpecialCase>& cases) {
  for (const SpecialCase& c : cases) {
    for (SpecialFile kind : kKinds) {
      SCOPED_TRACE(std::string(c.what) + " as a " + testsupport::specialFileName(kind));
      std::string path = c.place();
      ASSERT_TRUE(testsupport::makeSpecialFile(path, kind));
      testsupport::drainDebugLines();
      EXPECT_EQ(answerWithin(c.call, c.what), c.answer);
      bool named = c.named.empty() || anyLineHas(c.named);
      EXPECT_TRUE(named) << "no line names " << c.named;
    }
  }
}

class SpecialTableFiles : public ::testing::Test {
 protected:
  void TearDown() override {
    clearSettingTables();
    clearErrorWords();
    checkMode = false;
  }
  testsupport::ProgramFolder folder;
};

TEST_F(SpecialTableFiles, SettingTableAndIniFilesThatAreNotRegularAreRefusedNotWaitedOn) {
  auto sample = [this](const char* file) {
    return [this, file] {
      std::filesystem::remove(folder.pathOf("vexa5.set"));
      std::filesystem::remove_all(folder.pathOf("table"));
      folder.copyTestdataSet();
      return folder.pathOf(file);
    };
  };
  char version[32];
  int32_t length = 0;
  runCases({
      {"vexa5.set", sample("vexa5.set"), [] { return checkKishuTbl(); }, 1, "\"vexa5.set\""},
      {"vexa5.set for its version", sample("vexa5.set"),
       [&] { return getSetFileVer(version, &length, version, &length, version, &length, version, &length); }, 1,
       ""},
      {"an item file", sample("table/syst01.itm"), [] { return checkKishuTbl(); }, 1, "\"syst01.itm\""},
      {"a conversion table", sample("table/pressure.ktb"), [] { return checkKishuTbl(); }, 1, "\"pressure.ktb\""},
      {"pelomar3.ini at start-up", sample("pelomar3.ini"), [] { return initTramsoll(); }, 0, ""},
      {"pelomar3.ini read", sample("pelomar3.ini"), [] { return ReadINIfile("ADPTYP"); }, 0, ""},
      {"pelomar3.ini written", sample("pelomar3.ini"), [] { return WriteINIfile("ADPTYP", 1); }, 1, ""},
  });
  EXPECT_STREQ(version, "0.00");
  EXPECT_EQ(adapterType.load(), 0);
  EXPECT_TRUE(testsupport::makeSpecialFile(folder.pathOf("pelomar3.ini"), SpecialFile::Fifo));
  WriteINIfile("ADPTYP", 1);
  EXPECT_TRUE(isFifo(folder.pathOf("pelomar3.ini"))) << "a write does not put a file in its place";
}

class SpecialDataFiles : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    addSystem();
    std::filesystem::create_directory("q7data");
    recording = das::fileName(customerFolder().c_str(), "C001", das::kPeriodic, 3, kStart + 5);
  }
  void TearDown() override {
    saveQ7Data(0, "");
    ReplayTest::TearDown();
  }
  // The recording of system 3 listed (and opened for replay when `select`)
  // after what stood at its name was removed.
  std::string listedRecording(bool select) {
    clearFileList();
    ::unlink(recording.c_str());
    recordPeriodic(4);
    EXPECT_EQ(listFolder(), 1);
    int32_t selected = select ? selectDataFile(customerFolder().c_str(), 1) : 0;
    EXPECT_EQ(selected, 0);
    return recording;
  }
  std::string recordingName() const { return "\"" + recording.substr(recording.rfind('/') + 1) + "\""; }

  std::string recording;  // its name is fixed by the first record's time
};

TEST_F(SpecialDataFiles, RecordedCsvAndBusLogFilesThatAreNotRegularAreRefusedNotWaitedOn) {
  std::string csvBase = folder.path() + "/out";
  const char* w = "w";
  auto exportCsv = [&] {
    int32_t result = setCsvFile(customerFolder().c_str(), 1, csvBase.c_str(), w, w, w, w, w, w, w, w, w, w, w, w, w,
                                w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w);
    for (int32_t progress = 0; result == 0 || result == 1;) result = execCsvOut(&progress);
    return result;
  };
  int32_t selection[256] = {};
  selection[2] = 1;
  runCases({
      {"a recording at its selection", [&] { return listedRecording(false); },
       [&] { return selectDataFile(customerFolder().c_str(), 1); }, 1, recordingName()},
      {"a recording at a reload of its records", [&] { return listedRecording(true); },
       [&] { return cursorText(0, 1, kTemp, 2) == "refused 7" ? 7 : 0; }, 7, recordingName()},
      {"a CSV file",
       [&] {
         listedRecording(false);
         return csvBase + "_Ou01.csv";
       },
       exportCsv, 3, "out_Ou01.csv"},
      {"a bus log", [] { return std::string("q7data/q7-net.dl2"); }, [] { return saveQ7Data(1, "q7data\\q7-net"); },
       2, "q7-net.dl2"},
      {"a periodic recording's new file", [&] { return recording; },
       [&] {
         setFileHeader("C001", "", "", "", customerFolder().c_str());
         return saveConstData(1, selection, 5);
       },
       4, ""},
  });
  EXPECT_EQ(execTramsoll(selection, selection + 1), 0) << "the library still answers";
}

}  // namespace
