// The model of a live display window from the map's selection: the system
// under it, the chosen unit counted over the system's pages, the sensor
// inputs shown beside the system they belong to, and the model text.
#include "map/map_live_display.h"
#include "map_builder.h"

#include <QtTest>

namespace {

struct Selection {
  int32_t kind, systemNumber, systemPage, slotOnPage, centralRow, slot;
};

MapShowManager pagesAt(const Selection& at) {
  MapShowManager pages;
  pages.systemKindNow = at.kind;
  pages.systemNumberNow = at.systemNumber;
  pages.systemPageNumberNow = at.systemPage;
  pages.airconNumberNow = at.slotOnPage;
  pages.systemCenNow = at.centralRow;
  return pages;
}

// The map's sensor system gets its unit (channel 1).
void withSensorUnit(MapQ7net& map) {
  auto unit = std::make_shared<MapAircon>();
  unit->airconNumber = 1;
  unit->airconType = kSensorUnit;
  map.systemsSen.item(1)->airconsSen.add(unit, QStringLiteral("1"));
}

}  // namespace

class MapLiveDisplayTest : public QObject {
  Q_OBJECT

 private slots:
  void windowModelFromTheSelection() {
    struct Case {
      const char* name;
      MapQ7net map;
      int32_t ifMode;
      Selection at;
      int32_t system, chosen, shownIfMode;
      bool sensor;
      QList<int> units;  // outdoor, indoor, central, sensor
      const char* model;
    };
    MapQ7net tiedToSystem1 = mapOf({{2, 3}, {1, 0}}, 0, 1);
    withSensorUnit(tiedToSystem1);
    MapQ7net tiedToCentral2 = mapOf({{1, 0}, {1, 0}, {1, 0}}, 6, 5);
    withSensorUnit(tiedToCentral2);
    MapQ7net sensorOnly = mapOf({}, 0, 1);
    withSensorUnit(sensorOnly);
    sensorOnly.flagForSensor = true;
    const Case cases[] = {
        {"second page, fifth icon", mapOf({{4, 40}}), 2, {0, 1, 2, 5, 0, 4}, 1, 29, 2, false, {4, 40, 0, 0}, "K1"},
        {"no tied sensor: no sensor bit", mapOf({{1, 1}, {1, 0}}), 5, {0, 2, 1, 1, 0, 0}, 2, 1, 4, false,
         {1, 0, 0, 0}, "K3"},
        {"tied sensor shown beside its system", tiedToSystem1, 3, {0, 1, 1, 2, 0, 1}, 1, 2, 3, true, {2, 3, 0, 1},
         "K1"},
        {"sensor tied to another system", tiedToSystem1, 3, {0, 2, 1, 1, 0, 0}, 2, 1, 2, false, {1, 0, 0, 0}, "K6"},
        {"third row of a central page from system 4", mapOf({{1, 0}}, 6), 2, {100, 4, 1, 1, 3, 16}, 6, 1, 2, false,
         {0, 0, 1, 0}, "K7"},
        {"central with its sensor, sensor icon chosen", tiedToCentral2, 9, {100, 1, 1, 1, 2, 9}, 2, 2, 9, true,
         {0, 0, 1, 1}, "K5"},
        {"central with its sensor, row start chosen", tiedToCentral2, 9, {100, 1, 1, 1, 2, 8}, 2, 1, 9, true,
         {0, 0, 1, 1}, "K5"},
        {"sensor inputs alone", sensorOnly, 1, {200, 1, 1, 3, 0, 2}, 1, 1, 1, false, {0, 0, 0, 1}, ""},
    };
    for (Case c : cases) {
      c.map.ifMode = c.ifMode;
      c.map.mapName = QStringLiteral("Roof");
      for (const auto& link : c.map.linkAircons) link->kind = QStringLiteral("K%1").arg(link->linkNo);
      GraphSystem graph;
      graph.kind = QStringLiteral("stale");
      setDataToGraphSystemObj(graph, c.map, pagesAt(c.at), c.at.slot);
      const QByteArray name(c.name);
      QVERIFY2(graph.systemNumber == c.system && graph.airconNumberNow == c.chosen, name);
      QVERIFY2(graph.ifMode == c.shownIfMode && graph.sensorDataShow == c.sensor, name);
      const QList<int> units{graph.airconsOut.count(), graph.airconsIn.count(), graph.airconsCen.count(),
                             graph.airconsSen.count()};
      QVERIFY2(units == c.units, name);
      QVERIFY2(graph.kind == QLatin1String(c.model), qPrintable(name + ": " + graph.kind));
      QVERIFY2(graph.realtime == 1 && graph.graphTopRow == 1 && graph.mapName == QLatin1String("Roof"), name);
    }
  }

  void unitsKeepTheirNumbersAndKinds() {
    GraphSystem graph;
    setDataToGraphSystemObj(graph, mapOf({{2, 3}}), pagesAt({0, 1, 1, 1, 0, 0}), 0);
    QCOMPARE(graph.airconsIn.item(QStringLiteral("3"))->airconNumber, 3);
    QCOMPARE(graph.airconsIn.item(QStringLiteral("3"))->airconType, kIndoorUnit);
    QCOMPARE(graph.airconsOut.item(QStringLiteral("2"))->airconType, kOutdoorUnit);
  }
};

QTEST_MAIN(MapLiveDisplayTest)
#include "map_live_display_test.moc"
