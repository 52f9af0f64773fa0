// Every integer argument of the exports at its edges (0, -1, 2^31 - 1 and
// -2^31), with a recording listed and opened and units gathered, so that each
// value reaches the arithmetic behind the first checks. Turning -2^31 into a
// 0-based number by subtracting once overflowed; the sanitizer build of this
// test reports any such overflow. The plain build checks that nothing listed
// is deleted and that the library still answers.
#include <array>
#include <climits>
#include <cstdio>
#include <functional>
#include <string>

#include "library/files/replay_support.h"

using namespace replaytest;

namespace {

using Args = std::array<int32_t, 8>;

struct EdgeCall {
  const char* name;
  int integers;  // how many of the arguments below the call hands on
  Args usual;    // values that reach deep into the export
  int32_t answer;  // its result with those values
  std::function<int32_t(const Args&)> call;
};

constexpr int32_t kEdges[] = {0, -1, INT_MAX, INT_MIN};

class ExportEdges : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    addSystem(kOutdoorItems);
    ASSERT_EQ(setTrigCondition(3, 0, 1, kRun, 1, 0), 0);
    recordTrigger(3, 0);
    recordPeriodic(4);
    ASSERT_EQ(listFolder(), 2);
    ASSERT_EQ(selectDataFile(folderText(), 1), 0);
    ASSERT_EQ(selectDataFile(folderText(), 2), 0);
  }

  const char* folderText() {
    text = customerFolder();
    return text.c_str();
  }

  static std::string dateText(int32_t year, int32_t month) {
    char date[48];
    std::snprintf(date, sizeof date, "%d/%d/1 00:00:00", year, month);
    return date;
  }

  std::string text;
  char buffers[4][4096] = {};
  int32_t outs[32] = {};
  int32_t values[256] = {};
  float floats[2] = {};
};

