// The catalogue of recorded files: which folders are customers, in which
// order, the folder texts the library is given, the files it lists, and the
// grid row of each file.
#include "das_gen.h"
#include "frame/folder_texts.h"
#include "frame/library/tramsoll_library.h"
#include "frame/paths.h"
#include "frame/site_files.h"
#include "records/data_show_catalogue.h"
#include "support/fake_file_list.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <functional>

namespace {

void saveCustomer(const char* id, const char* name) {
  clearCustomerInfo();
  currentCustomer().id = QString::fromUtf8(id);
  currentCustomer().name = QString::fromUtf8(name);
  QVERIFY(saveCustomerFile());
  clearCustomerInfo();
}

// "id|name|customDir" of each folder, in collection order.
QStringList folders(const DataShowManager& catalogue) {
  QStringList found;
  for (const auto& custom : catalogue.dataShowCustoms) {
    found << QStringLiteral("%1|%2|%3").arg(custom->customId, custom->customName, custom->customDir);
  }
  return found;
}

// "id:map" of each grid row.
QStringList rows(const DataShowManager& catalogue) {
  QStringList found;
  for (const CatalogueRow& row : catalogueRows(catalogue)) found << row.custom->customId + ':' + row.file->mapName;
  return found;
}

DataShowFile recorded(const char* mapName) {
  DataShowFile file;
  file.mapName = QString::fromUtf8(mapName);
  return file;
}

// The customers of the tests below, in a scratch program folder:
// acme (its own file), Beta, Delta (DELTA.DAK), Gamma (a customer file that
// holds no name), csv (recordings, no customer file), .hidden (a customer
// file, but hidden), Omega (a customer file of another name).
void layOutCustomers(const ScratchFolder& scratch) {
  saveCustomer("acme", "Acme Corp");
  saveCustomer("Beta", "Beta Ltd");
  saveCustomer("Delta", "Delta Inc");
  QVERIFY(QFile::rename(scratch.file("Delta/Delta.dak"), scratch.file("Delta/DELTA.DAK")));
  scratch.write(QStringLiteral("Gamma/gamma.Dak"), "1,50\r\n");
  scratch.write(QStringLiteral("csv/old.das"), "x");
  scratch.write(QStringLiteral(".hidden/.hidden.dak"), "1,50\r\n\"h\",\"Hidden\"\r\n");
  scratch.write(QStringLiteral("Omega/acme.dak"), "1,50\r\n\"o\",\"Omega\"\r\n");
}

}  // namespace

class DataShowCatalogueTest : public QObject {
  Q_OBJECT

 private slots:
  void foldersListInNameOrderWithTheProgramFolderLast() {
    ScratchFolder scratch;
    layOutCustomers(scratch);
    InstalledFake library;
    FakeFileList files(library.fake);
    const QString root = scratch.path() + '/';
    files.addFile(root + "Beta/", "b1.das", recorded("Beta map 1"));
    files.addFile(root + "Beta/", "b2.das", recorded("Beta map 2"));
    files.addFile(root, "p1.das", recorded("loose"));
    files.addFile(root + "csv/", "old.das", recorded("not a customer's"));

    const CatalogueBuild build = makeDataShowList(programFolder(), tramsollApi());
    QVERIFY(build.outcome);
    QCOMPARE(folders(*build.catalogue), (QStringList{
                                            "acme|Acme Corp|" + root + "acme/",
                                            "Beta|Beta Ltd|" + root + "Beta/",
                                            "Delta|Delta Inc|" + root + "Delta/",
                                            "Gamma||" + root + "Gamma/",
                                            "||" + root,
                                        }));
    // Keys are the numbers, counted without gaps.
    for (int n = 1; n <= 5; ++n) QCOMPARE(build.catalogue->dataShowCustoms.item(QString::number(n))->customNumber, n);
    QCOMPARE(library.fake.callsOf("getFileNum"),
             (QStringList{"getFileNum(\"" + root + "acme/\", *)", "getFileNum(\"" + root + "Beta/\", *)",
                          "getFileNum(\"" + root + "Delta/\", *)", "getFileNum(\"" + root + "Gamma/\", *)",
                          "getFileNum(\"" + root + "\", *)"}));
    QCOMPARE(rows(*build.catalogue), (QStringList{"Beta:Beta map 1", "Beta:Beta map 2", ":loose"}));
  }

