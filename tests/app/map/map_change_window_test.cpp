// A stored map on the map window over the fake library and a scripted bus:
// every scan reconciled with it, a bus that no longer fits asked about and
// adopted, the rescan, and the customer's map kept through both.
#include "frame/frmDspParam.h"
#include "frame/frmMdi.h"
#include "frame/program_values.h"
#include "frame/site/customer_file.h"
#include "frame/site/site_files.h"
#include "map/frmMap.h"
#include "map/frmMapsList.h"
#include "map/map_list.h"
#include "map/stored_map_samples.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <cstring>
#include <map>

namespace {

// What the bus answers at each address, by unit kind.
struct BusUnit {
  int32_t onLine = 3, state = 0;
  QByteArray model;
};
using Bus = std::map<int32_t, std::map<int32_t, BusUnit>>;

void scriptBus(FakeTramsoll& fake, const Bus& bus) {
  fake.on<decltype(::getQ7AuAdrStatus)>(
      "getQ7AuAdrStatus", [&bus](int32_t kind, int32_t* onLine, int32_t* count, int32_t* state, int32_t* rom, int32_t* zubrel) {
        for (int a = 0; a < 256; ++a) onLine[a] = count[a] = state[a] = rom[a] = zubrel[a] = 0;
        const auto units = bus.find(kind);
        if (units == bus.end()) return 0;
        for (const auto& [address, unit] : units->second) {
          std::tie(onLine[address], count[address], state[address], rom[address]) = std::tuple(unit.onLine, 1, unit.state, kSampleRom);
        }
        return 0;
      });
  fake.on<decltype(::getQ7AuAdrInfo)>("getQ7AuAdrInfo", [&bus](int32_t kind, int32_t address, int32_t, char* text, int32_t* length) {
    const BusUnit& unit = bus.at(kind).at(address);
    std::memcpy(text, unit.model.constData(), static_cast<std::size_t>(unit.model.size()));
    *length = static_cast<int32_t>(unit.model.size());
    return 0;
  });
}

// The stored sample, placed, as map 1 of its customer.
std::shared_ptr<MapQ7net> storedMap() {
  auto map = storedSample(true);
  std::tie(map->mapNumber, map->mapName) = std::tuple(1, QStringLiteral("Hall"));
  return map;
}

// The scan sample on the bus: a0 on line (state 1) with a new model, a32
// on line (state 2), a33 newly seen.
Bus sampleBus() {
  return {{kOutdoorUnit, {{0, {3, 1, "OU-X2"}}}}, {kIndoorUnit, {{32, {3, 2, "IU-Z"}}, {33, {1, 0, ""}}}}};
}

QList<int32_t> indoorAddresses(const MapQ7net& map) {
  QList<int32_t> addresses;
  for (const auto& unit : map.systems.item(1)->airconsIn) addresses << unit->autoAddress;
  return addresses;
}

}  // namespace

class MapChangeWindowTest : public ProgramTest {
  Q_OBJECT

  // The customer "c1" holding the stored map, opened from the list after
  // gathering started for it; the test runs the timers.
  frmMap& openStoredMap(const std::shared_ptr<MapQ7net>& map, int32_t gatherQ7Init) {
    program().workMode = kWorkRecording;
    std::tie(currentCustomer().id, currentCustomer().name) = std::tuple(QStringLiteral("c1"), QStringLiteral("Shop"));
    currentCustomer().q7nets.add(map, numberKey(map->mapIndex));
    frmMapsList::instance().doFix(kFixGathering, map);
    program().gatherQ7Init = gatherQ7Init;
    frmMap& window = frmMap::instance();
    inside(window).tmrForExecTramsoll->stop();
    inside(window).tmrForRefreshMap->stop();
    fake().calls.clear();
    return window;
  }

  // A scan that finds indoor unit a34 besides the stored units: the
  // question comes and is answered `yes`. What was asked and told.
  Bus changedBus_;
  QStringList scanChangedBus(frmMap& window, bool yes) {
    changedBus_ = sampleBus();
    changedBus_[kIndoorUnit][34] = {3, 0, "IU-W"};
    scriptBus(fake(), changedBus_);
    ModalAnswerer answers({yes});
    window.tmrForRefreshMap_Timer();
    return answers.seen;
  }

 private slots:
  void init() {
    ProgramTest::init();
    clearCustomerInfo();
  }

