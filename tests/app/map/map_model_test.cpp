// The map built from the bus scan through the library, and its division
// into display pages that keep the engineer's place.
#include "map/map_builder.h"
#include "map/map_paging.h"
#include "map/map_scan.h"
#include "support/fake_tramsoll.h"

#include <QtTest>

#include <cstring>
#include <vector>

namespace {

struct BusUnit {
  int32_t kind, address, online, count, state, rom;
};

// A bus the fake library reports (model texts read "M<kind>-<address>-<n>")
// and the map its scans build.
struct ScannedBus {
  explicit ScannedBus(std::vector<BusUnit> bus) : units(std::move(bus)) {
    library.fake.on<decltype(::getQ7AuAdrStatus)>(
        "getQ7AuAdrStatus", [this](int32_t kind, int32_t* online, int32_t* count, int32_t* state, int32_t* rom,
                                   int32_t* zubrel) {
          for (int a = 0; a < 256; ++a) online[a] = count[a] = state[a] = rom[a] = zubrel[a] = 0;
          for (const BusUnit& unit : units) {
            if (unit.kind != kind) continue;
            online[unit.address] = unit.online;
            count[unit.address] = unit.count;
            state[unit.address] = unit.state;
            rom[unit.address] = unit.rom;
            zubrel[unit.address] = unit.address + 100;
          }
          return 0;
        });
    library.fake.on<decltype(::getQ7AuAdrInfo)>(
        "getQ7AuAdrInfo", [](int32_t kind, int32_t a, int32_t n, char* buffer, int32_t* length) {
          const QByteArray text = QStringLiteral("M%1-%2-%3").arg(kind).arg(a).arg(n).toUtf8();
          std::memcpy(buffer, text.constData(), size_t(text.size()));
          *length = int32_t(text.size());
          return 0;
        });
  }
  void scan() {
    fillScanTables(tables, library.fake);
    buildMapFromScan(map, tables, triggerMarked);
  }

  InstalledFake library;
  std::vector<BusUnit> units;
  MapScanTables tables;
  MapQ7net map;
  bool triggerMarked = false;
};

int namesAsked(const FakeTramsoll& fake, const char* arguments) {
  return int(fake.callsOf(QStringLiteral("getQ7AuAdrInfo")).filter(QLatin1String(arguments)).count());
}

QList<int> valuesOf(const Collection<MapAircon>& units, int32_t MapAircon::*member) {
  QList<int> values;
  for (const auto& unit : units) values << (*unit).*member;
  return values;
}
QList<int> linksOf(const Collection<MapAircon>& units) { return valuesOf(units, &MapAircon::linkNoNow); }
QList<int> addressesOf(const Collection<MapAircon>& units) { return valuesOf(units, &MapAircon::autoAddress); }

// The sample bus: two outdoor systems, two indoor units of the first and one
// of an unknown system, one central unit.
std::vector<BusUnit> sampleBus() {
  return {{kOutdoorUnit, 0, 3, 2, 1, 100}, {kOutdoorUnit, 5, 3, 1, 0, 200}, {kIndoorUnit, 16, 3, 1, 2, 100},
          {kIndoorUnit, 17, 4, 1, 0, 100}, {kIndoorUnit, 30, 3, 1, 0, 999}, {kCentralUnit, 3, 3, 1, 0, 0}};
}

MapQ7net mapOf(const std::vector<std::pair<int, int>>& ordinary, int central, int32_t tiedSensor = 0) {
  MapBuilder built;
  for (const auto& [outdoor, indoor] : ordinary) built.ordinary(outdoor, indoor);
  built.central(central);
  if (tiedSensor) built.tiedSensor(tiedSensor);
  return built.map;
}

// Pages as text: "S<system> <start>-<end>" with "<" on a system's first page
// and ">" on its last, "C<first central>x<rows>", "Sensor"; "@p" where the
// sensor icon sits.
QString pagesOf(const MapQ7net& map) {
  QStringList texts;
  for (const MapShowOnePage& p : mapPages(map)) {
    QString text;
    if (p.systemKind == kOrdinarySystem) {
      text = QStringLiteral("S%1 %2-%3").arg(p.systemNumber).arg(p.startNumber).arg(p.endNumber);
      if (p.systemStart) text += QLatin1Char('<');
      if (p.systemEnd) text += QLatin1Char('>');
    } else if (p.systemKind == kCentralSystem) {
      text = QStringLiteral("C%1x%2").arg(p.systemNumber1).arg(p.totalSystems);
    } else {
      text = QStringLiteral("Sensor");
    }
    if (p.sensorIconShow) text += QStringLiteral("@%1").arg(p.sensorIconPosition);
    texts << text;
  }
  return texts.join(QStringLiteral(", "));
}

void addUnits(Collection<MapAircon>& units, int count) {
  for (int n = 0; n < count; ++n) units.add(std::make_shared<MapAircon>());
}

}  // namespace

class MapModelTest : public QObject {
  Q_OBJECT

