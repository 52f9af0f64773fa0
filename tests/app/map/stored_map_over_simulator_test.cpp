// Stored maps over the real library and a simulated installation: a
// customer's map opened from the map list follows the bus, a unit that
// speaks later makes the engineer adopt the bus, and the customer file keeps
// the units' customer-record data; a board map on the Plus adapter is
// refused.
#include "frame/program_start.h"
#include "frame/program_values.h"
#include "frame/site/customer_file.h"
#include "frame/site/site_files.h"
#include "map/frmMap.h"
#include "map/frmMapsList.h"
#include "map/map_list.h"
#include "map/stored_map_samples.h"
#include "program_windows.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"

#include <QFile>
#include <QPushButton>
#include <QtTest>

#include <fstream>
#include <iterator>

namespace {

std::string storedMapScenario() {
  std::ifstream in(PELOMAR_BIN_DIR "/stored-map.scenario");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The installation as it was stored before indoor unit 20 came: outdoor 1
// and indoor 17 on ROM number 0x101, central unit 32.
std::shared_ptr<MapQ7net> mapWithoutUnit20() {
  auto map = std::make_shared<MapQ7net>();
  std::tie(map->ifMode, map->mapIndex, map->mapNumber, map->mapName) = std::tuple(2, 1, 1, QStringLiteral("Hall"));
  std::tie(map->saveYear, map->saveMonth, map->saveDay) = std::tuple(2024, 5, 1);
  addOrdinary(*map, 0x101, {{1, 0, "TALMA-224", 1}}, {{17, 0, "VELUN-28", 2}});
  addCentral(*map, {32, 0, "CORDA-CX1", 3});
  addLinks(*map, {"TALMA-224", "VELUN-28", "CORDA-CX1"}, true);
  return map;
}

// The customer "c1" with the map, written and read back, and the list shown
// as the customer list's Select shows it.
frmMapsList& showCustomerMaps(const std::shared_ptr<MapQ7net>& map) {
  clearCustomerInfo();
  std::tie(currentCustomer().id, currentCustomer().name) = std::tuple(QStringLiteral("c1"), QStringLiteral("Shop"));
  currentCustomer().q7nets.add(map, numberKey(map->mapIndex));
  if (!saveCustomerFile() || !loadCustomerFile(QStringLiteral("c1"))) qFatal("the customer file does not go round");
  program().workMode = kWorkRecording;
  frmMapsList& list = frmMapsList::instance();
  list.mapsListComeFrom = frmMapsList::kFromCustomerList;
  list.showForm();
  return list;
}

}  // namespace

class StoredMapOverSimulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void storedMapFollowsTheBusAndAdoptsAUnitThatSpeaksLater() {
    SimulatedInstallation site(storedMapScenario());
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    QVERIFY(startProgram(StartEnvironment{QDate(2024, 5, 1), site.lockFolder()}));
    installProgramWindows();
    frmMapsList& list = showCustomerMaps(mapWithoutUnit20());
    QTest::keyClick(&list, Qt::Key_F1);  // every model known: opened at once
    frmMap& window = frmMap::instance();
    QVERIFY(window.isLoaded() && window.openedMode() == kMapModeStored);
    const auto stored = window.recordingMap();

    // The stored units come on line as the bus shows them.
    const MapAircon& outdoor = *stored->systems.item(1)->airconsOut.item(1);
    const MapAircon& central = *stored->systemsCen.item(1)->airconsCen.item(1);
    QVERIFY2(QTest::qWaitFor([&] { return outdoor.onLine >= 3 && central.onLine >= 3; }, 20000),
             qPrintable(QStringLiteral("%1 %2").arg(outdoor.onLine).arg(central.onLine)));
    QCOMPARE(window.openedMode(), kMapModeStored);

    // Indoor unit 20 speaks: asked, and Yes adopts the bus.
    ModalAnswerer answers({true});
    QVERIFY2(QTest::qWaitFor([&] { return window.openedMode() == kMapModeScan; }, 40000), qPrintable(answers.seen.join(' ')));
    QCOMPARE(answers.seen, QStringList{QStringLiteral("frmChangeMap")});
    const auto adopted = window.recordingMap();
    QList<int32_t> indoor;
    for (const auto& unit : adopted->systems.item(1)->airconsIn) indoor << unit->autoAddress;
    QCOMPARE(indoor, (QList<int32_t>{17, 20}));

    inside(window).cmdCancel->click();
    QVERIFY(QTest::qWaitFor([] { return !program().mapFormOpen; }, 5000));
    CustomInfor written;
    ReadFault fault;
    QVERIFY2(readCustomerText(site.folder.read(QStringLiteral("c1/c1.dak")), written, fault), qPrintable(fault.text()));
    QCOMPARE(written.q7nets.count(), 1);
    const auto kept = mapOfNumber(written, 1);
    QVERIFY(kept && kept->mapName == QLatin1String("Hall") && kept->mapIndex == 1);
    // The old records by number (the adopted scan numbered a20 before the
    // central unit, which has record 4 now).
    QVERIFY2(linksText(*kept).startsWith(QStringLiteral("1:TALMA-224@1 2:VELUN-28@2 3:CORDA-CX1@3 4:")),
             qPrintable(linksText(*kept)));
    QVERIFY(frmMapsList::instance().isLoaded());
  }

  void boardMapOnThePlusAdapterIsStartedStoppedAndRefused() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    site.folder.write(QStringLiteral("pelomar3.ini"), QByteArrayLiteral("[HEAD]\r\nADPTYP=1\r\n"));
    QVERIFY(startProgram(StartEnvironment{QDate(2024, 5, 1), site.lockFolder()}));
    QCOMPARE(program().adapterOptions[0], int16_t(1));
    auto map = mapWithoutUnit20();
    std::tie(map->ifMode, map->generalKind) = std::tuple(4, QStringLiteral("PARVO-710"));
    frmMapsList& list = showCustomerMaps(map);
    MessageCollector messages;
    QTest::keyClick(&list, Qt::Key_F1);
    QCOMPARE(messages.keys, QStringList{QStringLiteral("5-8")});
    QVERIFY(list.isLoaded() && !frmMap::instance().isLoaded());
    int32_t periodic = 0, trigger = 0;
    QCOMPARE(site.library().execTramsoll(&periodic, &trigger), 1);  // not gathering
  }
};

QTEST_MAIN(StoredMapOverSimulatorTest)
#include "stored_map_over_simulator_test.moc"
