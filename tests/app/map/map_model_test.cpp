// The map built from the bus scan through the library, and its division
// into display pages that keep the engineer's place.
#include "map/map_builder.h"
#include "map/map_paging.h"
#include "map/map_scan.h"
#include "support/fake_tramsoll.h"

#include <QtTest>

#include <cstdio>
#include <functional>
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
                                   int32_t*) {
          for (const BusUnit& u : units) {
            if (u.kind != kind) continue;
            std::tie(online[u.address], count[u.address], state[u.address], rom[u.address]) =
                std::tie(u.online, u.count, u.state, u.rom);
          }
          return 0;
        });
    library.fake.on<decltype(::getQ7AuAdrInfo)>(
        "getQ7AuAdrInfo", [](int32_t kind, int32_t a, int32_t n, char* buffer, int32_t* length) {
          *length = std::snprintf(buffer, 64, "M%d-%d-%d", kind, a, n);
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

// The sample bus: two outdoor systems, two indoor units of the first and one
// of an unknown system, one central unit.
std::vector<BusUnit> sampleBus() {
  return {{kOutdoorUnit, 0, 3, 2, 1, 100}, {kOutdoorUnit, 5, 3, 1, 0, 200}, {kIndoorUnit, 16, 3, 1, 2, 100},
          {kIndoorUnit, 17, 4, 1, 0, 100}, {kIndoorUnit, 30, 3, 1, 0, 999}, {kCentralUnit, 3, 3, 1, 0, 0}};
}

// A map as text: per system "S<n> <outdoor> | <indoor>", per central system
// "C<n> <unit>", each unit "<airconNumber>@<address>:<link>".
QString mapText(const MapQ7net& map) {
  const auto units = [](const Collection<MapAircon>& collection) {
    QStringList texts;
    for (const auto& u : collection) texts << QStringLiteral("%1@%2:%3").arg(u->airconNumber).arg(u->autoAddress).arg(u->linkNoNow);
    return texts.join(QLatin1Char(' '));
  };
  QStringList parts;
  for (const auto& s : map.systems) parts << QStringLiteral("S%1 %2 | %3").arg(s->systemNumber).arg(units(s->airconsOut), units(s->airconsIn));
  for (const auto& s : map.systemsCen) parts << QStringLiteral("C%1 %2").arg(s->systemNumber).arg(units(s->airconsCen));
  return parts.join(QStringLiteral("; "));
}

int namesAsked(const FakeTramsoll& fake, const char* arguments) {
  return int(fake.callsOf(QStringLiteral("getQ7AuAdrInfo")).filter(QLatin1String(arguments)).count());
}

// Pages as text: "S<system> <start>-<end>" with "<" on a system's first page
// and ">" on its last, "C<first central>x<rows>", "Sensor"; "@p" where the
// sensor icon sits.
QString pagesOf(const MapQ7net& map) {
  QStringList texts;
  for (const MapShowOnePage& p : mapPages(map)) {
    QString text = QStringLiteral("Sensor");
    if (p.systemKind == kOrdinarySystem) {
      text = QStringLiteral("S%1 %2-%3%4%5").arg(p.systemNumber).arg(p.startNumber).arg(p.endNumber)
                 .arg(QLatin1String(p.systemStart ? "<" : ""), QLatin1String(p.systemEnd ? ">" : ""));
    } else if (p.systemKind == kCentralSystem) {
      text = QStringLiteral("C%1x%2").arg(p.systemNumber1).arg(p.totalSystems);
    }
    if (p.sensorIconShow) text += QStringLiteral("@%1").arg(p.sensorIconPosition);
    texts << text;
  }
  return texts.join(QStringLiteral(", "));
}

void placeIn(MapShowManager& manager, int32_t kind, int32_t system, int32_t systemPage) {
  manager.systemKindNow = kind;
  manager.systemNumberNow = system;
  manager.systemPageNumberNow = systemPage;
  manager.systemCenNow = 2;
  manager.airconNumberNow = 5;
}

}  // namespace

class MapModelTest : public QObject {
  Q_OBJECT

 private slots:
  void scansBuildSystemsUnitsAndLinks() {
    const struct {
      const char* fault;
      std::function<void(std::vector<BusUnit>&)> change;  // to the sample bus before a second scan
      const char* map;
      int32_t firstSystemTrigger;  // the default trigger system, marked again only by a rebuild
    } cases[] = {
        {"the second unit of a new system takes its own link number", nullptr,
         "S1 1@0:1 2@0:2 | 1@16:4 2@17:5; S2 1@5:3 | ; C1 1@3:6", 1},
        {"new ROM numbers rebuild from the answering addresses, the central link kept",
         [](auto& bus) {
           bus[1].online = 0;
           bus.push_back({kOutdoorUnit, 8, 3, 1, 1, 300});
           bus.push_back({kOutdoorUnit, 9, 3, 1, 1, 400});
         },
         "S1 1@0:1 2@0:2 | 1@16:5 2@17:7; S2 1@8:3 | ; S3 1@9:4 | ; C1 1@3:6", 1},
        {"a changed count remakes its system alone; a new indoor unit is numbered by address",
         [](auto& bus) {
           bus[1].count = 2;
           bus.push_back({kIndoorUnit, 10, 3, 1, 1, 100});
         },
         "S1 1@0:1 2@0:2 | 2@16:4 3@17:5 1@10:8; S2 1@5:3 2@5:7 | ; C1 1@3:6", 0},
    };
    for (const auto& c : cases) {
      ScannedBus bus(sampleBus());
      bus.scan();
      if (c.change) {
        bus.map.systems.item(1)->recodeTrigger = 0;  // a rebuild marks the first system again
        c.change(bus.units);
        bus.scan();
      }
      QVERIFY2(mapText(bus.map) == QLatin1String(c.map), qPrintable(QStringLiteral("%1: %2").arg(c.fault, mapText(bus.map))));
      QVERIFY(bus.triggerMarked);
      QCOMPARE(bus.map.systems.item(1)->recodeTrigger, c.firstSystemTrigger);
    }
  }

  void unitsFoundAgainAreRefreshedAndSilentOnesKept() {
    ScannedBus bus(sampleBus());
    bus.scan();
    QCOMPARE(findLink(bus.map, 4)->kind, QStringLiteral("M1-16-1"));
    QCOMPARE(bus.map.systems.item(1)->airconsOut.item(2)->generalKind, QStringLiteral("M0-0-2"));
    findLink(bus.map, 5)->kind.clear();
    bus.units[0].state = 2;
    bus.units[3].online = 0;  // a17 stops answering: kept as it was
    bus.scan();
    const auto first = bus.map.systems.item(1);
    QCOMPARE(first->airconsOut.item(2)->state, 2);
    QCOMPARE(first->airconsIn.item(2)->onLine, 4);
    QCOMPARE(findLink(bus.map, 5)->kind, QString());
  }

  void outdoorCountsAreHeldToSixteenAndNamesAskedOnce() {
    ScannedBus bus({{kOutdoorUnit, 0, 3, 20, 1, 100}, {kOutdoorUnit, 9, 2, 20, 1, 100}, {kIndoorUnit, 16, 3, 3, 1, 100}});
    MapScanTables& tables = bus.tables;
    FakeTramsoll& fake = bus.library.fake;
    fillScanTables(tables, fake);
    QCOMPARE(namesAsked(fake, "(0, 0,"), 16);
    QCOMPARE(tables.outdoor.count[9], 16);  // off line too, though no name is asked there
    QCOMPARE(namesAsked(fake, "(0, 9,"), 0);
    QCOMPARE(namesAsked(fake, "(1, 16,"), 1);

    // Names once fetched are not asked again; a missing one is.
    fake.calls.clear();
    tables.outdoor.texts[0][4].clear();
    fillScanTables(tables, fake);
    QCOMPARE(fake.callsOf(QStringLiteral("getQ7AuAdrInfo")), QStringList{"getQ7AuAdrInfo(0, 0, 5, *, *)"});
    buildMapFromScan(bus.map, tables, bus.triggerMarked);
    QCOMPARE(bus.map.systems.item(1)->airconsOut.count(), 32);  // both addresses answer
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
    // On system 2's second page (page 3), system 1 grows to two pages.
    placeIn(manager, kOrdinarySystem, 2, 2);
    MapBuilder more;
    for (int n = 0; n < 20; ++n) map.systems.item(1)->airconsIn.add(more.unit(kIndoorUnit, 9 + n, 1));
    const auto kept = manager.pages.item(1);
    QVERIFY(!setDataToMapShowManagerObj(map, manager, firstDone).firstPaging);
    QCOMPARE((QList<int>{manager.totalPages, manager.pageNumberNow, manager.airconNumberNow}), (QList<int>{6, 4, 1}));
    QCOMPARE(manager.pages.item(1), kept);  // page objects are rewritten in place

    // Shrinking by two pages drops both at once.
    map.systems.item(1)->airconsIn.clear();
    map.systemsCen.remove(4);
    manager.pageNumberNow = 6;
    placeIn(manager, kCentralSystem, 3, 1);
    setDataToMapShowManagerObj(map, manager, firstDone);
    QCOMPARE((QList<int>{manager.totalPages, manager.pages.count(), manager.pageNumberNow, manager.systemCenNow}),
             (QList<int>{4, 4, 4, 1}));

    // A system that lost its second page shows its first, not a page beyond.
    placeIn(manager, kOrdinarySystem, 2, 2);
    map.systems.item(2)->airconsIn.clear();
    setDataToMapShowManagerObj(map, manager, firstDone);
    QCOMPARE((QList<int>{manager.totalPages, manager.pageNumberNow}), (QList<int>{3, 2}));
  }
};

QTEST_MAIN(MapModelTest)
#include "map_model_test.moc"
