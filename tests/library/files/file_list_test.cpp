#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "library/files/replay_support.h"
#include "library/support/periodic_start.h"

using namespace replaytest;

namespace {

struct FileInfo {
  std::string person, mapName, model, name;
  int32_t system = -1, recordingMode = -1, interfaceMode = -1, outdoor = -1, indoor = -1, central = -1;
  int32_t year = -1, month = -1, day = -1, second = -1, records = -1, trigger = -1, interval = -1, size = -1;
};

// 3 units of two 20-byte groups with 6 status bytes each.
constexpr size_t kFirstRecord = 320 + 3 * (232 + 2 * 16);
constexpr size_t kRecordSize = 4 + 6 * (6 + 6 + 20);

class FileListTest : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    addSystem();
  }

  FileInfo info(int index, const std::string& folderText) {
    char person[32], mapName[64], model[64], name[32];
    int32_t personLength = 0, mapLength = 0, modelLength = 0, nameLength = 0;
    FileInfo out;
    EXPECT_EQ(getFileInfo(folderText.c_str(), index, person, &personLength, mapName, &mapLength, &out.system, model,
                          &modelLength, &out.recordingMode, &out.interfaceMode, &out.outdoor, &out.indoor,
                          &out.central, &out.year, &out.month, &out.day, &out.second, &out.records, &out.trigger,
                          &out.interval, &out.size, name, &nameLength),
              0);
    out.person.assign(person, size_t(personLength));
    out.mapName.assign(mapName, size_t(mapLength));
    out.model.assign(model, size_t(modelLength));
    out.name.assign(name, size_t(nameLength));
    return out;
  }
  FileInfo info(int index) { return info(index, customerFolder()); }

  // A copy of a recording under another name, its bytes changed first.
  void copyAs(const std::string& from, const std::string& name,
              const std::function<void(std::vector<uint8_t>&)>& change = {}) {
    std::vector<uint8_t> bytes = fileBytes(from);
    if (change) change(bytes);
    writeBytes(customerFolder() + name, bytes);
  }

  std::vector<std::string> listedNames() {
    std::vector<std::string> names;
    int32_t count = 0;
    countListed(count);
    for (int i = 1; i <= count; ++i) names.push_back(info(i).name);
    return names;
  }

  void countListed(int32_t& count) { getFileNum(customerFolder().c_str(), &count); }
};

TEST_F(FileListTest, ListsARecordingWithItsHeaderFields) {
  recordPeriodic(12);
  ASSERT_EQ(listFolder(), 1);
  FileInfo file = info(1);
  EXPECT_EQ(file.person, "Person");
  EXPECT_EQ(file.mapName, "Map A");
  EXPECT_EQ(file.system, 3);
  EXPECT_EQ(file.model, "0-16 model");
  EXPECT_EQ(file.recordingMode, 1);
  EXPECT_EQ(file.interfaceMode, 2);
  EXPECT_EQ(file.outdoor, 1);
  EXPECT_EQ(file.indoor, 2);
  EXPECT_EQ(file.central, 0);
  EXPECT_EQ(file.year, 2023);
  EXPECT_EQ(file.month, 11);
  EXPECT_EQ(file.day, 14);
  EXPECT_EQ(file.second, 22 * 3600 + 13 * 60 + 25);
  EXPECT_EQ(file.records, 12);
  EXPECT_EQ(file.trigger, 0);
  EXPECT_EQ(file.interval, 5);
  EXPECT_EQ(file.size, int32_t(kFirstRecord + 12 * kRecordSize));
  EXPECT_EQ(file.name, "35B1422325C3.das");

  // Not listed: empty texts, zeros, and the date of time value 0.
  for (FileInfo none : {info(0), info(2), info(1, "/nowhere/")}) {
    EXPECT_EQ(none.name, "");
    EXPECT_EQ(none.mapName, "");
    EXPECT_EQ(none.records, 0);
    EXPECT_EQ(none.size, 0);
    EXPECT_EQ(none.year, 1970);
    EXPECT_EQ(none.month, 1);
    EXPECT_EQ(none.second, 0);
  }
}

