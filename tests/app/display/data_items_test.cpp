// A display window's model without the window: the default items of the
// unit chosen, the unit and item a search starts from, the caption and the
// full scale shown for values in degrees F and PSI.
#include "display/data_items.h"
#include "display/data_show_texts.h"
#include "frame/texts/text_table.h"
#include "records/data_show_replay.h"
#include "types/unit_kinds.h"

#include <QtTest>

namespace {

// A system whose units each hold `perUnit` analog items, every one a
// default graph item.
GraphSystem systemOf(int32_t kind, int32_t out, int32_t in, int32_t cen, int32_t sen, int32_t perUnit = 2) {
  GraphSystem graph;
  graph.systemKind = kind;
  addGraphAircons(graph.airconsOut, kOutdoorUnit, out);
  addGraphAircons(graph.airconsIn, kIndoorUnit, in);
  addGraphAircons(graph.airconsCen, kCentralUnit, cen);
  addGraphAircons(graph.airconsSen, kSensorUnit, sen);
  graph.sensorDataShow = sen > 0 && kind != kSensorSystem;
  for (const auto* units : {&graph.airconsOut, &graph.airconsIn, &graph.airconsCen, &graph.airconsSen}) {
    for (const auto& unit : *units) {
      for (int32_t n = 1; n <= perUnit; ++n) {
        auto item = std::make_shared<GraphDataItem>();
        item->listNo = n;
        item->dataItemNo = n;
        item->graphShowDefault = 1;
        item->graphShow = 1;
        unit->dataItems.add(item, QString::number(n));
      }
    }
  }
  return graph;
}

QString shownRows(const GraphSystem& graph) {
  QString shown;
  for (const ListedItem& listed : listedItems(graph)) shown += QString::number(listed.item->graphShow);
  return shown;
}

}  // namespace

class DataItemsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setEnglishTexts(); }

  void defaultItemsOfTheUnitChosen() {
    struct Case {
      const char* name;
      GraphSystem graph;
      int32_t chosen;
      int32_t topRow;
      const char* shown;  // graphShow of the listed rows
    };
    Case cases[] = {
        {"outdoor unit 2", systemOf(kOrdinarySystem, 2, 1, 0, 1), 2, 3, "00110000"},
        {"indoor unit 1 after the outdoor units", systemOf(kOrdinarySystem, 2, 1, 0, 1), 3, 5, "00001100"},
        {"the sensor unit shown beside them", systemOf(kOrdinarySystem, 2, 1, 0, 1), 4, 7, "00000011"},
        {"a sensor unit not shown changes nothing", systemOf(kOrdinarySystem, 1, 1, 0, 0), 3, 1, "1111"},
        {"no such unit changes nothing", systemOf(kOrdinarySystem, 1, 1, 0, 0), 0, 1, "1111"},
        {"every central unit", systemOf(kCentralSystem, 0, 0, 2, 1), 1, 1, "111100"},
        {"the sensor unit after the central units", systemOf(kCentralSystem, 0, 0, 2, 1), 2, 5, "000011"},
        {"sensor only", systemOf(kSensorSystem, 0, 0, 0, 1), 5, 1, "11"},
    };
    for (Case& c : cases) {
      c.graph.airconNumberNow = c.chosen;
      QVERIFY2(applyDefaultGraph(c.graph) == c.topRow, c.name);
      QVERIFY2(shownRows(c.graph) == QLatin1String(c.shown), qPrintable(c.name + QStringLiteral(": ") + shownRows(c.graph)));
    }
    // A unit not listed (the sensor unit while it is not shown) loses its
    // graph items too.
    GraphSystem graph = systemOf(kOrdinarySystem, 1, 0, 0, 1);
    graph.sensorDataShow = false;
    graph.airconNumberNow = 1;
    applyDefaultGraph(graph);
    QCOMPARE(graph.airconsSen.item(1)->dataItems.item(1)->graphShow, 0);
  }

  void searchStartsFromTheRowsUnitAndItem() {
    GraphSystem graph = systemOf(kOrdinarySystem, 1, 2, 0, 1, 2);
    graph.airconsIn.item(2)->dataItems.item(2)->dataItemNo = 7;
    graph.airconsOut.item(1)->dataItems.item(2)->dataType = 1;
    graph.airconsIn.item(1)->dataItems.item(1)->dataType = 2;
    graph.airconsSen.item(1)->dataItems.item(1)->dataType = 2;
    struct Case {
      int32_t row;
      SearchKind kind;
      int32_t type, number, item;
    };
    const Case cases[] = {
        {1, SearchKind::Analog, kOutdoorUnit, 1, 1},  {2, SearchKind::TwoState, kOutdoorUnit, 1, 2},
        {3, SearchKind::ErrorCode, kIndoorUnit, 1, 1}, {6, SearchKind::Analog, kIndoorUnit, 2, 7},
        {7, SearchKind::None, kSensorUnit, 1, 1},     {8, SearchKind::Analog, kSensorUnit, 1, 2},
        {9, SearchKind::None, 0, 0, 0},               {0, SearchKind::None, 0, 0, 0},
    };
    for (const Case& c : cases) {
      const SearchTarget target = searchTargetOfRow(graph, c.row);
      QVERIFY2(target.kind == c.kind && target.airconType == c.type && target.airconNumber == c.number &&
                   target.dataitemNumber == c.item,
               qPrintable(QString::number(c.row)));
    }
    graph.sensorDataShow = false;  // the sensor rows are not listed
    QCOMPARE(searchTargetOfRow(graph, 8).kind, SearchKind::None);
    graph.systemKind = 7;
    QCOMPARE(searchTargetOfRow(graph, 1).kind, SearchKind::None);
  }

  void captionParts() {
    struct Case {
      const char* customer;
      const char* map;
      int32_t ifMode, kind, number;
      bool live;
      const char* model;
      const char* caption;
    };
    const Case cases[] = {
        {"A", "B", 2, kOrdinarySystem, 3, true, "", "Operation Data Display(A,B,Q7-NET,System 3)"},
        {"", "Roof", 3, kCentralSystem, 2, true, "XR-5",
         "Operation Data Display(Roof,Q7-NET and sensor input,System 6,XR-5)"},
        {"", "Roof", 3, kCentralSystem, 2, false, "XR-5",
         "Operation Data Display(Roof,Q7-NET and sensor input,System 2,XR-5)"},
        {"", "", 1, kSensorSystem, 1, true, "", "Operation Data Display(Sensor input only,System 1)"},
        {"C", "", 4, kOrdinarySystem, 1, false, "", "Operation Data Display(C,PCB connection,System 1)"},
        {"", "", 8, kOrdinarySystem, 1, false, "", "Operation Data Display(PCB connection,System 1)"},
        {"", "M", 5, kOrdinarySystem, 1, false, "", "Operation Data Display(M,PCB connection and sensor input,System 1)"},
        {"", "M", 9, kOrdinarySystem, 1, false, "", "Operation Data Display(M,PCB connection and sensor input,System 1)"},
        {"", "M", 7, 50, 4, false, "K", "Operation Data Display(M,System 0,K)"},
    };
    for (const Case& c : cases) {
      GraphSystem graph;
      graph.customName = QString::fromLatin1(c.customer);
      graph.mapName = QString::fromLatin1(c.map);
      graph.ifMode = c.ifMode;
      graph.systemKind = c.kind;
      graph.systemNumber = c.number;
      graph.kind = QString::fromLatin1(c.model);
      QCOMPARE(dataShowCaption(graph, c.live, 4), QString::fromLatin1(c.caption));
    }
  }

  void fullScaleOfValuesInFahrenheitAndPsi() {
    struct Case {
      const char* value;
      const char* scale;
      const char* shown;  // nullptr: left as it is
    };
    const Case cases[] = {
        {"77 F", "100", "200"},  {"77 f", "150", "300"}, {"300 PSI", "50", "500"}, {"3 psi", " 50 ", "500"},
        {"77 F", "200", nullptr}, {"300 PSI", "100", nullptr}, {"25 C", "100", nullptr}, {"77F", "100", nullptr},
        {"77 F", "", nullptr},   {"77 F", "abc", nullptr}, {"F", "100", nullptr},   {"", "50", nullptr},
    };
    for (const Case& c : cases) {
      const auto shown = adjustedFullScale(QString::fromLatin1(c.value), QString::fromLatin1(c.scale));
      QVERIFY2(shown.has_value() == (c.shown != nullptr), c.value);
      if (c.shown) QCOMPARE(*shown, QString::fromLatin1(c.shown));
    }
  }
};

QTEST_MAIN(DataItemsTest)
#include "data_items_test.moc"
