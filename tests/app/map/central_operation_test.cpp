// The centralized-operation window over the fake library: where each
// address stands, how the selection follows the units and the pages, the
// commands the requests make and to whom they go, and its closing, which
// the map waits for.
#include "frame/fit_to_text.h"
#include "frame/icon_cache.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/twips.h"
#include "map/frmControl.h"
#include "map/frmMap.h"
#include "map/map_builder.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <map>
#include <set>

namespace {

// The library's address table as the test sets it: presence and run state
// by address, and each address's set point.
struct Bus {
  std::map<int32_t, int32_t> presence;
  std::map<int32_t, int32_t> runState;
  std::map<int32_t, float> setPoint;
  int32_t mode = 2;
  std::set<int32_t> withoutStatus;  // answered, but no status arrived
};

void scriptBus(FakeTramsoll& fake, const Bus& bus) {
  fake.on<decltype(::getQ7ScAdrInfo)>("getQ7ScAdrInfo", [&bus](int32_t* presence, int32_t* state, int32_t* central,
                                                                int32_t* forced) {
    for (int a = 0; a < frmControl::kAddressCount; ++a) {
      presence[a] = bus.presence.contains(a) ? bus.presence.at(a) : 0;
      state[a] = bus.runState.contains(a) ? bus.runState.at(a) : 0;
    }
    *central = 0;
    *forced = 1;
    return 0;
  });
  fake.on<decltype(::getQ7ScAdrStatus)>("getQ7ScAdrStatus", [&bus](int32_t address, int32_t* mode, float* setPoint,
                                                                    char* code, int32_t* pending, int32_t* run) {
    if (bus.withoutStatus.contains(address)) {
      *mode = *pending = *run = 0;
      *setPoint = 0;
      std::fill_n(code, TRAMSOLL_ERROR_CODE_SIZE, '\0');
      return 2;
    }
    *mode = bus.mode;
    *setPoint = bus.setPoint.contains(address) ? bus.setPoint.at(address) : 22.0f;
    code[0] = 'E';
    code[1] = '4';
    code[2] = 'x';  // only two characters are the code
    *pending = 0;
    *run = 1;
    return 0;
  });
}

// The window open over the map, its timers left to the test.
frmControl& openControl(const std::shared_ptr<MapQ7net>& map = {}) {
  frmControl& window = frmControl::instance();
  window.mapQ7netObj = map;
  window.showForm();
  window.tmrForRefreshAll->stop();
  window.tmrForSendCommand->stop();
  return window;
}

// What the window system does when the engineer tabs or clicks onto a
// button.
void focus(QWidget* control) {
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(control, &in);
}

qint64 iconKey(const QToolButton* button) { return button->icon().cacheKey(); }

}  // namespace

class CentralOperationTest : public ProgramTest {
  Q_OBJECT

  Bus bus;

 private slots:
  void init() {
    ProgramTest::init();
    bus = Bus{};
    scriptBus(fake(), bus);
    QDir(world->folder.path()).mkpath(QStringLiteral("icons"));
    for (const QString& icon : QDir(QStringLiteral(PELOMAR_BIN_DIR "/icons")).entryList({QStringLiteral("KX_*")})) {
      QFile::copy(QStringLiteral(PELOMAR_BIN_DIR "/icons/") + icon, world->folder.file(QStringLiteral("icons/") + icon));
    }
  }

  void addressesStandByGroupAndUnitOnTwoPages() {
    bus.presence = {{21, 1}, {70, 1}};
    auto map = std::make_shared<MapQ7net>();
    std::tie(map->customName, map->mapName, map->ifMode) = std::tuple(QStringLiteral("Acme"), QStringLiteral("Roof"), 2);
    frmControl& window = openControl(map);
    QCOMPARE(window.windowTitle(), QStringLiteral("Centralized Operation(Acme,Roof,Q7-NET)"));
    QCOMPARE(window.selectedAddress(), 21);
    // Its button holds the focus, so that the window's keys reach the window.
    QCOMPARE(window.focusWidget(), window.cmdAircon[21]);
    QCOMPARE(window.cmdAircon[21]->geometry(), placeAfterTextFit(window, twipsRect(1875, 500, 350, 350)));
    QVERIFY(window.cmdAircon[21]->isVisibleTo(&window) && !window.cmdAircon[20]->isVisibleTo(&window));
    QCOMPARE(window.txtErrorCode->text(), QStringLiteral("E4"));
    QCOMPARE(window.txtMode->text(), QStringLiteral("Cooling"));
    QVERIFY(!window.cmdUp->isEnabled() && window.cmdDown->isEnabled());
    QTest::keyClick(&window, Qt::Key_F2);
    QCOMPARE(window.selectedAddress(), 70);
    QCOMPARE(window.cmdAircon[6]->geometry(), placeAfterTextFit(window, twipsRect(2235, 75, 350, 350)));
    QCOMPARE(window.lblRow[0]->text(), QStringLiteral("5"));
    QVERIFY(window.cmdUp->isEnabled() && !window.cmdDown->isEnabled());
    QVERIFY(window.lblManageKyousei->isVisibleTo(&window) && !window.lblManageChuou->isVisibleTo(&window));
  }