  void customerListHasNoFilesAndAsksTheLibraryNothing() {
    ScratchFolder scratch;
    layOutCustomers(scratch);
    InstalledFake library;
    const CatalogueBuild build = makeCustomerList(programFolder(), FolderEnding::None);
    const QString root = scratch.path() + '/';
    QCOMPARE(folders(*build.catalogue), (QStringList{"acme|Acme Corp|" + root + "acme", "Beta|Beta Ltd|" + root + "Beta",
                                                     "Delta|Delta Inc|" + root + "Delta", "Gamma||" + root + "Gamma"}));
    QCOMPARE(library.fake.calls, QStringList());
    // The walk gives the customer file's own spelling (data transfer copies it).
    const CustomerFolderWalk walk = walkCustomerFolders(programFolder());
    QCOMPARE(walk.customers.size(), 4u);
    QCOMPARE(walk.customers[2].customerFileName, QStringLiteral("DELTA.DAK"));
  }

  void walkGoesOnPastAFolderItCannotList_data() {
    QTest::addColumn<int>("skip");
    QTest::addColumn<QString>("failedFolder");
    QTest::addColumn<QStringList>("ids");
    QTest::newRow("the folder itself") << 0 << QString() << QStringList();
    QTest::newRow("its first sub-folder") << 1 << QStringLiteral("acme") << QStringList{"Beta", "Delta", "Gamma"};
    QTest::newRow("a later sub-folder") << 3 << QStringLiteral("csv") << QStringList{"acme", "Beta", "Delta", "Gamma"};
  }
  void walkGoesOnPastAFolderItCannotList() {
    QFETCH(int, skip);
    QFETCH(QString, failedFolder);
    QFETCH(QStringList, ids);
    ScratchFolder scratch;
    layOutCustomers(scratch);
    ScopedFileFault fault({FileCall::ListFolder, EACCES, skip});
    const CustomerFolderWalk walk = walkCustomerFolders(programFolder());
    QCOMPARE(walk.outcome.error, EACCES);
    QCOMPARE(walk.outcome.path, failedFolder.isEmpty() ? programFolder() : libraryFolderText(programFolder(), failedFolder));
    QStringList found;
    for (const CustomerFolder& customer : walk.customers) found << customer.id;
    QCOMPARE(found, ids);
  }

  void filesCarryWhatTheLibraryGives() {
    ScratchFolder scratch;
    InstalledFake library;
    FakeFileList files(library.fake);
    DataShowFile given;
    given.ssChargeMan = QStringLiteral("Ito");
    given.mapName = QStringLiteral("Roof");
    given.recodeMode = 2;
    given.ifMode = 3;
    given.systemNumber = 4;
    given.kind = QString(70, 'k');  // longer than the library's buffer
    given.outNumber = 2;
    given.inNumber = 3;
    given.cenNumber = 1;
    given.saveYear = 2024;
    given.saveMonth = 3;
    given.saveDay = 5;
    given.saveTime = 25689;
    given.graphTotalNum = 180;
    given.graphTriggerNo = 90;
    given.recodeInterval = 20;
    given.fileSize = 1025;
    files.addFile(programFolderText(), QStringLiteral("site_20240305.das"), given);

    for (FileNames names : {FileNames::Dropped, FileNames::Kept}) {
      const CatalogueBuild build = makeDataShowList(programFolder(), tramsollApi(), names);
      const CatalogueRow row = catalogueRow(*build.catalogue, 1);
      QVERIFY(row);
      const DataShowFile& f = *row.file;
      QCOMPARE(f.fileNumber, 1);
      QCOMPARE(f.ssChargeMan, given.ssChargeMan);
      QCOMPARE(f.mapName, given.mapName);
      QCOMPARE(f.kind, QString(63, 'k'));
      QCOMPARE(f.mapNumber, 0);
      const int32_t numbers[] = {f.recodeMode, f.ifMode, f.systemNumber, f.outNumber, f.inNumber, f.cenNumber,
                                 f.saveYear, f.saveMonth, f.saveDay, f.saveTime, f.graphTotalNum, f.graphTriggerNo,
                                 f.recodeInterval, f.fileSize};
      const int32_t expected[] = {2, 3, 4, 2, 3, 1, 2024, 3, 5, 25689, 180, 90, 20, 1025};
      QCOMPARE(std::memcmp(numbers, expected, sizeof numbers), 0);
      QCOMPARE(f.fileName, names == FileNames::Kept ? QStringLiteral("site_20240305.das") : QString());
    }
  }

