// The trigger recording set-up over the map window and the fake library
// scripted with live items: the model it builds for the chosen system, the
// conditions chosen through the floating list and handed to the library at
// the map's trigger start, the expected sizes, the two-step system choice,
// the model kept between openings, the record time, the checks and the lock
// while trigger recording runs. The unloads with the map are tested beside
// the other set-ups'.
#include "recording/frmRecodeTrigger.h"
#include "recording/recording_systems.h"
#include "recording/trigger_model.h"
#include "recording_windows.h"
#include "support/fake_items.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A bus map from system words, ordinary ones and central ones: each letter a
// unit numbered from 1 in its collection, lower case on line, upper case off
// line: o outdoor, i indoor, c central ("oI": an outdoor unit on line, an
// indoor unit off line).
std::shared_ptr<MapQ7net> siteMap(const char* ordinary, const char* central = "") {
  auto map = std::make_shared<MapQ7net>();
  map->ifMode = 2;
  const auto add = [](Collection<MapSystem>& systems, const QString& word) {
    const auto system = MapBuilder::addSystem(systems);
    for (const QChar letter : word) {
      const char kind = letter.toLower().toLatin1();
      Collection<MapAircon>& units = kind == 'o' ? system->airconsOut : kind == 'i' ? system->airconsIn : system->airconsCen;
      auto unit = std::make_shared<MapAircon>();
      unit->airconType = kind == 'o' ? kOutdoorUnit : kind == 'i' ? kIndoorUnit : kCentralUnit;
      unit->airconNumber = units.count() + 1;
      unit->onLine = letter.isLower() ? 3 : 0;
      units.add(unit, numberKey(unit->airconNumber));
    }
  };
  for (const QString& word : QString::fromLatin1(ordinary).split(' ', Qt::SkipEmptyParts)) add(map->systems, word);
  for (const QString& word : QString::fromLatin1(central).split(' ', Qt::SkipEmptyParts)) add(map->systemsCen, word);
  return map;
}

// Items n<first>, n<first + 1>... of these data types, each with the state
// texts "lo-n<k>" and "hi-n<k>" (code items among them).
std::vector<FakeItem> itemsOfTypes(std::initializer_list<int32_t> types, int first = 1) {
  std::vector<FakeItem> made;
  for (int32_t type : types) {
    const QByteArray name = "n" + QByteArray::number(first++);
    made.push_back({name, "100", type, 0, "lo-" + name, "hi-" + name});
  }
  return made;
}

// Chooses an entry of the open condition list, as the engineer does.
void chooseInList(QComboBox& list, int index) {
  QVERIFY(list.view()->isVisible());
  list.view()->setCurrentIndex(list.model()->index(index, 0));
  QTest::keyClick(list.view(), Qt::Key_Return);
}

QStringList entries(const QComboBox& list) {
  QStringList texts;
  for (int index = 0; index < list.count(); ++index) texts << list.itemText(index);
  return texts;
}

QStringList triggerMarks(const MapQ7net& map) {
  QStringList marks;
  for (const SystemRow& row : combinedSystemRows(map)) marks << QString::number(row.system->recodeTrigger);
  return marks;
}

}  // namespace

class TriggerSetupTest : public ProgramTest {
  Q_OBJECT

  std::unique_ptr<FakeItems> items;
  frmRecodeTrigger& setUp() { return frmRecodeTrigger::instance(); }
  GraphSystem& model() { return inside(frmMap::instance()).systemTriggerObj; }

  // The set-up opened from the map window's record mode.
  frmRecodeTrigger& openFromMap(const std::shared_ptr<MapQ7net>& map) {
    frmMap& mapWindow = openMapWindow(map);
    QTest::keyClick(&mapWindow, Qt::Key_F5);
    QTest::keyClick(&mapWindow, Qt::Key_F8);
    return setUp();
  }
  void reopen() {
    setUp().unload();
    setUp().showForm();
  }

