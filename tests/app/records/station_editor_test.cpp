// The service-station editor: the contact list it keeps (letter case
// counts), what Save writes, and a station file that cannot be written.
#include "customer_files.h"
#include "frame/file_operations.h"
#include "frame/main_window.h"
#include "frame/site/site_files.h"
#include "records/contact_list.h"
#include "records/frmSs.h"
#include "support/program_test.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cerrno>

class StationEditorTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void init() {
    ProgramTest::init();
    clearServiceStationInfo();
    setContactNames(serviceShop(), {"Sato", "Ito", "Kato"});
    frmSs::instance().showForm();
  }

  void contactsChangeInTheWindowAndOnlySaveWritesThem_data() {
    QTest::addColumn<QStringList>("steps");  // "text>key": the combo's text, then a key
    QTest::addColumn<QString>("status");     // before the last step
    QTest::addColumn<QStringList>("stored");
    const QStringList kept{"Sato", "Ito", "Kato"};
    QTest::newRow("a typed name joins on Save")
        << QStringList{"ito>F1"} << "" << QStringList{"Sato", "Ito", "Kato", "ito"};
    QTest::newRow("a listed name moves last") << QStringList{" Ito >F1"} << "" << QStringList{"Sato", "Kato", "Ito"};
    QTest::newRow("a name in another case is added")
        << QStringList{"ito>F5", ">F1"} << "" << QStringList{"Sato", "Ito", "Kato", "ito"};
    QTest::newRow("a listed name is refused, Cancel writes nothing")
        << QStringList{" Ito >F5", ">Escape"} << "Ito already exists." << kept;
    QTest::newRow("delete with blanks around") << QStringList{" Ito >F6", ">F1"} << "" << QStringList{"Sato", "Kato"};
    QTest::newRow("delete of a name in another case is refused")
        << QStringList{"ito>F6", ">Escape"} << "ito does not exist and can not be deleted." << kept;
    QTest::newRow("blank names are ignored") << QStringList{"  >F5", "  >F6", ">Escape"} << "" << kept;
  }

  void contactsChangeInTheWindowAndOnlySaveWritesThem() {
    QFETCH(QStringList, steps);
    QFETCH(QString, status);
    QFETCH(QStringList, stored);
    frmSs& editor = frmSs::instance();
    QCOMPARE(editor.cboSsChargeMen->currentText(), QStringLiteral("Kato"));  // the last offered first
    editor.txtSsName->setText(QStringLiteral(" Kansai Service "));
    setMainStatusText(QString());
    for (const QString& step : steps) {
      if (&step == &steps.last()) QCOMPARE(mainWindowParts().statusLine->text(), status);
      editor.cboSsChargeMen->setEditText(step.section('>', 0, 0));
      QTest::keyClick(editor.cboSsChargeMen, QKeySequence(step.section('>', 1))[0].key());
    }
    QVERIFY(!editor.isLoaded());
    const bool saved = steps.last().endsWith("F1");
    QCOMPARE(QFile::exists(world->folder.file("pelomar3.dam")), saved);
    if (saved) {
      clearServiceStationInfo();
      QVERIFY(loadServiceStationFile());
      QCOMPARE(serviceShop().ssName, QStringLiteral("Kansai Service"));
    }
    QCOMPARE(contactNames(serviceShop()), stored);
    QCOMPARE(serviceShop().ssChargeMen.keyAt(stored.size()), QString::number(stored.size()));
  }

  void stationFileThatCannotBeWrittenKeepsTheWindowAndTheRecord() {
    frmSs& editor = frmSs::instance();
    editor.txtSsName->setText(QStringLiteral("New name"));
    const ScopedFileFault full(FileFault{FileCall::Write, ENOSPC});
    const QStringList shown = messageOf([&] { editor.cmdSave->click(); });
    QCOMPARE(shown, QStringList({"Error No.:21-3", "permission denied   ", " cannot access folder or file ",
                                 "( 28 No space left on device )"}));
    QVERIFY(editor.isLoaded());
    QCOMPARE(editor.txtSsName->text(), QStringLiteral("New name"));
    QCOMPARE(serviceShop().ssName, QString());
  }
};

QTEST_MAIN(StationEditorTest)
#include "station_editor_test.moc"