  void iconsFollowTheTableAndItsValue2KeepsThePicture() {
    bus.presence = {{5, 1}, {6, 1}, {7, 3}};
    bus.runState = {{5, 1}, {6, 3}};
    frmControl& window = openControl();
    const auto icon = [](const char* name) { return programIcon(QStringLiteral("icons/") + QLatin1String(name))->cacheKey(); };
    QCOMPARE(iconKey(window.cmdAircon[5]), icon("KX_Green_Water.ico"));
    QCOMPARE(iconKey(window.cmdAircon[6]), icon("KX_Red_White.ico"));
    QCOMPARE(iconKey(window.cmdAircon[7]), icon("KX_Magenta_White.ico"));
    bus.presence[6] = 2;
    window.tmrForRefreshAll_Timer();
    QCOMPARE(iconKey(window.cmdAircon[5]), icon("KX_Green_Water.ico"));
    QCOMPARE(iconKey(window.cmdAircon[6]), icon("KX_Red_White.ico"));
    QVERIFY(window.cmdAircon[6]->isVisibleTo(&window));
  }

  void selectionFollowsTheUnitsAndThePages() {
    struct Case {
      const char* fault;
      std::map<int32_t, int32_t> presence;
      int32_t selected;  // by focus
      std::map<int32_t, int32_t> then;
      int key;  // 0 for a refresh
      int32_t expected;
    };
    const Case cases[] = {
        {"a vanished unit hands on to the next present address", {{3, 1}, {10, 3}, {40, 1}}, 10,
         {{3, 1}, {40, 1}}, 0, 40},
        {"past the page's end the search starts at its head", {{3, 1}, {10, 3}, {40, 1}}, 40, {{3, 1}, {10, 3}}, 0, 3},
        {"a present unit keeps the selection", {{3, 1}, {10, 3}}, 10, {{3, 1}, {10, 1}}, 0, 10},
        {"Down takes the first present address of the second page", {{3, 1}, {66, 1}, {70, 1}}, 3,
         {{3, 1}, {66, 1}, {70, 1}}, Qt::Key_F2, 66},
        {"Down onto an empty page selects none", {{3, 1}}, 3, {{3, 1}}, Qt::Key_F2, -1},
        {"no unit at all selects none", {}, -1, {}, 0, -1},
    };
    for (const Case& c : cases) {
      bus.presence = c.presence;
      frmControl& window = openControl();
      if (c.selected >= 0) focus(window.cmdAircon[static_cast<std::size_t>(c.selected)]);
      QVERIFY2(window.selectedAddress() == (c.presence.empty() ? -1 : c.selected), c.fault);
      bus.presence = c.then;
      c.key ? QTest::keyClick(&window, static_cast<Qt::Key>(c.key)) : window.tmrForRefreshAll_Timer();
      QVERIFY2(window.selectedAddress() == c.expected, c.fault);
      const bool none = c.expected < 0;
      QVERIFY2(window.cmdRun->isEnabled() != none && window.cmdCool->isEnabled() != none, c.fault);
      QVERIFY2(window.txtTemp->text().isEmpty() == none && window.txtMode->text().isEmpty() == none, c.fault);
      window.unload();
    }
  }

  void requestsMakeOneCommandForTheAddressTheyWereMadeFor() {
    struct Case {
      const char* fault;
      float setPoint;
      QList<int> keys;  // -1 a refresh, -2 the focus on address 22
      QString shown;    // the set-point box before the tick
      QStringList sent;
    };
    const auto command = [](const char* arguments) { return QStringList{QStringLiteral("setQ7ScAdrCommand(%1)").arg(QLatin1String(arguments))}; };
    const Case cases[] = {
        {"run, cool and a raised set point", 26.5f, {Qt::Key_F3, Qt::Key_F7, Qt::Key_F5}, "27.5",
         command("21, 1, 2, 27.5")},
        {"stop alone leaves mode and set point", 24, {Qt::Key_F4}, "24", command("21, 0, 256, 256")},
        {"the last of run and stop and of the modes wins", 24, {Qt::Key_F3, Qt::Key_F4, Qt::Key_F9}, "24",
         command("21, 0, 0, 256")},
        {"the set point stays within 35", 35, {Qt::Key_F5}, "35", command("21, 256, 256, 35")},
        {"and within 0", 0.5f, {Qt::Key_F6, Qt::Key_F6}, "0", command("21, 256, 256, 0")},
        {"a refresh before the tick keeps the raised set point", 26.5f, {Qt::Key_F5, -1}, "27.5",
         command("21, 256, 256, 27.5")},
        {"a new selection drops what was asked for the old", 26.5f, {Qt::Key_F3, Qt::Key_F5, -2}, "22", {}},
        {"nothing asked sends nothing", 26.5f, {}, "26.5", {}},
    };
    bus.presence = {{21, 1}, {22, 1}};
    for (const Case& c : cases) {
      bus.setPoint[21] = c.setPoint;
      frmControl& window = openControl();
      for (int key : c.keys) {
        if (key == -1) window.tmrForRefreshAll_Timer();
        if (key == -2) focus(window.cmdAircon[22]);
        if (key > 0) QTest::keyClick(&window, static_cast<Qt::Key>(key));
      }
      QVERIFY2(window.txtTemp->text() == c.shown, c.fault);
      fake().calls.clear();
      window.tmrForSendCommand_Timer();
      window.tmrForSendCommand_Timer();  // once only
      QVERIFY2(fake().callsOf(QStringLiteral("setQ7ScAdrCommand")) == c.sent, c.fault);
      window.unload();
    }
  }