 private slots:
  void secondUnitOfANewSystemTakesItsOwnLinkNumber() {
    ScannedBus bus(sampleBus());
    bus.scan();
    MapQ7net& map = bus.map;

    QCOMPARE(map.systems.count(), 2);
    const auto first = map.systems.item(QStringLiteral("1"));
    QCOMPARE(addressesOf(first->airconsOut), (QList<int>{0, 0}));
    QCOMPARE(first->airconsOut.item(2)->airconSubNo, 2);
    QCOMPARE(first->airconsOut.item(2)->generalKind, QStringLiteral("M0-0-2"));
    QCOMPARE(linksOf(first->airconsOut), (QList<int>{1, 2}));
    QCOMPARE(addressesOf(first->airconsIn), (QList<int>{16, 17}));  // a30's system is unknown
    QCOMPARE(linksOf(first->airconsIn), (QList<int>{4, 5}));
    QCOMPARE(first->airconsIn.item(1)->state, 2);
    QCOMPARE(first->recodeTrigger, 1);
    QVERIFY(bus.triggerMarked);
    const auto second = map.systems.item(QStringLiteral("2"));
    QCOMPARE(addressesOf(second->airconsOut), QList<int>{5});
    QCOMPARE(linksOf(second->airconsOut), QList<int>{3});
    QCOMPARE(map.systemsCen.count(), 1);
    QCOMPARE(linksOf(map.systemsCen.item(1)->airconsCen), QList<int>{6});
    QCOMPARE(map.linkAircons.count(), 6);
    QCOMPARE(findLink(map, 4)->kind, QStringLiteral("M1-16-1"));
    QCOMPARE(findLink(map, 4)->controlAddress, -1);
  }

  void outdoorCountsAreHeldToSixteenAndNamesAskedOnce() {
    ScannedBus bus({{kOutdoorUnit, 0, 3, 20, 1, 100}, {kOutdoorUnit, 9, 2, 20, 1, 100}, {kIndoorUnit, 16, 3, 3, 1, 100}});
    MapScanTables& tables = bus.tables;
    FakeTramsoll& fake = bus.library.fake;
    fillScanTables(tables, fake);
    QCOMPARE(namesAsked(fake, "(0, 0,"), 16);
    QCOMPARE(tables.outdoor.count[0], 16);
    QCOMPARE(tables.outdoor.count[9], 16);  // off line too, though no name is asked there
    QCOMPARE(namesAsked(fake, "(0, 9,"), 0);
    QCOMPARE(fake.callsOf(QStringLiteral("getQ7AuAdrInfo")).filter(QStringLiteral("(1, 16,")),
             QStringList{"getQ7AuAdrInfo(1, 16, 1, *, *)"});

    // Names once fetched are not asked again; one the library refused is.
    fake.calls.clear();
    tables.outdoor.texts[0][4].clear();
    fillScanTables(tables, fake);
    QCOMPARE(fake.callsOf(QStringLiteral("getQ7AuAdrInfo")), QStringList{"getQ7AuAdrInfo(0, 0, 5, *, *)"});
    fake.calls.clear();
    tables.reset();
    fake.on<decltype(::getQ7AuAdrInfo)>("getQ7AuAdrInfo", [](int32_t, int32_t, int32_t, char* b, int32_t* n) {
      std::memcpy(b, "junk", 4);
      *n = 4;
      return 3;
    });
    fillScanTables(tables, fake);
    QCOMPARE(tables.outdoor.texts[0][0], QString());

    buildMapFromScan(bus.map, tables, bus.triggerMarked);
    QCOMPARE(bus.map.systems.item(1)->airconsOut.count(), 32);  // both addresses answer
  }

  void newRomNumberRebuildsTheSystemsAndKeepsTheCentralLink() {
    ScannedBus bus(sampleBus());
    bus.scan();
    MapQ7net& map = bus.map;
    map.systems.item(1)->recodeTrigger = 0;  // the engineer's own choice, dropped by a rebuild

    // a5 stops answering while two new ROM numbers come: the rebuild takes
    // only answering addresses, and the indoor units are found again.
    bus.units[1].online = 0;
    bus.units.push_back({kOutdoorUnit, 8, 3, 1, 1, 300});
    bus.units.push_back({kOutdoorUnit, 9, 3, 1, 1, 400});
    bus.scan();
    QCOMPARE(map.systems.count(), 3);
    const auto first = map.systems.item(1);
    QCOMPARE(addressesOf(first->airconsOut), (QList<int>{0, 0}));
    QCOMPARE(addressesOf(map.systems.item(2)->airconsOut), QList<int>{8});
    QCOMPARE(addressesOf(map.systems.item(3)->airconsOut), QList<int>{9});
    QCOMPARE(first->recodeTrigger, 1);
    QCOMPARE(linksOf(map.systemsCen.item(1)->airconsCen), QList<int>{6});
    QCOMPARE(linksOf(first->airconsOut), (QList<int>{1, 2}));
    QCOMPARE(linksOf(map.systems.item(3)->airconsOut), QList<int>{4});
    QCOMPARE(addressesOf(first->airconsIn), (QList<int>{16, 17}));
    QCOMPARE(linksOf(first->airconsIn), (QList<int>{5, 7}));
  }

