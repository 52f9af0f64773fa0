// The periodic recording set-up over the map window and the fake library:
// what its opening shows and does to the map, the two-step system choice,
// the sensor-input option, completion, the checks the map window calls
// while it is closed, the lock while periodic recording runs, and each
// recording set-up loaded before a start and shown while its recording runs.
#include "frame/main_window.h"
#include "recording/frmRecode.h"
#include "recording/frmRecodeSensorInput.h"
#include "recording/frmRecodeTrigger.h"
#include "recording/recording_systems.h"
#include "recording_windows.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString statusLine() { return mainWindowParts().statusLine->text(); }

void keys(QWidget& widget, std::initializer_list<Qt::Key> pressed) {
  for (Qt::Key key : pressed) QTest::keyClick(&widget, key);
}

}  // namespace

class PeriodicSetupTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void init() {
    ProgramTest::init();
    program().adapterOptions[0] = 0;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }

  void openingShowsSizesTotalAndFreeSpaceAndUnmarksSystemsOffLine() {
    scriptLibrary(fake(), {{1, {4600, 228}}, {2, {2000, 100}}, {3, {1500, 50}}, {4, {9000, 900}}}, 1264128);
    auto map = makeMap("13 13", "13 10", 2);
    map->ifMode = 3;
    openMapWindow(map, 30, 1, 60);
    frmRecode& setUp = frmRecode::instance();
    setUp.showForm();
    QCOMPARE(column(*setUp.grdSystemSelect, 0), (QStringList{"*", "*", "*", ""}));
    QCOMPARE(column(*setUp.grdSystemSelect, 1), (QStringList{"System 1", "System 2", "System 3", "System 4"}));
    QCOMPARE(column(*setUp.grdSystemSelect, 2), (QStringList{"32KB", "18KB", "8KB", ""}));
    QCOMPARE(setUp.txtTotalSize->text() + setUp.lblTotalSizeUnit->text() + " " + setUp.txtFreeDisk->text(),
             "57KB 1,234.5");
    QCOMPARE(marks(*map), "11|10");
    QVERIFY(setUp.optSensorInput[1]->isChecked() && setUp.cboSensorInputSystem->currentIndex() == 1);
    QCOMPARE(setUp.windowTitle(), "Periodic Recording Setting(Q7-NET)");
    QCOMPARE(setUp.cboInterval->currentText() + setUp.txtTime->text(), "3060");
    QVERIFY(setUp.optEndMethod[1]->isChecked() && setUp.txtTime->isEnabled());
    QCOMPARE(statusLine(), "Input recording conditions.");
    saveScreenshot(setUp, "frmRecode");
  }

  void firstChoiceOnlyMovesTheCursorAndASystemOffLineCannotBeMarked() {
    scriptLibrary(fake(), {{1, {1000, 500}}, {3, {1000, 500}}});
    auto map = makeMap("13 10", "13");
    frmMap& mapWindow = openMapWindow(map);
    frmRecode& setUp = frmRecode::instance();
    setUp.showForm();
    QTableWidget& grid = *setUp.grdSystemSelect;
    const struct {
      const char* step;
      std::function<void()> act;
      const char* marks;
      int currentRow;
      bool refused;
    } steps[] = {
        {"a click on another row only moves the cursor", [&] { clickRow(grid, 2); }, "10|1", 2, false},
        {"a second click toggles it", [&] { clickRow(grid, 2); }, "10|0", 2, false},
        {"F12 toggles the cursor's row at once", [&] { keys(grid, {Qt::Key_Up, Qt::Key_Up, Qt::Key_F12}); }, "00|0", 0, false},
        {"F12 marks it again", [&] { keys(grid, {Qt::Key_F12}); }, "10|0", 0, false},
        {"a system off line is refused", [&] { keys(grid, {Qt::Key_Down, Qt::Key_F12}); }, "10|0", 1, true},
        {"while recording clicks do nothing", [&] {
           inside(mapWindow).mapRecode = true;
           clickRow(grid, 0);
           clickRow(grid, 0);
         }, "10|0", 0, false},
        {"nor does F12", [&] { keys(grid, {Qt::Key_F12}); }, "10|0", 0, false},
    };
    for (const auto& step : steps) {
      setMainStatusText(QString());
      step.act();
      QVERIFY2(marks(*map) == step.marks && grid.currentRow() == step.currentRow, step.step);
      QVERIFY2((statusLine() == "Collecting network map data. Wait a second.") == step.refused, step.step);
    }
    QCOMPARE(column(grid, 0), (QStringList{"*", "", ""}));
    QCOMPARE(column(grid, 2), (QStringList{"90KB/hour(s)", "", ""}));
  }

  void sensorOptionMovesTheModeAndMakesOrRemovesTheSensorSystem() {
    scriptLibrary(fake(), {});
    auto map = makeMap("13 13");
    openMapWindow(map);
    frmRecode& setUp = frmRecode::instance();
    setUp.showForm();
    QVERIFY(!setUp.cmdSensorInput->isEnabled() && !setUp.cboSensorInputSystem->isEnabled());
    fake().calls.clear();
    setUp.optSensorInput[1]->click();
    QVERIFY(map->ifMode == 3 && sensorSystem(*map) && sensorSystem(*map)->systemNumber == 1);
    QVERIFY(setUp.cmdSensorInput->isEnabled() && setUp.cboSensorInputSystem->currentIndex() == 0);
    setUp.cboSensorInputSystem->setCurrentIndex(1);
    QCOMPARE(sensorSystem(*map)->systemNumber, 2);
    setUp.optSensorInput[0]->click();
    QVERIFY(map->ifMode == 2 && map->systemsSen.isEmpty() && !setUp.cmdSensorInput->isEnabled());
    QCOMPARE(fake().callsOf("changeDataGather"), (QStringList{"changeDataGather(3)", "changeDataGather(2)"}));

    // The Plus adapter has no sensor inputs.
    setUp.unload();
    program().adapterOptions[0] = 1;
    setUp.showForm();
    QVERIFY(!setUp.optSensorInput[1]->isEnabled() && !setUp.lblSensorInput->isEnabled());
  }

  void completionInASensorModeWaitsForTheSensorInputSetUp() {
    scriptLibrary(fake(), {});
    auto map = makeMap("13", "", 1);
    map->ifMode = 3;
    openMapWindow(map);
    frmRecode& setUp = frmRecode::instance();
    setUp.showForm();
    MessageCollector messages;
    QTest::keyClick(&setUp, Qt::Key_F1);
    QCOMPARE(messages.keys, QStringList{"7-3"});
    QVERIFY(setUp.isLoaded());
    answerNextModal([](QWidget* modal) {
      QVERIFY(qobject_cast<frmRecodeSensorInput*>(modal));
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    QTest::keyClick(setUp.grdSystemSelect, Qt::Key_F2);
    QTest::keyClick(setUp.txtTime, Qt::Key_F1);
    QCOMPARE(messages.keys, QStringList{"7-3"});
    QVERIFY(!setUp.isLoaded());
  }

  void checksOfTheMapWindowLoadTheClosedWindowHiddenAndMoveNoFocus() {
    scriptLibrary(fake(), {});
    const struct {
      const char* fault;
      const char *ordinary, *central;
      int32_t minutes;
      int32_t result;
      const char* marksAfter;
      QStringList messages;
    } cases[] = {
        {"the walk ends at the first recordable system", "10 13 10", "13", 30, 0, "011|1", {}},
        {"a record time of 0 is refused", "13", "", 0, 1, "1|", {"7-1"}},
        {"a negative one too", "13", "", -5, 1, "1|", {"7-1"}},
        {"nothing recordable", "10", "03", 30, 2, "0|0", {"7-2"}},
        {"a map without systems", "", "", 30, 2, "|", {"7-2"}},
    };
    for (const auto& c : cases) {
      auto map = makeMap(c.ordinary, c.central);
      openMapWindow(map, 20, 1, c.minutes);
      // Units go off line after the window was loaded: its opening did not
      // see them.
      std::vector<std::pair<std::shared_ptr<MapAircon>, int32_t>> states;
      for (const SystemRow& row : combinedSystemRows(*map)) {
        for (const auto* units : {&row.system->airconsOut, &row.system->airconsCen}) {
          for (const auto& unit : *units) states.emplace_back(unit, std::exchange(unit->onLine, 3));
        }
      }
      frmRecode& setUp = frmRecode::instance();
      setUp.load();
      for (const auto& [unit, state] : states) unit->onLine = state;
      MessageCollector messages;
      int32_t result = -1;
      setUp.checkRecodeData(result);
      QVERIFY2(result == c.result && messages.keys == c.messages, c.fault);
      QVERIFY2(!setUp.isVisible() && !setUp.focusWidget(), c.fault);
      QVERIFY2(marks(*map) == QLatin1String(c.marksAfter), c.fault);
      setUp.unload();
    }
  }

  void shownAfterAHiddenLoadTheOpeningIsNotRepeated() {
    scriptLibrary(fake(), {});
    auto map = makeMap("13 13");
    openMapWindow(map);
    frmRecode& setUp = frmRecode::instance();
    int32_t result = -1;
    setUp.checkRecodeData(result);
    QVERIFY(result == 0 && setUp.isLoaded() && !setUp.isVisible());
    map->systems.item(2)->airconsOut.item(1)->onLine = 0;
    setUp.showForm();
    QCOMPARE(marks(*map), "11|");
    // Shown, a failed check puts the focus on the field at fault.
    setUp.optEndMethod[1]->click();
    setUp.txtTime->setText("0");
    MessageCollector messages;
    setUp.checkRecodeData(result);
    QVERIFY(result == 1 && setUp.focusWidget() == setUp.txtTime);
    for (const auto& system : map->systems) system->recode = 0;
    setUp.txtTime->setText("5");
    setUp.checkRecodeData(result);
    QVERIFY(result == 2 && setUp.focusWidget() == setUp.grdSystemSelect);
    QCOMPARE(messages.keys, (QStringList{"7-1", "7-2"}));
  }

  // Each set-up loaded hidden before a start (by the periodic check; the
  // other two loaded as such), while the library could not size the carrier
  // of the sensor inputs, and shown once the recording runs: the user sees
  // completion disabled, where the load had left it enabled, and the sizes
  // the library answers now.
  void aSetUpLoadedBeforeTheStartIsShownAsTheRunningRecording() {
    frmRecode& periodic = frmRecode::instance();
    frmRecodeTrigger& trigger = frmRecodeTrigger::instance();
    frmRecodeSensorInput& sensor = frmRecodeSensorInput::instance();
    int32_t result = -1;
    const auto firstSize = [](const QTableWidget* grid) { return [grid] { return column(*grid, 2).value(0); }; };
    const struct {
      const char* setUp;
      bool trigger;
      Form& window;
      std::function<void()> load, show;
      const QPushButton* completion;
      std::function<QString()> size;
      const char *sizeAtTheCheck, *sizeRunning;
    } cases[] = {
        {"periodic", false, periodic, [&] { periodic.checkRecodeData(result); }, [&] { periodic.showForm(); },
         periodic.cmdEnd, firstSize(periodic.grdSystemSelect), "7KB/hour(s)", "26KB/hour(s)"},
        {"trigger", true, trigger, [&] { trigger.load(); }, [&] { trigger.showForm(); }, trigger.cmdEnd,
         firstSize(trigger.grdSystemSelect), "12KB", "49KB"},
        {"sensor input", false, sensor, [&] { sensor.load(); }, [&] { sensor.showModeless(); }, sensor.cmdEnd,
         [&] { return sensor.txtFileSize->text(); }, "7", "26"},
    };
    for (const auto& c : cases) {
      scriptLibrary(fake(), {});
      auto map = makeMap("13", "", 1);
      map->ifMode = 3;
      frmMap& mapWindow = openMapWindow(map);
      c.load();
      QVERIFY2(c.completion->isEnabled() && c.size() == QLatin1String(c.sizeAtTheCheck), c.setUp);
      scriptLibrary(fake(), {{1, {2000, 100}}});
      (c.trigger ? inside(mapWindow).mapRecodeTrigger : inside(mapWindow).mapRecode) = true;
      c.show();
      QVERIFY2(c.completion->isVisible() && !c.completion->isEnabled(), c.setUp);
      QVERIFY2(c.size() == QLatin1String(c.sizeRunning), qPrintable(c.setUp + QStringLiteral(": ") + c.size()));
      c.window.unload();
    }
  }

  void whileRecordingEveryControlSpringsBack() {
    scriptLibrary(fake(), {});
    auto map = makeMap("13 13");
    frmMap& mapWindow = openMapWindow(map);
    inside(mapWindow).mapRecode = true;
    frmRecode& setUp = frmRecode::instance();
    setUp.showForm();
    QVERIFY(!setUp.cmdEnd->isEnabled());
    fake().calls.clear();
    setUp.cboInterval->setCurrentIndex(8);
    setUp.optEndMethod[1]->click();
    setUp.txtTime->setText("45");
    setUp.optSensorInput[1]->click();
    QTest::keyClick(&setUp, Qt::Key_F1);
    QCOMPARE(std::tuple(map->recodeInterval, map->recodeMethod, map->recodeTime, map->ifMode),
             std::tuple(20, 0, 30, 2));
    QCOMPARE(setUp.cboInterval->currentText() + setUp.txtTime->text(), "2030");
    QVERIFY(setUp.optEndMethod[0]->isChecked() && setUp.optSensorInput[0]->isChecked() && !setUp.txtTime->isEnabled());
    QVERIFY(fake().callsOf("changeDataGather").isEmpty() && setUp.isLoaded());
    QTest::keyClick(&setUp, Qt::Key_Escape);
    QVERIFY(!setUp.isLoaded());
  }

  void aChangedRescannedOrClosedMapUnloadsTheSetUps() {
    scriptLibrary(fake(), {});
    const std::function<void(frmMap&)> leave[] = {
        [](frmMap& map) { map.refreshMap(); },
        [](frmMap& map) {
          inside(map).newMapQ7netObj = makeMap("13");
          map.changeMap();
        },
        [](frmMap& map) {
          map.prepareForEndFormMap();
          map.tmrForEnd_Timer();
        },
    };
    for (const auto& leaveMap : leave) {
      frmMap& mapWindow = openMapWindow(makeMap("13"));
      frmRecode::instance().showForm();
      frmRecodeSensorInput::instance().load();
      frmRecodeTrigger::instance().showForm();
      QCOMPARE(inside(mapWindow).systemTriggerObj.airconsOut.count(), 1);
      leaveMap(mapWindow);
      QVERIFY(!frmRecode::instance().isLoaded() && !frmRecodeSensorInput::instance().isLoaded());
      QVERIFY(!frmRecodeTrigger::instance().isLoaded());
      // The trigger conditions of the old units go with them.
      QVERIFY(inside(mapWindow).systemTriggerObj.airconsOut.isEmpty() && inside(mapWindow).systemTriggerObj.systemNumber == 0);
      QVERIFY(!program().dialogOpen);
    }
  }
};

QTEST_MAIN(PeriodicSetupTest)
#include "periodic_setup_test.moc"