  void everyScanIsReconciledWithTheStoredMap() {
    struct Case {
      const char* road;
      int32_t gatherQ7Init;
      int32_t modelAnswer;  // of setDkishuName
      bool extraIndoor;     // a34 on line
      QStringList models;   // setDkishuName calls
      QStringList seen;
    };
    const QStringList iuY{QStringLiteral("setDkishuName(1, 33, 1, \"IU-Y\")")};
    const Case cases[] = {
        {"the maps agree: live values merged, the newly seen unit's stored model to the library", 0, 0, false, iuY, {}},
        {"after an initial bus scan no model is handed over", 1, 0, false, {}, {}},
        {"a model the library does not know is told once", 0, 5, false, iuY, {QStringLiteral("1-2")}},
        {"an extra indoor unit: asked, nothing merged, No closes the map", 0, 0, true, {}, {QStringLiteral("frmChangeMap")}},
    };
    for (const Case& c : cases) {
      const auto map = storedMap();
      frmMap& window = openStoredMap(map, c.gatherQ7Init);
      Bus bus = sampleBus();
      if (c.extraIndoor) bus[kIndoorUnit][34] = {3, 0, "IU-W"};
      scriptBus(fake(), bus);
      fake().results["setDkishuName"] = c.modelAnswer;
      inside(window).tmrForRefreshMap->start();
      ModalAnswerer answers;
      window.tmrForRefreshMap_Timer();
      QVERIFY2(fake().callsOf(QStringLiteral("setDkishuName")) == c.models, c.road);
      QVERIFY2(answers.seen == c.seen, c.road);
      const MapAircon& outdoor = *map->systems.item(1)->airconsOut.item(1);
      if (c.extraIndoor) {
        QVERIFY2(window.flagForEnd() && !inside(window).tmrForRefreshMap->isActive(), c.road);
        QVERIFY2(outdoor.generalKind == QLatin1String("OU-X") && outdoor.onLine == 0, c.road);
      } else {
        QVERIFY2(outdoor.generalKind == QLatin1String("OU-X2") && outdoor.onLine == 3 && outdoor.state == 1, c.road);
        QVERIFY2(map->systems.item(1)->airconsIn.item(2)->generalKind == QLatin1String("IU-Y"), c.road);
        QCOMPARE(linksText(*map), QStringLiteral("1:OU-X@1 2:IU-Z@2 3:IU-Y@3"));
        QVERIFY2(window.openedMode() == kMapModeStored && inside(window).mapShowManagerObj.totalPages == 1, c.road);
      }
      window.unload();
      releaseCustomerInfo();
    }
  }

  void adoptingTheBusPermitsCentralOperationFirstWhenItWasProhibited() {
    for (const bool permitted : {false, true}) {
      program().centralOperation = permitted;
      frmMdi::instance().showCentralOperation(permitted);
      const auto map = storedMap();
      frmMap& window = openStoredMap(map, 0);
      const QStringList seen = scanChangedBus(window, true);
      const QStringList told{QStringLiteral("frmChangeMap"), QStringLiteral("The mode is changed to 'permission' automatically")};
      QCOMPARE(seen, permitted ? told.mid(0, 1) : told);
      QVERIFY(program().centralOperation && frmMdi::instance().mnuPermission->isChecked());
      QCOMPARE(frmDspParam::instance().Label1[2]->text(), QStringLiteral("Cen.Ope. : ON"));
      QCOMPARE(fake().callsOf(QStringLiteral("setCentralOperation")), QStringList{QStringLiteral("setCentralOperation(1)")});
      // The scan is the map now, under the old map's identity and link records.
      const auto adopted = window.recordingMap();
      QVERIFY(adopted != map && adopted == window.scanMap() && window.openedMode() == kMapModeScan);
      QCOMPARE(indoorAddresses(*adopted), (QList<int32_t>{32, 33, 34}));
      QCOMPARE((QList<int32_t>{adopted->mapIndex, adopted->mapNumber}), (QList<int32_t>{7, 1}));
      QVERIFY(currentCustomer().q7nets.item(QStringLiteral("7")) == adopted);
      // The old records overwrite the scan's by number, an empty model too
      // (the next scan fills it again).
      QCOMPARE(linksText(*adopted), QStringLiteral("1:OU-X@1 2:@2 3:IU-Y@3 4:IU-W"));
      QVERIFY(inside(window).tmrForRefreshMap->isActive() && !window.flagForEnd());
      window.unload();
      releaseCustomerInfo();
    }
  }

  void changeThenRescanKeepsTheCustomersMapWithItsLinkRecords() {
    const auto map = storedMap();
    frmMap& window = openStoredMap(map, 0);
    QCOMPARE(scanChangedBus(window, true), QStringList{QStringLiteral("frmChangeMap")});
    const auto adopted = window.recordingMap();
    fake().calls.clear();
    ModalAnswerer answers({true});
    QTest::keyClick(&window, Qt::Key_F8);  // map mode: the rescan
    QCOMPARE(answers.seen, QStringList{QStringLiteral("frmRefreshMap")});
    const auto fresh = window.recordingMap();
    QVERIFY(fresh != adopted && fresh == window.scanMap() && fresh->systems.isEmpty());
    QVERIFY(currentCustomer().q7nets.item(QStringLiteral("7")) == fresh && currentCustomer().q7nets.count() == 1);
    QCOMPARE(fake().callsOf(QStringLiteral("initDataGather")),
             (QStringList{QStringLiteral("initDataGather(0, 1, 3, 2, 1, \" \", 5)"), QStringLiteral("initDataGather(1, 1, 3, 2, 1, \" \", 5)")}));
    QVERIFY(inside(window).tmrForExecTramsoll->isActive() && inside(window).tmrForRefreshMap->isActive());
    // The next scans build the map again (the second gives the empty model
    // of link 2 its unit's); the closing map goes into the file.
    window.tmrForRefreshMap_Timer();
    window.tmrForRefreshMap_Timer();
    QCOMPARE(indoorAddresses(*fresh), (QList<int32_t>{32, 33, 34}));
    inside(window).cmdCancel->click();
    window.tmrForEnd_Timer();
    QVERIFY(!window.isLoaded());
    CustomInfor written;
    ReadFault fault;
    QVERIFY2(readCustomerText(world->folder.read(QStringLiteral("c1/c1.dak")), written, fault), qPrintable(fault.text()));
    QCOMPARE(written.q7nets.count(), 1);
    const auto kept = mapOfNumber(written, 1);
    QVERIFY(kept && kept->mapName == QLatin1String("Hall") && kept->systems.count() == 1);
    QCOMPARE(linksText(*kept), QStringLiteral("1:OU-X@1 2:IU-Z@2 3:IU-Y@3 4:IU-W"));
  }
};

QTEST_MAIN(MapChangeWindowTest)
#include "map_change_window_test.moc"
