// The CSV export of a listed recording: the options dialog's GO with the
// span of the file F3 was pressed on, the save road with the old files of a
// base path, and the conversion in slices with its progress, Cancel and the
// closing of the list; over the fake library, and end to end over the real
// one with the sample models.
#include "das_gen.h"
#include "frame/file_operations.h"
#include "frame/frmMain.h"
#include "frame/program_end.h"
#include "frame/program_start.h"
#include "frame/program_values.h"
#include "program_windows.h"
#include "records/frmCsvOutput.h"
#include "records/frmCsvSetting.h"
#include "records/frmCustomsData.h"
#include "sample_units.h"
#include "support/fake_file_list.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <deque>

namespace {

const QString kStart = QStringLiteral("2024/03/05 07:08:09");
const QString kEnd = QStringLiteral("2024/03/05 08:08:09");

// Started 2024-03-05 07:08:09, 180 records every 20 s: an hour.
DataShowFile hourRecording(int32_t day = 5) {
  DataShowFile file;
  std::tie(file.saveYear, file.saveMonth, file.saveDay, file.saveTime) = std::tuple(2024, 3, day, 7 * 3600 + 8 * 60 + 9);
  std::tie(file.recodeInterval, file.graphTotalNum, file.recodeMode, file.ifMode, file.outNumber) =
      std::tuple(20, 180, 1, 2, 1);
  return file;
}

// The program over the fake library with two listed recordings, whose save
// dialog answers from a list and notes where it started.
struct CsvSite {
  CsvSite() {
    files.addFile(root, QStringLiteral("a.das"), hourRecording(5));
    files.addFile(root, QStringLiteral("b.das"), hourRecording(6));
    frmMain::instance().cmdPlay->click();
    list.CommonDialogCsv = [this](const QString& basePath) -> std::optional<QString> {
      starts << basePath;
      if (chosen.empty()) return std::nullopt;
      const QString name = chosen.front();
      chosen.pop_front();
      return name;
    };
  }
  ~CsvSite() { program().mapRecodeModeOpen = false; }

  // F3 on a row, then the options; GO.
  frmCsvSetting& options(int row = 0) {
    list.grdList->setCurrentCell(row, 1);
    QTest::keyClick(list.grdList, Qt::Key_F3);
    return frmCsvSetting::instance();
  }
  // Scripts execCsvOut: one {result, progress} a call, and an action run
  // inside the call of that number.
  void scriptSlices(std::vector<std::pair<int32_t, int32_t>> answers, int actAt = 0, std::function<void()> act = {}) {
    fake().on<decltype(::execCsvOut)>("execCsvOut", [this, answers, actAt, act](int32_t* progress) {
      const std::size_t call = static_cast<std::size_t>(slices++);
      percentShown << frmCsvOutput::instance().lblPercent->text();
      if (act && static_cast<int>(call) + 1 == actAt) act();
      const auto [result, percent] = answers.at(std::min(call, answers.size() - 1));
      *progress = percent;
      return result;
    });
  }
  FakeTramsoll& fake() { return world->library.fake; }

  std::unique_ptr<ProgramFixture> world = startedProgram();
  FakeFileList files{world->library.fake};
  QString root = world->folder.path() + QLatin1Char('/');
  QString csv = world->folder.file(QStringLiteral("csv/"));
  frmCustomsData& list = frmCustomsData::instance();
  std::deque<QString> chosen;
  QStringList starts;
  int slices = 0;
  QStringList percentShown;  // as each slice began
};

void clickLabel(QLabel* label) { QTest::mouseClick(label, Qt::LeftButton); }

QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase); }

const char* const kWords =
    "\"Customer ID\", \"Customer name\", \"SS contact\", \"Access method\", \"Q7-NET\", \"PCB connection\", "
    "\"Sensor input only\", \"Q7-NET and sensor input\", \"PCB connection and sensor input\", \"Recording mode\", "
    "\"Periodic record\", \"Trigger record\", \"Trigger condition meeting time\", \"Recording interval\", "
    "\"Network map name\", \"System No.\", \"ROM serial No.\", \"Number of outdoor units\", \"Number of indoor units\", "
    "\"Number of central devices\", \"Airconditioner No.\", \"Model name\", \"Model No.\", \"Install site (name)\", "
    "\"Auto address\", \"Zubrel address\", \"Centralized address\", \"O-\", \"I-\", \"H-\", \"Sensor\"";

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing " + path.toUtf8() + '>');
}

}  // namespace

class CsvOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void goPassesTheSpanOfTheFileF3WasPressedOn() {
    CsvSite site;
    frmCsvSetting& dialog = site.options();
    QCOMPARE(dialog.StartDate->text() + '|' + dialog.EndDate->text(), kStart + '|' + kEnd);
    // {span, header rows}: the flags word; the date boxes follow the choice.
    const struct {
      QLabel* data;
      QLabel* header;
      int flags;
    } cases[] = {{dialog.Label2, dialog.L_HeaderOFF, 0},
                 {dialog.Label2, dialog.L_HeaderON, 1},
                 {dialog.Label1, dialog.L_HeaderOFF, 2},
                 {dialog.Label1, dialog.L_HeaderON, 3}};
    for (const auto& c : cases) {
      site.options();
      clickLabel(c.data);
      clickLabel(c.header);
      QCOMPARE(dialog.StartDate->isEnabled(), c.flags < 2);
      QCOMPARE(dialog.StartDate->text(), kStart);  // switching keeps the texts
      site.fake().calls.clear();
      dialog.go->click();
      QCOMPARE(site.fake().callsOf(QStringLiteral("CsvDateSet")),
               QStringList{QStringLiteral("CsvDateSet(\"%1\", \"%2\", %3)").arg(kStart, kEnd).arg(c.flags)});
      QVERIFY(!dialog.isLoaded());  // the save dialog was cancelled: the road is over
    }

