// The start of the program against the fake library: its order, the clock
// and second-copy refusals, the main window from the stored settings, the
// settings and display options, the files read and the folders made, and
// the end when the library cannot start.
#include "frame/frmDspParam.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/frmSplash.h"
#include "frame/program_end.h"
#include "frame/program_icon.h"
#include "frame/program_values.h"
#include "frame/single_instance.h"
#include "frame/site/settings_store.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "support/program_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLockFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <cstring>

namespace {

enum class StoreBlock { None, Folder, Damaged };

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

  // Before the main window is shown there is nothing to centre on but the
  // screen.
  void earlyMessageIsCentredOnTheScreen() {
    ProgramFixture world;
    QRect box;
    answerNextModal([&box](QWidget* modal) {
      box = modal->geometry();
      modal->close();
    });
    QVERIFY(!startProgram(world.environment(QDate(2038, 1, 1))));
    const QPoint off = box.center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2(off.manhattanLength() <= 2, qPrintable(QStringLiteral("%1 %2 off").arg(off.x()).arg(off.y())));
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

  // The status panel at the top left is never covered by the main menu,
  // whatever the size of the main window, and cannot be closed for good.
  void statusPanelStaysUncovered_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("first start") << 9600 << 7095;
    QTest::newRow("smallest main window") << 7400 << 6600;
    QTest::newRow("large main window") << 15000 << 11000;
  }
  void statusPanelStaysUncovered() {
    QFETCH(int, width);
    QFETCH(int, height);
    ProgramFixture world;
    world.store.store(QStringLiteral("DspOption"), QStringLiteral("Win_Width"), QString::number(width));
    world.store.store(QStringLiteral("DspOption"), QStringLiteral("Win_Height"), QString::number(height));
    QVERIFY(startProgram(world.environment()));
    frmMdi& main = frmMdi::instance();
    QMdiSubWindow* panel = frmDspParam::instance().subWindow();
    const auto verifyUncovered = [&] {
      QCOMPARE(panel->pos(), QPoint(0, 0));
      const QList<QMdiSubWindow*> stack = main.mdiArea->subWindowList(QMdiArea::StackingOrder);
      for (qsizetype i = stack.indexOf(panel) + 1; i < stack.size(); ++i) {
        QVERIFY2(!stack[i]->isVisible() || !stack[i]->geometry().intersects(panel->geometry()),
                 qPrintable(stack[i]->windowTitle()));
      }
    };
    verifyUncovered();
    saveScreenshot(main, QStringLiteral("frmMdi_panel_%1x%2").arg(width).arg(height));
    frmMain::instance().unload();
    main.mnuMainMenu->trigger();
    verifyUncovered();

    // No title bar, so no close box; a close by key is refused too.
    QVERIFY(panel->windowFlags() & Qt::FramelessWindowHint);
    panel->close();
    QVERIFY(panel->isVisible() && frmDspParam::instance().isLoaded());
    // The program's own icon, on the panel and on every window.
    const QImage icon = programIcon().pixmap(32).toImage();
    QCOMPARE(frmDspParam::instance().lblIcon->pixmap().toImage(), icon);
    QCOMPARE(QApplication::windowIcon().pixmap(32).toImage(), icon);
  }

