// A trigger recording set up in the trigger set-up and started from the map,
// over the real library and a simulated installation: it is inspected while
// the chosen condition does not hold, fires when the simulated unit switches
// the item, and the file it leaves names the chosen conditions.
#include "frame/library/tramsoll_client.h"
#include "map/frmMap.h"
#include "map/map_picture.h"
#include "program_windows.h"
#include "recording/frmRecodeTrigger.h"
#include "recording_windows.h"
#include "simulator.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"
#include "vexa5_adapter.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <sstream>

namespace {

// One system of the sample models: outdoor unit 1, whose warning frame is
// sent once, with the warning off, and indoor unit 17.
const std::string kScenario = R"(adapter switches 1 value 0x10
unit outdoor 1 rom 00000101 model A102 zubrel 1
frame 60 every 5000 after 200
frame E0 every 2000 after 300 data 00 00 01 01 01 01 05 01 5A 0C 80 30 01 F4 00 00
frame EA every 600000 after 600 data 00 00 01 01 01 00 00 00
unit indoor 17 rom 00000101 model 4102 zubrel 1
frame 61 every 5000 after 250
frame 62 every 2000 after 350 data 00 00 01 01 01 01 02 16 05 03 00 00
)";

// The adapter's packet of outdoor unit 1's warning frame with the warning on.
adaptersim::Bytes warningOnPacket() {
  adaptersim::Scenario parsed;
  std::istringstream text(kScenario);
  std::string error;
  adaptersim::parseScenario(text, parsed, error);
  adaptersim::ScenarioFrame frame;
  frame.command = 0xEA;
  frame.hasData = true;
  frame.data = {0x00, 0x00, 0x01, 0x01, 0x01, 0x00, 0x01, 0x00};
  return adaptersim::Vexa5Adapter::busFramePacket(adaptersim::busFrame(parsed.units.front(), frame), 0x00);
}

int rowNamed(const QTableWidget& grid, const QString& ending) {
  for (int row = 0; row < grid.rowCount(); ++row) {
    if (grid.item(row, 0) && grid.item(row, 0)->text().endsWith(ending)) return row;
  }
  return -1;
}

}  // namespace

class TriggerOverSimulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void aConditionChosenInTheSetUpFiresWhenTheUnitSwitchesTheItem() {
    SimulatedInstallation site(kScenario);
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    installProgramWindows();
    frmMap* opened = startWithBusMap(site);
    QVERIFY(opened);
    frmMap& map = *opened;
    const auto onLine = [&map] {
      const auto system = map.recordingMap()->systems.item(1);
      return system && system->airconsOut.item(1) && system->airconsOut.item(1)->onLine == 3;
    };
    QVERIFY(QTest::qWaitFor(onLine, 40000));

    // The warning of outdoor unit 1 is to be on.
    QTest::keyClick(&map, Qt::Key_F5);
    QTest::keyClick(&map, Qt::Key_F8);
    frmRecodeTrigger& setUp = frmRecodeTrigger::instance();
    QVERIFY(setUp.isVisible());
    const int warning = rowNamed(*setUp.grdCondition, QStringLiteral(" O-1-Warning"));
    QVERIFY2(warning >= 0, qPrintable(column(*setUp.grdCondition, 0).join(',')));
    clickCell(*setUp.grdCondition, warning, 1);
    QComboBox& list = *setUp.cboCondition;
    QCOMPARE(list.itemText(0) + list.itemText(1) + list.itemText(2), QStringLiteral("OFFONIGNORED"));
    list.view()->setCurrentIndex(list.model()->index(1, 0));
    QTest::keyClick(list.view(), Qt::Key_Return);
    QTest::keyClick(&list, Qt::Key_Return);
    QTest::keyClick(&setUp, Qt::Key_F1);
    QVERIFY(!setUp.isLoaded());

    // Inspected while the warning is off, recorded once it is on.
    const QLabel& mark = *inside(map).picMap->lblRecodeTrigger[0];
    QTest::keyClick(&map, Qt::Key_F9);
    QVERIFY(map.isRecordingTrigger());
    QTest::qWait(7000);  // more than one snapshot of the library
    QCOMPARE(mark.text(), QStringLiteral("Trig. Inspect."));
    site.simulator().injectBytes(warningOnPacket());
    QVERIFY(QTest::qWaitFor([&] { return mark.text() == QStringLiteral("Trig. Record."); }, 20000));
    QTest::keyClick(&map, Qt::Key_F9);
    QVERIFY(!map.isRecordingTrigger());

    // The file names the chosen condition of the warning.
    const QString folder = site.folder.path() + QLatin1Char('/');
    const QByteArray folderText = folder.toUtf8();
    int32_t files = 0;
    tramsollApi().getFileNum(folderText.constData(), &files);
    QCOMPARE(files, 1);
    QCOMPARE(tramsollApi().selectDataFile(folderText.constData(), 1), 0);
    int32_t conditions = 0;
    QCOMPARE(tramsollApi().getPlyTrgNum(folderText.constData(), 1, kOutdoorUnit, 1, &conditions), 0);
    QStringList stored;  // "name=condition 1/condition 2"
    for (int32_t k = 1; k <= conditions; ++k) {
      const TriggerItemInfo item = TramsollClient().triggerItem(folder, 1, kOutdoorUnit, 1, k);
      stored << item.itemName + QLatin1Char('=') + item.conditionText1 + QLatin1Char('/') + item.conditionText2;
    }
    // Every item is stored; only the warning's first condition is set.
    QVERIFY2(stored.contains(QStringLiteral("Error=/")), qPrintable(stored.join(' ')));
    stored.removeIf([](const QString& item) { return item.endsWith(QLatin1String("=/")); });
    QCOMPARE(stored, QStringList{QStringLiteral("Warning=ON/")});
    inside(map).cmdCancel->click();
    QVERIFY(QTest::qWaitFor([] { return !program().mapFormOpen; }, 5000));
  }
};

QTEST_MAIN(TriggerOverSimulatorTest)
#include "trigger_over_simulator_test.moc"
