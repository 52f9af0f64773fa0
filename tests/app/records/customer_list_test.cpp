// The customer list: which folders are customers, where each road leads,
// the contact chosen, and the deletion of a customer with its recordings.
#include "customer_files.h"
#include "frame/file_operations.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "frame/site/site_files.h"
#include "map/frmInterface.h"
#include "map/frmMapsList.h"
#include "records/contact_list.h"
#include "records/frmCustom.h"
#include "records/frmCustomsData.h"
#include "records/frmCustomsList.h"
#include "support/program_test.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <cerrno>

namespace {

// A whole customer file: head, id, name, six empty texts, no map.
void writeCustomer(const ScratchFolder& scratch, const QString& path, const char* name) {
  scratch.write(path,
                QByteArray("1,50\r\n\"x\"\r\n\"") + name + "\"\r\n" + QByteArray("\"\"\r\n").repeated(6) + "0\r\n");
}

// "id|name" of each grid row.
QStringList rows(const frmCustomsList& list) {
  QStringList found;
  for (int r = 0; r < list.grdList->rowCount(); ++r) {
    found << list.grdList->item(r, 1)->text() + '|' + list.grdList->item(r, 2)->text();
  }
  return found;
}

// Which windows are open after a road, with what they were told.
QString roadTaken() {
  QStringList open;
  if (frmCustomsList::instance().isLoaded()) open << "list";
  if (frmInterface::instance().isLoaded()) open << "access";
  if (frmMapsList::instance().isLoaded()) open << QString("maps %1").arg(frmMapsList::instance().mapsListComeFrom);
  if (frmCustom::instance().isLoaded()) open << QString("editor %1").arg(frmCustom::instance().customMode);
  if (frmMain::instance().isLoaded()) open << "menu";
  open << QString("work %1, access mode %2").arg(program().workMode).arg(frmInterface::instance().interfaceMode);
  open << "customer " + currentCustomer().name;
  // The contact chosen is written only by the roads that go on to work.
  const bool written = QFile::exists(programFolderFile("pelomar3.dam"));
  open << (written ? "contacts " + contactNames(serviceShop()).join(' ') : "no station file");
  return open.join(", ");
}

}  // namespace

class CustomerListTest : public ProgramTest {
  Q_OBJECT

  frmCustomsList& openList(int32_t work) {
    QAction* item = work == kWorkRecording ? frmMdi::instance().mnuRecode : frmMdi::instance().mnuCustom;
    item->trigger();
    return frmCustomsList::instance();
  }

 private slots:
  void init() {
    ProgramTest::init();
    clearServiceStationInfo();
    setContactNames(serviceShop(), {"Sato", "Ito", "Kato"});
    writeCustomer(world->folder, "acme/acme.dak", "Acme Corp");
    writeCustomer(world->folder, "Beta/BETA.DAK", "Beta Ltd");
    world->folder.write("csv/old.das", "x");
    world->folder.write("Gamma/delta.dak", "x");
  }

  void everyRoadLeadsWhereTheWorkGoes_data() {
    QTest::addColumn<int>("work");
    QTest::addColumn<int>("key");
    // "damaged": Beta's customer file; "rows": both rows selected; "no contact": none typed
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("road");
    const int recording = kWorkRecording, records = kWorkCustomerRecords;
    const int f1 = Qt::Key_F1, f2 = Qt::Key_F2, f3 = Qt::Key_F3, f4 = Qt::Key_F4, f9 = Qt::Key_F9;
    const QString chosen = ", contacts Sato Kato ito", unchanged = ", no station file";
    const QString damaged = ", BETA.DAK is damaged and was not loaded.";
    QTest::newRow("record only") << recording << f1 << ""
                                 << "access, work 0, access mode 1, customer " + chosen;
    QTest::newRow("no record only in customer records") << records << f1 << ""
                                                        << "list, work 1, access mode -1, customer " + unchanged;
    QTest::newRow("select") << recording << f2 << ""
                            << "maps 0, work 0, access mode 0, customer Beta Ltd" + chosen;
    QTest::newRow("new") << records << f3 << ""
                         << "editor 0, work 1, access mode 0, customer " + chosen;
    QTest::newRow("edit") << recording << f4 << ""
                          << "editor 1, work 0, access mode 0, customer Beta Ltd" + chosen;
    QTest::newRow("delete answered No") << records << f9 << ""
                                        << "list, work 1, access mode -1, customer " + unchanged;
    QTest::newRow("cancel") << recording << int(Qt::Key_Escape) << ""
                            << "menu, work 2, access mode -1, customer " + unchanged;
    QTest::newRow("select of a damaged file") << recording << f2 << "damaged"
                                              << "list, work 0, access mode -1, customer " + unchanged + damaged;
    QTest::newRow("edit of a damaged file") << records << f4 << "damaged"
                                            << "list, work 1, access mode -1, customer " + unchanged + damaged;
    QTest::newRow("new without a contact") << records << f3 << "no contact"
                                           << "editor 0, work 1, access mode 0, customer " + unchanged;
    for (const int key : {f2, f4, f9}) {
      QTest::newRow(qPrintable(QString("two rows, key %1").arg(key)))
          << records << key << "rows"
          << "list, work 1, access mode -1, customer " + unchanged + ", Error No.:2-1";
    }
  }