 private slots:
  void init() {
    ProgramTest::init();
    items = std::make_unique<FakeItems>(fake());
    program().displayOptions[kOsVersion] = 1;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
  void cleanup() {
    items.reset();
    ProgramTest::cleanup();
  }

  void buildsTheRowsOfTheTwoStateAndCodeItemsOfTheUnitsOnLine() {
    // Central system 2 is the first with a unit on line; the library counts
    // it after the three ordinary systems.
    scriptLibrary(fake(), {{5, {4600, 228}}}, 1264128);
    items->setItems(kCentralUnit, 1, itemsOfTypes({0, 1, 2, 1, 0}));
    items->setItems(kCentralUnit, 2, itemsOfTypes({1}));
    items->setItems(kCentralUnit, 3, itemsOfTypes({2, 0, 1}));
    auto map = siteMap("O O O", "C cCc");
    frmRecodeTrigger& window = openFromMap(map);
    QVERIFY(window.isVisible());
    QCOMPARE(column(*window.grdSystemSelect, 0), (QStringList{"", "", "", "", "*"}));
    QCOMPARE(column(*window.grdSystemSelect, 2), (QStringList{"", "", "", "", "86KB"}));
    QCOMPARE(window.txtFreeDisk->text(), "1,234.5");
    QCOMPARE(column(*window.grdCondition, 0),
             (QStringList{"1 H-1-n2", "2 H-1-n3", "3 H-1-n4", "4 H-3-n1", "5 H-3-n3"}));
    QCOMPARE(column(*window.grdCondition, 1) + column(*window.grdCondition, 2), QStringList(10, "IGNORED"));
    QCOMPARE(model().digitalItemNumber, 5);
    QVERIFY(!whetherTriggerConditionSet(model()));
    QVERIFY(fake().callsOf("getDataItemNum").contains("getDataItemNum(0, \"\", 0, 5, 100, 3, *, *, *, *)"));
    QCOMPARE(window.windowTitle(), "Trigger Record Setting(Q7-NET)");
    saveScreenshot(window, "frmRecodeTrigger");

    // Through the floating list: a code item offers NORMAL and ERROR
    // whatever its state texts, a two-state item its own.
    QComboBox& list = *window.cboCondition;
    const struct {
      int row, column;
      QStringList offered;
      int chosen;
    } choices[] = {
        {1, 1, {"NORMAL", "ERROR", "IGNORED"}, 1},
        {3, 2, {"NORMAL", "ERROR", "IGNORED"}, 1},
        {4, 1, {"lo-n3", "hi-n3", "IGNORED"}, 0},
    };
    for (const auto& choice : choices) {
      clickCell(*window.grdCondition, choice.row, choice.column);
      const QRect cell = window.grdCondition->visualRect(window.grdCondition->currentIndex());
      QVERIFY(list.isVisible() && list.x() == cell.x() && list.y() == cell.y() && list.width() == cell.width());
      QCOMPARE(entries(list), choice.offered);
      QCOMPARE(list.currentIndex(), 2);
      chooseInList(list, choice.chosen);
    }
    QTest::keyClick(&list, Qt::Key_Return);
    QVERIFY(!list.isVisible() && window.focusWidget() == window.grdCondition);
    QCOMPARE(column(*window.grdCondition, 1), (QStringList{"IGNORED", "ERROR", "IGNORED", "IGNORED", "lo-n3"}));
    QCOMPARE(column(*window.grdCondition, 2), (QStringList{"IGNORED", "IGNORED", "IGNORED", "ERROR", "IGNORED"}));

    // The map's trigger start hands over every item, also those without a
    // condition, under the library's number of the system.
    QTest::keyClick(&window, Qt::Key_F1);
    QVERIFY(!window.isLoaded());
    fake().calls.clear();
    QTest::keyClick(&frmMap::instance(), Qt::Key_F9);
    QCOMPARE(fake().callsOf("setTrigCondition"),
             (QStringList{"setTrigCondition(5, 100, 1, 2, 2, 2)", "setTrigCondition(5, 100, 1, 3, 1, 2)",
                          "setTrigCondition(5, 100, 1, 4, 2, 2)", "setTrigCondition(5, 100, 3, 1, 2, 1)",
                          "setTrigCondition(5, 100, 3, 3, 0, 2)"}));
    QCOMPARE(fake().callsOf("saveTrigData"), QStringList{"saveTrigData(1, 5, 30)"});
  }

  void expectedSizesCountTheMinutesAroundTheTrigger() {
    const struct {
      const char* fault;
      int32_t header, record, minutes, ifMode;
      const char* size;
    } cases[] = {
        {"up to 60 minutes twice the minutes", 4600, 228, 45, 2, "126KB"},
        {"above, 60 minutes before the trigger", 4600, 228, 120, 2, "246KB"},
        {"the sensor carrier adds its inputs", 4600, 228, 45, 5, "143KB"},
        {"the sensor carrier above 60 minutes", 4600, 228, 120, 5, "280KB"},
        {"no sensor inputs without a sensor mode", 4600, 228, 45, 4, "126KB"},
        {"header 2000, record 500", 2000, 500, 30, 2, "179KB"},
        {"header 2000, record 500, 90 minutes", 2000, 500, 90, 2, "442KB"},
        {"2.5 KB to the even 2", 2560, 0, 30, 2, "3KB"},
        {"3.5 KB to the even 4", 3584, 0, 30, 2, "5KB"},
    };
    for (const auto& c : cases) {
      scriptLibrary(fake(), {{1, {c.header, c.record}}, {2, {1, 1}}});
      auto map = siteMap("o o");
      MapBuilder::addSystem(map->systemsSen)->systemNumber = 1;
      map->ifMode = c.ifMode;
      map->recodeTriggerTime = c.minutes;
      map->systems.item(1)->recodeTrigger = 1;
      const std::vector<QString> texts = triggerFileSizeTexts(*map);
      QVERIFY2(QStringList(texts.begin(), texts.end()) == (QStringList{c.size, ""}), c.fault);
      QVERIFY2(fake().callsOf("getDataSize") == QStringList{"getDataSize(1, 10, *, *)"}, c.fault);
      fake().calls.clear();
    }
    scriptLibrary(fake(), {{1, {0, 1}}});
    auto map = siteMap("o");
    for (const auto& [minutes, counted] : {std::pair(60, 120), std::pair(61, 121)}) {
      map->recodeTriggerTime = minutes;
      QCOMPARE(getTriggerFileSize(*map, 1), counted * 6.0);
    }
    // Free space equal to the total fits.
    map->systems.item(1)->recodeTrigger = 1;
    for (const auto& [freeKb, over] : {std::pair(9, true), std::pair(10, false)}) {
      scriptLibrary(fake(), {{1, {10240, 0}}}, freeKb);
      QCOMPARE(triggerFileSizeOver(*map), over);
    }
    QVERIFY(!setUp().isLoaded());
  }

  void aSystemIsConfirmedOnlyByASecondChoice() {
    scriptLibrary(fake(), {{1, {1000, 10}}, {2, {2000, 10}}});
    items->setItems(kOutdoorUnit, 1, itemsOfTypes({1}));
    items->setItems(kIndoorUnit, 1, itemsOfTypes({2, 2}, 7));
    auto map = siteMap("o i");
    frmRecodeTrigger& window = openFromMap(map);
    QTableWidget& systems = *window.grdSystemSelect;
    model().airconsOut.item(1)->dataItems.item(1)->triggerCondition1 = 1;
    const struct {
      const char* step;
      std::function<void()> act;
      const char *marks, *sizes, *rows;
      int currentRow;
      bool conditionKept;
    } steps[] = {
        {"a first click only highlights", [&] { clickRow(systems, 1); }, "*,", "5KB,", "1 O-1-n1", 1, true},
        {"the second confirms and rebuilds", [&] { clickRow(systems, 1); }, ",*", ",6KB", "1 I-1-n7,2 I-1-n8", 1, false},
        {"F12 confirms the cursor's row at once", [&] {
           QTest::keyClick(&systems, Qt::Key_Up);
           QTest::keyClick(&systems, Qt::Key_F12);
         }, "*,", "5KB,", "1 O-1-n1", 0, false},
    };
    for (const auto& step : steps) {
      step.act();
      QVERIFY2(column(systems, 0).join(',') == step.marks && column(systems, 2).join(',') == step.sizes, step.step);
      QVERIFY2(column(*window.grdCondition, 0).join(',') == step.rows, step.step);
      QVERIFY2(systems.currentRow() == step.currentRow, step.step);
      QVERIFY2(whetherTriggerConditionSet(model()) == step.conditionKept, step.step);
    }
  }

  void theModelOutlivesTheWindowUntilMoreUnitsAreOnLine() {
    scriptLibrary(fake(), {});
    items->setItems(kOutdoorUnit, 1, itemsOfTypes({1}));
    items->setItems(kIndoorUnit, 1, itemsOfTypes({1}, 2));
    items->setItems(kIndoorUnit, 2, itemsOfTypes({2}, 3));
    // System 2 has indoor units only: its model holds no outdoor unit.
    auto map = siteMap("o iI");
    frmRecodeTrigger& window = openFromMap(map);
    clickRow(*window.grdSystemSelect, 1);
    clickRow(*window.grdSystemSelect, 1);
    model().airconsIn.item(1)->dataItems.item(1)->triggerCondition2 = 0;
    const struct {
      const char* step;
      std::function<void()> change;
      const char* rows;
      const char* condition2;
    } openings[] = {
        {"the same system keeps its conditions", [] {}, "1 I-1-n2", "lo-n2"},
        {"a unit back on line rebuilds", [&] { map->systems.item(2)->airconsIn.item(2)->onLine = 3; },
         "1 I-1-n2,2 I-2-n3", "IGNORED,IGNORED"},
    };
    for (const auto& opening : openings) {
      opening.change();
      reopen();
      QVERIFY2(triggerMarks(*map) == (QStringList{"0", "1"}), opening.step);
      QVERIFY2(column(*window.grdCondition, 0).join(',') == opening.rows, opening.step);
      QVERIFY2(column(*window.grdCondition, 2).join(',') == opening.condition2, opening.step);
    }
  }

  void openingChoosesTheFirstSystemThatCanRecordAndNamesTheRows() {
    scriptLibrary(fake(), {});
    const struct {
      const char* fault;
      const char *ordinary, *central;
      QStringList rows, marks;
    } cases[] = {
        {"central systems numbered after the ordinary ones", "o o", "c", {"System 1", "System 2", "System 3"}, {"1", "0", "0"}},
        {"none on line: the first of all", "O", "C", {"System 1", "System 2"}, {"1", "0"}},
        {"a map without systems", "", "", {}, {}},
    };
    for (const auto& c : cases) {
      auto map = siteMap(c.ordinary, c.central);
      // A mark left from elsewhere does not hold.
      for (const SystemRow& row : combinedSystemRows(*map)) row.system->recodeTrigger = 1;
      openMapWindow(map);
      setUp().showForm();
      QVERIFY2(setUp().isVisible() && column(*setUp().grdSystemSelect, 1) == c.rows, c.fault);
      QVERIFY2(triggerMarks(*map) == c.marks, c.fault);
      QVERIFY2(setUp().grdCondition->rowCount() == 0, c.fault);
      setUp().unload();
    }
  }

  void recordTimeBoxAndTheChecksThatNeverLoadTheWindow() {
    scriptLibrary(fake(), {});
    items->setItems(kOutdoorUnit, 1, itemsOfTypes({1}));
    auto map = siteMap("o");
    frmRecodeTrigger& window = openFromMap(map);
    const struct {
      const char* typed;
      int32_t stored;
      const char* shown;
    } typings[] = {{"12.4", 12, "12.4"}, {" 7 ", 7, " 7 "}, {"abc", 0, "abc"}, {"", 0, ""}, {"99999999", 10000000, "10000000"}};
    for (const auto& typing : typings) {
      window.txtTime->setText(QString::fromLatin1(typing.typed));
      QVERIFY2(map->recodeTriggerTime == typing.stored && window.txtTime->text() == typing.shown, typing.typed);
    }
    window.unload();
    const struct {
      const char* fault;
      int32_t minutes;
      bool conditionSet;
      int32_t result;
      QStringList messages;
    } checks[] = {
        {"a time of 0 comes first", 0, false, 1, {"9-1"}},
        {"a negative time is refused like 0", -5, true, 1, {"9-1"}},
        {"no condition", 30, false, 2, {"9-2"}},
        {"ready", 30, true, 0, {}},
    };
    for (const auto& check : checks) {
      map->recodeTriggerTime = check.minutes;
      model().airconsOut.item(1)->dataItems.item(1)->triggerCondition1 = check.conditionSet ? 1 : 2;
      MessageCollector messages;
      int32_t result = -1;
      window.checkRecodeTriggerData(result);
      QVERIFY2(result == check.result && messages.keys == check.messages, check.fault);
      QVERIFY2(!window.isLoaded(), check.fault);
    }
    // Shown, a failed check puts the focus on the field at fault, and F1
    // closes only a set-up that passes.
    window.showForm();
    MessageCollector messages;
    window.txtTime->setText("0");
    QTest::keyClick(window.grdCondition, Qt::Key_F1);
    QVERIFY(window.isLoaded() && window.focusWidget() == window.txtTime);
    window.txtTime->setText("30");
    model().airconsOut.item(1)->dataItems.item(1)->triggerCondition1 = 2;
    QTest::keyClick(window.txtTime, Qt::Key_F1);
    QVERIFY(window.isLoaded() && window.focusWidget() == window.grdCondition);
    QCOMPARE(messages.keys, (QStringList{"9-1", "9-2"}));
  }

  void whileTriggerRecordingRunsEveryEditIsIgnored() {
    scriptLibrary(fake(), {{1, {1000, 10}}});
    items->setItems(kOutdoorUnit, 1, itemsOfTypes({2}));
    auto map = siteMap("o o");
    frmMap& mapWindow = openMapWindow(map);
    inside(mapWindow).mapRecodeTrigger = true;
    frmRecodeTrigger& window = setUp();
    window.showForm();
    QVERIFY(!window.cmdEnd->isEnabled());
    window.txtTime->setText("45");
    clickRow(*window.grdSystemSelect, 1);
    clickRow(*window.grdSystemSelect, 1);
    QTest::keyClick(window.grdSystemSelect, Qt::Key_F12);
    clickCell(*window.grdCondition, 0, 1);
    QTest::keyClick(window.grdCondition, Qt::Key_F12);
    QCOMPARE(map->recodeTriggerTime, 30);
    QCOMPARE(window.txtTime->text(), "30");
    QCOMPARE(triggerMarks(*map), (QStringList{"1", "0"}));
    QVERIFY(!window.cboCondition->isVisible());
    QTest::keyClick(&window, Qt::Key_F1);
    QVERIFY(window.isLoaded());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isLoaded());
  }

};

QTEST_MAIN(TriggerSetupTest)
#include "trigger_setup_test.moc"
