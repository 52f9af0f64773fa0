// The drawing of a map page worked out in twips: places, icons, texts and
// lines of each page kind, the page buttons, the selection that follows the
// page, and the recording marks of its rows.
#include "map/map_builder.h"
#include "map/map_layout.h"
#include "map/map_marks.h"
#include "map/map_paging.h"
#include "frame/text_table.h"

#include <QtTest>

namespace {

struct Drawn {
  MapShowManager manager;
  MapPageScene scene;
};

// The map paged, then page `page` drawn in recording work with that unit
// place chosen.
Drawn drawPage(const MapQ7net& map, int32_t page, int32_t airconNumberNow = 1) {
  Drawn drawn;
  bool firstDone = false;
  setDataToMapShowManagerObj(map, drawn.manager, firstDone);
  drawn.manager.pageNumberNow = page;
  drawn.manager.airconNumberNow = airconNumberNow;
  drawn.scene = layoutMapPage(map, drawn.manager, 0, false, QStringLiteral("System"));
  return drawn;
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
    const MapPageScene scene = drawPage(built.map, 1).scene;
    const MapSlotScene& tenth = scene.units[10];
    QCOMPARE(tenth.cmdAircon.place, (TwipsBox{3460, 1350, 650, 650}));
    QCOMPARE(tenth.linHor.place, (TwipsLine{3180, 1675, 3460, 1675}));
    QCOMPARE(tenth.cmdAircon.picture, QStringLiteral("icons/IU_green.ico"));
    QCOMPARE(tenth.txtZubrelAddress.text, QStringLiteral("009"));
    QCOMPARE(tenth.txtControlAddress.text, QStringLiteral("2-11"));  // link 11, address 27
    QCOMPARE(tenth.txtPlace.text, QStringLiteral("P11"));
    QCOMPARE(scene.units[0].linHor.place, (TwipsLine{1400, 375, 1610, 375}));
    QCOMPARE(scene.units[0].cmdAircon.picture, QStringLiteral("icons/OU_green.ico"));
    QCOMPARE(scene.units[17].txtPlace.place, (TwipsBox{2400, 3630, 910, 270}));
    QCOMPARE(iconsShown(scene), QStringLiteral("|||||||||||.............").left(24));
    QCOMPARE(scene.rows[0].lblSystemName.text, QStringLiteral("System 1"));
    QVERIFY(*scene.rows[1].txtPlaceTital.visible && !*scene.rows[2].txtPlaceTital.visible);
    // A place whose link record or indoor unit is missing is cleared.
    QCOMPARE(scene.units[5].txtPlace.text, QString());
    QCOMPARE(scene.units[5].txtZubrelAddress.text, QStringLiteral("004"));
    QCOMPARE(scene.units[6].cmdAircon.picture, QString());
    QCOMPARE(scene.units[6].txtControlAddress.text, QString());
    QVERIFY(scene.drawn && scene.mapDataReady);
  }

  void centralPageNumbersSystemsAfterTheOrdinaryOnes() {
    MapBuilder built;
    built.ordinary(1, 0).ordinary(1, 0).ordinary(1, 0).ordinary(1, 0).central(2).tiedSensor(6);
    Drawn drawn;
    bool firstDone = false;
    setDataToMapShowManagerObj(built.map, drawn.manager, firstDone);
    drawn.manager.pageNumberNow = 5;
    drawn.manager.systemCenNow = 3;
    const MapPageScene scene = layoutMapPage(built.map, drawn.manager, 0, false, QStringLiteral("System"));
    QCOMPARE(scene.rows[0].lblSystemName.text, QStringLiteral("System 5"));
    QCOMPARE(scene.rows[1].lblSystemName.text, QStringLiteral("System 6"));
    QCOMPARE(scene.rows[2].lblSystemName.visible, false);
    QCOMPARE(scene.units[8].cmdAircon.picture, QStringLiteral("icons/CU_gray.ico"));
    QCOMPARE(scene.units[9].cmdAircon.picture, sensorIconFile());
    QCOMPARE(iconsShown(scene), QStringLiteral("|.......||..............").left(24));
    QCOMPARE(scene.units[9].txtPlace.visible, false);
    QCOMPARE(scene.selection.systemCenNow, 1);  // row 3 is not on a page of two
    QCOMPARE(scene.selection.systemNumberNow, 1);
  }

  void moreThan24OutdoorUnitsGoOnOverThePages() {
    MapBuilder built;
    built.ordinary(26, 2).ordinary(1, 0);
    const MapPageScene first = drawPage(built.map, 1, 12).scene;
    QCOMPARE(first.units[23].txtZubrelAddress.text, QStringLiteral("024"));
    QCOMPARE(first.selection.airconNumberNow, 12);
    const MapPageScene second = drawPage(built.map, 2, 20).scene;
    QCOMPARE(second.units[0].txtZubrelAddress.text, QStringLiteral("025"));
    QCOMPARE(second.units[1].cmdAircon.picture, QStringLiteral("icons/OU_green.ico"));
    QCOMPARE(second.units[2].cmdAircon.picture, QStringLiteral("icons/IU_green.ico"));
    QCOMPARE(second.units[3].txtZubrelAddress.text, QStringLiteral("002"));
    QCOMPARE(iconsShown(second), QStringLiteral("||||....................").left(24));
    QCOMPARE(second.selection.systemPageNumberNow, 2);
    QCOMPARE(second.selection.airconNumberNow, 1);  // the page holds 4 places
  }