  void gridRowsFollowTheNumbersNotTheOrderOfAdding() {
    DataShowManager catalogue;
    auto folder = [&catalogue](int32_t number, const char* id, std::initializer_list<int32_t> fileNumbers) {
      auto custom = std::make_shared<DataShowCustom>();
      custom->customNumber = number;
      custom->customId = QString::fromUtf8(id);
      for (int32_t k : fileNumbers) {
        auto file = std::make_shared<DataShowFile>();
        file->fileNumber = k;
        file->mapName = QString::number(k);
        custom->dataShowFiles.add(file, QString::number(k));
      }
      catalogue.dataShowCustoms.add(custom, QString::number(number));
    };
    folder(2, "b", {2, 1});
    folder(1, "a", {1, 3});  // file 2 missing: 3 is past the count and not shown
    folder(3, "", {1});
    QCOMPARE(rows(catalogue), (QStringList{"a:1", "b:1", "b:2", ":1"}));
    QCOMPARE(catalogueFileCount(catalogue), 4);
    QCOMPARE(catalogueRow(catalogue, 3).file->mapName, QStringLiteral("2"));
    QVERIFY(!catalogueRow(catalogue, 0));
    QVERIFY(!catalogueRow(catalogue, 5));
    clearDataShowList(catalogue);
    QVERIFY(catalogue.dataShowCustoms.isEmpty());
  }

  void selectionAfterARebuild_data() {
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("row");
    QTest::newRow("kept") << 2 << 4 << 2;
    QTest::newRow("none remembered") << 0 << 4 << 1;
    QTest::newRow("last row deleted") << 3 << 3 << 2;
    QTest::newRow("far past the end") << 9 << 3 << 2;
    QTest::newRow("only file deleted") << 1 << 1 << 0;
  }
  void selectionAfterARebuild() {
    QFETCH(int, selectedRow);
    QFETCH(int, rowCount);
    QFETCH(int, row);
    QCOMPARE(rowToSelect(selectedRow, rowCount), row);
  }

  void folderTextsEndInOneSlash() {
    QCOMPARE(libraryFolderText(QStringLiteral("/data")), QStringLiteral("/data/"));
    QCOMPARE(libraryFolderText(QStringLiteral("/data/")), QStringLiteral("/data/"));
    QCOMPARE(libraryFolderText(QStringLiteral("/"), QStringLiteral("acme")), QStringLiteral("/acme/"));
    ScratchFolder scratch;
    saveCustomer("Acme", "Acme Corp");
    // The on-disk name, whatever the id's case.
    QCOMPARE(customerFolderText(QStringLiteral("ACME")), scratch.path() + QStringLiteral("/Acme/"));
    QCOMPARE(customerFolderText(QStringLiteral("new")), scratch.path() + QStringLiteral("/new/"));
  }

  void theRealLibraryListsGeneratedRecordings() {
    ScratchFolder scratch;
    saveCustomer("Acme", "Acme Corp");
    writeRecording(scratch.file("Acme/roof.das"), "Roof", 20, 181);
    writeRecording(scratch.file("loose.das"), "Loose", 5, 12);
    writeRecording(scratch.file("csv/stray.das"), "Stray", 5, 12);
    QStringList failures;
    TramsollLibrary library(QStringLiteral(PELOMAR_BIN_DIR "/libtramsoll.so"),
                            [&failures](const QString& message) { failures << message; });
    const CatalogueBuild build = makeDataShowList(programFolder(), library, FileNames::Kept);
    library.clearFileList();
    QCOMPARE(failures, QStringList());
    QCOMPARE(rows(*build.catalogue), (QStringList{"Acme:Roof", ":Loose"}));
    const DataShowFile& roof = *catalogueRow(*build.catalogue, 1).file;
    QCOMPARE(roof.fileName, QStringLiteral("roof.das"));
    QCOMPARE(roof.recodeInterval, 20);
    QCOMPARE(roof.graphTotalNum, 181);
    QCOMPARE(roof.recodeMode, 1);
    QCOMPARE(roof.ifMode, 2);
    QCOMPARE(roof.outNumber, 1);
    QCOMPARE(roof.fileSize, int32_t(QFileInfo(scratch.file("Acme/roof.das")).size()));
    QCOMPARE(roof.saveYear, 2024);
  }

