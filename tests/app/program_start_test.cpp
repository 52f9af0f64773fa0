// The start of the program against the fake library: its order, the clock
// and second-copy refusals, the main window from the stored settings, the
// settings and display options, the files read and the folders made, and
// the end when the library cannot start.
#include "frame/frmDspParam.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/frmSplash.h"
#include "frame/program_end.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "support/program_fixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <cstring>

namespace {

QStringList panelLines() {
  QStringList lines;
  for (QLabel* label : frmDspParam::instance().Label1) lines << label->text();
  return lines;
}

}  // namespace

class ProgramStartTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { putWindowsAway(); }

  void clockOutsideItsYearsEndsAtOnce_data() {
    QTest::addColumn<QDate>("today");
    QTest::newRow("2038") << QDate(2038, 1, 1);
    QTest::newRow("1969") << QDate(1969, 12, 31);
  }
  void clockOutsideItsYearsEndsAtOnce() {
    QFETCH(QDate, today);
    ProgramFixture world;
    world.store.store(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), QStringLiteral("4"));
    QStringList message;
    readNextMessage(message);
    QVERIFY(!startProgram(world.environment(today)));
    QCOMPARE(message, QStringList({QStringLiteral("Error No.:1-3"), tableText(414), tableText(415), QString()}));
    QVERIFY(programHasEnded());
    QVERIFY(!frmMdi::instance().isVisible());
    QVERIFY(world.library.fake.calls.isEmpty());
    QCOMPARE(program().comPortNo, 1);  // no setting was read
    QVERIFY(!QFileInfo::exists(world.store.path() + QStringLiteral("/pelomar3.lock")));
  }

  void startsInItsOrder() {
    ProgramFixture world;
    world.store.store(QStringLiteral("DspOption"), QStringLiteral("TmpUnit"), QStringLiteral("1"));
    world.store.store(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), QStringLiteral("3"));
    world.store.store(QStringLiteral("SensorInput"), QStringLiteral("Range7"), QStringLiteral("1"));
    world.store.store(QStringLiteral("SensorInput"), QStringLiteral("Unit8"), QStringLiteral("kPa"));
    DataManageInfor station;
    station.ssName = QStringLiteral("Kansai Service");
    world.folder.write(QStringLiteral("pelomar3.dam"), serviceStationText(station, 1, 50));
    world.library.fake.on<decltype(::getControlDataChangeMode)>(
        "getControlDataChangeMode", [](int32_t* mode, char* password, int32_t* length) {
          *mode = 2;
          std::memcpy(password, "kestrel7", 9);
          *length = 8;
          return 0;
        });
    program().workMode = kWorkRecording;  // left over: a start begins afresh

    QVERIFY(startProgram(world.environment(QDate(2037, 12, 31))));
    QVERIFY(!programHasEnded());
    QCOMPARE(world.callNames(), QStringList({QStringLiteral("setTmpUnit"), QStringLiteral("getSetFileVer"),
                                             QStringLiteral("initTramsoll"),
                                             QStringLiteral("getControlDataChangeMode")}));
    QCOMPARE(world.library.fake.calls[0], QStringLiteral("setTmpUnit(1)"));

    const ProgramValues& values = program();
    QCOMPARE(values.controlChangeMode, 2);
    QCOMPARE(values.accessPassword, QStringLiteral("kestrel7"));
    QCOMPARE(values.comPortNo, 3);
    QCOMPARE(values.sensorParams.range7, 1);
    QCOMPARE(values.sensorParams.range8, 5);
    QCOMPARE(values.sensorParams.unit8, QStringLiteral("kPa"));
    QVERIFY(values.centralOperation);
    QCOMPARE(values.workMode, int32_t(kWorkFree));
    QCOMPARE(values.dataFunction, int32_t(kDataFree));
    QCOMPARE(values.gatherTarget, QStringLiteral(" "));
    QCOMPARE(values.displayOptions[kTempUnit], int16_t(1));

    frmMdi& main = frmMdi::instance();
    QVERIFY(main.isVisible());
    QCOMPARE(main.size(), QSize(twipsToPixels(9600), twipsToPixels(7095)));
    QCOMPARE(ticks(main.mnuComNo), QList<bool>({false, false, true, false, false, false, false, false}));
    QVERIFY(main.mnuPermission->isChecked());
    QVERIFY(!main.mnuProhibition->isChecked());
    QCOMPARE(ticks(main.mnuAdapterType), QList<bool>({true, false}));
    QCOMPARE(ticks(main.mnuTempUnit), QList<bool>({false, true}));
    QCOMPARE(panelLines(), QStringList({QStringLiteral("ADP : pelomar vexa5 "), QStringLiteral("Com : COM3"),
                                        QStringLiteral("Cen.Ope. : ON"), QStringLiteral("Ver. : 3.12")}));
    QVERIFY(frmDspParam::instance().isVisible());
    QVERIFY(frmMain::instance().isVisible());
    QCOMPARE(frmMain::instance().lblVersion->text(), QStringLiteral("Ver.3.12"));
    QVERIFY(!frmSplash::instance().isVisible());
    QCOMPARE(main.cursor().shape(), Qt::ArrowCursor);  // the hourglass is gone

    QVERIFY(QFileInfo(world.folder.file(QStringLiteral("csv"))).isDir());
    QVERIFY(QFileInfo(world.folder.file(QStringLiteral("q7data"))).isDir());
    QCOMPARE(values.csvFolder, world.folder.file(QStringLiteral("csv/data")));
    QCOMPARE(serviceShop().ssName, QStringLiteral("Kansai Service"));
    saveScreenshot(main, QStringLiteral("frmMdi_started"));
  }

  void storedDisplayOptionsPassTheirHandlers() {
    ProgramFixture world;
    const QString section = QStringLiteral("DspOption");
    world.store.store(section, QStringLiteral("FontSz"), QStringLiteral("8"));
    world.store.store(section, QStringLiteral("SbLine"), QStringLiteral("15"));
    world.store.store(section, QStringLiteral("Hcursor"), QStringLiteral("1"));  // as written at the end
    world.store.store(section, QStringLiteral("OSver"), QStringLiteral("7"));
    world.store.store(section, QStringLiteral("FntClr"), QStringLiteral("colors"));
    world.store.store(section, QStringLiteral("TmpUnit"), QStringLiteral("3"));
    QVERIFY(startProgram(world.environment()));
    const auto& options = program().displayOptions;
    QCOMPARE(options[kFontSize], int16_t(8));
    QCOMPARE(options[kSubLine], int16_t(0));
    QCOMPARE(options[kCursor], int16_t(1));
    QCOMPARE(options[kOsVersion], int16_t(1));
    QCOMPARE(options[kFontColor], int16_t(0));  // unreadable: its default
    QCOMPARE(options[kTempUnit], int16_t(0));
    QCOMPARE(world.library.fake.callsOf(QStringLiteral("setTmpUnit")), QStringList({QStringLiteral("setTmpUnit(0)")}));
    frmMdi& main = frmMdi::instance();
    QCOMPARE(ticks(main.mnuFontSize), QList<bool>({true, false}));
    QCOMPARE(ticks(main.mnuSubLine), QList<bool>({true, false, false}));
    QCOMPARE(ticks(main.mnuCursor), QList<bool>({false, true}));
    QCOMPARE(ticks(main.mnuOsVersion), QList<bool>({false, true}));
    QCOMPARE(ticks(main.mnuFontColor), QList<bool>({true, false}));
    QCOMPARE(ticks(main.mnuTempUnit), QList<bool>({true, false}));
  }

  void mainWindowFromItsStoredPlace() {
    ProgramFixture world;
    const QString section = QStringLiteral("DspOption");
    world.store.store(section, QStringLiteral("Win_Width"), QStringLiteral("100"));
    world.store.store(section, QStringLiteral("Win_Height"), QStringLiteral("8010"));
    world.store.store(section, QStringLiteral("Win_Top"), QStringLiteral("-50"));
    world.store.store(section, QStringLiteral("Win_Left"), QStringLiteral("300"));
    world.store.store(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), QStringLiteral("9"));
    QVERIFY(startProgram(world.environment()));
    frmMdi& main = frmMdi::instance();
    QCOMPARE(main.size(), QSize(twipsToPixels(7400), twipsToPixels(8010)));
    QCOMPARE(main.pos(), QPoint(twipsToPixels(300), 0));
    QCOMPARE(program().comPortNo, 1);
    QVERIFY(main.mnuComNo[0]->isChecked());
    QCOMPARE(panelLines()[1], QStringLiteral("Com : COM1"));
  }

  void secondCopyIsRefused() {
    ProgramFixture world;
    QVERIFY(startProgram(world.environment()));
    world.library.fake.calls.clear();
    QStringList message;
    readNextMessage(message);
    QVERIFY(!startProgram(world.environment()));
    QCOMPARE(message, QStringList({QStringLiteral("Error No.:1-1"), QString(), tableText(411), QString()}));
    QVERIFY(programHasEnded());
    QVERIFY(world.library.fake.calls.isEmpty());

    // Another holder of the lock, such as a copy started before, refuses too.
    releaseInstanceLock();
    QLockFile other(world.store.path() + QStringLiteral("/pelomar3.lock"));
    QVERIFY(other.tryLock(0));
    readNextMessage(message);
    QVERIFY(!startProgram(world.environment()));
    QCOMPARE(message[0], QStringLiteral("Error No.:1-1"));
    other.unlock();
    QVERIFY(startProgram(world.environment()));
  }

  void textsFromTheStartFolderFilesFromTheProgramFolder() {
    ProgramFixture world;
    // Started from a launcher's folder that holds Lang.ini (and a stray
    // pelomar3.ini); the program folder holds the program's pelomar3.ini.
    QTemporaryDir startFolder;
    const auto write = [](const QString& path, const QByteArray& text) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(text);
    };
    write(startFolder.filePath(QStringLiteral("Lang.ini")),
          "0,JA\r\n19,Pelomar JA\r\n20,\xE6\xA9\x9F\xE8\x83\xBD\r\n29,\"\"\r\n30,Kopie\r\nEND\r\n");
    write(startFolder.filePath(QStringLiteral("pelomar3.ini")), "[HEAD]\r\nADPTYP=0\r\n");
    world.folder.write(QStringLiteral("pelomar3.ini"), "[HEAD]\r\nADPTYP=1\r\n");
    QDir::setCurrent(startFolder.path());

    QVERIFY(startProgram(world.environment()));
    QCOMPARE(QDir::current().canonicalPath(), QDir(world.folder.path()).canonicalPath());
    QCOMPARE(program().adapterOptions[0], int16_t(1));
    QCOMPARE(panelLines()[0], QStringLiteral("ADP : plus adapter "));
    frmMdi& main = frmMdi::instance();
    QCOMPARE(ticks(main.mnuAdapterType), QList<bool>({false, true}));
    QCOMPARE(main.windowTitle(), QStringLiteral("Pelomar JA"));
    QCOMPARE(main.mnuFunction->title(), QStringLiteral("機能"));
    QCOMPARE(main.mnuRecode->text(), QString());  // no text: the caption empties
    QCOMPARE(main.mnuCut->text(), QStringLiteral("Cut (&T)"));  // Edit items only from a text
    QCOMPARE(main.mnuCopy->text(), QStringLiteral("Kopie"));
    QCOMPARE(main.mnuComNo[0]->text(), QStringLiteral("COM1"));
  }

  void libraryThatCannotStartEndsTheProgram() {
    ProgramFixture world;
    world.library.fake.results["initTramsoll"] = 1;
    world.store.store(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), QStringLiteral("2"));
    QStringList message;
    readNextMessage(message);
    QVERIFY(!startProgram(world.environment()));
    QCOMPARE(message, QStringList({QStringLiteral("Error No.:1-2"), tableText(412), tableText(413), QString()}));
    QVERIFY(programHasEnded());
    QVERIFY(!frmMdi::instance().isVisible());
    QVERIFY(!frmSplash::instance().isVisible());
    const QStringList names = world.callNames();
    QVERIFY(!names.contains(QStringLiteral("getControlDataChangeMode")));
    // The end closes the main window: gathering stopped, every setting written.
    QCOMPARE(world.library.fake.callsOf(QStringLiteral("initDataGather")),
             QStringList({QStringLiteral("initDataGather(0, 2, 3, 2, 0, \" \", 5)")}));
    QCOMPARE(world.store.stored(QStringLiteral("DspOption"), QStringLiteral("Win_Width")), QStringLiteral("9600"));
    QCOMPARE(world.store.stored(QStringLiteral("DspOption"), QStringLiteral("TmpUnit")), QStringLiteral("0"));
    QCOMPARE(world.store.stored(QStringLiteral("SerialPort"), QStringLiteral("PortNo")), QStringLiteral("2"));
    QVERIFY(serviceShop().ssName.isEmpty());
  }

  void versionsWithoutAVersionRow() {
    ProgramFixture world;
    world.library.fake.on<decltype(::getSetFileVer)>(
        "getSetFileVer", [](char* version, int32_t* length, char*, int32_t*, char*, int32_t*, char*, int32_t*) {
          std::memcpy(version, "0.00", 5);
          *length = 4;
          return 1;
        });
    QVERIFY(startProgram(world.environment()));
    const auto& versions = program().versionTexts;
    QCOMPARE(versions[0], QStringLiteral("0.00"));
    for (std::size_t i : {1u, 3u, 4u}) QCOMPARE(versions[i], QString());
    QCOMPARE(panelLines()[3], QStringLiteral("Ver. : 0.00"));
  }

  void damagedStationFileIsReportedAndTheStartGoesOn() {
    ProgramFixture world;
    world.folder.write(QStringLiteral("pelomar3.dam"), "one,two\r\n");
    QString warning;
    answerNextModal([&warning](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      warning = box->text();
      box->accept();
    });
    QVERIFY(startProgram(world.environment()));
    QVERIFY(!warning.isEmpty());
    QVERIFY(serviceShop().ssName.isEmpty());
  }
};

QTEST_MAIN(ProgramStartTest)
#include "program_start_test.moc"