  void addressWithoutStatusOffersNoSetPointUntilItArrives() {
    bus.presence = {{21, 1}};
    bus.runState = {{21, 2}};
    bus.withoutStatus = {21};
    frmControl& window = openControl();
    const auto icon = [](const char* name) {
      return programIcon(QStringLiteral("icons/") + QLatin1String(name)).value_or(QIcon()).cacheKey();
    };
    QCOMPARE(window.selectedAddress(), 21);
    QCOMPARE(iconKey(window.cmdAircon[21]), icon("KX_White_Water.ico"));
    QVERIFY(window.txtTemp->text().isEmpty() && window.txtMode->text().isEmpty());
    saveScreenshot(window, QStringLiteral("frmControl_without_status"));
    QTest::keyClick(&window, Qt::Key_F5);
    QTest::keyClick(&window, Qt::Key_F6);
    QVERIFY(window.txtTemp->text().isEmpty());
    fake().calls.clear();
    window.tmrForSendCommand_Timer();
    QVERIFY(fake().callsOf(QStringLiteral("setQ7ScAdrCommand")).isEmpty());

    // Its status arrives: the unit's own set point is the one raised.
    bus.withoutStatus.clear();
    bus.runState[21] = 1;
    bus.setPoint[21] = 24;
    window.tmrForRefreshAll_Timer();
    QCOMPARE(iconKey(window.cmdAircon[21]), icon("KX_Green_Water.ico"));
    QCOMPARE(window.txtTemp->text(), QStringLiteral("24"));
    QTest::keyClick(&window, Qt::Key_F5);
    window.tmrForSendCommand_Timer();
    QCOMPARE(fake().callsOf(QStringLiteral("setQ7ScAdrCommand")), QStringList{QStringLiteral("setQ7ScAdrCommand(21, 256, 256, 25)")});
    window.unload();
  }

  void mapClosesOnlyOnceTheControlWindowHasUnloaded() {
    bus.presence = {{21, 1}};
    program().workMode = kWorkRecording;
    program().centralOperation = true;
    frmMap& map = frmMap::instance();
    auto shown = std::make_shared<MapQ7net>(mapOf({{1, 1}}));
    shown->ifMode = 2;
    inside(map).mapQ7netObj = inside(map).newMapQ7netObj = shown;
    map.showForm();
    inside(map).tmrForExecTramsoll->stop();
    inside(map).tmrForRefreshMap->stop();
    for (bool cancelFirst : {true, false}) {
      QTest::keyClick(&map, Qt::Key_F7);
      frmControl& window = frmControl::instance();
      QVERIFY(window.isLoaded() && window.isVisible() && map.isControlWindowOpen());
      QCOMPARE(window.tmrForRefreshAll->interval(), 3000);
      if (cancelFirst) {
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.flagForEnd && window.isLoaded() && !window.subWindow()->isVisible());
        // The map takes the keys again at once.
        QCOMPARE(mainMdiArea()->activeSubWindow(), map.subWindow());
        QVERIFY(!window.tmrForRefreshAll->isActive() && !window.tmrForSendCommand->isActive());
        window.tmrForEnd_Timer();
        QVERIFY(!window.isLoaded() && !map.isControlWindowOpen());
        continue;
      }
      // The map's closing tells the window, and waits for it.
      inside(map).cmdCancel->click();
      QVERIFY(window.flagForEnd);
      map.tmrForEnd_Timer();
      QVERIFY(map.isLoaded());
      window.tmrForEnd_Timer();
      map.tmrForEnd_Timer();
      QVERIFY(!window.isLoaded() && !map.isLoaded());
    }
  }
};

QTEST_MAIN(CentralOperationTest)
#include "central_operation_test.moc"
