// The end of the program: its three roads, the question when a recording
// runs, waiting for the display windows (and giving up on one that never
// closes), and the settings written on the way.
#include "display/frmDataShow.h"
#include "frame/dialogs/frmStopRecode.h"
#include "frame/event_manager.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/program_end.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "map/frmMap.h"
#include "records/frmCustomsData.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

const QString kDisplay = QStringLiteral("DspOption");

std::shared_ptr<frmDataShow> displayWindow(int32_t number, bool live) {
  auto window = frmDataShow::create();
  window->formNumber = number;
  window->realtime = live ? 1 : 0;
  window->dataSource = live ? 0 : 1;
  window->customDir = QStringLiteral("C001");
  window->fileNumber = 2;
  window->showForm();
  return window;
}

// A started program with a service station, its calls forgotten.
class StartedProgram : public ProgramFixture {
 public:
  StartedProgram() {
    store.store(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), QStringLiteral("4"));
    if (!startProgram(environment())) qFatal("the program did not start");
    // The windows that take part in the end.
    frmMap::instance();
    frmCustomsData::instance();
    serviceShop().ssName = QStringLiteral("Kansai Service");
    eventManager().setEvent(QStringLiteral("frmDataShow"), 1, 0, kLoadEvent);
    library.fake.calls.clear();
    program().sensorParams.unit7 = QStringLiteral("kPa");
  }
  QStringList gatherStops() const { return library.fake.callsOf(QStringLiteral("initDataGather")); }
};

void verifyEverySettingWritten(const ScratchSettings& store) {
  QCOMPARE(store.stored(QStringLiteral("SerialPort"), QStringLiteral("PortNo")), QStringLiteral("4"));
  QCOMPARE(store.stored(QStringLiteral("SensorInput"), QStringLiteral("Unit7")), QStringLiteral("kPa"));
  QCOMPARE(store.stored(QStringLiteral("SensorInput"), QStringLiteral("Range8")), QStringLiteral("5"));
  for (const char* key : {"FontSz", "SbLine", "Hcursor", "OSver", "FntClr", "TmpUnit"}) {
    QVERIFY2(store.has(kDisplay, QString::fromLatin1(key)), key);
  }
  QCOMPARE(store.stored(kDisplay, QStringLiteral("FontSz")), QStringLiteral("9"));
  QCOMPARE(store.stored(kDisplay, QStringLiteral("SbLine")), QStringLiteral("20"));
  QCOMPARE(store.stored(kDisplay, QStringLiteral("OSver")), QStringLiteral("1"));
}

void verifyEnded(const StartedProgram& world) {
  QVERIFY(programHasEnded());
  QVERIFY(!frmMdi::instance().isVisible());
  QVERIFY(!frmMdi::instance().tmrForEndApp->isActive());
  verifyEverySettingWritten(world.store);
}

}  // namespace

class ProgramEndTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { putWindowsAway(); }

  void endButtonAndMenuWindTheProgramDown_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("END button") << false;
    QTest::newRow("END menu command") << true;
  }
  void endButtonAndMenuWindTheProgramDown() {
    QFETCH(bool, fromMenu);
    StartedProgram world;
    if (fromMenu) {
      frmMdi::instance().mnuEnd->trigger();
    } else {
      frmMain::instance().cmdEnd->click();
    }
    // Wound down: the window hidden, gathering stopped, port and sensor
    // inputs stored; the rest waits for the end timer.
    frmMdi& main = frmMdi::instance();
    QVERIFY(!main.isVisible());
    QVERIFY(main.tmrForEndApp->isActive());
    QCOMPARE(main.tmrForEndApp->interval(), 500);
    QVERIFY(frmMap::instance().flagForEnd());
    QVERIFY(frmCustomsData::instance().flagForEnd());
    QCOMPARE(world.gatherStops(), QStringList({QStringLiteral("initDataGather(0, 4, 3, 2, 0, \" \", 5)")}));
    QCOMPARE(world.store.stored(QStringLiteral("SerialPort"), QStringLiteral("PortNo")), QStringLiteral("4"));
    QCOMPARE(world.store.stored(QStringLiteral("SensorInput"), QStringLiteral("Unit7")), QStringLiteral("kPa"));
    QVERIFY(!world.store.has(kDisplay, QStringLiteral("FontSz")));
    QVERIFY(!world.store.has(kDisplay, QStringLiteral("Win_Width")));
    QVERIFY(!programHasEnded());

    tmrForEndApp_Timer();
    verifyEnded(world);
    QCOMPARE(world.gatherStops().size(), 2);  // once more as the main window closes
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Width")), QStringLiteral("9600"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Height")), QStringLiteral("7095"));
    QVERIFY(serviceShop().ssName.isEmpty());
    QCOMPARE(eventManager().eventForms.count(), 0);
  }

  void runningRecordingIsAskedAboutFirst_data() {
    QTest::addColumn<bool>("byClosing");
    QTest::newRow("END button") << false;
    QTest::newRow("closing the main window") << true;
  }
  void runningRecordingIsAskedAboutFirst() {
    QFETCH(bool, byClosing);
    StartedProgram world;
    frmMap& map = frmMap::instance();
    inside(map).mapRecodeTrigger = true;
    inside(map).mapRecodeTriggerOn = true;
    inside(map).mapRecodeQ7Data = true;
    frmMdi& main = frmMdi::instance();
    const auto askToEnd = [&] {
      if (byClosing) {
        QVERIFY(!main.close());
      } else {
        frmMain::instance().cmdEnd->click();
      }
    };

    answerNextModal([](QWidget* modal) {
      auto* question = qobject_cast<frmStopRecode*>(modal);
      QVERIFY(question);
      QCOMPARE(question->idCalledFrom, 1);
      question->cmdCancel->click();
    });
    askToEnd();
    QVERIFY(main.isVisible());
    QVERIFY(map.isRecordingTrigger());
    QVERIFY(world.gatherStops().isEmpty());
    QVERIFY(!main.tmrForEndApp->isActive());

    answerNextModal([](QWidget* modal) { qobject_cast<frmStopRecode*>(modal)->cmdOk->click(); });
    askToEnd();
    QVERIFY(!map.isRecordingTrigger() && !map.isTriggerMet() && !map.isRecordingBusData());
    QVERIFY(!main.isVisible());
    QVERIFY(main.tmrForEndApp->isActive());
    QCOMPARE(world.gatherStops().size(), 1);
    tmrForEndApp_Timer();
    verifyEnded(world);
  }

  void closingWithDisplayWindowsOpenWaitsForThem() {
    StartedProgram world;
    auto replay = displayWindow(1, false);
    auto live = displayWindow(1, true);
    frmCustomsData::instance().dataShowForms.add(replay);
    inside(frmMap::instance()).dataShowForms.add(live);
    frmMdi& main = frmMdi::instance();

    QVERIFY(!main.close());
    QVERIFY(!programHasEnded());
    QVERIFY(!main.isVisible());
    QCOMPARE(world.library.fake.callsOf(QStringLiteral("closeDataFile")),
             QStringList({QStringLiteral("closeDataFile(\"C001\", 2)")}));
    QVERIFY(replay->tmrForEnd->isActive());
    QVERIFY(live->tmrForEnd->isActive());
    QCOMPARE(replay->tmrForEnd->interval(), frmDataShow::kEndDelayMs);
    QVERIFY(!replay->subWindow()->isVisible());
    QCOMPARE(world.gatherStops().size(), 1);

    tmrForEndApp_Timer();
    QVERIFY(!programHasEnded());
    replay->tmrForEnd_Timer();
    QVERIFY(frmCustomsData::instance().dataShowForms.isEmpty());
    tmrForEndApp_Timer();
    QVERIFY(!programHasEnded());
    live->tmrForEnd_Timer();
    QVERIFY(inside(frmMap::instance()).dataShowForms.isEmpty());
    tmrForEndApp_Timer();
    verifyEnded(world);
  }

  void displayWindowThatNeverClosesEndsAfterTheTimeOut() {
    StartedProgram world;
    auto stuck = displayWindow(3, true);
    stuck->flagForEndOk = false;  // never finishes drawing
    inside(frmMap::instance()).dataShowForms.add(stuck);
    frmMain::instance().cmdEnd->click();
    stuck->tmrForEnd_Timer();
    QVERIFY(stuck->tmrForEnd->isActive());  // it looks again later
    QCOMPARE(inside(frmMap::instance()).dataShowForms.count(), 1);
    for (int tick = 1; tick < kEndTimeoutTicks; ++tick) tmrForEndApp_Timer();
    QVERIFY(!programHasEnded());
    tmrForEndApp_Timer();
    verifyEnded(world);
  }

  void openMapWindowClosesInItsTwoStagesBeforeTheEnd() {
    StartedProgram world;
    frmMap& map = frmMap::instance();
    inside(map).mapQ7netObj = inside(map).newMapQ7netObj = std::make_shared<MapQ7net>();
    map.showForm();
    QVERIFY(!frmMdi::instance().close());
    // First stage: the map hides and waits for its own end timer.
    QVERIFY(map.flagForEnd());
    QVERIFY(inside(map).tmrForEnd->isActive());
    QVERIFY(!map.subWindow()->isVisible());
    QVERIFY(program().mapFormOpen);
    tmrForEndApp_Timer();
    QVERIFY(!programHasEnded());
    map.tmrForEnd_Timer();
    QVERIFY(!program().mapFormOpen);
    tmrForEndApp_Timer();
    verifyEnded(world);
  }

  void closingWithNothingOpenEndsAtOnce() {
    StartedProgram world;
    frmMdi& main = frmMdi::instance();
    main.move(twipsToPixels(300), twipsToPixels(450));
    main.resize(twipsToPixels(8010), twipsToPixels(6900));
    QVERIFY(main.close());
    verifyEnded(world);
    QCOMPARE(world.gatherStops().size(), 1);
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Left")), QStringLiteral("300"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Top")), QStringLiteral("450"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Width")), QStringLiteral("8010"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Height")), QStringLiteral("6900"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_State")), QStringLiteral("0"));
  }

  void maximizedWindowKeepsItsNormalPlaceAndComesBackMaximized() {
    StartedProgram world;
    frmMdi& main = frmMdi::instance();
    main.move(20, 30);
    main.resize(500, 450);
    main.showMaximized();
    QVERIFY(main.close());
    verifyEnded(world);
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_State")), QStringLiteral("2"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Left")), QStringLiteral("300"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Top")), QStringLiteral("450"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Width")), QStringLiteral("7500"));
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Height")), QStringLiteral("6750"));
  }

  void settingsThatCannotBeWrittenAtTheEndAreReported() {
    StartedProgram world;
    const QString storeFile = world.store.path() + QStringLiteral("/PelomarVexa5Software/PelomarVexa5Software.ini");
    QVERIFY(QFile::remove(storeFile));
    QVERIFY(QDir().mkpath(storeFile));
    QStringList message;
    readNextMessage(message);
    QVERIFY(frmMdi::instance().close());
    QVERIFY(programHasEnded());
    QCOMPARE(message, QStringList({ownText(kTextSettingsNotSaved), storeFile, QString(), QString()}));
  }

  void windowPartlyOffTheScreenKeepsItsStoredPlace() {
    StartedProgram world;
    world.store.store(kDisplay, QStringLiteral("Win_Width"), QStringLiteral("8800"));
    frmMdi& main = frmMdi::instance();
    main.move(-40, 10);
    QCOMPARE(main.pos().x(), -40);
    QVERIFY(main.close());
    verifyEnded(world);
    QCOMPARE(world.store.stored(kDisplay, QStringLiteral("Win_Width")), QStringLiteral("8800"));
    for (const char* key : {"Win_Height", "Win_Top", "Win_Left"}) QVERIFY(!world.store.has(kDisplay, QString::fromLatin1(key)));
  }
};

QTEST_MAIN(ProgramEndTest)
#include "program_end_test.moc"