  void unitsFoundAgainAreRefreshedAndChangedCountsRemade() {
    ScannedBus bus(sampleBus());
    bus.scan();
    MapQ7net& map = bus.map;
    findLink(map, 5)->kind.clear();

    bus.units[0].state = 2;  // a0 refreshed in place
    bus.units[3].online = 0; // a17 stops answering: kept as it was
    bus.units[1].count = 2;  // a5 reports a second unit: its units are made again
    bus.units.push_back({kIndoorUnit, 10, 3, 1, 1, 100});  // numbered before a16 and a17
    bus.scan();
    const auto first = map.systems.item(1);
    QCOMPARE(first->airconsOut.item(2)->state, 2);
    QCOMPARE(linksOf(first->airconsOut), (QList<int>{1, 2}));
    QCOMPARE(first->airconsIn.item(2)->onLine, 4);
    QCOMPARE(findLink(map, 5)->kind, QString());  // a17 not refreshed
    QCOMPARE(linksOf(map.systems.item(2)->airconsOut), (QList<int>{3, 7}));
    QList<int> numbers;
    for (const auto& unit : first->airconsIn) numbers << unit->airconNumber;
    QCOMPARE(addressesOf(first->airconsIn), (QList<int>{16, 17, 10}));
    QCOMPARE(numbers, (QList<int>{2, 3, 1}));
  }

  void pagesDivideTheMap() {
    MapQ7net sensorOnly;
    sensorOnly.flagForSensor = true;
    buildSensorOnlyMap(sensorOnly);
    const struct {
      const char* fault;
      MapQ7net map;
      const char* pages;
    } cases[] = {
        {"30 and 10 units and 2 central take 4 pages", mapOf({{6, 24}, {2, 8}}, 2),
         "S1 1-24<, S1 25-30>, S2 1-10<>, C1x2"},
        {"23 units and a tied sensor fill one page", mapOf({{3, 20}}, 0, 1), "S1 1-24<>@23"},
        {"a tied sensor is the 25th place", mapOf({{4, 20}}, 0, 1), "S1 1-24<, S1 25-25>@0"},
        {"five central systems on two pages, the sensor by central 5", mapOf({{1, 0}}, 5, 6),
         "S1 1-1<>, C1x3, C4x2@9"},
        {"a sensor tied to a central system that is not there shows nowhere", mapOf({{1, 0}}, 2, 4), "S1 1-1<>, C1x2"},
        {"a system without units takes no page", mapOf({{0, 0}, {1, 0}}, 0), "S2 1-1<>"},
        {"a sensor-only map has one sensor page", std::move(sensorOnly), "Sensor"},
    };
    for (const auto& c : cases) {
      const QString pages = pagesOf(c.map);
      QVERIFY2(pages == QLatin1String(c.pages), qPrintable(QStringLiteral("%1: %2").arg(c.fault, pages)));
    }
  }

  void repagingKeepsTheCurrentSystemInView() {
    MapQ7net map = mapOf({{2, 8}, {6, 24}}, 4);
    MapShowManager manager;
    bool firstDone = false;
    QVERIFY(setDataToMapShowManagerObj(map, manager, firstDone).firstPaging);
    QCOMPARE(manager.totalPages, 5);
    QCOMPARE(manager.pageNumberNow, 1);
    // On system 2's second page, then system 1 grows to two pages.
    manager.pageNumberNow = 3;
    manager.systemNumberNow = 2;
    manager.systemPageNumberNow = 2;
    manager.airconNumberNow = 5;
    addUnits(map.systems.item(1)->airconsIn, 20);
    const auto kept = manager.pages.item(1);
    const PagingOutcome outcome = setDataToMapShowManagerObj(map, manager, firstDone);
    QVERIFY(outcome.paged && !outcome.firstPaging);
    QCOMPARE(manager.totalPages, 6);
    QCOMPARE(manager.pageNumberNow, 4);
    QCOMPARE(manager.airconNumberNow, 1);
    QCOMPARE(manager.pages.item(1), kept);  // page objects are rewritten in place

    // Shrinking by two pages drops both at once.
    map.systems.item(1)->airconsIn.clear();
    map.systemsCen.remove(4);
    manager.pageNumberNow = 6;
    manager.systemKindNow = kCentralSystem;
    manager.systemNumberNow = 3;
    manager.systemCenNow = 2;
    setDataToMapShowManagerObj(map, manager, firstDone);
    QCOMPARE(manager.totalPages, 4);
    QCOMPARE(manager.pages.count(), 4);
    QCOMPARE(manager.pageNumberNow, 4);
    QCOMPARE(manager.systemCenNow, 1);

    // A system that lost its second page shows its first, not a page beyond.
    manager.systemKindNow = kOrdinarySystem;
    manager.systemNumberNow = 2;
    manager.systemPageNumberNow = 2;
    map.systems.item(2)->airconsIn.clear();
    setDataToMapShowManagerObj(map, manager, firstDone);
    QCOMPARE(manager.totalPages, 3);
    QCOMPARE(manager.pageNumberNow, 2);
  }
};

QTEST_MAIN(MapModelTest)
#include "map_model_test.moc"
