// The service-station editor: the contact list it keeps (letter case
// counts), what Save writes, and a station file that cannot be written.
#include "customer_files.h"
#include "frame/file_operations.h"
#include "frame/main_window.h"
#include "frame/site/site_files.h"
#include "records/contact_list.h"
#include "records/frmSs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

#include <cerrno>

namespace {

QStringList items(const QComboBox& box) {
  QStringList names;
  for (int i = 0; i < box.count(); ++i) names << box.itemText(i);
  return names;
}

QString statusText() { return mainWindowParts().statusLine->text(); }

}  // namespace

class StationEditorTest : public QObject {
  Q_OBJECT

  std::unique_ptr<ProgramFixture> world;

 private slots:
  void init() {
    world = startedProgram();
    clearServiceStationInfo();
    setContactNames(serviceShop(), {"Sato", "Ito", "Kato"});
    frmSs::instance().showForm();
  }
  void cleanup() { world.reset(); }

  void contactsChangeOnlyInTheWindowUntilSave_data() {
    QTest::addColumn<QStringList>("steps");  // "text>key": the combo text, then a key
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("status");
    QTest::newRow("a name in another case is added")
        << QStringList{"ito>F5"} << QStringList{"Sato", "Ito", "Kato", "ito"} << "";
    QTest::newRow("a listed name is refused")
        << QStringList{" Ito >F5"} << QStringList{"Sato", "Ito", "Kato"} << "Ito already exists.";
    QTest::newRow("delete with blanks around") << QStringList{" Ito >F6"} << QStringList{"Sato", "Kato"} << "";
    QTest::newRow("delete of a name in another case is refused")
        << QStringList{"ito>F6"} << QStringList{"Sato", "Ito", "Kato"} << "ito does not exist and can not be deleted.";
    QTest::newRow("blank names are ignored")
        << QStringList{"  >F5", "  >F6"} << QStringList{"Sato", "Ito", "Kato"} << "";
  }

  void contactsChangeOnlyInTheWindowUntilSave() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, list);
    QFETCH(QString, status);
    frmSs& editor = frmSs::instance();
    QCOMPARE(editor.cboSsChargeMen->currentText(), QStringLiteral("Kato"));  // the last offered first
    setMainStatusText(QString());
    for (const QString& step : steps) {
      editor.cboSsChargeMen->setEditText(step.section('>', 0, 0));
      QTest::keyClick(editor.cboSsChargeMen, step.endsWith("F5") ? Qt::Key_F5 : Qt::Key_F6);
    }
    QCOMPARE(items(*editor.cboSsChargeMen), list);
    QCOMPARE(statusText(), status);
    QTest::keyClick(editor.txtSsName, Qt::Key_Escape);  // Cancel keeps the record and writes nothing
    QCOMPARE(contactNames(serviceShop()), QStringList({"Sato", "Ito", "Kato"}));
    QVERIFY(!QFile::exists(world->folder.file("pelomar3.dam")));
  }

  void saveWritesTheStationWithTheChosenContactLast_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("a name typed but not added") << "ito" << QStringList{"Sato", "Ito", "Kato", "ito"};
    QTest::newRow("a listed name moves last") << " Ito " << QStringList{"Sato", "Kato", "Ito"};
    QTest::newRow("no name keeps the order") << "" << QStringList{"Sato", "Ito", "Kato"};
  }

  void saveWritesTheStationWithTheChosenContactLast() {
    QFETCH(QString, chosen);
    QFETCH(QStringList, list);
    frmSs& editor = frmSs::instance();
    editor.txtSsName->setText(QStringLiteral(" Kansai Service "));
    editor.cboSsChargeMen->setEditText(chosen);
    QTest::keyClick(editor.txtSsTel, Qt::Key_F1);
    QVERIFY(!editor.isLoaded());
    clearServiceStationInfo();
    QVERIFY(loadServiceStationFile());
    QCOMPARE(serviceShop().ssName, QStringLiteral("Kansai Service"));
    QCOMPARE(contactNames(serviceShop()), list);
    QCOMPARE(serviceShop().ssChargeMen.keyAt(list.size()), QString::number(list.size()));
  }

  void stationFileThatCannotBeWrittenKeepsTheWindowAndTheRecord() {
    frmSs& editor = frmSs::instance();
    editor.txtSsName->setText(QStringLiteral("New name"));
    const ScopedFileFault full(FileFault{FileCall::Write, ENOSPC});
    const QStringList shown = messageOf([&] { editor.cmdSave->click(); });
    QCOMPARE(shown, QStringList({"21-3", "permission denied   ", " cannot access folder or file ",
                                 "( 28 No space left on device )"}));
    QVERIFY(editor.isLoaded());
    QCOMPARE(editor.txtSsName->text(), QStringLiteral("New name"));
    QCOMPARE(serviceShop().ssName, QString());
  }
};

QTEST_MAIN(StationEditorTest)
#include "station_editor_test.moc"
