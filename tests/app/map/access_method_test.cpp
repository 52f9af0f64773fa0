// The access-method window over the fake library: OK's refusals in their
// order, the model list of a board connection, and the start that opens the
// map window on a new map numbered after the customer's maps.
#include "frame/dialogs/frmMessage.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "map/frmInterface.h"
#include "map/frmMap.h"
#include "map/frmStopQ7netAircon.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cstring>

namespace {

// The customer's maps "Roof", "Hall" and "Shop" under the indexes 1, 4, 2.
std::shared_ptr<MapQ7net> addCustomerMaps() {
  CustomInfor& customer = currentCustomer();
  customer.id = QStringLiteral("C07");
  customer.name = QStringLiteral("Kansai Works");
  std::shared_ptr<MapQ7net> first;
  int32_t number = 0;
  for (const auto& [name, index] : {std::pair{"Roof", 1}, {"Hall", 4}, {"Shop", 2}}) {
    auto map = std::make_shared<MapQ7net>();
    map->mapName = QString::fromLatin1(name);
    map->mapNumber = ++number;
    map->mapIndex = index;
    customer.q7nets.add(map, QString::number(index));
    if (!first) first = map;
  }
  return first;
}

// What OK led to: a message's key, "standby" for the bus warning (answered
// No), or "" when nothing was asked.
QString pressOk(frmInterface& window) {
  QString shown;
  QPointer<QTimer> watch = answerNextModal([&shown](QWidget* modal) {
    if (auto* box = qobject_cast<frmMessage*>(modal)) {
      shown = box->messageKey;
      box->cmdOk->click();
    } else if (auto* warning = qobject_cast<frmStopQ7netAircon*>(modal)) {
      shown = QStringLiteral("standby");
      warning->cmdCancel->click();
    } else {
      modal->close();
    }
  });
  window.cmdFix->click();
  delete watch.data();
  return shown;
}

}  // namespace

class AccessMethodTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void init() {
    ProgramTest::init();
    program().workMode = kWorkRecording;
  }

  void okRefusesInItsOrderAndOnlyWhatItMust() {
    struct Case {
      const char* fault;
      int32_t interfaceMode;
      int32_t gatherMode;
      const char* name;
      bool renaming;
      bool csv;
      bool transfer;
      bool central;
      const char* shown;
    };
    const Case cases[] = {
        {"CSV output refuses before the name is read", 0, 2, "", false, true, true, true, "5-4"},
        {"a data transfer refuses next", 0, 2, "", false, false, true, true, "5-5"},
        {"a customer's bus map needs a name", 0, 2, " ", false, false, false, true, "5-1"},
        {"names are told apart without case", 0, 4, "roof", false, false, false, true, "5-2"},
        {"a sensor-only map may repeat a name", 0, 1, "roof", false, false, false, true, ""},
        {"a rename checks even with sensor input left over", 0, 1, "", true, false, false, true, "5-1"},
        {"a rename may keep its own name in other case", 0, 2, "ROOF", true, false, false, true, ""},
        {"the bus needs centralized operation", 1, 2, "", false, false, false, false, "12-1"},
        {"the bus is warned about before anything starts", 1, 2, "", false, false, false, true, "standby"},
    };
    for (const Case& c : cases) {
      putWindowsAway();
      clearCustomerInfo();
      const auto roof = addCustomerMaps();
      ProgramValues& values = program();
      values.gatherMode = c.gatherMode;
      values.csvOutputRunning = c.csv;
      values.dataTransferRunning = c.transfer;
      values.centralOperation = c.central;
      frmInterface& window = frmInterface::instance();
      window.showForMap(c.interfaceMode, c.renaming ? 1 : 0, c.renaming ? roof : nullptr);
      window.txtMapName->setText(QString::fromLatin1(c.name));
      fake().calls.clear();
      QCOMPARE(pressOk(window), QString::fromLatin1(c.shown));
      const bool started = !fake().callsOf(QStringLiteral("initDataGather")).isEmpty();
      QVERIFY2(started == (QByteArray(c.shown).isEmpty() && !c.renaming), c.fault);
      if (c.renaming) QCOMPARE(roof->mapName, QString::fromLatin1(QByteArray(c.shown).isEmpty() ? c.name : "Roof"));
    }
  }

  void boardModelsChooseOneSystemOrOneUnit() {
    struct Case {
      const char* fault;
      int32_t systemModels;
      int32_t unitModels;
      int chosen;
      int32_t gatherMode;
      const char* target;
    };
    const Case cases[] = {
        {"the first model is chosen at once", 2, 1, 0, 4, "P1"},
        {"the last system model is still a system", 2, 1, 1, 4, "P2"},
        {"a unit model follows the system models", 2, 1, 2, 8, "S1"},
        {"without models the list stays empty", 0, 0, -1, 4, " "},
    };
    for (const Case& c : cases) {
      fake().on<decltype(::getRAMKishuNum)>("getRAMKishuNum", [&c](int32_t kind, int32_t* count) {
        *count = kind == 0 ? c.systemModels : c.unitModels;
        return 0;
      });
      fake().on<decltype(::getRAMKishuName)>("getRAMKishuName", [](int32_t kind, int32_t index, char* name,
                                                                   int32_t* length) {
        const QByteArray text = (kind == 0 ? "P" : "S") + QByteArray::number(index);
        std::memcpy(name, text.constData(), static_cast<std::size_t>(text.size()) + 1);
        *length = static_cast<int32_t>(text.size());
        return 0;
      });
      program().gatherMode = 2;
      frmInterface& window = frmInterface::instance();
      window.showForMap(1, 0);
      window.optMethod[1]->setChecked(true);
      if (c.chosen > 0) window.cboPBoardConect->setCurrentIndex(c.chosen);
      QVERIFY2(window.cboPBoardConect->count() == c.systemModels + c.unitModels, c.fault);
      QVERIFY2(program().gatherMode == c.gatherMode, c.fault);
      QVERIFY2(program().gatherTarget == QString::fromLatin1(c.target), c.fault);
    }
  }

  void fixStartsGatheringOrUndoesAFailedStart() {
    struct Case {
      const char* fault;
      int32_t startAnswer;
      const char* message;
    };
    const Case cases[] = {
        {"a started bus opens the new map", 0, ""},
        {"a port that is missing or taken is told and undone", 3, "5-3"},
        {"other failures are undone silently", 4, ""},
    };
    for (const Case& c : cases) {
      putWindowsAway();
      clearCustomerInfo();
      addCustomerMaps();
      program().gatherMode = 2;
      fake().results["initDataGather"] = c.startAnswer;
      frmInterface& window = frmInterface::instance();
      window.showForMap(0, 0);
      window.txtMapName->setText(QStringLiteral(" Basement "));
      fake().calls.clear();
      MessageCollector messages;
      window.doFix();
      QStringList expected{QStringLiteral("setCentralOperation(1)"), QStringLiteral("initDataGather(1, 1, 3, 2, 1, \" \", 5)")};
      if (c.startAnswer != 0) expected << QStringLiteral("initDataGather(0, 1, 3, 2, 1, \" \", 5)");
      QCOMPARE(fake().calls, expected);
      QCOMPARE(messages.keys, QByteArray(c.message).isEmpty() ? QStringList() : QStringList{QString::fromLatin1(c.message)});
      frmMap& map = frmMap::instance();
      QVERIFY2(map.isLoaded() == (c.startAnswer == 0) && window.isLoaded() == (c.startAnswer != 0), c.fault);
    }
    // The map of the last success: number after the three maps, index after
    // the highest of 1, 4 and 2, the same object built and shown.
    fake().results["initDataGather"] = 0;
    frmInterface::instance().doFix();
    const frmMap& map = frmMap::instance();
    QCOMPARE(map.openedMode(), 0);
    QVERIFY(map.recordingMap() == map.scanMap());
    const MapQ7net& made = *map.recordingMap();
    QCOMPARE(std::tuple(made.mapNumber, made.mapIndex, made.ifMode), std::tuple(4, 5, 2));
    QCOMPARE(made.mapName, QStringLiteral("Basement"));
    QCOMPARE(map.windowTitle(), QStringLiteral("Network Map Display(Kansai Works,Basement,Q7-NET)"));
  }
};

QTEST_MAIN(AccessMethodTest)
#include "access_method_test.moc"