TEST_F(FileListTest, RescanKeepsPositionsAndAppendsNewFilesInNameOrder) {
  std::string recorded = recordPeriodic(3);
  std::filesystem::rename(recorded, customerFolder() + "m.das");
  copyAs(customerFolder() + "m.das", "b.DAS");
  ASSERT_EQ(listFolder(), 2);
  EXPECT_EQ(listedNames(), (std::vector<std::string>{"b.DAS", "m.das"}));
  ASSERT_EQ(listFolder(), 2) << "a second scan finds nothing new";
  EXPECT_EQ(listedNames(), (std::vector<std::string>{"b.DAS", "m.das"}));

  copyAs(customerFolder() + "m.das", "z.das");
  copyAs(customerFolder() + "m.das", "a.das");
  ASSERT_EQ(listFolder(), 4);
  EXPECT_EQ(listedNames(), (std::vector<std::string>{"b.DAS", "m.das", "a.das", "z.das"}));

  // A rescan refreshes a listed file in place.
  copyAs(customerFolder() + "m.das", "b.DAS", [](std::vector<uint8_t>& bytes) { bytes[232] = 60; });
  ASSERT_EQ(listFolder(), 4);
  EXPECT_EQ(info(1).interval, 60);

  // Files gone from disk stay listed until the list is cleared.
  std::filesystem::remove(customerFolder() + "a.das");
  ASSERT_EQ(listFolder(), 4);
  EXPECT_EQ(info(3).name, "a.das");
  ASSERT_EQ(clearFileList(), 0);
  EXPECT_EQ(info(1).name, "");
  ASSERT_EQ(listFolder(), 3);
  EXPECT_EQ(listedNames(), (std::vector<std::string>{"b.DAS", "m.das", "z.das"}));
}

TEST_F(FileListTest, LeavesOutWhatItCannotReadAsARecording) {
  std::string recorded = recordPeriodic(3);
  copyAs(recorded, "magic.das", [](std::vector<uint8_t>& bytes) { bytes[0] = 'p'; });
  copyAs(recorded, "short.das", [](std::vector<uint8_t>& bytes) { bytes.resize(100); });
  copyAs(recorded, "nomap.das", [](std::vector<uint8_t>& bytes) { bytes.resize(300); });
  copyAs(recorded, "empty.das", [](std::vector<uint8_t>& bytes) { bytes.clear(); });
  copyAs(recorded, "other.dat");
  std::filesystem::create_directory(customerFolder() + "folder.das");
  ASSERT_EQ(::symlink("missing", (customerFolder() + "dangling.das").c_str()), 0);
  // A format-1 file has no map-name block and shows the bus and map number.
  copyAs(recorded, "v1.das", [](std::vector<uint8_t>& bytes) {
    bytes.erase(bytes.begin() + 256, bytes.begin() + 320);
    das::putU16(&bytes[208], 7);
    das::putU16(&bytes[234], 1);
    das::putU16(&bytes[236], uint16_t(kFirstRecord - 64));
  });
  copyAs(recorded, "zero.das", [](std::vector<uint8_t>& bytes) { das::putU16(&bytes[212], 0); });

  ASSERT_EQ(listFolder(), 3);
  EXPECT_EQ(listedNames(), (std::vector<std::string>{"35B1422325C3.das", "v1.das", "zero.das"}));
  EXPECT_EQ(info(2).mapName, "\xEF\xBC\xB1\xE2\x85\xA6\xEF\xBC\x8D\xEF\xBC\xAE\xEF\xBC\xA5\xEF\xBC\xB4 7");
  EXPECT_EQ(info(3).interfaceMode, 2) << "a stored 0 reads as the bus";

  // The format-1 file replays like the other.
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 2), 0);
  EXPECT_EQ(cursorText(0, 1, kTemp, 3, 2), "127.0 C");
}

