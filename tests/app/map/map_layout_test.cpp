// The drawing of a map page worked out in twips: places, icons, texts and
// lines of each page kind, the page buttons, the selection that follows the
// page, and the recording marks of its rows.
#include "frame/texts/text_table.h"
#include "map/map_builder.h"
#include "map/map_layout.h"
#include "map/map_marks.h"
#include "map/map_paging.h"
#include "map/map_scan.h"

#include <QtTest>

namespace {

// The map paged, then page `page` drawn in recording work with that unit
// place chosen.
MapPageScene drawPage(const MapQ7net& map, int32_t page, int32_t airconNumberNow = 1, int32_t systemCenNow = 1) {
  MapShowManager manager;
  bool firstDone = false;
  setDataToMapShowManagerObj(map, manager, firstDone);
  manager.pageNumberNow = page;
  manager.airconNumberNow = airconNumberNow;
  manager.systemCenNow = systemCenNow;
  return layoutMapPage(map, manager, 0, false, QStringLiteral("System"));
}

char mark(const std::optional<bool>& visible) { return !visible ? '?' : *visible ? '|' : '.'; }

// Lines of a scene: bus trunk, unit trunk, the rows' branches, the line
// into place 0.
QString linesOf(const MapPageScene& scene) {
  QString text;
  for (const auto& line : scene.linVer1) text += QLatin1Char(mark(line.visible));
  text += QLatin1Char(' ');
  for (const auto& line : scene.linVer2) text += QLatin1Char(mark(line.visible));
  text += QLatin1Char(' ');
  for (const auto& row : scene.rows) text += QLatin1Char(mark(row.linSystem.visible));
  text += QLatin1Char(' ');
  return text + QLatin1Char(mark(scene.units[0].linHor.visible));
}

// A unit place as "<icon file or keep> <zubrel> <control address> <place>".
QString placeText(const MapSlotScene& place) {
  return QStringList{place.cmdAircon.picture.value_or(QStringLiteral("keep")), place.txtZubrelAddress.text.value_or("?"),
                     place.txtControlAddress.text.value_or("?"), place.txtPlace.text.value_or("?")}
      .join(QLatin1Char(' '));
}

// Which of the 24 icons show.
QString iconsShown(const MapPageScene& scene) {
  QString text;
  for (const auto& unit : scene.units) text += QLatin1Char(mark(unit.cmdAircon.visible));
  return text;
}

}  // namespace

class MapLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setEnglishTexts(); }

  void ninthIndoorUnitOfTwoOutdoorSitsInRowOneColumnTwo() {
    MapBuilder built;
    built.ordinary(2, 9).central(1);
    built.map.systems.item(1)->airconsIn.item(4)->linkNoNow = 99;  // no such record
    built.map.systems.item(1)->airconsIn.item(5)->airconNumber = 12;  // indoor 5 missing
    built.map.systems.item(1)->airconsOut.item(2)->onLine = 4;
    built.map.systems.item(1)->airconsIn.item(1)->state = 5;  // no colour of its own
    const MapPageScene scene = drawPage(built.map, 1);
    const MapSlotScene& tenth = scene.units[10];
    QCOMPARE(tenth.cmdAircon.place, (TwipsBox{3460, 1350, 650, 650}));
    QCOMPARE(tenth.linHor.place, (TwipsLine{3180, 1675, 3460, 1675}));
    QCOMPARE(placeText(tenth), QStringLiteral("icons/IU_green.ico 009 2-11 P11"));  // link 11 at address 27
    QCOMPARE(scene.units[0].linHor.place, (TwipsLine{1400, 375, 1610, 375}));
    QCOMPARE(placeText(scene.units[1]), QStringLiteral("icons/OU_magenta.ico 002 2-02 P2"));
    QCOMPARE(placeText(scene.units[2]), QStringLiteral("keep 001 2-03 P3"));
    QCOMPARE(scene.units[17].txtPlace.place, (TwipsBox{2400, 3630, 910, 270}));
    QCOMPARE(iconsShown(scene), QStringLiteral("|||||||||||............."));
    QCOMPARE(scene.rows[0].lblSystemName.text, QStringLiteral("System 1"));
    QVERIFY(*scene.rows[1].txtPlaceTital.visible && !*scene.rows[2].txtPlaceTital.visible);
    // A place whose link record or indoor unit is missing is cleared.
    QCOMPARE(placeText(scene.units[5]), QStringLiteral("icons/IU_green.ico 004  "));
    QCOMPARE(placeText(scene.units[6]), QStringLiteral("   "));
    QVERIFY(scene.drawn && scene.mapDataReady);
  }

  void centralPageNumbersSystemsAfterTheOrdinaryOnes() {
    MapBuilder built;
    built.ordinary(1, 0).ordinary(1, 0).ordinary(1, 0).ordinary(1, 0).central(2).tiedSensor(6);
    const MapPageScene scene = drawPage(built.map, 5, 1, 3);
    QCOMPARE(scene.rows[0].lblSystemName.text, QStringLiteral("System 5"));
    QCOMPARE(scene.rows[1].lblSystemName.text, QStringLiteral("System 6"));
    QCOMPARE(scene.rows[2].lblSystemName.visible, false);
    QCOMPARE(scene.units[8].cmdAircon.picture, QStringLiteral("icons/CU_gray.ico"));
    QCOMPARE(scene.units[9].cmdAircon.picture, sensorIconFile());
    QCOMPARE(scene.units[9].txtPlace.visible, false);
    QCOMPARE(scene.selection.systemCenNow, 1);  // row 3 is not on a page of two
    QCOMPARE(scene.selection.systemNumberNow, 1);
  }

  void moreThan24OutdoorUnitsGoOnOverThePages() {
    MapBuilder built;
    built.ordinary(26, 2).ordinary(1, 0);
    const MapPageScene first = drawPage(built.map, 1, 12);
    QCOMPARE(first.units[23].txtZubrelAddress.text, QStringLiteral("024"));
    QCOMPARE(first.selection.airconNumberNow, 12);
    const MapPageScene second = drawPage(built.map, 2, 20);
    QCOMPARE(placeText(second.units[1]), QStringLiteral("icons/OU_green.ico 026 3-10 P26"));
    QCOMPARE(placeText(second.units[2]), QStringLiteral("icons/IU_green.ico 001 3-11 P27"));
    QCOMPARE(iconsShown(second), QStringLiteral("||||...................."));
    QCOMPARE(second.selection.systemPageNumberNow, 2);
    QCOMPARE(second.selection.airconNumberNow, 1);  // the page holds 4 places
  }

  void linesAndIconsFollowThePagesPlaceOnTheBus() {
    MapQ7net sensorOnly;
    sensorOnly.flagForSensor = true;
    buildSensorOnlyMap(sensorOnly);
    const MapQ7net alone = mapOf({{2, 3}}), aloneNine = mapOf({{2, 7}}), two = mapOf({{2, 30}, {1, 0}});
    const MapQ7net central = mapOf({{1, 0}, {1, 0}, {1, 0}, {1, 0}}, 2, 6);
    const struct {
      const char* fault;
      const MapQ7net& map;
      int32_t page;
      const char* lines;  // bus trunk, unit trunk, branches, line into place 0; then the icons shown
    } cases[] = {
        {"a single system of 5 units has no trunk or branch", alone, 1, ".... .... ... . |||||..................."},
        {"9 units of a single system lead into place 0", aloneNine, 1, ".... .|.. ... | |||||||||..............."},
        {"first page of the first of two systems", two, 1, ".||| .||| |.. | ||||||||||||||||||||||||"},
        {"second page goes on from the page before", two, 2, "|||| |... ... | ||||||||................"},
        {"the last system's page ends the bus", two, 3, "|... .... |.. | |......................."},
        {"a central page of two at the end, a sensor by its second", central, 5, "||.. .... ||. | |.......||.............."},
        {"the sensor page hides the rest of the map area", sensorOnly, 1, ".... .... ... . |......................."},
    };
    for (const auto& c : cases) {
      const MapPageScene scene = drawPage(c.map, c.page);
      const QString lines = linesOf(scene) + QLatin1Char(' ') + iconsShown(scene);
      QVERIFY2(lines == QLatin1String(c.lines), qPrintable(QStringLiteral("%1: %2").arg(c.fault, lines)));
    }
    const MapPageScene sensorPage = drawPage(sensorOnly, 1);
    QCOMPARE(placeText(sensorPage.units[0]), QStringLiteral("icons/Sensor.ico ? ? ?"));
    QVERIFY(sensorPage.mapDataReady && sensorPage.rows[0].lblSystemName.text == QStringLiteral("System 1"));
  }

  void pageButtonsAndReadiness() {
    const MapQ7net map = mapOf({{30, 30}});
    for (const auto& [page, up, down] : {std::tuple{1, false, true}, {2, true, true}, {3, true, false}}) {
      const MapPageScene scene = drawPage(map, page);
      QVERIFY(scene.cmdUpEnabled == up && scene.cmdDownEnabled == down);
    }
    MapQ7net busy = mapOf({{1, 0}});
    busy.systems.item(1)->airconsOut.item(1)->onLine = 4;
    QVERIFY(!drawPage(busy, 1).mapDataReady);  // only a unit on line 3 is data to work with
    MapShowManager none;
    for (const auto& [workMode, before, ready] : {std::tuple{0, true, false}, {1, false, true}, {2, true, true}}) {
      const MapPageScene scene = layoutMapPage(map, none, workMode, before, QStringLiteral("System"));
      QVERIFY(!scene.drawn && !scene.cmdUpEnabled && !scene.cmdDownEnabled);
      QCOMPARE(scene.mapDataReady, ready);
    }
  }

  void recordingMarksOnlyWhereTheSystemStarts() {
    MapBuilder built;
    built.ordinary(2, 30).central(2);
    built.map.systems.item(1)->recode = 1;
    built.map.systemsCen.item(2)->recodeTrigger = 1;
    MapShowManager manager;
    bool firstDone = false;
    setDataToMapShowManagerObj(built.map, manager, firstDone);
    RecordingMarks marks;
    const auto marksOfPage = [&](int32_t page) {
      manager.pageNumberNow = page;
      setFlagLabelRecode(built.map, manager, marks);
      return recodeLabels(marks, true, true, false).recodeVisible;
    };
    QCOMPARE(marksOfPage(1), (std::array<bool, 3>{true, false, false}));
    QCOMPARE(marksOfPage(2), (std::array<bool, 3>{}));  // the system's second page
    marksOfPage(3);
    QCOMPARE(manager.systemKindNow, kCentralSystem);
    const RecordingLabels armed = recodeLabels(marks, false, true, false);
    QCOMPARE(armed.triggerVisible, (std::array<bool, 3>{false, true, false}));
    QCOMPARE(armed.triggerCaption[1], QStringLiteral("Trig. Inspect."));
    QCOMPARE(recodeLabels(marks, false, true, true).triggerCaption[1], QStringLiteral("Trig. Record."));
    QCOMPARE(recodeLabels(marks, false, false, false).triggerVisible, (std::array<bool, 3>{}));
  }
};

QTEST_MAIN(MapLayoutTest)
#include "map_layout_test.moc"