  void linesFollowThePagesPlaceOnTheBus() {
    MapBuilder alone;
    alone.ordinary(2, 3);
    MapBuilder aloneNine;
    aloneNine.ordinary(2, 7);
    MapBuilder two;
    two.ordinary(2, 30).ordinary(1, 0);
    MapBuilder central;
    central.ordinary(1, 0).ordinary(1, 0).ordinary(1, 0).ordinary(1, 0).central(2);
    const struct {
      const char* fault;
      const MapQ7net& map;
      int32_t page;
      const char* lines;
    } cases[] = {
        {"a single system of 5 units has no trunk or branch", alone.map, 1, ".... .... ... ."},
        {"9 units of a single system lead into place 0", aloneNine.map, 1, ".... .|.. ... |"},
        {"first page of the first of two systems", two.map, 1, ".||| .||| |.. |"},
        {"second page goes on from the page before", two.map, 2, "|||| |... ... |"},
        {"the last system's page ends the bus", two.map, 3, "|... .... |.. |"},
        {"a central page of two at the end", central.map, 5, "||.. .... ||. |"},
    };
    for (const auto& c : cases) {
      const QString lines = linesOf(drawPage(c.map, c.page).scene);
      QVERIFY2(lines == QLatin1String(c.lines), qPrintable(QStringLiteral("%1: %2").arg(c.fault, lines)));
    }
  }

  void iconsFollowTheAnswerStateAndStatus() {
    const struct {
      int32_t type, onLine, state;
      const char* file;  // nullptr: the picture is kept
      bool ready;
    } cases[] = {
        {kOutdoorUnit, 2, 1, "icons/OU_white.ico", false}, {kIndoorUnit, 3, 1, "icons/IU_green.ico", true},
        {kCentralUnit, 3, 0, "icons/CU_gray.ico", true},   {kOutdoorUnit, 3, 2, "icons/OU_red.ico", true},
        {kIndoorUnit, 3, 5, nullptr, true},                {kOutdoorUnit, 4, 1, "icons/OU_magenta.ico", false},
    };
    for (const auto& c : cases) {
      const auto file = unitIconFile(c.type, c.onLine, c.state);
      QCOMPARE(file.has_value(), c.file != nullptr);
      if (file) QCOMPARE(*file, QLatin1String(c.file));
      MapBuilder built;
      built.ordinary(1, 0);
      built.map.systems.item(1)->airconsOut.item(1)->onLine = c.onLine;
      built.map.systems.item(1)->airconsOut.item(1)->state = c.state;
      QCOMPARE(drawPage(built.map, 1).scene.mapDataReady, c.ready);
    }
  }

  void pageButtonsAndReadinessBeforeAnyPage() {
    MapBuilder built;
    built.ordinary(30, 30);
    const struct {
      int32_t page;
      bool up, down;
    } buttons[] = {{1, false, true}, {2, true, true}, {3, true, false}};
    for (const auto& b : buttons) {
      const MapPageScene scene = drawPage(built.map, b.page).scene;
      QCOMPARE(scene.cmdUpEnabled, b.up);
      QCOMPARE(scene.cmdDownEnabled, b.down);
    }
    MapShowManager none;
    for (const auto& [workMode, before, ready] : {std::tuple{0, true, false}, {1, false, true}, {2, true, true}}) {
      const MapPageScene scene = layoutMapPage(built.map, none, workMode, before, QStringLiteral("System"));
      QVERIFY(!scene.drawn && !scene.cmdUpEnabled && !scene.cmdDownEnabled);
      QCOMPARE(scene.mapDataReady, ready);
    }
  }

  void sensorPageHidesTheRestOfTheMapArea() {
    MapQ7net map;
    map.flagForSensor = true;
    map.systemsSen.add(std::make_shared<MapSystem>(), numberKey(1));
    map.systemsSen.item(1)->systemNumber = 1;
    const MapPageScene scene = drawPage(map, 1).scene;
    QCOMPARE(iconsShown(scene), QStringLiteral("|.......................").left(24));
    QCOMPARE(scene.units[0].cmdAircon.picture, sensorIconFile());
    QCOMPARE(scene.units[0].txtPlace.visible, false);
    QCOMPARE(linesOf(scene), QStringLiteral(".... .... ... ."));
    QCOMPARE(scene.rows[0].lblSystemName.text, QStringLiteral("System 1"));
    QVERIFY(scene.mapDataReady);
  }

  void recordingMarksOnlyWhereTheSystemStarts() {
    MapBuilder built;
    built.ordinary(2, 30).central(2);
    built.map.systems.item(1)->recode = 1;
    built.map.systemsCen.item(2)->recodeTrigger = 1;
    Drawn drawn = drawPage(built.map, 1);
    RecordingMarks marks;
    setFlagLabelRecode(built.map, drawn.manager, marks);
    QCOMPARE(recodeLabels(marks, true, true, false).recodeVisible, (std::array<bool, 3>{true, false, false}));
    drawn.manager.pageNumberNow = 2;
    setFlagLabelRecode(built.map, drawn.manager, marks);
    QCOMPARE(recodeLabels(marks, true, true, false).recodeVisible, (std::array<bool, 3>{false, false, false}));
    drawn.manager.pageNumberNow = 3;
    setFlagLabelRecode(built.map, drawn.manager, marks);
    QCOMPARE(drawn.manager.systemKindNow, kCentralSystem);
    const RecordingLabels armed = recodeLabels(marks, false, true, false);
    QCOMPARE(armed.triggerVisible, (std::array<bool, 3>{false, true, false}));
    QCOMPARE(armed.triggerCaption[1], QStringLiteral("Trig. Inspect."));
    QCOMPARE(recodeLabels(marks, false, true, true).triggerCaption[1], QStringLiteral("Trig. Record."));
    QCOMPARE(recodeLabels(marks, false, false, false).triggerVisible, (std::array<bool, 3>{}));
  }
};

QTEST_MAIN(MapLayoutTest)
#include "map_layout_test.moc"