  void everyRoadLeadsWhereTheWorkGoes() {
    QFETCH(int, work);
    QFETCH(int, key);
    QFETCH(QString, trouble);
    QFETCH(QString, road);
    if (trouble == "damaged") world->folder.write("Beta/BETA.DAK", "one,50\r\n\"x\"\r\n\"Beta Ltd\"\r\n");
    frmCustomsList& list = openList(work);
    QCOMPARE(rows(list), QStringList({"acme|Acme Corp", "Beta|Beta Ltd"}));
    QCOMPARE(list.lblRecodeOnly->isEnabled(), work == kWorkRecording);
    QCOMPARE(list.cboSsChargeMen->currentText(), QStringLiteral("Kato"));  // the last chosen offered first
    list.cboSsChargeMen->setEditText(trouble == "no contact" ? "" : "  ito ");
    frmInterface::instance().interfaceMode = -1;
    list.grdList->setCurrentCell(1, 1);
    if (trouble == "rows") list.grdList->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 2), true);
    const QStringList shown = messageOf([&] { QTest::keyClick(list.grdList, Qt::Key(key)); });
    QCOMPARE(roadTaken() + (shown.isEmpty() ? "" : ", " + shown[0]), road);
    QCOMPARE(filesBelow(world->folder).filter("/").size(), 3);  // no customer file deleted
  }

  void withoutCustomersOnlyNewRecordOnlyAndCancelAct() {
    for (const char* folder : {"acme", "Beta"}) QVERIFY(QDir(world->folder.file(folder)).removeRecursively());
    frmCustomsList& list = openList(kWorkRecording);
    QCOMPARE(list.grdList->rowCount(), 0);
    QCOMPARE(QList<bool>({list.cmdFix->isEnabled(), list.cmdEdit->isEnabled(), list.cmdDelete->isEnabled(),
                          list.cmdNew->isEnabled(), list.cmdRecodeOnly->isEnabled()}),
             QList<bool>({false, false, false, true, true}));
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_F4, Qt::Key_F9}) QTest::keyClick(list.grdList, key);
    emit list.grdList->cellDoubleClicked(0, 1);
    QCOMPARE(roadTaken(), QStringLiteral("list, work 0, access mode 0, customer , no station file"));
  }

  void selectedRowSurvivesTheEditorAndReopening() {
    frmCustomsList& list = openList(kWorkCustomerRecords);
    list.grdList->setCurrentCell(1, 1);
    QTest::keyClick(list.grdList, Qt::Key_F4);
    QTest::keyClick(frmCustom::instance().txtId, Qt::Key_Escape);
    QVERIFY(list.isLoaded());
    QCOMPARE(list.grdList->currentRow(), 1);
    QCOMPARE(list.grdList->selectedRanges().value(0).columnCount(), 3);
  }

  void deletionTakesTheCustomerFileAndRecordings_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("fault");  // the first removal of a file fails
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("folder with another file stays")
        << QStringList{"acme/r1.das", "acme/notes.txt"} << 0 << false
        << QStringList{"Beta/BETA.DAK", "Gamma/delta.dak", "acme/notes.txt"} << QStringList{"Beta|Beta Ltd"};
    QTest::newRow("emptied folder goes, selection on the new last row")
        << QStringList{"Beta/b.DAS"} << 1 << false << QStringList{"Gamma/delta.dak", "acme/acme.dak"}
        << QStringList{"acme|Acme Corp"};
    QTest::newRow("a file that cannot go is told, the others go")
        << QStringList{"acme/r1.das"} << 0 << true << QStringList{"Beta/BETA.DAK", "Gamma/delta.dak", "acme/acme.dak"}
        << QStringList{"acme|Acme Corp", "Beta|Beta Ltd"};
  }

  void deletionTakesTheCustomerFileAndRecordings() {
    QFETCH(QStringList, extra);
    QFETCH(int, row);
    QFETCH(bool, fault);
    QFETCH(QStringList, after);
    QFETCH(QStringList, rows);
    for (const QString& name : extra) world->folder.write(name, "x");
    frmCustomsData::instance().showForm();
    frmCustomsList& list = openList(kWorkCustomerRecords);
    list.grdList->setCurrentCell(row, 1);
    list.selectedRow = row + 1;
    if (fault) setFileFault(FileFault{FileCall::RemoveFile, EBUSY});
    const QStringList shown = messageOf([&] { list.deleteCustom(); });
    setFileFault(std::nullopt);
    QCOMPARE(shown.value(0), QString(fault ? "Error No.:21-3" : ""));
    QCOMPARE(filesBelow(world->folder), after);
    QCOMPARE(::rows(list), rows);
    QCOMPARE(list.grdList->currentRow(), rows.size() - 1 < row ? rows.size() - 1 : row);
    QVERIFY(list.cmdNew->isEnabled() && list.cmdDelete->isEnabled());
    QVERIFY(frmCustomsData::instance().flagForEnd());  // the recorded-data window starts closing
  }
};

QTEST_MAIN(CustomerListTest)
#include "customer_list_test.moc"
