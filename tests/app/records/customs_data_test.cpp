// The customer data window: replay windows on listed files (their numbers,
// the model they get, the library's opening given back whenever no window
// takes it), deletion once the windows have closed, and the closing.
#include "das_gen.h"
#include "display/data_show_opening.h"
#include "frame/event_manager.h"
#include "frame/frmMain.h"
#include "frame/library/tramsoll_client.h"
#include "frame/program_values.h"
#include "frame/program_start.h"
#include "frame/grid.h"
#include "program_windows.h"
#include "records/data_show_cells.h"
#include "records/data_show_replay.h"
#include "records/frmCustomsData.h"
#include "records/frmTriggerConditionShow.h"
#include "sample_units.h"
#include "support/data_show_double.h"
#include "support/fake_file_list.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"

#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

DataShowFile recording(int32_t out, int32_t in, int32_t cen, int32_t ifMode, int32_t mode = 1) {
  DataShowFile file;
  std::tie(file.outNumber, file.inNumber, file.cenNumber, file.ifMode, file.recodeMode) =
      std::tuple(out, in, cen, ifMode, mode);
  file.mapName = QStringLiteral("M%1%2%3").arg(out).arg(in).arg(cen);
  return file;
}

frmCustomsData& openList() {
  frmMain::instance().cmdPlay->click();
  return frmCustomsData::instance();
}

void press(frmCustomsData& list, int key) { QTest::keyClick(list.grdList, static_cast<Qt::Key>(key)); }

QList<int32_t> numbers(const frmCustomsData& list) {
  QList<int32_t> held;
  for (const auto& window : list.dataShowForms.windows()) held << window->formNumber;
  return held;
}

// Every replay window closes and unloads, as its end timer does it.
void closeWindows(frmCustomsData& list) {
  const Collection<frmDataShow> open = list.dataShowForms.windows();
  for (const auto& window : open) {
    window->prepareForEndFormDataShow();
    window->tmrForEnd_Timer();
  }
}

QStringList column(const frmCustomsData& list, int column) {
  QStringList texts;
  for (int row = 0; row < list.grdList->rowCount(); ++row) texts << Grid(*list.grdList).text(row, column);
  return texts;
}

struct FakeSite {
  DataShowDoubles doubles;
  std::unique_ptr<ProgramFixture> world = startedProgram();
  FakeFileList files{world->library.fake};
  QString root = world->folder.path() + QLatin1Char('/');
};

}  // namespace

class CustomsDataTest : public QObject {
  Q_OBJECT

 private slots:
  void replayWindowsNumberAndGiveTheFileBackWhenNoWindowTakesIt() {
    FakeSite site;
    site.files.addFile(site.root, QStringLiteral("a.das"), recording(2, 1, 0, 2));
    frmCustomsData& list = openList();
    press(list, Qt::Key_F1);
    press(list, Qt::Key_F1);
    QCOMPARE(numbers(list), (QList<int32_t>{1, 2}));
    QCOMPARE(site.files.openCount(site.root, QStringLiteral("a.das")), 2);
    QCOMPARE(DataShowDouble::steps.mid(0, 10).join(' '),
             QStringLiteral("setDataItem showCusor setCusorData showTital showLabel showDataItem showCusorData "
                            "setDefaultGraph showGraphMarkerFirst showGraph"));
    list.dataShowForms.windows().item(2)->prepareForEndFormDataShow();
    list.dataShowForms.windows().item(2)->tmrForEnd_Timer();
    press(list, Qt::Key_F1);  // the freed highest number comes back
    QCOMPARE(numbers(list), (QList<int32_t>{1, 2}));
    closeWindows(list);
    QCOMPARE(site.files.openCount(), 0);

    // Roads on which the library opened the file: whatever comes of the
    // window, the opening is given back once.
    const struct {
      const char* road;
      std::function<void()> arrange;
      const char* message;
      int heldWindows;
    } roads[] = {
        {"table error", [&] { site.files.setSelectResult(site.root, QStringLiteral("a.das"), 2); }, "1-2", 0},
        {"not opened", [&] { site.files.setSelectResult(site.root, QStringLiteral("a.das"), 1); }, "1-2", 0},
        {"guard refusal", [] { eventManager().setEvent(kDataShowFormName, 1, 1, kLoadEvent); }, "", 0},
        {"no items", [] { DataShowDouble::items = 0; }, "", 0},
        {"number taken",
         [&list] {
           DataShowDouble::whileReadingItems = [&list](frmDataShow& opening) {
             auto other = frmDataShow::hold(new DataShowDouble);
             other->formNumber = opening.formNumber;
             list.dataShowForms.add(other);
           };
         },
         "", 1},
        {"closed while set up", [] { DataShowDouble::closeAt = QStringLiteral("showDataItem"); }, "", 1},
    };
    for (const auto& road : roads) {
      road.arrange();
      QStringList lines;
      QPointer<QTimer> watch = readNextMessage(lines);
      DataShowDouble::steps.clear();
      press(list, Qt::Key_F1);
      delete watch;
      QCOMPARE(lines.value(0), *road.message ? QStringLiteral("Error No.:") + road.message : QString());
      QCOMPARE(list.dataShowForms.count(), road.heldWindows);
      QVERIFY2(!DataShowDouble::steps.contains(QStringLiteral("showGraph")), road.road);
      closeWindows(list);
      QVERIFY2(site.files.openCount() == 0, road.road);
      site.files.setSelectResult(site.root, QStringLiteral("a.das"), 0);
      DataShowDouble::reset();
    }
  }

