// The unit information editor and list over a hand-built map in the map
// window: the units offered, the centralized addresses accepted, the model
// candidates, and the giving of records to units without losing one.
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QTableWidget>
#include <QtTest>
#include <cstring>

#include "customer_files.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "map/frmMap.h"
#include "map/map_builder.h"
#include "map/open_map.h"
#include "map/map_picture.h"
#include "records/frmInforInput.h"
#include "records/frmInforList.h"
#include "records/unit_links.h"
#include "support/map_window_inside.h"
#include "support/program_test.h"

namespace {

// The map window open on `map` for recording work, its place on `page`.
frmMap& openMap(const MapQ7net& built, int32_t page = 1) {
  frmMap& window = openMap(std::make_shared<MapQ7net>(built));
  window.setDataToMapShowManagerObj();
  inside(window).mapShowManagerObj.pageNumberNow = page;
  window.showMap();
  return window;
}

frmInforInput& openEditor(frmMap& window) {
  QTest::keyClick(&window, Qt::Key_F6);
  return frmInforInput::instance();
}

void addFreeRecord(MapQ7net& map, int32_t linkNo, const QString& place) {
  auto link = std::make_shared<LinkAircon>();
  link->linkNo = linkNo;
  link->place = place;
  link->controlAddress = -1;
  map.linkAircons.add(link, numberKey(linkNo));
}

// "unit:linkNoNow/linkNoOld" of every unit that takes part in linking.
QString links(const MapQ7net& map) {
  QStringList found;
  for (const auto& system : map.systems) {
    for (const auto& unit : system->airconsOut)
      found << QString("O-%1:%2/%3").arg(unit->airconNumber).arg(unit->linkNoNow).arg(unit->linkNoOld);
    for (const auto& unit : system->airconsIn)
      found << QString("I-%1:%2/%3").arg(unit->airconNumber).arg(unit->linkNoNow).arg(unit->linkNoOld);
  }
  return found.join(' ');
}

QStringList entries(const QComboBox& box) {
  QStringList found;
  for (int i = 0; i < box.count(); ++i) found << box.itemText(i);
  return found;
}

// Copy of the list's row (from 0); the message it shows, if any.
QStringList copyRow(int row, int lastRow = -1) {
  frmInforList& list = frmInforList::instance();
  list.grdList->setCurrentCell(row, 1);
  if (lastRow >= 0) list.grdList->setRangeSelected(QTableWidgetSelectionRange(row, 0, lastRow, 4), true);
  return messageOf([&] { QTest::keyClick(list.grdList, Qt::Key_F1); });
}

}  // namespace

class UnitInformationTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void editorOffersTheUnitsOfTheChosenSystem_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("systemPage");  // -1: the map's own place
    QTest::addColumn<int>("place");
    QTest::addColumn<int>("centralRow");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("zubrel");  // the builder's: the unit's number
    const QStringList first{"O-1", "O-2", "I-1", "I-2", "I-3"};
    QTest::newRow("the unit chosen on the display") << 1 << -1 << 4 << 0 << first << "I-2"
                                                    << "Detail Data Input(M1,Q7-NET,System 1,PUHY)"
                                                    << "002";
    QTest::newRow("a place beyond the list chooses the last unit") << 1 << 2 << 1 << 0 << first << "I-3"
                                                                   << "Detail Data Input(M1,Q7-NET,System 1,PUHY)"
                                                                   << "003";
    QTest::newRow("a system without a model") << 2 << -1 << 1 << 0 << QStringList{"O-1"} << "O-1"
                                              << "Detail Data Input(M1,Q7-NET,System 2,)"
                                              << "001";
    QTest::newRow("central system 2 after three ordinary ones") << 4 << -1 << 1 << 2 << QStringList{"H-"} << "H-"
                                                                << "Detail Data Input(M1,Q7-NET,System 5,ABC)"
                                                                << "001";
  }

  void editorOffersTheUnitsOfTheChosenSystem() {
    QFETCH(int, page);
    QFETCH(int, systemPage);
    QFETCH(int, place);
    QFETCH(int, centralRow);
    QFETCH(QStringList, offered);
    QFETCH(QString, chosen);
    QFETCH(QString, caption);
    QFETCH(QString, zubrel);
    MapQ7net map = mapOf({{2, 3}, {1, 0}, {1, 1}}, 2);
    map.mapName = QStringLiteral("M1");
    map.ifMode = 2;
    map.systems.item(1)->airconsOut.item(QStringLiteral("1"))->generalKind = QStringLiteral("PUHY");
    map.systemsCen.item(2)->airconsCen.item(QStringLiteral("1"))->generalKind = QStringLiteral("ABC");
    frmMap& window = openMap(map, page);
    MapShowManager& shown = inside(window).mapShowManagerObj;
    if (systemPage > 0) shown.systemPageNumberNow = systemPage;
    shown.airconNumberNow = place;
    if (centralRow) shown.systemCenNow = centralRow;
    frmInforInput& editor = openEditor(window);
    QVERIFY(editor.isLoaded());
    QCOMPARE(entries(*editor.cboAirconNumber), offered);
    QCOMPARE(editor.cboAirconNumber->currentText(), chosen);
    QCOMPARE(editor.windowTitle(), caption);
    // Each unit of the builder is placed "P<link>" with its zubrelAddress
    // equal to its number.
    const auto link = findLink(*window.recordingMap(), editor.linkNoInforList);
    QVERIFY(link);
    QCOMPARE(editor.txtPlace->text(), link->place);
    QCOMPARE(editor.txtZubrelAddress->text(), zubrel);
  }

  void saveChecksTheCentralizedAddress_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");  // -2: refused with "10-1"
    for (const char* refused : {"9-00", "0-05", "1-16", "1-5", "1_05", "10-1", "１-05"}) {
      QTest::newRow(refused) << QString::fromUtf8(refused) << -2;
    }
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("1-00") << "1-00" << 0;
    QTest::newRow("8-15") << "8-15" << 127;
    QTest::newRow("blanks around") << " 3-07 " << 39;
  }

  void saveChecksTheCentralizedAddress() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    frmMap& window = openMap(mapOf({{1, 1}}));
    frmInforInput& editor = openEditor(window);
    const QString links0 = links(*window.recordingMap());
    editor.txtPlace->setText(QStringLiteral(" Roof "));
    editor.cboKind->setEditText(QStringLiteral(" PUHY-P250 "));
    editor.txtControlAddress->setText(typed);
    const QStringList shown = messageOf([&] { QTest::keyClick(editor.txtPlace, Qt::Key_F1); });
    const LinkAircon& record = *findLink(*window.recordingMap(), 1);
    QCOMPARE(links(*window.recordingMap()), links0);  // the unit's own record: nothing relinked
    if (stored == -2) {
      QCOMPARE(shown,
               QStringList({"Error No.:10-1", "Centralized address is not correct.", "Must be [1-00] to [8-15].", ""}));
      QCOMPARE(editor.focusWidget(), static_cast<QWidget*>(editor.txtControlAddress));
      QCOMPARE(record.place, QStringLiteral("P1"));
      QCOMPARE(editor.txtControlAddress->text(), typed);
      return;
    }
    QCOMPARE(shown, QStringList());
    QCOMPARE(record.controlAddress, stored);
    QCOMPARE(record.place + '|' + record.kind, QStringLiteral("Roof|PUHY-P250"));
    QCOMPARE(inside(window).picMap->txtControlAddress[0]->text(), typed.trimmed());  // the map is redrawn
  }

  void modelCandidatesEndWithAComma_data() {
    QTest::addColumn<QByteArray>("given");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("each ended") << QByteArray("A,B,C,") << QStringList{"A", "B", "C"};
    QTest::newRow("the last without comma") << QByteArray("A,B,C") << QStringList{"A", "B"};
    QTest::newRow("none") << QByteArray() << QStringList();
  }

  void modelCandidatesEndWithAComma() {
    QFETCH(QByteArray, given);
    QFETCH(QStringList, offered);
    fake().on<decltype(::getKishuKouho)>(
        "getKishuKouho", [given](const char*, char* names, int32_t* length, int32_t* count) {
          std::memcpy(names, given.constData(), static_cast<std::size_t>(given.size()));
          *length = static_cast<int32_t>(given.size());
          *count = 9;
          return 0;
        });
    MapQ7net map = mapOf({{1, 0}});
    map.systems.item(1)->airconsOut.item(QStringLiteral("1"))->generalKind = QStringLiteral("PUHY");
    findLink(map, 1)->kind = QStringLiteral("Typed");
    frmInforInput& editor = openEditor(openMap(map));
    QCOMPARE(entries(*editor.cboKind), offered);
    QCOMPARE(editor.cboKind->currentText(), QStringLiteral("Typed"));
  }

  void copyGivesTheRecordAndKeepsEveryRecord() {
    // O-1, O-2 and I-1 hold records 1..3; records 4..30 hold no unit.
    MapQ7net built = mapOf({{2, 1}});
    for (int32_t linkNo = 4; linkNo <= 30; ++linkNo) addFreeRecord(built, linkNo, QStringLiteral("F%1").arg(linkNo));
    frmMap& window = openMap(built);
    const MapQ7net& map = *window.recordingMap();
    frmInforInput& editor = openEditor(window);
    QCOMPARE(editor.cboAirconNumber->currentText(), QStringLiteral("O-1"));
    QTest::keyClick(editor.cboAirconNumber, Qt::Key_F2);
    frmInforList& list = frmInforList::instance();
    QVERIFY(list.isLoaded() && editor.flagInforListExist);
    QCOMPARE(list.grdList->rowCount(), 30);
    QCOMPARE(list.grdList->currentRow(), 0);

    // Record 3, held by I-1: the two exchange records.
    QCOMPARE(copyRow(2), QStringList());
    QCOMPARE(links(map), QStringLiteral("O-1:3/1 O-2:2/0 I-1:1/3"));
    QCOMPARE(editor.txtPlace->text(), QStringLiteral("P3"));
    // Record 4, held by none: O-1 takes it, record 3 is left without a unit.
    QCOMPARE(copyRow(3), QStringList());
    QCOMPARE(links(map), QStringLiteral("O-1:4/3 O-2:2/0 I-1:1/3"));
    QVERIFY(!unitHoldingLink(map, 3));
    QCOMPARE(map.linkAircons.count(), 30);
    QCOMPARE(list.grdList->currentRow(), 3);
    QCOMPARE(list.grdList->rowAt(0), 3);  // scrolled to the top
    // Several rows: refused, nothing changes.
    QCOMPARE(copyRow(5, 6).value(0), QStringLiteral("Error No.:11-1"));
    QCOMPARE(links(map), QStringLiteral("O-1:4/3 O-2:2/0 I-1:1/3"));

    // Choosing I-1 shows its record in the editor and the list.
    editor.cboAirconNumber->setCurrentIndex(2);
    QCOMPARE(editor.txtPlace->text(), QStringLiteral("P1"));
    QCOMPARE(list.grdList->currentRow(), 0);
  }

  void rescanAndClosingOfTheMapPutBothWindowsAway() {
    for (const bool closing : {false, true}) {
      frmMap& window = openMap(mapOf({{1, 1}}));
      frmInforInput& editor = openEditor(window);
      QTest::keyClick(editor.cboAirconNumber, Qt::Key_F2);
      QVERIFY(frmInforList::instance().isLoaded());
      if (closing) {
        window.prepareForEndFormMap();
        window.tmrForEnd_Timer();
      } else {
        window.refreshMap();
      }
      QVERIFY2(!editor.isLoaded() && !frmInforList::instance().isLoaded() && !editor.flagInforListExist,
               closing ? "closing" : "rescan");
      window.unload();
    }
  }

  void unitWithoutRecordTakesOnlyAFreeOne() {
    MapQ7net built = mapOf({{2, 0}});
    built.systems.item(1)->airconsOut.item(QStringLiteral("1"))->linkNoNow = 9;
    addFreeRecord(built, 3, QStringLiteral("Free"));
    frmMap& window = openMap(built);
    const MapQ7net& map = *window.recordingMap();
    frmInforInput& editor = openEditor(window);
    QCOMPARE(editor.txtPlace->text(), QString());
    QCOMPARE(editor.linkNoInforList, 0);
    // Save writes no record, neither the last unit's nor another.
    editor.txtPlace->setText(QStringLiteral("Typed"));
    QTest::keyClick(editor.txtPlace, Qt::Key_F1);
    for (const auto& link : map.linkAircons) QVERIFY(link->place != QStringLiteral("Typed"));
    QTest::keyClick(editor.txtPlace, Qt::Key_F2);
    // O-2's record would leave O-2 without one.
    QCOMPARE(copyRow(1), QStringList());
    QCOMPARE(links(map), QStringLiteral("O-1:9/0 O-2:2/0"));
    QCOMPARE(editor.txtPlace->text(), QString());
    QCOMPARE(copyRow(2), QStringList());
    QCOMPARE(links(map), QStringLiteral("O-1:3/0 O-2:2/0"));
    QCOMPARE(editor.txtPlace->text(), QStringLiteral("Free"));
    // Esc on the list brings the editor back; Esc on the editor puts the
    // list away too and brings the map back.
    QTest::keyClick(frmInforList::instance().grdList, Qt::Key_Escape);
    QVERIFY(!frmInforList::instance().isLoaded() && !editor.flagInforListExist);
    QCOMPARE(mainMdiArea()->activeSubWindow(), editor.subWindow());
    QTest::keyClick(editor.txtPlace, Qt::Key_F2);
    QTest::keyClick(editor.txtPlace, Qt::Key_Escape);
    QVERIFY(!frmInforList::instance().isLoaded() && !editor.isLoaded());
    QCOMPARE(mainMdiArea()->activeSubWindow(), window.subWindow());
  }
};

QTEST_MAIN(UnitInformationTest)
#include "unit_information_test.moc"