TEST_F(FileListTest, AFileBeingRecordedIsNotListedUnderAnySpelling) {
  recordPeriodic(2, " ");  // const3.das, finished
  std::filesystem::rename(customerFolder() + "const3.das", customerFolder() + "old.das");
  ASSERT_EQ(setFileHeader("C001", "", "", "", customerFolder().c_str()), 0);
  ASSERT_EQ(testsupport::startPeriodic(3, 5), 0);
  gatherSlot(uint32_t(kStart + 5));
  appendPeriodicRecord(kStart + 5);
  ASSERT_TRUE(std::filesystem::exists(saveSlot(3).name));

  EXPECT_EQ(listFolder(), 1);
  EXPECT_EQ(info(1).name, "old.das");
  std::string dotted = folder.path() + "/./";
  int32_t count = 0;
  getFileNum(dotted.c_str(), &count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(info(1, dotted).name, "old.das");

  ASSERT_EQ(saveConstData(0, nullptr, 0), 0);
  EXPECT_EQ(listFolder(), 2) << "listed once the recording stopped";
}

TEST_F(FileListTest, ARecordingCutOffByTheEndOfGatheringIsListed) {
  ASSERT_EQ(setFileHeader("C001", "", "", "", customerFolder().c_str()), 0);
  ASSERT_EQ(testsupport::startPeriodic(3, 5), 0);
  gatherSlot(uint32_t(kStart + 5));
  appendPeriodicRecord(kStart + 5);
  EXPECT_EQ(listFolder(), 0);

  testsupport::drainDebugLines();
  ASSERT_EQ(initDataGather(0, 1, 3, 2, 0, " ", 5), 0);
  testsupport::drainDebugLines();
  EXPECT_EQ(listFolder(), 1) << "the stopped recording's file is no longer held";
}

TEST_F(FileListTest, DeleteRemovesTheFileFromDiskOnly) {
  std::string recorded = recordPeriodic(2);
  copyAs(recorded, "second.das");
  ASSERT_EQ(listFolder(), 2);
  EXPECT_EQ(deleteFile(customerFolder().c_str(), 2), 0);
  EXPECT_FALSE(std::filesystem::exists(customerFolder() + "second.das"));
  EXPECT_EQ(info(2).name, "second.das") << "listed until the list is cleared";
  EXPECT_EQ(deleteFile(customerFolder().c_str(), 2), 1) << "already gone";

  // Out of range or unlisted: nothing on disk is named, not even the folder.
  std::filesystem::create_directory(customerFolder() + "sub");
  for (int index : {0, 3, -1}) EXPECT_EQ(deleteFile(customerFolder().c_str(), index), 1);
  EXPECT_EQ(deleteFile((customerFolder() + "sub/").c_str(), 1), 1);
  EXPECT_TRUE(std::filesystem::exists(customerFolder() + "sub"));
  EXPECT_TRUE(std::filesystem::exists(recorded));
}

TEST_F(FileListTest, LongNamesStayWholeAndFolderTextsNeedTheirSeparator) {
  std::string recorded = recordPeriodic(2);
  std::string longName = std::string(40, 'n') + ".das";
  std::filesystem::rename(recorded, customerFolder() + longName);
  ASSERT_EQ(listFolder(), 1);
  EXPECT_EQ(info(1).name, std::string(31, 'n')) << "cut in the caller's buffer";
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0) << "opened by its whole name";
  EXPECT_EQ(cursorText(0, 1, kTemp, 2), "122.0 C");

  int32_t count = -1;
  EXPECT_EQ(getFileNum(folder.path().c_str(), &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(getFileNum((customerFolder() + "missing/").c_str(), &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(getFileNum(nullptr, &count), 0);
  EXPECT_EQ(count, 0);
}

TEST_F(FileListTest, ARescanThatFindsTheFileReplacedClosesIt) {
  std::string recorded = recordPeriodic(4);
  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  ASSERT_EQ(cursorText(0, 1, kTemp, 4), "132.0 C");

  // More records in the same recording keep it open.
  copyAs(recorded, "35B1422325C3.das", [](std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> last(bytes.end() - kRecordSize, bytes.end());
    bytes.insert(bytes.end(), last.begin(), last.end());
    das::putU32(&bytes[228], 5);
  });
  ASSERT_EQ(listFolder(), 1);
  EXPECT_EQ(cursorText(0, 1, kTemp, 5), "132.0 C");

  // Another recording under the same name: its old tables are released.
  copyAs(recorded, "35B1422325C3.das", [](std::vector<uint8_t>& bytes) { das::putU32(&bytes[220], kStart + 7); });
  ASSERT_EQ(listFolder(), 1);
  EXPECT_EQ(cursorText(0, 1, kTemp, 4), "refused 3");
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  EXPECT_EQ(cursorText(0, 1, kTemp, 4), "132.0 C");
}

// A rescan once copied a changed header count straight into the open file's
// tables: a count raised to about 2^31 made the searches and the CSV walk two
// thousand million empty records. The refreshed count stays within the
// records the file holds; a lower count still comes through.
TEST_F(FileListTest, ARescanOfAnOpenFileTakesNoMoreRecordsThanTheFileHolds) {
  struct Case {
    uint32_t counted;
    int32_t taken;
  };
  for (Case c : {Case{5, 4}, Case{0x7FFFFFFF, 4}, Case{0xFFFFFFFF, 4}, Case{3, 3}}) {
    SCOPED_TRACE(c.counted);
    std::string recorded = recordPeriodic(4);
    ASSERT_EQ(listFolder(), 1);
    ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
    copyAs(recorded, "35B1422325C3.das", [&](std::vector<uint8_t>& bytes) { das::putU32(&bytes[228], c.counted); });
    ASSERT_EQ(listFolder(), 1);
    int32_t items = 0, records = 0, trigger = 0, interval = 0;
    EXPECT_EQ(getDataItemNum(1, customerFolder().c_str(), 1, 3, 0, 1, &items, &records, &trigger, &interval), 0);
    EXPECT_EQ(records, c.taken);
    EXPECT_EQ(cursorText(0, 1, kTemp, c.taken), c.taken == 4 ? "132.0 C" : "127.0 C");
    EXPECT_EQ(cursorText(0, 1, kTemp, c.taken + 1), "refused 7");
    ASSERT_EQ(setMinMaxSrch(customerFolder().c_str(), 1, 0, 1, kTemp), 0);
    int32_t progress = 0;
    EXPECT_EQ(execMinMaxSrch(&progress), 0) << "one slice reads every record";
    EXPECT_EQ(progress, 100);
    clearFileList();
    std::remove(recorded.c_str());
  }
}

}  // namespace
