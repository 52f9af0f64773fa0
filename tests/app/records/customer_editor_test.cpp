// The customer editor's Save: which ids it refuses, and how the customer's
// folder and files follow a new id without losing a recording.
#include "customer_files.h"
#include "frame/file_operations.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "map/frmMapsList.h"
#include "records/frmCustom.h"
#include "records/frmCustomsList.h"
#include "support/program_test.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cerrno>

class CustomerEditorTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void init() {
    ProgramTest::init();
    clearCustomerInfo();
  }

  void saveChecksTheIdAndMovesTheCustomer_data() {
    QTest::addColumn<QString>("oldId");  // "": a new customer
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fault");  // "rename": the second rename fails; "write": the customer file
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");
    const QStringList old{"old/old.dak", "old/r1.das"}, none;
    QTest::newRow("id stored trimmed in lower case") << "" << none << " ACME "
                                                     << ""
                                                     << "" << QStringList{"acme/acme.dak"};
    QTest::newRow("taken id in another case") << "" << QStringList{"Acme/ACME.DAK"} << "acme"
                                              << ""
                                              << "3-2" << QStringList{"Acme/ACME.DAK"};
    QTest::newRow("folder without customer file") << "" << QStringList{"acme/notes.txt"} << "acme"
                                                  << ""
                                                  << "" << QStringList{"acme/acme.dak", "acme/notes.txt"};
    QTest::newRow("new id renames folder and file, keeps recordings") << "old" << old << "new"
                                                                      << ""
                                                                      << "" << QStringList{"new/new.dak", "new/r1.das"};
    QTest::newRow("only a change of case moves nothing") << "old" << old << "OLD"
                                                         << ""
                                                         << "" << old;
    QTest::newRow("into a folder without customer file, old folder kept")
        << "old" << QStringList{"old/old.dak", "old/r1.das", "old/keep.txt", "new/r2.das"} << "new"
        << ""
        << "" << QStringList{"new/new.dak", "new/r1.das", "new/r2.das", "old/keep.txt"};
    QTest::newRow("into a folder without customer file, old folder removed")
        << "old" << QStringList{"old/old.dak", "old/r1.das", "new/r2.das"} << "new"
        << ""
        << "" << QStringList{"new/new.dak", "new/r1.das", "new/r2.das"};
    QTest::newRow("recording name taken in the new folder: nothing moves")
        << "old" << QStringList{"old/old.dak", "old/r1.das", "new/R1.das"} << "new"
        << ""
        << "3-2" << QStringList{"new/R1.das", "old/old.dak", "old/r1.das"};
    QTest::newRow("failed rename of the customer file undoes the folder's") << "old" << old << "new"
                                                                            << "rename"
                                                                            << "21-3" << old;
    QTest::newRow("failed move of the customer file undoes the recordings'")
        << "old" << QStringList{"old/old.dak", "old/r1.das", "new/r2.das"} << "new"
        << "rename"
        << "21-3" << QStringList{"new/r2.das", "old/old.dak", "old/r1.das"};
    QTest::newRow("customer file that cannot be written") << "" << QStringList{"acme/"} << "acme"
                                                          << "write"
                                                          << "21-3" << QStringList{"acme/"};
    for (const char* id : {"../x", "a/b", ".", "say\"hi\"", "  "}) {
      QTest::newRow(qPrintable(QStringLiteral("unusable id %1").arg(id))) << "" << none << id << ""
                                                                          << "3-1" << none;
    }
  }

  void saveChecksTheIdAndMovesTheCustomer() {
    QFETCH(QString, oldId);
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(QString, fault);
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
    // New customers are made in recording work, the others changed in
    // customer-records work.
    const int32_t mode = oldId.isEmpty() ? frmCustom::kNewCustomer : frmCustom::kEditCustomer;
    program().workMode = oldId.isEmpty() ? kWorkRecording : kWorkCustomerRecords;
    editor.customMode = mode;
    editor.showForm();
    QCOMPARE(editor.txtName->text(), mode == frmCustom::kEditCustomer ? QStringLiteral("Old") : QString());
    editor.txtId->setText(typed);
    editor.txtName->setText(QStringLiteral(" Acme Ltd "));
    if (fault == "rename") setFileFault(FileFault{FileCall::Rename, EACCES, 1});
    if (fault == "write") setFileFault(FileFault{FileCall::CreateTarget, EACCES});
    const QStringList shown = messageOf([&] { QTest::keyClick(editor.txtName, Qt::Key_F1); });
    setFileFault(std::nullopt);

    QCOMPARE(shown.value(0), message.isEmpty() ? message : "Error No.:" + message);
    QCOMPARE(filesBelow(world->folder), after);
    QCOMPARE(editor.isLoaded(), !message.isEmpty());
    if (!message.isEmpty()) {
      if (message == "21-3") QCOMPARE(shown.value(3), QStringLiteral("( 13 Permission denied )"));
      QCOMPARE(editor.txtId->text(), typed);  // nothing typed is lost
      if (mode == frmCustom::kEditCustomer) QCOMPARE(currentCustomer().id, oldId);
      return;
    }
    // Recording work goes on to the map list, customer-records work back to
    // the customer list (which blanks the current customer): what was saved
    // is read back.
    if (mode == frmCustom::kNewCustomer) {
      QCOMPARE(frmMapsList::instance().mapsListComeFrom, int32_t(frmMapsList::kFromCustomerEditor));
    }
    QVERIFY(mode == frmCustom::kNewCustomer ? frmMapsList::instance().isLoaded()
                                            : frmCustomsList::instance().isLoaded());
    const QString id = typed.trimmed().toLower();
    QVERIFY(loadCustomerFile(after.first().section('/', 0, 0)));
    QCOMPARE(currentCustomer().id, id);
    QCOMPARE(currentCustomer().name, QStringLiteral("Acme Ltd"));
  }
};

QTEST_MAIN(CustomerEditorTest)
#include "customer_editor_test.moc"
