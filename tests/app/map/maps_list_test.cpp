// The map list over the fake library: what OK does with a map by work,
// access mode, models, centralized operation, adapter and the library's
// answer; the questions before a bus map opens; deletion and the rows.
#include "frame/program_values.h"
#include "frame/site/customer_file.h"
#include "frame/site/site_files.h"
#include "map/frmMap.h"
#include "map/frmMapsList.h"
#include "map/map_builder.h"
#include "map/map_list.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

// Ordinary systems numbered 1 and 2 and a central system 1, each marked for
// trigger recording and not for periodic recording; every unit has a model
// unless `unknownModel`.
std::shared_ptr<MapQ7net> storedMap(int32_t ifMode, bool unknownModel = false, const QString& kind = QString()) {
  auto map = std::make_shared<MapQ7net>(mapOf({{1, 1}, {1, 0}}, 1));
  std::tie(map->ifMode, map->mapNumber, map->mapIndex, map->mapName, map->generalKind) =
      std::tuple(ifMode, 1, 1, QStringLiteral("Hall"), kind);
  for (auto systems : {&map->systems, &map->systemsCen}) {
    for (const auto& system : *systems) {
      system->recodeTrigger = 1;
      for (auto units : {&system->airconsOut, &system->airconsIn, &system->airconsCen}) {
        for (const auto& unit : *units) unit->generalKind = QStringLiteral("M");
      }
    }
  }
  if (unknownModel) map->systems.item(2)->airconsOut.item(1)->generalKind.clear();
  return map;
}

QString recordingChoices(const MapQ7net& map) {
  QStringList choices;
  for (const auto& s : map.systems) choices << QStringLiteral("%1/%2").arg(s->recode).arg(s->recodeTrigger);
  for (const auto& s : map.systemsCen) choices << QStringLiteral("%1/%2").arg(s->recode).arg(s->recodeTrigger);
  return choices.join(QLatin1Char(' '));
}

const QString kStart = QStringLiteral("initDataGather(1, 1, 3, %1, %2, \"%3\", 5)");
const QString kStop = QStringLiteral("initDataGather(0, 1, 3, %1, %2, \"%3\", 5)");

}  // namespace

class MapsListTest : public ProgramTest {
  Q_OBJECT

  // The list as the customer list's Select shows it.
  frmMapsList& showList() {
    frmMapsList& list = frmMapsList::instance();
    list.mapsListComeFrom = frmMapsList::kFromCustomerList;
    list.showForm();
    return list;
  }

 private slots:
  void init() {
    ProgramTest::init();
    clearCustomerInfo();
  }

