// The sensor-input set-up over the map window and the fake library: sizes
// of a sensor-only map, the greyed recording part of a bus or board map,
// the measurement inputs with their checks, completion and Cancel, the
// checks the map window calls, and the lock while periodic recording runs.
#include "frame/main_window.h"
#include "recording/frmRecodeSensorInput.h"
#include "recording_windows.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString shownSize(const frmRecodeSensorInput& setUp) { return setUp.txtFileSize->text() + setUp.lblFileSizeUnit->text(); }

// The adapter's switches of inputs 7 and 8.
void scriptSwitches(FakeTramsoll& fake, int32_t switch7, int32_t switch8) {
  fake.on<decltype(::getSensorSwPos)>("getSensorSwPos", [switch7, switch8](int32_t* seven, int32_t* eight) {
    *seven = switch7;
    *eight = switch8;
    return 0;
  });
}

}  // namespace

class SensorInputSetupTest : public ProgramTest {
  Q_OBJECT

  // A sensor-only map (mode 1) with the dialog shown modeless over it.
  frmRecodeSensorInput& openOnSensorMap(int32_t method = 0, int32_t minutes = 30) {
    auto map = makeMap("");
    map->ifMode = 1;
    openMapWindow(map, 20, method, minutes);
    frmRecodeSensorInput& setUp = frmRecodeSensorInput::instance();
    setUp.showModeless();
    return setUp;
  }

 private slots:
  void init() {
    ProgramTest::init();
    scriptLibrary(fake(), {{2, {2000, 100}}}, 100);
  }

  void sensorOnlySizesFollowIntervalStopAndMinutes() {
    frmRecodeSensorInput& setUp = openOnSensorMap();
    QStringList hourly;
    for (int index = 0; index < setUp.cboInterval->count(); ++index) {
      setUp.cboInterval->setCurrentIndex(index);
      hourly << setUp.txtFileSize->text();
    }
    QCOMPARE(hourly, (QStringList{"23", "12", "7", "5", "3", "2", "2", "1", "1"}));
    QCOMPARE(setUp.lblFileSizeUnit->text(), "KB/hour(s)");
    setUp.cboInterval->setCurrentIndex(3);
    setUp.optEndMethod[1]->click();
    setUp.txtTime->setText("40");
    QCOMPARE(shownSize(setUp), "3KB");
    setUp.txtTime->setText("0");
    QCOMPARE(shownSize(setUp), "0KB");
    setUp.txtTime->setText("99999999");
    QCOMPARE(setUp.txtTime->text() + " " + QString::number(recordingMap()->recodeTime), "10000000 10000000");
    QCOMPARE(setUp.windowTitle(), "Periodic Recording Setting(Sensor input only)");
    QCOMPARE(setUp.txtFreeDisk->text(), "0.1");
    // Cancel keeps what was changed on the map.
    setUp.optEndMethod[0]->click();
    QTest::keyClick(&setUp, Qt::Key_Escape);
    QVERIFY(!setUp.isLoaded() && recordingMap()->recodeMethod == 0 && !program().dialogOpen);
  }

  void sensorModesGreyTheRecordingPartAndShowTheCarriersSize() {
    const struct {
      int32_t ifMode;
      const char* title;
    } cases[] = {{3, "Periodic Recording Setting(Q7-NET,System 2,Sensor input)"},
                 {5, "Periodic Recording Setting(PCB connection,System 2,Sensor input)"},
                 {9, "Periodic Recording Setting(PCB connection,System 2,Sensor input)"}};
    for (const auto& c : cases) {
      auto map = makeMap("13 13", "", 2);
      map->ifMode = c.ifMode;
      openMapWindow(map, 30, 1, 60);
      frmRecodeSensorInput& setUp = frmRecodeSensorInput::instance();
      setUp.showModeless();
      QCOMPARE(setUp.windowTitle(), QLatin1String(c.title));
      QCOMPARE(shownSize(setUp), "18KB");
      QVERIFY(!setUp.cboInterval->isEnabled() && !setUp.txtTime->isEnabled() && !setUp.txtFreeDisk->isEnabled());
      QVERIFY(setUp.txtName[0]->isEnabled() && setUp.cmdEnd->isEnabled());
      setUp.unload();
    }
    // A sensor-only map afterwards has them back.
    frmRecodeSensorInput& setUp = openOnSensorMap(1);
    QVERIFY(setUp.cboInterval->isEnabled() && setUp.txtTime->isEnabled() && setUp.txtFreeDisk->isEnabled());
  }

  void valueChecksFocusTheFirstBoxAtFaultAndStoreNothing() {
    const struct {
      const char *offset7, *offset8, *fullScale7;
      int focused;  // 0 offset 7, 1 offset 8, 2 full scale 7
    } cases[] = {{"0", "1x", "0", 1}, {"a", "1x", "0", 0}, {"0", "0", "2147483648", 2}};
    scriptSwitches(fake(), 1, 1);
    for (const auto& c : cases) {
      frmRecodeSensorInput& setUp = openOnSensorMap();
      setUp.txtName[2]->setText("changed");
      setUp.analogInputs[0].txtOffset->setText(c.offset7);
      setUp.analogInputs[1].txtOffset->setText(c.offset8);
      setUp.analogInputs[0].txtFullScale->setText(c.fullScale7);
      MessageCollector messages;
      QTest::keyClick(&setUp, Qt::Key_F1);
      QLineEdit* const boxes[] = {setUp.analogInputs[0].txtOffset, setUp.analogInputs[1].txtOffset,
                                  setUp.analogInputs[0].txtFullScale};
      QVERIFY(messages.keys == QStringList{"8-1"} && setUp.focusWidget() == boxes[c.focused]);
      QVERIFY(setUp.isLoaded() && recordingMap()->itemName3 == "Th3");
      setUp.cmdCancel->click();
      QVERIFY(!setUp.isLoaded() && recordingMap()->itemName3 == "Th3");
      QVERIFY(fake().callsOf("setSensorParm").isEmpty());
    }
  }