  // The fake the window tests use must list, delete and forget files as the
  // library does: the same script over both gives the same answers.
  void fakeFileListAnswersAsTheRealLibrary() {
    ScratchFolder scratch;
    writeRecording(scratch.file("a.das"), "A", 5, 2);
    writeRecording(scratch.file("b.das"), "B", 5, 2);
    TramsollLibrary real(QStringLiteral(PELOMAR_BIN_DIR "/libtramsoll.so"), [](const QString&) {});
    FakeTramsoll fake;
    FakeFileList files(fake);
    files.addFile(programFolderText(), QStringLiteral("a.das"), recorded("A"));
    files.addFile(programFolderText(), QStringLiteral("b.das"), recorded("B"));
    auto script = [](TramsollApi& api, const std::function<void()>& addC) {
      const QByteArray folder = textForLibrary(programFolderText());
      QStringList answers;
      auto listing = [&] {
        int32_t count = -1;
        api.getFileNum(folder.constData(), &count);
        QString names;
        for (int32_t k = 1; k <= count + 1; ++k) {
          char map[64], other[64];
          int32_t mapLength = 0, length = 0, n = 0;
          api.getFileInfo(folder.constData(), k, other, &length, map, &mapLength, &n, other, &length, &n, &n, &n, &n,
                          &n, &n, &n, &n, &n, &n, &n, &n, &n, other, &length);
          names += textFromLibrary(map, mapLength, 64) + '.';
        }
        answers << QStringLiteral("%1 %2").arg(count).arg(names);
      };
      listing();
      answers << QString::number(api.deleteFile(folder.constData(), 1));
      answers << QString::number(api.deleteFile(folder.constData(), 3));
      listing();  // a deleted file stays listed
      addC();
      listing();  // a new file is appended
      api.clearFileList();
      listing();  // the deleted one is gone now
      api.clearFileList();
      return answers;
    };
    const QStringList realAnswers = script(real, [&] { writeRecording(scratch.file("c.das"), "C", 5, 2); });
    const QStringList fakeAnswers =
        script(fake, [&] { files.addFile(programFolderText(), QStringLiteral("c.das"), recorded("C")); });
    QCOMPARE(fakeAnswers, realAnswers);
    QCOMPARE(fakeAnswers, (QStringList{"2 A.B..", "0", "1", "2 A.B..", "3 A.B.C..", "2 B.C.."}));

    // Opens: 0 and 2 count, 1 does not; a close takes one back; the clear
    // closes every file.
    files.setSelectResult(programFolderText(), QStringLiteral("c.das"), 2);
    files.setSelectResult(programFolderText(), QStringLiteral("b.das"), 1);
    const QByteArray folder = textForLibrary(programFolderText());
    int32_t count = 0;
    fake.getFileNum(folder.constData(), &count);
    QCOMPARE(files.listed(programFolderText()), (QStringList{"b.das", "c.das"}));
    QCOMPARE(fake.selectDataFile(folder.constData(), 1), 1);
    QCOMPARE(fake.selectDataFile(folder.constData(), 2), 2);
    QCOMPARE(fake.selectDataFile(folder.constData(), 2), 2);
    QCOMPARE(fake.selectDataFile(folder.constData(), 3), 1);
    QCOMPARE(files.openCount(programFolderText(), QStringLiteral("c.das")), 2);
    QCOMPARE(files.openCount(programFolderText(), QStringLiteral("b.das")), 0);
    fake.closeDataFile(folder.constData(), 2);
    fake.closeDataFile(folder.constData(), 1);
    QCOMPARE(files.openCount(), 1);
    fake.clearFileList();
    QCOMPARE(files.openCount(), 0);
  }

 private:
  static void writeRecording(const QString& path, const char* mapName, uint16_t interval, uint32_t records) {
    namespace das = tramsoll::das;
    dasgen::Recording recording;
    das::FileHeader& h = recording.header;
    std::strcpy(h.mapName, mapName);
    h.systemNumber = 1;
    h.interfaceMode = 2;
    h.recordingKind = das::kPeriodic;
    h.firstRecordTime = 1709622489;  // 2024-03-05 07:08:09 UTC
    h.interval = interval;
    h.statusLength = 6;
    dasgen::Unit outdoor;
    outdoor.block = dasgen::unitBlock(0, 1, 16, "unit.itm", "1");
    outdoor.groups = {{"E0", 20}};
    recording.units = {outdoor};
    recording.records = records;
    QDir().mkpath(QFileInfo(path).path());
    std::string error;
    QVERIFY2(dasgen::writeRecording(path.toStdString(), recording, error), error.c_str());
  }
};

QTEST_MAIN(DataShowCatalogueTest)
#include "data_show_catalogue_test.moc"