  void okOpensAStoredMapOnlyWhereTheLibraryCanGatherIt() {
    struct Case {
      const char* road;
      int32_t workMode = kWorkRecording;
      int32_t ifMode = 2;
      bool unknownModel = false;
      bool central = true;
      int16_t adapter = 0;
      int32_t startAnswer = 0;
      bool yes = false;
      QStringList calls = {};
      QStringList seen = {};
      bool opened = false;
      const char* choices = "0/1 0/1 0/1";
    };
    const QString bus = kStart.arg(2).arg(0).arg(' ');
    const QString busStop = kStop.arg(2).arg(0).arg(' ');
    const QString board = kStart.arg(4).arg(0).arg(QStringLiteral("PARVO-710"));
    const QString boardStop = kStop.arg(4).arg(0).arg(QStringLiteral("PARVO-710"));
    const QString permitted = QStringLiteral("setCentralOperation(1)");
    const QString prohibited = QStringLiteral("setCentralOperation(0)");
    const QString plusRefusal = QStringLiteral("5-8");
    const QString unknownRefusal = QStringLiteral("The operation data collection of the air conditioner");
    const Case cases[] = {
        {.road = "every model known: opened, one trigger system", .calls = {permitted, bus}, .opened = true,
         .choices = "1/1 1/0 1/0"},
        {.road = "a model unknown, permitted: standby warning, Yes restarts with the initial scan",
         .unknownModel = true, .yes = true,
         .calls = {permitted, bus, busStop, permitted, kStart.arg(2).arg(1).arg(' ')},
         .seen = {QStringLiteral("frmStopQ7netAircon")}, .opened = true, .choices = "1/1 1/0 1/0"},
        {.road = "a model unknown, permitted: No stops gathering", .unknownModel = true, .calls = {permitted, bus, busStop},
         .seen = {QStringLiteral("frmStopQ7netAircon")}},
        {.road = "a model unknown, prohibited: Yes opens as started", .unknownModel = true, .central = false, .yes = true,
         .calls = {prohibited, bus}, .seen = {QStringLiteral("frmUnknownKind")}, .opened = true,
         .choices = "1/1 1/0 1/0"},
        {.road = "a model unknown, prohibited: No stops gathering and tells why", .unknownModel = true,
         .central = false, .calls = {prohibited, bus, busStop},
         .seen = {QStringLiteral("frmUnknownKind"), unknownRefusal}},
        {.road = "a board map on the adapter Vexa5 opens", .ifMode = 4, .calls = {permitted, board}, .opened = true,
         .choices = "1/1 1/0 1/0"},
        {.road = "a board map on the Plus adapter is started, stopped and refused", .ifMode = 4, .adapter = 1,
         .calls = {permitted, board, boardStop}, .seen = {plusRefusal}},
        {.road = "a board start the Plus adapter's library refuses is told too", .ifMode = 4, .adapter = 1,
         .startAnswer = 2, .calls = {permitted, board, boardStop}, .seen = {plusRefusal}},
        {.road = "a port that is missing", .startAnswer = 3, .calls = {permitted, bus, busStop},
         .seen = {QStringLiteral("5-3")}},
        {.road = "a model table that does not match", .startAnswer = 4, .calls = {permitted, bus, busStop},
         .seen = {QStringLiteral("1-2")}},
        {.road = "another refusal stops silently", .startAnswer = 2, .calls = {permitted, bus, busStop}},
        {.road = "a sensor-only map opens nothing and leaves nothing gathering", .ifMode = 1,
         .calls = {permitted, kStart.arg(1).arg(0).arg(' '), kStop.arg(1).arg(0).arg(' ')}},
        {.road = "customer-records work opens without the library", .workMode = kWorkCustomerRecords,
         .opened = true},
    };
    for (const Case& c : cases) {
      program() = ProgramValues();
      std::tie(program().workMode, program().centralOperation, program().adapterOptions[0]) =
          std::tuple(c.workMode, c.central, c.adapter);
      clearCustomerInfo();
      const auto map = storedMap(c.ifMode, c.unknownModel, c.ifMode == 4 ? QStringLiteral("PARVO-710") : QString());
      currentCustomer().q7nets.add(map, QStringLiteral("1"));
      frmMapsList& list = showList();
      fake().calls.clear();
      fake().on<decltype(::initDataGather)>(
          "initDataGather", [&c](int32_t start, int32_t, int32_t, int32_t, int32_t, const char*, int32_t) {
            return start ? c.startAnswer : 0;
          });
      ModalAnswerer answers({c.yes});
      QTest::keyClick(&list, Qt::Key_F1);
      frmMap& window = frmMap::instance();
      QVERIFY2(fake().calls == c.calls, qPrintable(c.road + QLatin1Char('\n') + fake().calls.join(QLatin1Char('\n'))));
      QVERIFY2(answers.seen == c.seen, qPrintable(c.road + QLatin1Char('\n') + answers.seen.join(QLatin1Char('\n'))));
      QVERIFY2(window.isLoaded() == c.opened && list.isLoaded() == !c.opened, c.road);
      QVERIFY2(recordingChoices(*map) == QLatin1String(c.choices), c.road);
      if (c.opened) QVERIFY2(window.recordingMap() == map && window.openedMode() == kMapModeStored, c.road);
      window.unload();
      list.unload();
    }
  }

