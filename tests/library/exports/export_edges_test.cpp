// Every integer argument of the exports at 0, -1, 2^31 - 1 and -2^31, with a
// recording listed and opened and units gathered, so that each value gets
// past the first checks. Turning -2^31 into a 0-based number by subtracting
// once overflowed; the sanitizer run of this test stops at any overflow.
#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "library/files/replay_support.h"
#include "tables/setting_tables.h"

using namespace replaytest;

namespace {

using Args = std::vector<int32_t>;

struct EdgeCall {
  const char* name;
  Args usual;      // values that reach deep into the export, one per integer argument
  int32_t answer;  // its result with them
  std::function<int32_t(const Args&)> call;
};

class ExportEdges : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    addSystem(kOutdoorItems);
    ASSERT_EQ(setTrigCondition(3, 0, 1, kRun, 1, 0), 0);
    recordTrigger(3, 0);
    recordPeriodic(4);
    ASSERT_EQ(listFolder(), 2);
    ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
    ASSERT_EQ(selectDataFile(customerFolder().c_str(), 2), 0);
  }
  static std::string date(int32_t year, int32_t month) {
    char text[48];
    std::snprintf(text, sizeof text, "%d/%d/1 00:00:00", year, month);
    return text;
  }
  char b[4096] = {}, c[64] = {}, d[64] = {}, e[64] = {};
  int32_t o[32] = {};
  int32_t values[256] = {};
  float floats[2] = {};
};

