// Stored maps: reconciled with the bus scan, adopted from it or rescanned,
// handed to the library, numbered, deleted and opened from the map list.
#include "frame/program_values.h"
#include "frame/site/customer_file.h"
#include "map/map_change.h"
#include "map/map_library.h"
#include "map/map_list.h"
#include "map/map_merge.h"
#include "map/stored_map_samples.h"
#include "support/fake_tramsoll.h"
#include "support/test_support.h"

#include <QtTest>

#include <functional>

namespace {

constexpr int32_t kRom = kSampleRom;

// "a<address>/<sub>:<onLine> <model> L<link>" of system 1, outdoor | indoor.
QString unitsText(const MapQ7net& map) {
  const auto units = [](const Collection<MapAircon>& all) {
    QStringList texts;
    for (const auto& u : all) texts << QStringLiteral("a%1/%2:%3 %4 L%5").arg(u->autoAddress).arg(u->airconSubNo).arg(u->onLine).arg(u->generalKind).arg(u->linkNoNow);
    return texts.join(QStringLiteral(", "));
  };
  return units(map.systems.item(1)->airconsOut) + QStringLiteral(" | ") + units(map.systems.item(1)->airconsIn);
}

struct MapWindow {
  int32_t mapMode = kMapModeStored;
  std::shared_ptr<MapQ7net> shown, scanned;
  MapShowManager manager;
  bool firstPagingDone = true;
  GraphSystem trigger;
  MapWindowMaps maps() { return {mapMode, shown, scanned, manager, firstPagingDone, trigger}; }
};

QString repeated(int count, QChar c) { return QString(count, c); }
QString names(const CustomInfor& customer) {  // by map number 1, 2, ...
  QString text;
  for (int32_t n = 1; const auto map = mapOfNumber(customer, n); ++n) text += map->mapName;
  return text;
}

}  // namespace

class StoredMapTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { program() = ProgramValues(); }
  void cleanup() { releaseCustomerInfo(); }

  void busScanFitsOnlyWhenEveryScannedUnitHasItsPlace() {
    const struct {
      const char* fault;
      std::function<void(MapQ7net&)> change;  // to the sample scan
      bool agree;
    } cases[] = {
        {"the sample scan fits", nullptr, true},
        {"an extra indoor unit a34 differs", [](MapQ7net& s) { addUnits(s.systems.item(1)->airconsIn, 1, kRom, {{34, 3}}); }, false},
        {"an outdoor unit at a new address differs", [](MapQ7net& s) { addUnits(s.systems.item(1)->airconsOut, 0, kRom, {{1, 3}}); }, false},
        {"a unit the bus lost still fits", [](MapQ7net& s) { s.systems.item(1)->airconsIn.remove(1); }, true},
        {"a system of unknown ROM differs", [](MapQ7net& s) { addOrdinary(s, 0x99, {{5, 3}}, {}); }, false},
        {"a system reporting ROM 0 is not compared", [](MapQ7net& s) { addOrdinary(s, 0, {{5, 3}}, {}); }, true},
        {"a central unit off line does not differ", [](MapQ7net& s) { addCentral(s, {64, 2}); }, true},
        {"a central unit on line at an unknown address differs", [](MapQ7net& s) { addCentral(s, {64, 3}); }, false},
    };
    for (const auto& c : cases) {
      const auto stored = storedSample(), scan = scanSample();
      if (c.change) c.change(*scan);
      QVERIFY2(reconcileScanWithMap(*scan, *stored) == (c.agree ? ScanReconcile::kMergedBus : ScanReconcile::kMapsDiffer), c.fault);
      QCOMPARE(stored->systems.item(1)->airconsOut.item(1)->generalKind, QLatin1String(c.agree ? "OU-X2" : "OU-X"));  // differs: not merged
    }
  }

  void mergesTakeLiveValuesButNeverEraseAStoredModel() {
    const struct {
      const char* fault;
      int32_t ifMode;
      std::function<void(MapQ7net& stored, MapQ7net& scan)> change;
      const char *outdoor, *links;
    } cases[] = {
        {"bus: models only from units on line, set link models kept", 2, nullptr, "a0/1:3 OU-X2 L1", ""},
        {"bus: an empty model on line keeps the stored one", 2, [](auto&, auto& scan) { scan.systems.item(1)->airconsOut.item(1)->generalKind.clear(); },
         "a0/1:3 OU-X L1", ""},
        {"bus: an outdoor rebuild reuses a spare record with its model", 2,
         [](auto& stored, auto& scan) { addLinks(stored, {"SPARE"}), addUnits(scan.systems.item(1)->airconsOut, 0, kRom, {{0, 3, "OU-X3", 0, 2}}); },
         "a0/1:3 OU-X2 L1, a0/2:3 OU-X3 L4", " 4:SPARE"},
        {"board: a model from a unit not on line never replaces the stored one", 4,
         [](auto&, auto& scan) { scan.systems.item(1)->airconsIn.item(2)->generalKind = QStringLiteral("IU-W"); }, "a0/1:3 OU-X2 L1", ""},
        {"board: an added unit takes a new record and its model once on line", 4,
         [](auto&, auto& scan) { addUnits(scan.systems.item(1)->airconsOut, 0, kRom, {{1, 3, "OU-X3"}}); }, "a0/1:3 OU-X2 L1, a1/1:3 OU-X3 L4", " 4:OU-X3"},
    };
    for (const auto& c : cases) {
      InstalledFake library;
      const auto stored = storedSample(), scan = scanSample();
      stored->ifMode = c.ifMode;
      if (c.change) c.change(*stored, *scan);
      QVERIFY2(reconcileScanWithMap(*scan, *stored) != ScanReconcile::kMapsDiffer, c.fault);
      QCOMPARE(unitsText(*stored), QLatin1String(c.outdoor) + QStringLiteral(" | a32/1:3 IU-Z L2, a33/1:1 IU-Y L3"));
      QCOMPARE(linksText(*stored), QStringLiteral("1:OU-X 2:IU-Z 3:IU-Y") + QLatin1String(c.links));
      sendDkishuName(*stored, library.fake, {});  // only the newly seen unit, with its stored model
      QCOMPARE(library.fake.calls, QStringList{QStringLiteral("setDkishuName(1, 33, 1, \"IU-Y\")")});
    }
  }

  void adoptedScanTakesOldLinkRecordsByNumber() {
    const struct {
      std::initializer_list<int32_t> old, scanned;
      const char* links;
    } cases[] = {{{1, 2, 3, 4, 5}, {1, 2, 3}, "1:old1 2:old2 3:old3 4:old4 5:old5"}, {{1, 2, 3}, {2, 3, 5}, "2:old2 3:old3 5:new 1:old1"}};
    for (const auto& c : cases) {
      MapQ7net old, adopted;
      for (int32_t n : c.old) addLink(old, n, QStringLiteral("old"), QString::number(n));
      for (int32_t n : c.scanned) addLink(adopted, n, QStringLiteral("new"));
      mergeOldLinkRecords(old, adopted);
      QCOMPARE(linksText(adopted), QLatin1String(c.links));
    }
  }

  void changeThenRescanKeepsTheCustomersMapWithItsLinkRecords() {
    InstalledFake library;
    program().gatherMode = 3;
    CustomInfor customer;
    customer.q7nets.add(std::make_shared<MapQ7net>(), numberKey(1));
    MapWindow window;
    window.shown = storedSample();
    std::tie(window.shown->ifMode, window.shown->generalKind, window.shown->recodeInterval) = std::tuple(3, QStringLiteral("K"), 60);
    customer.q7nets.add(window.shown, numberKey(7));
    window.scanned = scanSample();
    window.trigger.airconsOut.add(std::make_shared<GraphAircon>());
    changeMap(window.maps(), customer, library.fake, QDate(2024, 5, 1));
    QCOMPARE(library.fake.calls, (QStringList{QStringLiteral("initDataGather(0, 1, 3, 3, 0, \" \", 5)"), QStringLiteral("setCentralOperation(1)"),
                                              QStringLiteral("initDataGather(1, 1, 3, 2, 1, \" \", 5)")}));
    const auto adopted = window.scanned;
    QVERIFY(window.shown == adopted && window.mapMode == kMapModeScan && !window.firstPagingDone && window.trigger.airconsOut.isEmpty());
    QCOMPARE((QList<int32_t>{adopted->mapIndex, adopted->mapNumber, adopted->ifMode, adopted->recodeInterval, adopted->saveDay}), (QList<int32_t>{7, 2, 2, 60, 1}));
    QCOMPARE(adopted->generalKind + QLatin1Char(' ') + linksText(*adopted), QStringLiteral("K 1:OU-X 2: 3:IU-Y"));
    refreshMap(window.maps(), customer, library.fake, QDate(2024, 5, 2));
    const auto fresh = window.shown;
    QVERIFY(fresh != adopted && window.scanned == fresh && fresh->systems.isEmpty());
    QVERIFY(customer.q7nets.item(numberKey(7)) == fresh && customer.q7nets.count() == 2);
    QCOMPARE(linksText(*fresh), QStringLiteral("1:OU-X 2: 3:IU-Y"));
    // A new map whose index a stored map has leaves that one where it is.
    window.shown->mapIndex = 1;
    const auto other = customer.q7nets.item(numberKey(1));
    customer.q7nets.remove(numberKey(7));
    refreshMap(window.maps(), customer, library.fake, QDate(2024, 5, 2));
    QVERIFY(customer.q7nets.item(numberKey(1)) == other && customer.q7nets.count() == 1);
  }

  void unitsGoToTheLibraryWithTheirOwnLinkTextsAndSystemNumber() {
    InstalledFake library;
    MapQ7net map;
    addOrdinary(map, 1, {{16, 3, "", 1}}, {{32, 3, "", 2}, {33, 3, "", 9}});
    addOrdinary(map, 2, {{17, 3, "", 3, 2}}, {{40, 3, "", 4, 3}});
    addCentral(map, {64, 3, "", 5});
    MapBuilder::addSystem(map.systemsSen)->airconsSen.add(std::make_shared<MapAircon>());
    addLinks(map, {"OU-1", "", "OU-3", "IU-4", "CU-5"});
    findLink(map, 1)->place = repeated(70, u'x');
    findLink(map, 4)->place = repeated(40, QChar(0xE9));  // two bytes each
    sendNetMapInfo(map, library.fake);
    const QString blanks = QStringLiteral("\" \", \" \", \" \"");
    QCOMPARE(library.fake.calls,
             (QStringList{QStringLiteral("setNetMapInfo(0, 16, 1, 1, 1, 17, \"OU-1\", \" \", \"%1\")").arg(repeated(63, u'x')),
                          QStringLiteral("setNetMapInfo(1, 32, 1, 1, 1, 18, %1)").arg(blanks),
                          QStringLiteral("setNetMapInfo(1, 33, 1, 2, 1, -1, %1)").arg(blanks),  // no link record
                          QStringLiteral("setNetMapInfo(0, 17, 2, 1, 2, 19, \"OU-3\", \" \", \" \")"),
                          QStringLiteral("setNetMapInfo(1, 40, 1, 1, 2, 20, \"IU-4\", \" \", \"%1\")").arg(repeated(31, QChar(0xE9))),
                          QStringLiteral("setNetMapInfo(100, 64, 1, 1, 3, 21, \"CU-5\", \" \", \" \")"),
                          QStringLiteral("setNetMapInfo(200, 0, 1, 0, 1, -1, %1)").arg(blanks)}));
  }

  void newlySeenUnitsGetTheirModelAndAnUnknownModelIsToldOnce() {
    InstalledFake library;
    library.fake.results["setDkishuName"] = 5;
    MapQ7net map;
    addOrdinary(map, 1, {{1, 1, ""}, {2, 2, "M2", 0, 2}}, {{3, 3, "M3"}, {4, 0, "M4"}});
    addCentral(map, {64, 2, "C"});
    int told = 0;
    sendDkishuName(map, library.fake, [&] { ++told; });
    QCOMPARE(library.fake.calls, (QStringList{QStringLiteral("setDkishuName(0, 1, 1, \" \")"), QStringLiteral("setDkishuName(0, 2, 2, \"M2\")"),
                                              QStringLiteral("setDkishuName(100, 64, 1, \"C\")")}));
    QCOMPARE(told, 1);
  }

  void fileHeaderNamesTheCustomerFolderAsOnDiskAndFitsEveryField() {
    ScratchFolder folder;
    folder.write(QStringLiteral("K01/k01.dak"), QByteArray());
    const QString deep = QLatin1Char('/') + repeated(1022, u'f');  // with its "/": 1024 bytes
    const struct {
      QString id, programFolder, mapName;
      int32_t answer;
      QString call;  // "<pf>" stands for the program folder
    } cases[] = {
        {QStringLiteral("k01"), folder.path(), QStringLiteral("Map 1"), 0, QStringLiteral("\"k01\", \"Shop\", \"B\", \"Map 1\", \"<pf>/K01/\"")},
        {QString(), folder.path(), QString(), 0, QStringLiteral("\" \", \"Shop\", \" \", \"\", \"<pf>/\"")},
        {repeated(40, QChar(0xE9)), folder.path(), repeated(70, u'm'), 0,
         QStringLiteral("\"%1\", \"Shop\", \"B\", \"%2\", \"<pf>/%3/\"").arg(repeated(15, QChar(0xE9)), repeated(63, u'm'), repeated(40, QChar(0xE9)))},
        {QString(), deep, QString(), 1, QString()},
    };
    for (const auto& c : cases) {
      InstalledFake library;
      CustomInfor customer;
      std::tie(customer.id, customer.name) = std::tuple(c.id, QStringLiteral("Shop"));
      DataManageInfor shop;  // the last of the persons in charge, none without an id
      for (const char* person : {"A", "B"}) {
        if (!c.id.isEmpty()) shop.ssChargeMen.add(std::make_shared<QString>(QLatin1String(person)), numberKey(shop.ssChargeMen.count() + 1));
      }
      MapQ7net map;
      map.mapName = c.mapName;
      QCOMPARE(sendFileHeader(map, customer, shop, c.programFolder, library.fake), c.answer);
      const QString expected = QStringLiteral("setFileHeader(%1)").arg(QString(c.call).replace(QStringLiteral("<pf>"), c.programFolder));
      QCOMPARE(library.fake.calls, c.call.isEmpty() ? QStringList() : QStringList{expected});
    }
  }

  void gapsAndRepeatsInMapNumbersAreRenumberedInOrder() {
    const struct {
      std::initializer_list<int32_t> numbers;
      const char* rows;  // maps A, B, C by row
    } cases[] = {{{3, 1, 2}, "BCA"}, {{2, 5, 9}, "ABC"}, {{1, 1, 2}, "ABC"}, {{2, 1, 1}, "BCA"}, {{0, 7, 0}, "ACB"}};
    for (const auto& c : cases) {
      CustomInfor customer;
      for (int32_t n : c.numbers) addMap(customer, n);
      renumberMaps(customer);
      QCOMPARE(names(customer), QLatin1String(c.rows));
    }
  }

  void deletingMap2Of3RenumbersKeepsRow2AndWritesTheFile() {
    ScratchFolder folder;
    CustomInfor& customer = currentCustomer();
    customer.id = QStringLiteral("C1");
    for (int32_t n : {1, 2, 3}) addMap(customer, n);
    const auto deleted = mapOfNumber(customer, 2);
    QVERIFY(deleteMap(2));
    QVERIFY(names(customer) == QLatin1String("AC") && deleted->systems.isEmpty());
    CustomInfor written;
    ReadFault fault;
    QVERIFY2(readCustomerText(folder.read(QStringLiteral("C1/C1.dak")), written, fault), qPrintable(fault.text()));
    QCOMPARE(names(written), QStringLiteral("AC"));
    // Row 2 stays chosen; a remembered last row moves to the new last one.
    QCOMPARE((QList<int32_t>{mapListSelectedRow(2, 2), mapListSelectedRow(3, 2), mapListSelectedRow(0, 2), mapListSelectedRow(1, 0)}), (QList<int32_t>{2, 2, 1, 0}));
  }

  void openingAStoredMapMarksOneTriggerSystemAndRestartsOnlyWhenAsked() {
    const QStringList restart{QStringLiteral("initDataGather(0, 1, 3, 2, 0, \" \", 5)"), QStringLiteral("setCentralOperation(1)"),
                              QStringLiteral("initDataGather(1, 1, 3, 2, 1, \" \", 5)")};
    const struct {
      int32_t mode;
      const char* choices;  // recode/recodeTrigger of systems numbered 1, 1, 2 and central 1
      QStringList calls;
    } cases[] = {{kFixAsItIs, "0/1 0/1 0/1 0/1", {}}, {kFixGathering, "1/1 1/0 1/0 1/0", {}}, {kFixRestartWithScan, "1/1 1/0 1/0 1/0", restart}};
    for (const auto& c : cases) {
      InstalledFake library;
      auto map = std::make_shared<MapQ7net>();
      for (int32_t number : {1, 1, 2}) addOrdinary(*map, 1, {}, {})->systemNumber = number;
      addCentral(*map, {64});
      const std::vector systems{map->systems.item(1), map->systems.item(2), map->systems.item(3), map->systemsCen.item(1)};
      for (const auto& s : systems) s->recodeTrigger = 1;
      MapWindow window;
      window.scanned = storedSample();  // the scan map of the map opened before
      const auto previousScan = window.scanned;
      window.manager.pages.add(std::make_shared<MapShowOnePage>());
      fixMapForWindow(window.maps(), map, c.mode, library.fake);
      QStringList choices;
      for (const auto& s : systems) choices << QStringLiteral("%1/%2").arg(s->recode).arg(s->recodeTrigger);
      QCOMPARE(choices.join(QLatin1Char(' ')), QLatin1String(c.choices));
      QCOMPARE(library.fake.calls, c.calls);
      QVERIFY(window.shown == map && window.mapMode == kMapModeStored && window.manager.pages.isEmpty());
      QVERIFY(window.scanned != previousScan && window.scanned->systems.isEmpty() && previousScan->systems.isEmpty());
    }
  }

 private:
  static void addMap(CustomInfor& customer, int32_t number) {
    auto map = std::make_shared<MapQ7net>();
    const int32_t index = customer.q7nets.count() + 1;
    std::tie(map->mapIndex, map->mapNumber, map->mapName) = std::tuple(index, number, QString(QChar(u'A' + index - 1)));
    addOrdinary(*map, 1, {{0, 0, "OU"}}, {});
    customer.q7nets.add(map, numberKey(index));
  }
};

QTEST_MAIN(StoredMapTest)
#include "stored_map_test.moc"