  void replayModelFollowsTheFilesUnits() {
    // {outdoor, indoor, central, access}: the system kind, the units, the sensor shown.
    const struct {
      int32_t out, in, cen, ifMode;
      const char* model;
    } cases[] = {{2, 1, 0, 2, "0 O1 O2 I1"}, {0, 3, 0, 3, "0 I1 I2 I3 S1 shown"}, {0, 0, 2, 9, "100 C1 C2 S1 shown"},
                 {0, 0, 1, 4, "100 C1"}, {0, 0, 0, 1, "200 S1"}};
    for (const auto& c : cases) {
      GraphSystem graph;
      setGraphSystemFromFile(graph, DataShowCustom(), recording(c.out, c.in, c.cen, c.ifMode));
      QString model = QString::number(graph.systemKind);
      for (const auto& [prefix, units] : {std::pair{" O", &graph.airconsOut}, {" I", &graph.airconsIn},
                                          {" C", &graph.airconsCen}, {" S", &graph.airconsSen}}) {
        for (int n = 1; n <= units->count(); ++n) model += prefix + units->keyAt(n);
      }
      QCOMPARE(model + (graph.sensorDataShow ? " shown" : ""), QLatin1String(c.model));
      QCOMPARE(graph.airconNumberNow + graph.graphTopRow + graph.realtime, 2);
    }
  }