TEST_F(ExportEdges, EveryIntegerArgumentAtItsEdgesIsAnsweredWithoutOverflow) {
  std::string folderText = customerFolder(), csvBase = folder.path() + "/edge";
  const char* f = folderText.c_str();
  const char* w = "w";
  const std::vector<EdgeCall> calls = {
      {"getRAMKishuName", {0, 1}, 1, [&](const Args& a) { return getRAMKishuName(a[0], a[1], b, o); }},
      {"getQ7AuAdrInfo", {0, 16, 1}, 0, [&](const Args& a) { return getQ7AuAdrInfo(a[0], a[1], a[2], b, o); }},
      {"setNetMapInfo", {0, 16, 1, 1, 3, 32}, 0,
       [&](const Args& a) { return setNetMapInfo(a[0], a[1], a[2], a[3], a[4], a[5], "m", "s", "p"); }},
      {"setDkishuName", {0, 16, 1}, 5, [&](const Args& a) { return setDkishuName(a[0], a[1], a[2], "unit.itm"); }},
      {"setSensorParm", {1, 1, 0, 5, 0, 100}, 2,
       [&](const Args& a) { return setSensorParm(a[0], a[1], "x", a[2], a[3], a[4], a[5], "V"); }},
      {"getQ7AuAdrStatus", {0}, 0,
       [&](const Args& a) { return getQ7AuAdrStatus(a[0], values, values, values, values, values); }},
      {"setCentralOperation", {1}, 0, [&](const Args& a) { return setCentralOperation(a[0]); }},
      {"WriteINIfile", {7}, 1, [&](const Args& a) { return WriteINIfile("EDGE", a[0]); }},
      {"saveQ7Data", {0}, 0, [&](const Args& a) { return saveQ7Data(a[0], "edge"); }},
      {"getQ7ScAdrStatus", {16}, 2, [&](const Args& a) { return getQ7ScAdrStatus(a[0], o, floats, b, o, o); }},
      {"setQ7ScAdrCommand", {16, 1, 1}, 0, [&](const Args& a) { return setQ7ScAdrCommand(a[0], a[1], a[2], 24); }},
      {"getAirconReceiveState", {16}, 0, [&](const Args& a) { return getAirconReceiveState(a[0], o); }},
      {"setAirconSendData", {230, 16, 7, 300, 0}, 0,
       [&](const Args& a) { return setAirconSendData(a[0], a[1], a[2], a[3], a[4]); }},
      {"getDataSize", {3, 0}, 0, [&](const Args& a) { return getDataSize(a[0], a[1], o, o + 1); }},
      {"setTrigCondition", {3, 0, 1, kRun, 1, 0}, 0,
       [&](const Args& a) { return setTrigCondition(a[0], a[1], a[2], a[3], a[4], a[5]); }},
      {"deleteFile", {3}, 1, [&](const Args& a) { return deleteFile(f, a[0]); }},
      {"getFileInfo", {1}, 0,
       [&](const Args& a) {
         return getFileInfo(f, a[0], b, o, c, o, o, d, o, o, o, o, o, o, o, o, o, o, o, o, o, o, e, o);
       }},
      {"selectDataFile", {1}, 0, [&](const Args& a) { return selectDataFile(f, a[0]); }},
      {"closeDataFile", {3}, 0, [&](const Args& a) { return closeDataFile(f, a[0]); }},
      {"getDataItemNum", {1, 1, 3, 0, 1}, 0,
       [&](const Args& a) { return getDataItemNum(a[0], f, a[1], a[2], a[3], a[4], o, o, o, o); }},
      {"getDataItem", {1, 1, 3, 0, 1, kRun}, 0,
       [&](const Args& a) {
         return getDataItem(a[0], f, a[1], a[2], a[3], a[4], a[5], b, o, c, o, o, o, d, o, e, o, o, o);
       }},
      {"getPlyTrgNum", {2, 0, 1}, 0, [&](const Args& a) { return getPlyTrgNum(f, a[0], a[1], a[2], o); }},
      {"getPlyTrgItem", {2, 0, 1, kRun}, 0,
       [&](const Args& a) { return getPlyTrgItem(f, a[0], a[1], a[2], a[3], b, o, o, c, o, d, o); }},
      {"getCursData", {1, 1, 3, 0, 1, kTemp, 2}, 0,
       [&](const Args& a) { return getCursData(a[0], f, a[1], a[2], a[3], a[4], a[5], a[6], b, o, c, o, o, o, o); }},
      {"getGraphData", {1, 1, 3, 0, 1, kTemp, 1, 4}, 0,
       [&](const Args& a) { return getGraphData(a[0], f, a[1], a[2], a[3], a[4], a[5], a[6], a[7], values); }},
      {"getGraphData2", {1, 1, 3, 0, 1, kTemp, 1, 4}, 0,
       [&](const Args& a) { return getGraphData2(a[0], f, a[1], a[2], a[3], a[4], a[5], a[6], a[7], b); }},
      {"setMinMaxSrch", {1, 0, 1, kTemp}, 0,
       [&](const Args& a) { return setMinMaxSrch(f, a[0], a[1], a[2], a[3]) + execMinMaxSrch(o); }},
      {"setDataSrch", {1, 0, 1, kTemp, 2, 0}, 1,
       [&](const Args& a) { return setDataSrch(f, a[0], a[1], a[2], a[3], a[4], a[5], 10) + execDataSrch(o); }},
      {"CsvDateSet", {2023, 11, 1}, 0,
       [&](const Args& a) { return CsvDateSet(date(a[0], a[1]).c_str(), date(a[0], a[1]).c_str(), a[2]); }},
      {"setCsvFile", {1}, 0,
       [&](const Args& a) {
         return setCsvFile(f, a[0], csvBase.c_str(), w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w,
                           w, w, w, w, w, w, w, w, w, w) +
                execCsvOut(o);
       }},
      {"getRAMKishuNum", {0}, 0, [&](const Args& a) { return getRAMKishuNum(a[0], o); }},
      {"setTmpUnit", {0}, 2, [&](const Args& a) { return setTmpUnit(a[0]) + setTmpUnit(0); }},
      {"saveConstData", {0, 5}, 0, [&](const Args& a) { return saveConstData(a[0], values, a[1]); }},
      {"saveTrigData", {0, 3, 1}, 0, [&](const Args& a) { return saveTrigData(a[0], a[1], a[2]); }},
      {"changeDataGather", {2}, 0, [&](const Args& a) { return changeDataGather(a[0]); }},
      {"initDataGather", {1, 1, 2, 2, 0, 5}, 2,
       [&](const Args& a) { return initDataGather(a[0], a[1], a[2], a[3], a[4], " ", a[5]); }},
  };
  for (const EdgeCall& edge : calls) {
    EXPECT_EQ(edge.call(edge.usual), edge.answer) << edge.name << " with its usual arguments";
    for (std::size_t i = 0; i < edge.usual.size(); ++i) {
      for (int32_t value : {0, -1, INT_MAX, INT_MIN}) {
        Args args = edge.usual;
        args[i] = value;
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