    // A span whose end is no date: "19-6" with both texts, the dialog stays.
    site.options();
    clickLabel(dialog.Label2);
    dialog.EndDate->setText(QStringLiteral("2024/02/30 08:00:00"));
    site.fake().calls.clear();
    QStringList lines;
    readNextMessage(lines);
    dialog.go->click();
    QCOMPARE(lines, (QStringList{"Error No.:19-6", "Illegal input date strings. check date and input it again",
                                 "start date : " + kStart, "end date   : 2024/02/30 08:00:00"}));
    QVERIFY(dialog.isLoaded() && site.fake().callsOf(QStringLiteral("CsvDateSet")).isEmpty());
    dialog.cmdCancel->click();
    QVERIFY(!dialog.isLoaded() && site.fake().callsOf(QStringLiteral("CsvDateSet")).isEmpty());
  }

  void severalRowsAreRefusedAtF3AndRecordingAtGo() {
    CsvSite site;
    site.list.grdList->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 3), true);
    QStringList lines;
    readNextMessage(lines);
    QTest::keyClick(site.list.grdList, Qt::Key_F3);
    QCOMPARE(lines.value(0), QStringLiteral("Error No.:19-1"));
    QVERIFY(!frmCsvSetting::instance().isLoaded());

    // F3 on one row, then several chosen: GO converts the file F3 bound.
    frmCsvSetting& dialog = site.options(1);
    site.list.grdList->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 3), true);
    site.chosen = {site.csv + QStringLiteral("site1.csv")};
    {
      MessageCollector messages;
      dialog.go->click();
      QTRY_VERIFY(!program().csvOutputRunning);
      QCOMPARE(messages.keys, QStringList());
    }
    QCOMPARE(site.fake().callsOf(QStringLiteral("setCsvFile")).value(0).section(", ", 0, 1),
             QStringLiteral("setCsvFile(\"%1\", 2").arg(site.root));

    // While the map window records: "19-3", no save dialog, the dialog goes.
    program().mapRecodeModeOpen = true;
    site.options();
    site.starts.clear();
    lines.clear();
    readNextMessage(lines);
    dialog.go->click();
    QCOMPARE(lines, (QStringList{"Error No.:19-3", "", "CSV data can not be output while data is being recorded.", ""}));
    QVERIFY(site.starts.isEmpty() && !dialog.isLoaded());
  }

  void saveRoadDeletesOnlyTheLibrarysOldNamesOnYes() {
    CsvSite site;
    const QStringList written{"site1_Ou01.csv", "SITE1_iu02-1.CSV", "site1_summary.csv", "site1.csv", "site1_x.csv"};
    const QStringList others{"site1.csv", "site1_summary.csv", "site1_x.csv"};
    for (const QString& name : written) site.world->folder.write(QStringLiteral("csv/") + name, "old");
    const QString defaultBase = program().csvFolder;
    const QString base = site.csv + QStringLiteral("site1");

    // No: the chooser comes back at the new name; cancelled there, nothing goes.
    site.chosen = {base + QStringLiteral(".csv")};
    {
      QuestionAnswer no(QMessageBox::No);
      site.options().go->click();
      QVERIFY(no.asked && no.text.startsWith(QStringLiteral("CSV data of the same name exists.")));
    }
    QCOMPARE(site.starts, (QStringList{defaultBase, base}));
    QCOMPARE(entries(site.csv).size(), written.size());

    // A deletion that fails: "19-4" names it, the other old file goes, and
    // nothing is converted.
    site.chosen = {base + QStringLiteral(".csv")};
    {
      ScopedFileFault inUse({FileCall::RemoveFile, EBUSY});
      QuestionAnswer yes(QMessageBox::Yes);
      QStringList lines;
      readNextMessage(lines);
      site.options().go->click();
      QCOMPARE(lines, (QStringList{"Error No.:19-4", "SITE1_iu02-1.CSV is used by another application software.",
                                   "So CSV data can not be output.", "Close this file and execute again."}));
    }
    QCOMPARE(entries(site.csv), (QStringList{"site1.csv", "SITE1_iu02-1.CSV", "site1_summary.csv", "site1_x.csv"}));
    QVERIFY(site.fake().callsOf(QStringLiteral("setCsvFile")).isEmpty());

    // Yes: the old files go and the conversion is set up on the base path.
    site.chosen = {base + QStringLiteral(".csv")};
    {
      QuestionAnswer yes(QMessageBox::Yes);
      site.options().go->click();
    }
    QCOMPARE(entries(site.csv), others);
    QCOMPARE(program().csvFolder, base);
    QCOMPARE(site.fake().callsOf(QStringLiteral("setCsvFile")),
             QStringList{QStringLiteral("setCsvFile(\"%1\", 1, \"%2\", %3)").arg(site.root, base, kWords)});
    QTRY_VERIFY(!program().csvOutputRunning);
  }

  void conversionShowsEachSliceAndEndsAsTheLibraryOrTheEngineerSays() {
    CsvSite site;
    const QString ownText = QStringLiteral("The recording's file list was lost; the conversion stopped.");
    const struct {
      const char* road;
      int32_t setUp;  // setCsvFile's answer
      std::vector<std::pair<int32_t, int32_t>> slices;
      int actAt;  // Cancel during this slice
      QStringList message;
      int calls;
      QString percent;
    } roads[] = {
        {"finished", 0, {{1, 33}, {1, 66}, {0, 100}}, 0, {}, 3, "100%"},
        {"write failure", 0, {{1, 10}, {3, 10}}, 0, {"Error No.:19-5", "For insufficient free disk area,",
                                                    "outputting CSV data stops.", ""}, 2, "10%"},
        {"file list lost", 0, {{2, 0}}, 0, {"", "", ownText, ""}, 1, "0%"},
        {"cancelled", 0, {{1, 10}, {1, 20}, {1, 30}, {0, 100}}, 2, {}, 2, "20%"},
        {"file not opened", 1, {{0, 100}}, 0, {"Error No.:1-2", "Unmatch data and software version.",
                                              "Version up VEXA5 software.", ""}, 0, "0%"},
        {"table error", 2, {{0, 100}}, 0, {"Error No.:1-2", "Unmatch data and software version.",
                                          "Version up VEXA5 software.", ""}, 0, "0%"},
    };
    for (const auto& road : roads) {
      site.slices = 0;
      site.percentShown.clear();
      site.fake().results["setCsvFile"] = road.setUp;
      site.scriptSlices(road.slices, road.actAt, [] { frmCsvOutput::instance().cmdCancel->click(); });
      site.chosen = {site.csv + QStringLiteral("site1.csv")};
      QStringList lines;
      QPointer<QTimer> watch = readNextMessage(lines);
      site.options().go->click();
      QVERIFY2(road.setUp != 0 || program().csvOutputRunning, road.road);
      QVERIFY2(road.setUp != 0 || (!site.list.cmdCsv->isEnabled() && !site.list.cmdCancel->isEnabled()), road.road);
      QTRY_VERIFY2(!program().csvOutputRunning && (road.message.isEmpty() || !lines.isEmpty()), road.road);
      delete watch;
      QCOMPARE(lines, road.message);
      QCOMPARE(site.slices, road.calls);
      // Every way out: the progress window gone, the list's buttons back.
      QVERIFY2(!frmCsvOutput::instance().isLoaded() && site.list.cmdCsv->isEnabled() &&
                   site.list.cmdCancel->isEnabled(),
               road.road);
      if (road.setUp != 0) continue;
      QCOMPARE(frmCsvOutput::instance().lblPercent->text(), road.percent);
      QCOMPARE(site.list.csvOutputCancel, road.actAt != 0 || road.slices.back().first == 3);
    }
    // The bar shows each slice's progress before the next begins, and fills
    // the whole width at 100.
    site.slices = 0;
    site.percentShown.clear();
    site.fake().results["setCsvFile"] = 0;
    site.scriptSlices({{1, 33}, {1, 66}, {0, 100}});
    site.chosen = {site.csv + QStringLiteral("site1.csv")};
    site.options().go->click();
    QTRY_VERIFY(!program().csvOutputRunning);
    QCOMPARE(site.percentShown, (QStringList{"0%", "33%", "66%"}));
    const CsvProgressBar& bar = *frmCsvOutput::instance().picCsvOutput;
    QCOMPARE(bar.filledWidth(), bar.width());
  }

  void closingTheListMidConversionEndsItAfterTheSliceThenTheList() {
    // The list's close box, and the end of the program, asked for while a
    // slice runs: no further slice, and the list (or the program) waits
    // for the one under way.
    for (const bool programEnds : {false, true}) {
      CsvSite site;
      site.scriptSlices({{1, 10}, {1, 20}, {1, 30}, {0, 100}}, 2, [&site, programEnds] {
        programEnds ? prepareEndOfApp() : void(site.list.subWindow()->close());
        site.list.tmrForEnd_Timer();
        tmrForEndApp_Timer();
        QVERIFY(site.list.isLoaded() && !programHasEnded());
      });
      site.chosen = {site.csv + QStringLiteral("site1.csv")};
      site.options().go->click();
      QTRY_VERIFY(!program().csvOutputRunning);
      QCOMPARE(site.slices, 2);
      QVERIFY(site.list.csvOutputCancel && !frmCsvOutput::instance().isLoaded());
      site.list.tmrForEnd_Timer();
      if (programEnds) {
        tmrForEndApp_Timer();
        QVERIFY(programHasEnded());
      } else {
        QVERIFY(!site.list.isLoaded() && frmMain::instance().isLoaded());
      }
    }
  }

  void closingTheListKeepsTheOptionsWhileGoRuns() {
    CsvSite site;
    frmCsvSetting& dialog = site.options();
    site.list.CommonDialogCsv = [&site, &dialog](const QString&) -> std::optional<QString> {
      site.list.subWindow()->close();  // the program's end, say
      [&] { QVERIFY(dialog.isLoaded()); }();
      return site.csv + QStringLiteral("site1.csv");
    };
    dialog.go->click();
    // Nothing is converted for a closing list, and the dialog goes after GO.
    QVERIFY(site.fake().callsOf(QStringLiteral("setCsvFile")).isEmpty() && !dialog.isLoaded());
    site.list.tmrForEnd_Timer();
    QVERIFY(!site.list.isLoaded());
    // Closed without GO, the options go with the list.
    frmMain::instance().cmdPlay->click();
    site.options();
    site.list.subWindow()->close();
    QVERIFY(!dialog.isLoaded());
  }

  void theRealLibraryWritesTheExpectedFilesOfASampleRecording() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    installProgramWindows();
    QVERIFY(startProgram(StartEnvironment{QDate(2024, 5, 1), site.lockFolder()}));
    std::string error;
    const dasgen::Recording made = dasgen::sampleCsvRecording();
    QVERIFY2(dasgen::writeRecording(site.folder.file("a.das").toStdString(), made, error), error.c_str());

    frmMain::instance().cmdPlay->click();
    frmCustomsData& list = frmCustomsData::instance();
    const QString base = site.folder.file(QStringLiteral("csv/sample"));
    list.CommonDialogCsv = [&base](const QString&) -> std::optional<QString> { return base + ".csv"; };
    QTest::keyClick(list.grdList, Qt::Key_F3);
    frmCsvSetting::instance().go->click();
    QTRY_VERIFY(!program().csvOutputRunning);
    for (const char* unit : {"_Ou01.csv", "_Iu01.csv"}) {
      QCOMPARE(fileBytes(base + unit), fileBytes(QStringLiteral(PELOMAR_SOURCE_DIR "/testdata/csv/sample") + unit));
    }
    QCOMPARE(entries(site.folder.file(QStringLiteral("csv"))), (QStringList{"sample_Iu01.csv", "sample_Ou01.csv"}));
  }
};

QTEST_MAIN(CsvOutputTest)
#include "csv_output_test.moc"
