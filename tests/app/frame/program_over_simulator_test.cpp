// The program started over the real library and the simulated sample
// installation: gathering on COM1, the library's lines in the debug-message
// window, the scenario's units read back, and a set-up that comes down
// cleanly enough for the next one to gather again.
#include "frame/frmDebugMessage.h"
#include "frame/program_start.h"
#include "support/simulated_installation.h"

#include <QListWidget>
#include <QtTest>

#include <array>
#include <set>

namespace {

constexpr int kAddresses = 256;
constexpr int kOutdoor = 0;
constexpr int kIndoor = 1;

// Gathering on the bus as a fixed map starts it: COM1, tool generation 3,
// interface mode 2, 5 s gather interval.
int32_t startBusGathering() { return tramsollApi().initDataGather(1, 1, 3, 2, 0, " ", 5); }

// The addresses of one unit class the library has heard, and their ROM and
// zubrel numbers.
struct HeardUnits {
  std::set<int> addresses;
  std::array<int32_t, kAddresses> rom{};
  std::array<int32_t, kAddresses> zubrel{};
};

HeardUnits heardUnits(int32_t unitClass) {
  std::array<int32_t, kAddresses> states{}, rows{}, alarms{};
  HeardUnits heard;
  if (tramsollApi().getQ7AuAdrStatus(unitClass, states.data(), rows.data(), alarms.data(), heard.rom.data(),
                                     heard.zubrel.data()) != 0) {
    return heard;
  }
  for (int a = 0; a < kAddresses; ++a) {
    if (states[static_cast<std::size_t>(a)] != 0) heard.addresses.insert(a);
  }
  return heard;
}

// Waits, with the event loop running, until every address is heard.
bool waitForUnits(int32_t unitClass, const std::set<int>& addresses) {
  return QTest::qWaitFor([&] { return heardUnits(unitClass).addresses == addresses; }, 15000);
}

QStringList shownLines() {
  QStringList lines;
  const QListWidget* list = frmDebugMessage::instance().lstDebugMessage;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

}  // namespace

class ProgramOverSimulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { frmDebugMessage::instance().unload(); }

  void programGathersTheSampleInstallationThroughTheLibrary() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    QVERIFY(startProgram(StartEnvironment{QDate(2024, 5, 1), site.lockFolder()}));
    QCOMPARE(startBusGathering(), 0);

    frmDebugMessage::instance().showForm();
    QVERIFY2(QTest::qWaitFor([] { return shownLines().contains(QStringLiteral("AdpComm : COM Port 1 Open")); }, 5000),
             qPrintable(shownLines().join('\n')));
    QVERIFY(!shownLines().filter(QRegularExpression(QStringLiteral("^Tramsoll: Start Timer "))).isEmpty());

    // The sample installation: outdoor units 1, 2, 3 and 6, indoor units 17,
    // 18 and 19.
    QVERIFY(waitForUnits(kOutdoor, {1, 2, 3, 6}));
    QVERIFY(waitForUnits(kIndoor, {17, 18, 19}));
    const HeardUnits outdoor = heardUnits(kOutdoor);
    QCOMPARE(outdoor.rom[2], 0x202);
    QCOMPARE(outdoor.zubrel[3], 3);
    QCOMPARE(site.libraryFailures(), QStringList());
  }

  void aTakenDownInstallationLeavesNothingRunning() {
    for (int round = 0; round < 2; ++round) {
      SimulatedInstallation site;
      QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
      // Each round's library start and gathering find a free port and a
      // stopped worker.
      QCOMPARE(tramsollApi().initTramsoll(), 0);
      QCOMPARE(startBusGathering(), 0);
      QVERIFY2(waitForUnits(kOutdoor, {1, 2, 3, 6}), qPrintable(QString::number(round)));
    }
    // Gathering stopped, the fake or the file library is back in place, and
    // COM1 no longer leads to a simulator that is gone.
    QVERIFY(qEnvironmentVariableIsEmpty("TRAMSOLL_COM1"));
    TramsollLibrary library(QStringLiteral(PELOMAR_BIN_DIR "/libtramsoll.so"), [](const QString&) {});
    int32_t saving = 7, trigger = 7;
    QCOMPARE(library.execTramsoll(&saving, &trigger), 1);  // not gathering
  }
};

QTEST_MAIN(ProgramOverSimulatorTest)
#include "program_over_simulator_test.moc"
