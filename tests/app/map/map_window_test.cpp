// The map window over the fake library: the poll's reactions to the
// library's status, the function keys' roads by mode, closing in two stages
// with the map stored into the customer, and printing.
#include "frame/dialogs/frmStopRecode.h"
#include "frame/print_service.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "map/frmMap.h"
#include "map/frmMapsList.h"
#include "map/map_lifecycle.h"
#include "map/map_picture.h"
#include "map/map_builder.h"
#include "map/open_map.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QToolButton>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

std::shared_ptr<MapQ7net> busMap(int32_t ifMode) {
  auto map = std::make_shared<MapQ7net>(mapOf({{1, 1}}, 1, 1));
  map->ifMode = ifMode;
  map->mapNumber = 1;
  map->mapIndex = 3;
  return map;
}

const QString kStop = QStringLiteral("initDataGather(0, 1, 3, %1, 1, \" \", 5)");
const QString kStart = QStringLiteral("initDataGather(1, 1, 3, %1, 1, \" \", 5)");

}  // namespace

class MapWindowTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void init() {
    ProgramTest::init();
    program().gatherQ7Init = 1;
  }
  void cleanup() {
    installPrinterSource({});
    ProgramTest::cleanup();
  }

  void pollTellsOnceAndRestartsGatheringAfterATimeOut() {
    struct Case {
      const char* fault;
      int32_t status;
      bool dialogOpen;
      int32_t gatherMode;
      int32_t restartAnswer;
      bool busLog;  // a bus log runs
      QStringList messages;
      QStringList gathering;  // the restart's calls after execTramsoll
    };
    const QStringList restart{kStop.arg(2), QStringLiteral("setCentralOperation(1)"), kStart.arg(2)};
    const Case cases[] = {
        {"a file error is told once", 3, false, 2, 0, false, {QStringLiteral("6-3")}, {}},
        {"a time-out is told and gathering restarts", 2, false, 2, 0, false, {QStringLiteral("6-1")}, restart},
        {"a restart that finds no port tells that too", 2, false, 2, 3, false,
         {QStringLiteral("6-1"), QStringLiteral("5-3")}, restart},
        {"over another dialog nothing is told, the restart still runs", 2, true, 2, 3, false, {}, restart},
        {"a mode with sensor input restarts the bus, then adds the logger", 2, false, 3, 0, false,
         {QStringLiteral("6-1")},
         {kStop.arg(3), QStringLiteral("setCentralOperation(1)"), kStart.arg(2), QStringLiteral("changeDataGather(3)")}},
        {"a restart ends the bus log the key still offered to end", 2, true, 2, 0, true, {}, restart},
        {"other results cause nothing", 5, false, 2, 0, false, {}, {}},
    };
    for (const Case& c : cases) {
      frmMap& window = openMap(busMap(2));
      program().gatherMode = c.gatherMode;
      fake().results["execTramsoll"] = c.status;
      fake().on<decltype(::initDataGather)>(
          "initDataGather", [&c](int32_t start, int32_t, int32_t, int32_t, int32_t, const char*, int32_t) {
            return start ? c.restartAnswer : 0;
          });
      inside(window).mapRecodeQ7Data = c.busLog;
      fake().calls.clear();
      if (c.dialogOpen) program().dialogOpen.raise();
      MessageCollector messages;
      window.tmrForExecTramsoll_Timer();
      if (c.dialogOpen) program().dialogOpen.lower();
      QVERIFY2(messages.keys == c.messages, c.fault);
      QStringList expected{QStringLiteral("execTramsoll(*, *)")};
      if (c.busLog) expected << QStringLiteral("saveQ7Data(0, \"%1\")").arg(program().q7dataFolder);
      QVERIFY2(fake().calls == expected + c.gathering, c.fault);
      QVERIFY2(!window.isRecordingBusData(), c.fault);
      window.unload();
    }
  }

  void displayModeF9IsNotTakenWithoutPermission() {
    frmMap& window = openMap(busMap(2));
    // Display mode F9 is neither offered nor taken without the setting
    // file's permission.
    QTest::keyClick(&window, Qt::Key_F4);
    MessageCollector messages;
    QTest::keyClick(&window, Qt::Key_F9);
    // Taken, the road would refuse the unselected unit with "6-7".
    QVERIFY(messages.keys.isEmpty());
    QVERIFY(inside(window).cmdMode[3]->text().isEmpty());
  }

  void pageIsDrawnWithTheIconsThatCanBeRead() {
    // Only the outdoor unit's picture is in the program folder.
    QDir(world->folder.path()).mkpath(QStringLiteral("icons"));
    QVERIFY(QFile::copy(QStringLiteral(PELOMAR_BIN_DIR "/icons/OU_green.ico"), world->folder.file(QStringLiteral("icons/OU_green.ico"))));
    frmMap& window = openMap(busMap(2));
    window.setDataToMapShowManagerObj();
    const MapPicture& picture = *inside(window).picMap;
    QVERIFY(!picture.cmdAircon[0]->icon().isNull());
    QVERIFY(picture.cmdAircon[1]->icon().isNull());
    // The drawing went on past the indoor unit: its texts, the sensor icon's
    // place and the page's end are there.
    QCOMPARE(picture.txtZubrelAddress[1]->text(), QStringLiteral("001"));
    QVERIFY(picture.cmdAircon[2]->isVisibleTo(inside(window).picMap) && !picture.cmdAircon[3]->isVisibleTo(inside(window).picMap));
    QCOMPARE(inside(window).mapShowManagerObj.systemNumberNow, 1);
  }

  void controlDataIsAskedOfEveryUnitOnlyWhereAllowed() {
    struct Case {
      const char* fault;
      int32_t ifMode;
      int32_t controlChangeMode;
      bool central;
      int sent;  // broadcasts of the opening and of two recording starts
    };
    const Case cases[] = {
        {"a bus map asks at opening and once for the recordings", 2, 1, true, 2},
        {"change mode 2 asks too", 3, 2, true, 2},
        {"a board map never asks", 4, 2, true, 0},
        {"the setting file must allow it", 2, 0, true, 0},
        {"centralized operation must be permitted", 2, 2, false, 0},
    };
    for (const Case& c : cases) {
      program().controlChangeMode = c.controlChangeMode;
      program().centralOperation = c.central;
      fake().calls.clear();
      frmMap& window = openMap(busMap(c.ifMode));
      window.requestControlDataAllOnce();
      window.requestControlDataAllOnce();
      QVERIFY2(fake().callsOf(QStringLiteral("setAirconSendData")) ==
                   QStringList(c.sent, QStringLiteral("setAirconSendData(230, 255, 0, 0, 0)")),
               c.fault);
      window.unload();
    }
  }

  void closedMapIsStoredWithoutItsLiveStateOrSensorPart() {
    struct Case {
      const char* fault;
      int32_t mapMode;
      bool systems;
      bool held;  // already one of the customer's maps
      int stored;
      int links;
    };
    const Case cases[] = {
        {"a new map is stored off line, without its sensor part", kMapModeScan, true, false, 1, 3},
        {"a new map without systems is not stored", kMapModeScan, false, false, 0, 0},
        {"a stored map without systems keeps its link records", kMapModeStored, false, true, 1, 3},
    };
    for (const Case& c : cases) {
      CustomInfor customer;
      auto map = busMap(3);
      if (!c.systems) map->systems.clear(), map->systemsCen.clear();
      if (c.held) customer.q7nets.add(map, QStringLiteral("3"));
      int32_t gatherMode = 3;
      storeMapIntoCustomer(map, c.mapMode, customer, gatherMode);
      QVERIFY2(customer.q7nets.count() == c.stored && map->linkAircons.count() == c.links, c.fault);
      if (!c.systems) continue;
      QCOMPARE(std::tuple(map->ifMode, gatherMode, map->systemsSen.count()), std::tuple(2, 2, 0));
      QCOMPARE(map->systems.item(1)->airconsIn.item(1)->onLine, 0);
      QCOMPARE(map->systemsCen.item(1)->airconsCen.item(1)->onLine, 0);
    }
  }

  void closingTakesTwoStagesAndWritesOnlyACustomersFile() {
    for (const QString& id : {QString(), QStringLiteral("C07")}) {
      clearCustomerInfo();
      currentCustomer().id = id;
      auto map = busMap(3);
      frmMap& window = openMap(map);
      inside(window).mapRecode = true;
      answerNextModal([](QWidget* modal) {
        QVERIFY(qobject_cast<frmStopRecode*>(modal));
        modal->close();
      });
      inside(window).cmdCancel->click();  // a recording runs: asked first, and No keeps the map
      QVERIFY(!window.flagForEnd());
      inside(window).mapRecode = false;
      inside(window).cmdCancel->click();
      QVERIFY(window.flagForEnd() && inside(window).tmrForEnd->isActive() && window.isLoaded());
      fake().calls.clear();
      window.tmrForEnd_Timer();
      QVERIFY(!window.isLoaded() && !program().mapFormOpen);
      QCOMPARE(fake().callsOf(QStringLiteral("initDataGather")), QStringList{kStop.arg(2)});
      QDirIterator files(world->folder.path(), {QStringLiteral("*.dak")}, QDir::Files, QDirIterator::Subdirectories);
      QStringList written;
      while (files.hasNext()) written << QDir(world->folder.path()).relativeFilePath(files.next());
      QCOMPARE(written, id.isEmpty() ? QStringList() : QStringList{QStringLiteral("C07/C07.dak")});
      QVERIFY(frmMapsList::instance().isLoaded());
    }
  }

  void printGoesToTheDefaultPrinterOrTellsThereIsNone() {
    const QString pdf = world->folder.file(QStringLiteral("map.pdf"));
    for (const bool printer : {true, false}) {
      installPrinterSource([&]() -> std::unique_ptr<QPrinter> {
        if (!printer) return nullptr;
        auto made = std::make_unique<QPrinter>();
        made->setOutputFormat(QPrinter::PdfFormat);
        made->setOutputFileName(pdf);
        return made;
      });
      frmMap& window = openMap(busMap(2));
      MessageCollector messages;
      QTest::keyClick(&window, Qt::Key_F9);
      QCOMPARE(messages.keys, printer ? QStringList() : QStringList{QStringLiteral("6-6")});
      QCOMPARE(QFile::exists(pdf), true);
    }
  }
};

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