TEST_F(ExportEdges, EveryIntegerArgumentAtItsEdgesIsAnsweredWithoutOverflow) {
  const char* f = folderText();
  char* b = buffers[0];
  char* c = buffers[1];
  char* d = buffers[2];
  char* e = buffers[3];
  int32_t* o = outs;
  std::string csvBase = folder.path() + "/edge";
  const char* w = "w";
  const std::vector<EdgeCall> calls = {
      {"getRAMKishuName", 2, {0, 1}, 1, [&](const Args& a) { return getRAMKishuName(a[0], a[1], b, o); }},
      {"getQ7AuAdrInfo", 3, {0, 16, 1}, 0, [&](const Args& a) { return getQ7AuAdrInfo(a[0], a[1], a[2], b, o); }},
      {"setNetMapInfo", 6, {0, 16, 1, 1, 3, 32}, 0,
       [&](const Args& a) { return setNetMapInfo(a[0], a[1], a[2], a[3], a[4], a[5], "m", "s", "p"); }},
      {"setDkishuName", 3, {0, 16, 1}, 5, [&](const Args& a) { return setDkishuName(a[0], a[1], a[2], "unit.itm"); }},
      {"setSensorParm", 5, {1, 1, 0, 5, 0}, 2,
       [&](const Args& a) { return setSensorParm(a[0], a[1], "x", a[2], a[3], a[4], 100, "V"); }},
      {"getQ7ScAdrStatus", 1, {16}, 0,
       [&](const Args& a) { return getQ7ScAdrStatus(a[0], o, floats, b, o + 1, o + 2); }},
      {"setQ7ScAdrCommand", 3, {16, 1, 1}, 0,
       [&](const Args& a) { return setQ7ScAdrCommand(a[0], a[1], a[2], 24.0f); }},
      {"getAirconReceiveState", 1, {16}, 0, [&](const Args& a) { return getAirconReceiveState(a[0], o); }},
      {"setAirconSendData", 5, {230, 16, 7, 300, 0}, 0,
       [&](const Args& a) { return setAirconSendData(a[0], a[1], a[2], a[3], a[4]); }},
      {"getDataSize", 2, {3, 0}, 0, [&](const Args& a) { return getDataSize(a[0], a[1], o, o + 1); }},
      {"setTrigCondition", 6, {3, 0, 1, kRun, 1, 0}, 0,
       [&](const Args& a) { return setTrigCondition(a[0], a[1], a[2], a[3], a[4], a[5]); }},
      {"deleteFile", 1, {3}, 1, [&](const Args& a) { return deleteFile(f, a[0]); }},
      {"getFileInfo", 1, {1}, 0,
       [&](const Args& a) {
         return getFileInfo(f, a[0], b, o, c, o + 1, o + 2, d, o + 3, o + 4, o + 5, o + 6, o + 7, o + 8, o + 9,
                            o + 10, o + 11, o + 12, o + 13, o + 14, o + 15, o + 16, e, o + 17);
       }},
      {"selectDataFile", 1, {1}, 0, [&](const Args& a) { return selectDataFile(f, a[0]); }},
      {"closeDataFile", 1, {3}, 0, [&](const Args& a) { return closeDataFile(f, a[0]); }},
      {"getDataItemNum", 5, {1, 1, 3, 0, 1}, 0,
       [&](const Args& a) { return getDataItemNum(a[0], f, a[1], a[2], a[3], a[4], o, o + 1, o + 2, o + 3); }},
      {"getDataItem", 6, {1, 1, 3, 0, 1, kRun}, 0,
       [&](const Args& a) {
         return getDataItem(a[0], f, a[1], a[2], a[3], a[4], a[5], b, o, c, o + 1, o + 2, o + 3, d, o + 4, e, o + 5,
                            o + 6, o + 7);
       }},
      {"getDataItem live", 6, {0, 1, 3, 0, 1, kRun}, 0,
       [&](const Args& a) {
         return getDataItem(a[0], f, a[1], a[2], a[3], a[4], a[5], b, o, c, o + 1, o + 2, o + 3, d, o + 4, e, o + 5,
                            o + 6, o + 7);
       }},
      {"getPlyTrgNum", 3, {2, 0, 1}, 0, [&](const Args& a) { return getPlyTrgNum(f, a[0], a[1], a[2], o); }},
      {"getPlyTrgItem", 4, {2, 0, 1, kRun}, 0,
       [&](const Args& a) { return getPlyTrgItem(f, a[0], a[1], a[2], a[3], b, o, o + 1, c, o + 2, d, o + 3); }},
      {"getCursData", 7, {1, 1, 3, 0, 1, kTemp, 2}, 0,
       [&](const Args& a) {
         return getCursData(a[0], f, a[1], a[2], a[3], a[4], a[5], a[6], b, o, c, o + 1, o + 2, o + 3, o + 4);
       }},
      {"getGraphData", 8, {1, 1, 3, 0, 1, kTemp, 1, 4}, 0,
       [&](const Args& a) { return getGraphData(a[0], f, a[1], a[2], a[3], a[4], a[5], a[6], a[7], values); }},
      {"getGraphData2", 8, {1, 1, 3, 0, 1, kTemp, 1, 4}, 0,
       [&](const Args& a) { return getGraphData2(a[0], f, a[1], a[2], a[3], a[4], a[5], a[6], a[7], b); }},
      {"setMinMaxSrch", 4, {1, 0, 1, kTemp}, 0,
       [&](const Args& a) {
         int32_t result = setMinMaxSrch(f, a[0], a[1], a[2], a[3]);
         for (int i = 0; i < 3; ++i) execMinMaxSrch(o);
         getMinMaxData(floats, floats + 1);
         return result;
       }},
      {"setDataSrch", 6, {1, 0, 1, kTemp, 2, 0}, 0,
       [&](const Args& a) {
         int32_t result = setDataSrch(f, a[0], a[1], a[2], a[3], a[4], a[5], 10.0f);
         for (int i = 0; i < 3; ++i) execDataSrch(o);
         return result;
       }},
      {"CsvDateSet", 3, {2023, 11, 1}, 0,
       [&](const Args& a) { return CsvDateSet(dateText(a[0], a[1]).c_str(), dateText(a[0], a[1]).c_str(), a[2]); }},
      {"setCsvFile", 1, {1}, 0,
       [&](const Args& a) {
         int32_t result = setCsvFile(f, a[0], csvBase.c_str(), w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w,
                                     w, w, w, w, w, w, w, w, w, w, w, w, w);
         execCsvOut(o);
         return result;
       }},
      {"getRAMKishuNum", 1, {0}, 0, [&](const Args& a) { return getRAMKishuNum(a[0], o); }},
      {"setTmpUnit", 1, {0}, 2, [&](const Args& a) { return setTmpUnit(a[0]) + setTmpUnit(0); }},
      {"saveConstData", 2, {0, 5}, 0, [&](const Args& a) { return saveConstData(a[0], values, a[1]); }},
      {"saveTrigData", 3, {0, 3, 1}, 0, [&](const Args& a) { return saveTrigData(a[0], a[1], a[2]); }},
      {"changeDataGather", 1, {2}, 0, [&](const Args& a) { return changeDataGather(a[0]); }},
      {"initDataGather", 6, {1, 1, 2, 2, 0, 5}, 2,
       [&](const Args& a) { return initDataGather(a[0], a[1], a[2], a[3], a[4], " ", a[5]); }},
  };
  for (const EdgeCall& edge : calls) {
    EXPECT_EQ(edge.call(edge.usual), edge.answer) << edge.name << " with its usual arguments";
    for (int i = 0; i < edge.integers; ++i) {
      for (int32_t value : kEdges) {
        Args args = edge.usual;
        args[std::size_t(i)] = value;
        SCOPED_TRACE(std::string(edge.name) + " argument " + std::to_string(i + 1) + " = " + std::to_string(value));
        edge.call(args);
      }
    }
  }
  int32_t count = 0;
  EXPECT_EQ(getFileNum(f, &count), 0);
  EXPECT_EQ(count, 2) << "no edge value deleted a listed file";
  EXPECT_EQ(execTramsoll(o, o + 1), 1) << "the library still answers, now stopped";
}

}  // namespace