  void deletionWaitsForTheWindowsAndTakesTheConfirmedFile() {
    FakeSite site;
    site.files.addFile(site.root, QStringLiteral("a.das"), recording(1, 0, 0, 2));
    site.files.addFile(site.root, QStringLiteral("b.das"), recording(1, 1, 0, 0, 0));  // no access or mode text
    site.files.addFile(site.root, QStringLiteral("c.das"), recording(1, 2, 0, 2));
    site.files.addFile(site.root, QStringLiteral("p.das"), recording(2, 0, 0, 2));
    frmCustomsData& list = openList();
    QCOMPARE(column(list, kColumnAccessMethod), (QStringList{"Q7-NET", "", "Q7-NET", "Q7-NET"}));

    // Several rows chosen: every file command says so and does nothing.
    list.grdList->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, kDataShowColumnCount - 1), true);
    for (int key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F9}) {
      QStringList lines;
      readNextMessage(lines);
      press(list, key);
      QCOMPARE(lines.value(2), QStringLiteral("Only one data can be selected."));
    }
    QVERIFY(list.dataShowForms.isEmpty());

    for (int row : {1, 2}) {
      list.grdList->setCurrentCell(row, 1);
      press(list, Qt::Key_F1);
    }
    list.grdList->setCurrentCell(0, 1);
    {
      QuestionAnswer yes(QMessageBox::Yes);
      press(list, Qt::Key_F9);
      QVERIFY(yes.asked);
    }
    QVERIFY(!list.cmdCancel->isEnabled() && !list.cmdDelete->isEnabled());
    list.grdList->setCurrentCell(3, 1);  // the cursor moves on meanwhile
    list.tmrForDeleteData_Timer();
    QCOMPARE(site.files.onDisk(site.root).size(), 4);  // the windows are still closing
    closeWindows(list);
    list.tmrForDeleteData_Timer();
    QCOMPARE(site.files.onDisk(site.root), (QStringList{"b.das", "c.das", "p.das"}));
    QCOMPARE(column(list, kColumnMapName), (QStringList{"M110", "M120", "M200"}));
    QCOMPARE(column(list, kColumnAccessMethod), (QStringList{"", "Q7-NET", "Q7-NET"}));
    QVERIFY(list.cmdCancel->isEnabled() && list.cmdDelete->isEnabled());

    // The last row goes: the new last is chosen; the only file goes: the
    // file buttons are off.
    const struct {
      int row;
      QStringList maps;
      int selected;
    } steps[] = {{2, {"M110", "M120"}, 1}, {0, {"M120"}, 0}, {0, {}, -1}};
    for (const auto& step : steps) {
      list.grdList->setCurrentCell(step.row, 1);
      QuestionAnswer yes(QMessageBox::Yes);
      press(list, Qt::Key_F9);
      list.tmrForDeleteData_Timer();
      QCOMPARE(column(list, kColumnMapName), step.maps);
      QCOMPARE(list.grdList->currentRow(), step.selected);
    }
    for (QPushButton* button : {list.cmdDataShow, list.cmdTrigConShow, list.cmdCsv, list.cmdDelete}) {
      QVERIFY(!button->isEnabled());
    }
    QVERIFY(list.cmdCancel->isEnabled());
  }

  void listHidesAtOnceAndTheMainMenuReturnsAfterTheLastWindowAndDeletion() {
    FakeSite site;
    site.files.addFile(site.root, QStringLiteral("a.das"), recording(1, 0, 0, 2));
    site.files.addFile(site.root, QStringLiteral("b.das"), recording(1, 0, 0, 2));
    // Esc, the close box, and the close box while a confirmed deletion waits
    // for the replay window (Cancel is off then).
    for (int road = 0; road < 3; ++road) {
      frmCustomsData& list = openList();
      press(list, Qt::Key_F1);
      if (road == 2) {
        list.grdList->setCurrentCell(1, 1);
        QuestionAnswer yes(QMessageBox::Yes);
        press(list, Qt::Key_F9);
      }
      road == 0 ? press(list, Qt::Key_Escape) : void(list.subWindow()->close());
      QVERIFY(!list.subWindow()->isVisible() && list.flagForEnd());
      list.tmrForEnd_Timer();
      QVERIFY(list.isLoaded() && !frmMain::instance().isLoaded());
      closeWindows(list);
      if (road == 2) {
        list.tmrForEnd_Timer();
        QVERIFY(list.isLoaded());  // the deletion runs first
        list.tmrForDeleteData_Timer();
        QCOMPARE(site.files.onDisk(site.root), QStringList{"a.das"});
      }
      site.world->library.fake.calls.clear();
      list.tmrForEnd_Timer();
      QVERIFY(!list.isLoaded() && frmMain::instance().isLoaded());
      QCOMPARE(program().dataFunction, int32_t(kDataFree));
      QCOMPARE(site.world->library.fake.callsOf(QStringLiteral("clearFileList")).size(), 1);
    }
  }

  void theRealLibraryKeepsAFileForItsLastWindowAndShowsStoredConditions() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    installProgramWindows();
    QVERIFY(startProgram(StartEnvironment{QDate(2024, 5, 1), site.lockFolder()}));
    dasgen::Recording made;
    std::strcpy(made.header.mapName, "Roof");
    std::tie(made.header.systemNumber, made.header.interfaceMode, made.header.interval, made.header.statusLength,
             made.header.firstRecordTime, made.records) = std::tuple(1, 2, 10, 6, 1714554000, 30);
    made.units = {dasgen::sampleUnit(dasgen::SampleModel::Outdoor, 1, 1, 1),
                  dasgen::sampleUnit(dasgen::SampleModel::Indoor, 1, 17, 1)};
    made.dataByte = dasgen::sampleData(made.units);
    std::string error;
    QVERIFY2(dasgen::writeRecording(site.folder.file("a.das").toStdString(), made, error), error.c_str());
    made.header.recordingKind = tramsoll::das::kTrigger;
    made.units[1].conditions = {dasgen::conditionBlock("Error", "1", "", 2), dasgen::conditionBlock("Temp", "", "", 0)};
    QVERIFY2(dasgen::writeRecording(site.folder.file("b.das").toStdString(), made, error), error.c_str());

    frmCustomsData& list = openList();
    press(list, Qt::Key_F1);
    press(list, Qt::Key_F1);
    QCOMPARE(list.dataShowForms.count(), 2);
    const ItemSource source{1, site.folder.path() + QLatin1Char('/'), 1, 1, 0, 1};
    const auto value = [&source] { return TramsollClient().cursorData(source, 2, 1); };
    list.dataShowForms.windows().item(1)->prepareForEndFormDataShow();
    QCOMPARE(value().result, 0);
    QVERIFY(!value().valueText.isEmpty());
    list.dataShowForms.windows().item(2)->prepareForEndFormDataShow();
    QVERIFY(value().result != 0);  // the last window gave the file back

    list.grdList->setCurrentCell(1, 1);
    press(list, Qt::Key_F2);
    const QTableWidget& conditions = *frmTriggerConditionShow::instance().grdCondition;
    QCOMPARE(conditions.rowCount(), 1);
    QCOMPARE(conditions.item(0, 0)->text() + '|' + conditions.item(0, 1)->text() + '|' + conditions.item(0, 2)->text(),
             QStringLiteral("1 I-1-Error|ERROR|IGNORED"));
  }
};

QTEST_MAIN(CustomsDataTest)
#include "customs_data_test.moc"
