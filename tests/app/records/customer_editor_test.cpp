// The customer editor's Save: which ids it refuses, and how the customer's
// folder and files follow a new id without losing a recording.
#include "customer_files.h"
#include "frame/file_operations.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "map/frmMapsList.h"
#include "records/frmCustom.h"
#include "records/frmCustomsList.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cerrno>

namespace {

constexpr int kNoFault = -1;

}  // namespace

class CustomerEditorTest : public QObject {
  Q_OBJECT

  std::unique_ptr<ProgramFixture> world;

 private slots:
  void init() {
    world = startedProgram();
    clearCustomerInfo();
    program().workMode = kWorkCustomerRecords;
  }
  void cleanup() { world.reset(); }

  void saveChecksTheIdAndMovesTheCustomer_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("oldId");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("fault");  // a FileCall that fails once, after `skip` calls
    QTest::addColumn<int>("skip");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");
    const int fresh = frmCustom::kNewCustomer, edit = frmCustom::kEditCustomer;
    const QStringList old{"old/old.dak", "old/r1.das"};
    QTest::newRow("id stored trimmed in lower case")
        << fresh << "" << QStringList{} << " ACME " << kNoFault << 0 << "" << QStringList{"acme/acme.dak"};
    QTest::newRow("taken id in another case") << fresh << "" << QStringList{"Acme/ACME.DAK"} << "acme" << kNoFault << 0
                                              << "3-2" << QStringList{"Acme/ACME.DAK"};
    QTest::newRow("folder without customer file") << fresh << "" << QStringList{"acme/notes.txt"} << "acme" << kNoFault
                                                  << 0 << "" << QStringList{"acme/acme.dak", "acme/notes.txt"};
    QTest::newRow("new id renames folder and file, keeps recordings")
        << edit << "old" << old << "new" << kNoFault << 0 << "" << QStringList{"new/new.dak", "new/r1.das"};
    QTest::newRow("only a change of case moves nothing") << edit << "old" << old << "OLD" << kNoFault << 0 << "" << old;
    QTest::newRow("into a folder without customer file, old folder kept")
        << edit << "old" << QStringList{"old/old.dak", "old/r1.das", "old/keep.txt", "new/r2.das"} << "new" << kNoFault
        << 0 << "" << QStringList{"new/new.dak", "new/r1.das", "new/r2.das", "old/keep.txt"};
    QTest::newRow("into a folder without customer file, old folder removed")
        << edit << "old" << QStringList{"old/old.dak", "old/r1.das", "new/r2.das"} << "new" << kNoFault << 0 << ""
        << QStringList{"new/new.dak", "new/r1.das", "new/r2.das"};
    QTest::newRow("recording name taken in the new folder: nothing moves")
        << edit << "old" << QStringList{"old/old.dak", "old/r1.das", "new/R1.das"} << "new" << kNoFault << 0 << "3-2"
        << QStringList{"new/R1.das", "old/old.dak", "old/r1.das"};
    QTest::newRow("failed rename of the customer file undoes the folder's")
        << edit << "old" << old << "new" << int(FileCall::Rename) << 1 << "21-3" << old;
    QTest::newRow("failed move of the customer file undoes the recordings'")
        << edit << "old" << QStringList{"old/old.dak", "old/r1.das", "new/r2.das"} << "new" << int(FileCall::Rename)
        << 1 << "21-3" << QStringList{"new/r2.das", "old/old.dak", "old/r1.das"};
    QTest::newRow("customer file that cannot be written")
        << fresh << "" << QStringList{"acme/"} << "acme" << int(FileCall::CreateTarget) << 0 << "21-3"
        << QStringList{"acme/"};
    for (const char* id : {"../x", "a/b", ".", "say\"hi\"", "  "}) {
      QTest::newRow(qPrintable(QStringLiteral("unusable id %1").arg(id)))
          << fresh << "" << QStringList{} << id << kNoFault << 0 << "3-1" << QStringList{};
    }
  }

  void saveChecksTheIdAndMovesTheCustomer() {
    QFETCH(int, mode);
    QFETCH(QString, oldId);
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(int, fault);
    QFETCH(int, skip);
    QFETCH(QString, message);
    QFETCH(QStringList, after);
    for (const QString& name : before) {
      if (name.endsWith('/')) {
        QDir(world->folder.path()).mkpath(name);
      } else {
        world->folder.write(name, "1,50\r\n\"" + name.section('/', 0, 0).toUtf8() + "\"\r\n\"Old\"\r\n");
      }
    }
    currentCustomer().id = oldId;
    currentCustomer().name = QStringLiteral("Old");
    frmCustom& editor = frmCustom::instance();
    editor.customMode = mode;
    editor.showForm();
    QCOMPARE(editor.txtName->text(), mode == frmCustom::kEditCustomer ? QStringLiteral("Old") : QString());
    editor.txtId->setText(typed);
    editor.txtName->setText(QStringLiteral(" Acme Ltd "));
    if (fault != kNoFault) setFileFault(FileFault{FileCall(fault), EACCES, skip, 1});
    const QStringList shown = messageOf([&] { QTest::keyClick(editor.txtName, Qt::Key_F1); });
    setFileFault(std::nullopt);

    QCOMPARE(shown.value(0), message);
    QCOMPARE(filesBelow(world->folder), after);
    QCOMPARE(editor.isLoaded(), !message.isEmpty());
    if (!message.isEmpty()) {
      if (message == "21-3") QCOMPARE(shown.value(3), QStringLiteral("( 13 Permission denied )"));
      QCOMPARE(editor.txtId->text(), typed);  // nothing typed is lost
      if (mode == frmCustom::kEditCustomer) QCOMPARE(currentCustomer().id, oldId);
      return;
    }
    // Customer-records work goes back to the customer list, which blanks
    // the current customer: what was saved is read back.
    QVERIFY(frmCustomsList::instance().isLoaded());
    const QString id = typed.trimmed().toLower();
    QVERIFY(loadCustomerFile(after.first().section('/', 0, 0)));
    QCOMPARE(currentCustomer().id, id);
    QCOMPARE(currentCustomer().name, QStringLiteral("Acme Ltd"));
  }

  void saveLeadsOnByTheWorkAndCancelBackToTheList() {
    frmCustom& editor = frmCustom::instance();
    program().workMode = kWorkRecording;
    editor.customMode = frmCustom::kNewCustomer;
    editor.showForm();
    editor.txtId->setText(QStringLiteral("c1"));
    editor.cmdSave->click();
    QVERIFY(frmMapsList::instance().isLoaded());
    QCOMPARE(frmMapsList::instance().mapsListComeFrom, int32_t(frmMapsList::kFromCustomerEditor));

    frmMapsList::instance().unload();
    editor.showForm();
    QTest::keyClick(editor.txtName, Qt::Key_Escape);
    QVERIFY(!editor.isLoaded());
    QVERIFY(frmCustomsList::instance().isLoaded());
  }
};

QTEST_MAIN(CustomerEditorTest)
#include "customer_editor_test.moc"
