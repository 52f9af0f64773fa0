// Live display windows of the map over the fake library and a stand-in
// window: their numbering, the control-data request of every opening, the
// openings that give the window up, and the model each window gets from the
// map's selection.
#include "map/map_builder.h"
#include "map/map_live_display.h"
#include "map/open_map.h"
#include "support/data_show_double.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QtTest>

namespace {

QList<int32_t> numbers(frmMap& map) {
  QList<int32_t> held;
  for (const auto& window : inside(map).dataShowForms.windows()) held << window->formNumber;
  return held;
}

void closeWindow(frmMap& map, int32_t number) {
  const auto window = inside(map).dataShowForms.windows().item(QString::number(number));
  window->prepareForEndFormDataShow();
  window->tmrForEnd_Timer();
}

// The units of a model: "O1 O2 I1 C1 S1"; a unit whose kind is not that of
// its collection is marked "?".
QString unitsOf(const GraphSystem& graph) {
  QStringList units;
  const struct {
    const char* prefix;
    const Collection<GraphAircon>* units;
    int32_t type;
  } kinds[] = {{"O", &graph.airconsOut, kOutdoorUnit},
               {"I", &graph.airconsIn, kIndoorUnit},
               {"C", &graph.airconsCen, kCentralUnit},
               {"S", &graph.airconsSen, kSensorUnit}};
  for (const auto& kind : kinds) {
    for (int n = 1; n <= kind.units->count(); ++n) {
      const bool typed = kind.units->item(n)->airconType == kind.type;
      units << QLatin1String(kind.prefix) + kind.units->keyAt(n) + (typed ? QString() : QStringLiteral("?"));
    }
  }
  return units.join(QLatin1Char(' '));
}

// A sensor system numbered `number`, with its one input.
void addSensorSystem(MapQ7net& map, int32_t number) {
  auto input = std::make_shared<MapAircon>();
  input->airconNumber = 1;
  input->airconType = kSensorUnit;
  auto system = std::make_shared<MapSystem>();
  system->systemNumber = number;
  system->airconsSen.add(input, numberKey(1));
  map.systemsSen.add(system, numberKey(map.systemsSen.count() + 1));
}

}  // namespace

class LiveDisplayTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void init() {
    ProgramTest::init();
    program().controlChangeMode = 1;
    program().centralOperation = true;
  }

  void windowsAreNumberedAndEachOpeningAsksForControlData() {
    DataShowDoubles doubles;
    auto map = std::make_shared<MapQ7net>(mapOf({{1, 1}}));
    map->ifMode = 2;
    frmMap& window = openMap(map);
    window.setDataToMapShowManagerObj();
    QTest::keyClick(&window, Qt::Key_F4);
    fake().calls.clear();
    for (int i = 0; i < 3; ++i) QTest::keyClick(&window, Qt::Key_F6);
    QCOMPARE(numbers(window), (QList<int32_t>{1, 2, 3}));
    QCOMPARE(fake().callsOf(QStringLiteral("setAirconSendData")).size(), 3);
    // The units went to the library before each window read its items.
    QCOMPARE(fake().callsOf(QStringLiteral("setNetMapInfo")).size(), 6);
    const GraphSystem& model = inside(window).dataShowForms.windows().item(1)->graphSystem();
    QCOMPARE(std::tuple(model.realtime, model.systemNumber, unitsOf(model)), std::tuple(1, 1, QStringLiteral("O1 I1")));
    closeWindow(window, 2);
    QTest::keyClick(&window, Qt::Key_F6);
    QCOMPARE(numbers(window), (QList<int32_t>{1, 3, 4}));

    // Openings that give the window up: no window held beyond the ones
    // open, no control-data request.
    const struct {
      const char* fault;
      int32_t items;
      const char* closeAt;
      int held;
    } roads[] = {
        {"a system without items is let go silently", 0, "", 3},
        {"a window closed while it is drawn stops the opening", 3, "showDataItem", 4},
    };
    for (const auto& road : roads) {
      DataShowDouble::items = road.items;
      DataShowDouble::closeAt = QLatin1String(road.closeAt);
      DataShowDouble::steps.clear();
      fake().calls.clear();
      MessageCollector messages;
      window.openRealtimeDataShow();
      QVERIFY2(inside(window).dataShowForms.count() == road.held, road.fault);
      QVERIFY2(fake().callsOf(QStringLiteral("setAirconSendData")).isEmpty(), road.fault);
      QVERIFY2(!DataShowDouble::steps.contains(QStringLiteral("showGraph")), road.fault);
      QVERIFY2(messages.keys.isEmpty(), road.fault);
      DataShowDouble::reset();
    }
  }

  void modelFollowsTheMapsSelection() {
    struct Case {
      const char* fault;
      int32_t ifMode;
      int32_t kind, number, systemPage, unitSlot, centralRow;  // the page state
      int32_t selectedSlot;
      int32_t sensorSystem;  // the number of the map's sensor system, 0 for none
      // What the window gets.
      int32_t systemNumber, airconNumberNow, windowIfMode;
      bool sensorShown;
      const char* units;
      const char* model;
    };
    const Case cases[] = {
        {"the 5th icon of a system's 2nd page is its 29th unit", 2, 0, 2, 2, 5, 0, 4, 0, 2, 29, 2, false, "O1 I1 I2",
         "M2"},
        {"the third row of a central page starting at 4 is system 6", 2, 100, 4, 1, 1, 3, 16, 0, 6, 1, 2, false, "C1",
         "M10"},
        {"without a tied sensor a window runs without the sensor bit", 5, 0, 1, 1, 1, 0, 0, 0, 1, 1, 4, false, "O1",
         "M1"},
        {"a tied sensor is shown beside its system", 3, 0, 2, 1, 1, 0, 0, 2, 2, 1, 3, true, "O1 I1 I2 S1", "M2"},
        {"a sensor tied to another system is not shown", 3, 0, 1, 1, 1, 0, 0, 2, 1, 1, 2, false, "O1", "M1"},
        {"a central system's sensor follows the ordinary systems; its icon chooses it", 3, 100, 1, 1, 1, 1, 1, 3, 1,
         2, 3, true, "C1 S1", "M5"},
        {"a central row's first icon chooses its central unit", 3, 100, 1, 1, 1, 2, 8, 4, 2, 1, 3, true, "C1 S1", "M6"},
        {"a sensor system's window has its inputs alone and no model", 3, 200, 3, 1, 1, 0, 0, 3, 3, 1, 3, false, "S1",
         ""},
    };
    for (const Case& c : cases) {
      // Systems 1 and 2 of one outdoor unit and of one and two indoor
      // units, and six central systems; link n has model "M<n>".
      MapQ7net map = mapOf({{1, 0}, {1, 2}}, 6);
      for (const auto& link : map.linkAircons) link->kind = QStringLiteral("M%1").arg(link->linkNo);
      map.ifMode = c.ifMode;
      map.customName = QStringLiteral("Acme");
      if (c.sensorSystem) addSensorSystem(map, c.sensorSystem);
      MapShowManager manager;
      std::tie(manager.systemKindNow, manager.systemNumberNow, manager.systemPageNumberNow, manager.airconNumberNow,
               manager.systemCenNow) = std::tuple(c.kind, c.number, c.systemPage, c.unitSlot, c.centralRow);
      GraphSystem graph;
      setDataToGraphSystemObj(map, manager, c.selectedSlot, graph);
      QVERIFY2(std::tuple(graph.systemNumber, graph.airconNumberNow, graph.ifMode, graph.sensorDataShow) ==
                   std::tuple(c.systemNumber, c.airconNumberNow, c.windowIfMode, c.sensorShown),
               c.fault);
      QVERIFY2(unitsOf(graph) == QLatin1String(c.units), c.fault);
      QVERIFY2(graph.kind == QLatin1String(c.model), c.fault);
      QVERIFY2(graph.customName == QStringLiteral("Acme") && graph.realtime == 1 && graph.graphTopRow == 1, c.fault);
    }
  }
};

QTEST_MAIN(LiveDisplayTest)
#include "live_display_test.moc"