  // What the engineer sets is kept in the settings store and the program
  // folder: when either cannot be written the start says so, once. A
  // damaged store (far over its size) is left as it is.
  void whatCannotBeSavedIsSaidAtTheStart_data() {
    QTest::addColumn<int>("store");
    QTest::addColumn<bool>("foldersBlocked");
    QTest::newRow("settings store a folder") << int(StoreBlock::Folder) << false;
    QTest::newRow("settings store damaged") << int(StoreBlock::Damaged) << false;
    QTest::newRow("data folders") << int(StoreBlock::None) << true;
    QTest::newRow("both") << int(StoreBlock::Folder) << true;
  }
  void whatCannotBeSavedIsSaidAtTheStart() {
    QFETCH(int, store);
    QFETCH(bool, foldersBlocked);
    ProgramFixture world;
    const QString storeFile = world.store.storeFile();
    const QByteArray damaged = "[SerialPort]\nPortNo=3\n" + QByteArray(settings::kLargestStore, ';');
    if (store == int(StoreBlock::Folder)) QVERIFY(QDir().mkpath(storeFile));  // a folder where the file should be
    if (store == int(StoreBlock::Damaged)) world.store.write(damaged);
    if (foldersBlocked) world.folder.write(QStringLiteral("csv"), "a file where the folder should be");
    QStringList message;
    readNextMessage(message);
    QVERIFY(startProgram(world.environment()));
    QStringList expected;
    if (store != int(StoreBlock::None)) expected << ownText(kTextSettingsNotSaved) << storeFile;
    if (foldersBlocked) expected << ownText(kTextFolderNotSaved) << world.folder.path();
    while (expected.size() < 4) expected << QString();
    QCOMPARE(message, expected);
    if (store == int(StoreBlock::Damaged)) QVERIFY(panelLines().contains(QStringLiteral("Com : COM1")));

    QStringList again;
    QTimer* watch = readNextMessage(again);
    QVERIFY(frmMdi::instance().close());
    QVERIFY2(again.isEmpty(), qPrintable(again.join(QLatin1Char('|'))));  // said once
    delete watch;
    if (store == int(StoreBlock::Damaged)) QVERIFY(world.store.content() == damaged);
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

  // A place on a screen that is no longer there, and a window that was
  // maximized when the program ended.
  void mainWindowComesBackWhereItCanBeSeen_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("left of a screen gone") << QStringLiteral("Win_Left") << QStringLiteral("150000") << false;
    QTest::newRow("top of a screen gone") << QStringLiteral("Win_Top") << QStringLiteral("90000") << false;
    QTest::newRow("maximized") << QStringLiteral("Win_State") << QStringLiteral("2") << true;
  }
  void mainWindowComesBackWhereItCanBeSeen() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, maximized);
    ProgramFixture world;
    world.store.store(QStringLiteral("DspOption"), key, value);
    QVERIFY(startProgram(world.environment()));
    frmMdi& main = frmMdi::instance();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(main.pos()));
    QCOMPARE(main.isMaximized(), maximized);
    if (!maximized) QCOMPARE(main.size(), QSize(twipsToPixels(9600), twipsToPixels(7095)));
  }

  void secondCopyIsRefusedAndBringsTheFirstToTheFront() {
    ProgramFixture world;
    QVERIFY(startProgram(world.environment()));
    world.library.fake.calls.clear();
    frmMdi& main = frmMdi::instance();
    main.showMinimized();
    QStringList message;
    readNextMessage(message);
    QVERIFY(!startProgram(world.environment()));
    QCOMPARE(message, QStringList({QStringLiteral("Error No.:1-1"), QString(), tableText(411), QString()}));
    QVERIFY(programHasEnded());
    QVERIFY(world.library.fake.calls.isEmpty());
    QTRY_VERIFY(!main.isMinimized());
    QVERIFY(main.isVisible());

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

    // The menus the file leaves without text stay empty, and one line says
    // which entries are missing.
    const QRegularExpression missing(QStringLiteral("^Lang\\.ini: .*\\b21, 22, 23, 24, 25, 26, 27, 28, 32, 33\\b"));
    QTest::ignoreMessage(QtWarningMsg, missing);
    QTest::failOnWarning(missing);
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

  // "1-2" keeps its texts; its last line names the file the library could
  // not load, found in the program folder or in the library's lines of a
  // reload that reports every fault (those of the start itself leave out a
  // missing table and name the item file that uses it).
  void libraryThatCannotStartEndsTheProgram_data() {
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QByteArrayList>("checkLines");
    QTest::addColumn<QString>("named");
    const QByteArrayList both{"vexa5.set", "table/pressure.ktb"};
    QTest::newRow("no setting file") << QByteArrayList{"table/pressure.ktb"} << QByteArrayList{}
                                     << QStringLiteral("vexa5.set");
    QTest::newRow("no table folder") << QByteArrayList{"vexa5.set"} << QByteArrayList{} << QStringLiteral("table/");
    QTest::newRow("an item file") << both << QByteArrayList{"Useless Cmd", "KtbError: can't open \"outdr01.itm\" file!!"}
                                  << QStringLiteral("table/outdr01.itm");
    QTest::newRow("a conversion table") << both << QByteArrayList{"FileHndl: can't open \"saturate.ktb\" file!!"}
                                        << QStringLiteral("table/saturate.ktb");
    QTest::newRow("a setting row") << both << QByteArrayList{"KtbError: vexa5.set(5) Error \"B19200C8PES1\""}
                                   << QStringLiteral("vexa5.set");
    QTest::newRow("no row at all") << both << QByteArrayList{} << QStringLiteral("vexa5.set");
  }
  void libraryThatCannotStartEndsTheProgram() {
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArrayList, checkLines);
    QFETCH(QString, named);
    ProgramFixture world;
    for (const QByteArray& file : files) world.folder.write(QString::fromLatin1(file), "x");
    QByteArrayList libraryLines{"KtbError: outdr01.itm(12) No table no \"2\""};  // of the failed start
    world.library.fake.results["initTramsoll"] = 1;
    world.library.fake.on<decltype(::checkKishuTbl)>("checkKishuTbl", [&] {
      libraryLines = checkLines;
      return 1;
    });
    world.library.fake.on<decltype(::getDebugMessage)>("getDebugMessage", [&libraryLines](char* text, int32_t* length) {
      if (libraryLines.isEmpty()) return 0;
      const QByteArray line = libraryLines.takeFirst();
      std::memcpy(text, line.constData(), static_cast<std::size_t>(line.size()) + 1);
      *length = static_cast<int32_t>(line.size());
      return 1;
    });
    world.store.store(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), QStringLiteral("2"));
    QStringList message;
    readNextMessage(message);
    QVERIFY(!startProgram(world.environment()));
    QCOMPARE(message, QStringList({QStringLiteral("Error No.:1-2"), tableText(412), tableText(413),
                                   ownText(kTextFailedFile) + named}));
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

  // The program's own box says which file, which line and what it holds,
  // in texts the table can translate; never raw bytes or a long path.
  void damagedStationFileIsReportedAndTheStartGoesOn_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("excerpt");
    QTest::newRow("binary") << QByteArray("\x89PNG\x1a\x00\xff\xfe,50\r\n\"x\"\r\n", 17) << QStringLiteral("1")
                            << QStringLiteral("\\x89PNG\\x1a\\x00\\xff\\xfe,50");
    QTest::newRow("cut in a text") << QByteArray("1,50\r\n\"Kansai\"\r\n\"2-3 Ume") << QStringLiteral("3")
                                   << QStringLiteral("\"2-3 Ume");
    QTest::newRow("long line") << QByteArray("1,50\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n\"") + QByteArray(300, '\t')
                               << QStringLiteral("6") << QStringLiteral("\"") + QStringLiteral("\\t").repeated(18) + QStringLiteral("...");
  }
  void damagedStationFileIsReportedAndTheStartGoesOn() {
    QFETCH(QByteArray, content);
    QFETCH(QString, line);
    QFETCH(QString, excerpt);
    ProgramFixture world;
    world.folder.write(QStringLiteral("pelomar3.dam"), content);
    QStringList message;
    readNextMessage(message);
    QVERIFY(startProgram(world.environment()));
    QCOMPARE(message, QStringList({QStringLiteral("pelomar3.dam") + ownText(kTextFileDamaged),
                                   ownText(kTextLine) + line, excerpt, QString()}));
    QVERIFY(excerpt.size() <= 40);
    QVERIFY(serviceShop().ssName.isEmpty());
  }
};

QTEST_MAIN(ProgramStartTest)
#include "program_start_test.moc"