  void okNeedsOneRowAndNoOtherWorkRunning() {
    struct Case {
      const char* fault;
      bool csv, transfer, twoRows;
      QString message;
    };
    const Case cases[] = {
        {"CSV output runs", true, false, false, QStringLiteral("5-4")},
        {"a data transfer runs", false, true, false, QStringLiteral("5-5")},
        {"two rows are selected", false, false, true, QStringLiteral("4-1")},
    };
    for (const Case& c : cases) {
      program().workMode = kWorkRecording;
      std::tie(program().csvOutputRunning, program().dataTransferRunning) = std::tuple(c.csv, c.transfer);
      clearCustomerInfo();
      for (int32_t n : {1, 2}) {
        auto map = storedMap(2);
        std::tie(map->mapNumber, map->mapIndex) = std::tuple(n, n);
        currentCustomer().q7nets.add(map, numberKey(n));
      }
      frmMapsList& list = showList();
      if (c.twoRows) list.grdList->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 4), true);
      fake().calls.clear();
      MessageCollector messages;
      list.cmdFix->click();
      QVERIFY2(messages.keys == QStringList{c.message} && fake().calls.isEmpty() && list.isLoaded(), c.fault);
      list.unload();
    }
  }

  void emptyCustomerHasNoRowToActOn() {
    program().workMode = kWorkCustomerRecords;
    frmMapsList& list = showList();
    QCOMPARE(list.grdList->rowCount(), 0);
    for (QPushButton* button : {list.cmdFix, list.cmdEdit, list.cmdDelete, list.cmdNew}) QVERIFY(!button->isEnabled());
    ModalAnswerer answers;
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_F3, Qt::Key_F9}) QTest::keyClick(&list, key);
    QVERIFY(answers.seen.isEmpty() && list.isLoaded());
    // Without a name the way back is always the customer list.
    list.mapsListComeFrom = frmMapsList::kFromCustomerEditor;
    QTest::keyClick(&list, Qt::Key_Escape);
    QVERIFY(!list.isLoaded());
  }

  void deletingMap2Of3RenumbersKeepsRow2AndWritesTheFile() {
    program().workMode = kWorkRecording;
    CustomInfor& customer = currentCustomer();
    std::tie(customer.id, customer.name) = std::tuple(QStringLiteral("c1"), QStringLiteral("Shop"));
    // Numbered 3, 1, 2 in the file: rows by number, A B C.
    for (const auto& [index, number, name] : {std::tuple(1, 3, "C"), std::tuple(2, 1, "A"), std::tuple(3, 2, "B")}) {
      auto map = storedMap(2);
      std::tie(map->mapIndex, map->mapNumber, map->mapName) = std::tuple(index, number, QLatin1String(name));
      customer.q7nets.add(map, numberKey(index));
    }
    frmMapsList& list = showList();
    QCOMPARE(list.windowTitle(), QStringLiteral("Network Map Selection(Shop)"));
    QCOMPARE(list.grdList->item(2, 1)->text() + list.grdList->item(2, 2)->text(), QStringLiteral("CQ7-NET"));
    list.grdList->setCurrentCell(1, 1);
    QuestionAnswer yes(QMessageBox::Yes);
    QTest::keyClick(&list, Qt::Key_F9);
    QVERIFY(yes.asked);
    QCOMPARE(list.grdList->rowCount(), 2);
    QCOMPARE(list.grdList->item(1, 1)->text(), QStringLiteral("C"));
    QCOMPARE(list.grdList->currentRow(), 1);
    QVERIFY(list.cmdFix->isEnabled() && list.cmdCancel->isEnabled());
    CustomInfor written;
    ReadFault fault;
    QVERIFY2(readCustomerText(world->folder.read(QStringLiteral("c1/c1.dak")), written, fault), qPrintable(fault.text()));
    QStringList names;
    for (int32_t n = 1; const auto map = mapOfNumber(written, n); ++n) names << map->mapName;
    QCOMPARE(names, (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
  }
};

QTEST_MAIN(MapsListTest)
#include "maps_list_test.moc"
