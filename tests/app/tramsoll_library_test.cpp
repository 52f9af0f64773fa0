// The real libtramsoll.so reached through the facade, and what a missing
// library file or export does.
#include "frame/frmDebugMessage.h"
#include "frame/frmMdi.h"
#include "frame/library/tramsoll_library.h"
#include "frame/site/record_fields.h"
#include "support/test_support.h"

#include <QListWidget>
#include <QtTest>

#include <dlfcn.h>

namespace {

const QString kLibraryFile = QStringLiteral(PELOMAR_BIN_DIR "/libtramsoll.so");

}  // namespace

class TramsollLibraryTest : public QObject {
  Q_OBJECT

 private slots:
  void statusPollOfTheRealLibrary() {
    QStringList failures;
    TramsollLibrary library(kLibraryFile, [&failures](const QString& message) { failures << message; });
    int32_t saving = 7, trigger = 7;
    QCOMPARE(library.execTramsoll(&saving, &trigger), 1);  // not gathering
    QCOMPARE(saving, 0);
    QCOMPARE(trigger, 0);
    QCOMPARE(failures, QStringList());
  }

  void debugLinesOfTheRealLibraryReachTheWindow() {
    ScratchFolder folder;
    QStringList failures;
    TramsollLibrary library(kLibraryFile, [&failures](const QString& message) { failures << message; });
    installTramsollApi(&library);
    // Loading the tables from an empty folder fails and leaves diagnostic
    // lines, once the library has its start-up.
    int32_t saving = 0, trigger = 0;
    library.execTramsoll(&saving, &trigger);  // opens the file
    void* handle = dlopen(kLibraryFile.toLocal8Bit().constData(), RTLD_NOW | RTLD_NOLOAD);
    QVERIFY(handle);
    const bool startsUp = dlsym(handle, "initTramsoll") != nullptr;
    dlclose(handle);
    if (startsUp) QCOMPARE(library.initTramsoll(), 1);

    frmDebugMessage& window = frmDebugMessage::instance();
    window.showForm();
    window.tmrDebugMessage_Timer();
    window.unload();
    installTramsollApi(nullptr);

    QCOMPARE(failures, QStringList());
    if (startsUp) QVERIFY(window.lstDebugMessage->count() > 0);
    // Every line shown was written to the file, in order.
    FieldReader written(folder.read(QStringLiteral("DebugMessage.txt")));
    QStringList fileLines;
    for (QString line; written.readField(line);) fileLines << line;
    QStringList shown;
    // The record writer turns a double quote into a single one, as in every
    // file of quoted text fields.
    for (int i = 0; i < window.lstDebugMessage->count(); ++i)
      shown << window.lstDebugMessage->item(i)->text().replace(QLatin1Char('"'), QLatin1Char('\''));
    QCOMPARE(fileLines.mid(fileLines.size() - shown.size()), shown);
    // The ring is empty afterwards.
    char message[80];
    int32_t length = -1;
    QCOMPARE(library.getDebugMessage(message, &length), 0);
    QCOMPARE(length, 0);
  }

  void missingExportIsReportedOnceAndAnswersMissing() {
    QStringList failures;
    // A library that exists but is not ours.
    TramsollLibrary library(QStringLiteral("libm.so.6"), [&failures](const QString& message) { failures << message; });
    int32_t saving = 7, trigger = 7;
    QCOMPARE(library.execTramsoll(&saving, &trigger), TramsollLibrary::kExportMissing);
    QCOMPARE(saving, 7);
    QCOMPARE(library.initTramsoll(), TramsollLibrary::kExportMissing);
    QCOMPARE(failures.size(), 1);
    QVERIFY2(failures[0].contains(QStringLiteral("has no function execTramsoll")), qPrintable(failures[0]));
  }

  void missingLibraryFileIsReported() {
    QStringList failures;
    TramsollLibrary library(QStringLiteral("/nonexistent/libtramsoll.so"),
                            [&failures](const QString& message) { failures << message; });
    char message[80];
    int32_t length = 0;
    QCOMPARE(library.getDebugMessage(message, &length), TramsollLibrary::kExportMissing);
    QCOMPARE(failures.size(), 1);
    QVERIFY(failures[0].startsWith(QStringLiteral("The library /nonexistent/libtramsoll.so cannot be loaded")));
  }
};

QTEST_MAIN(TramsollLibraryTest)
#include "tramsoll_library_test.moc"