  void completionStoresTheInputsAndHandsThemToTheLibrary() {
    scriptSwitches(fake(), 1, 0);
    frmRecodeSensorInput& setUp = openOnSensorMap();
    // The adapter moved input 7 to analog: named and captioned "A", its row
    // open for use; input 8 stays fixed and closed.
    QCOMPARE(setUp.chk[6]->text() + setUp.txtName[6]->text() + setUp.chk[7]->text(), "AATh6");
    QVERIFY(setUp.analogInputs[0].txtOffset->isEnabled() && !setUp.analogInputs[1].txtOffset->isEnabled());
    saveScreenshot(setUp, "frmRecodeSensorInput");
    setUp.chk[6]->setChecked(true);
    setUp.chk[7]->setChecked(false);
    setUp.analogInputs[0].optLevel[1]->click();
    setUp.analogInputs[0].txtOffset->setText("-10");
    setUp.analogInputs[0].txtFullScale->setText(" 2.5 ");
    setUp.txtName[2]->setText("");
    // Names and units the library would refuse are cut as they are typed.
    setUp.txtName[3]->setText(QString(70, QLatin1Char('n')));
    setUp.analogInputs[0].txtUnit->setText(QString(20, QChar(0xE9)));
    QCOMPARE(setUp.txtName[3]->text().size() * 100 + setUp.analogInputs[0].txtUnit->text().size(), 6315);
    QTest::keyClick(setUp.txtName[0], Qt::Key_F1);
    QVERIFY(!setUp.isLoaded());
    const MapQ7net& map = *recordingMap();
    QCOMPARE(map.itemName3 + "|" + map.itemName7, "|A");
    QCOMPARE(std::tuple(map.range7, map.offset7, map.fullscall7, program().sensorParams.offset7), std::tuple(1, -10, 2, -10));
    const QStringList sent = fake().callsOf("setSensorParm");
    QCOMPARE(sent.size(), 8);
    QCOMPARE(sent[2], R"(setSensorParm(3, 1, "", 0, 5, 0, 0, " "))");
    QCOMPARE(sent[6], QStringLiteral("setSensorParm(7, 1, \"A\", 1, 1, -10, 2, \"%1\")").arg(QString(15, QChar(0xE9))));
  }

  void checksOfTheMapWindowNeverLoadTheDialog() {
    const struct {
      int32_t method, minutes, freeKb;
      int32_t result;
      bool over;
    } cases[] = {{1, 0, 0, 1, false}, {1, -5, 0, 1, false}, {1, 30, 2, 0, true}, {1, 30, 3, 0, false}, {0, 0, 0, 0, false}};
    for (const auto& c : cases) {
      scriptLibrary(fake(), {}, c.freeKb);
      auto map = makeMap("");
      map->ifMode = 1;
      openMapWindow(map, 20, c.method, c.minutes);
      frmRecodeSensorInput& setUp = frmRecodeSensorInput::instance();
      MessageCollector messages;
      int32_t result = -1;
      bool over = !c.over;
      setUp.checkRecodeData(result);
      setUp.whetherFileSizeOver(over);
      QCOMPARE(std::tuple(result, over, messages.keys.size()), std::tuple(c.result, c.over, c.result ? 1 : 0));
      QVERIFY(!setUp.isLoaded());
    }
  }

  void whileRecordingTheInputsSpringBackAndF1DoesNothing() {
    scriptSwitches(fake(), 1, 1);
    auto map = makeMap("");
    map->ifMode = 1;
    frmMap& mapWindow = openMapWindow(map);
    inside(mapWindow).mapRecode = true;
    frmRecodeSensorInput& setUp = frmRecodeSensorInput::instance();
    setUp.showModeless();
    QVERIFY(!setUp.cmdEnd->isEnabled());
    setUp.chk[0]->setChecked(false);
    setUp.txtName[1]->setText("x");
    setUp.analogInputs[1].optLevel[1]->click();
    setUp.analogInputs[1].txtUnit->setText("V");
    setUp.cboInterval->setCurrentIndex(0);
    QTest::keyClick(&setUp, Qt::Key_F1);
    QVERIFY(setUp.chk[0]->isChecked() && setUp.txtName[1]->text() == "Th2" && setUp.txtFileSize->text() == "7");
    QVERIFY(setUp.analogInputs[1].optLevel[0]->isChecked() && setUp.analogInputs[1].txtUnit->text().isEmpty());
    QVERIFY(setUp.isLoaded() && fake().callsOf("setSensorParm").isEmpty());
    QTRY_COMPARE(mainWindowParts().statusLine->text(), "Input recording conditions.");
  }
};

QTEST_MAIN(SensorInputSetupTest)
#include "sensor_input_setup_test.moc"
