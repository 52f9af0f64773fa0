// The catalogue of recorded files: which folders are customers, in which
// order, the folder texts the library is given, the files it lists, and the
// grid row of each file.
#include "das_gen.h"
#include "frame/folder_texts.h"
#include "frame/library/tramsoll_library.h"
#include "frame/site/paths.h"
#include "frame/site/site_files.h"
#include "records/data_show_catalogue.h"
#include "support/fake_file_list.h"
#include "support/test_support.h"

#include <QDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <functional>

namespace {

const QString kLibraryFile = QStringLiteral(PELOMAR_BIN_DIR "/libtramsoll.so");

void saveCustomer(const char* id, const char* name) {
  clearCustomerInfo();
  currentCustomer().id = QString::fromUtf8(id);
  currentCustomer().name = QString::fromUtf8(name);
  QVERIFY(saveCustomerFile());
}

// "id|name|customDir" of each folder, in collection order.
QStringList folders(const DataShowManager& catalogue) {
  QStringList found;
  for (const auto& c : catalogue.dataShowCustoms) found << c->customId + '|' + c->customName + '|' + c->customDir;
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

// acme and Beta (their own customer files), Delta (DELTA.DAK), Gamma (a
// customer file without a name), csv (recordings only), .hidden (hidden),
// Omega (a customer file of another name).
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

void writeRecording(const QString& path, const char* mapName, uint16_t interval, uint32_t records) {
  dasgen::Recording recording;
  tramsoll::das::FileHeader& h = recording.header;
  std::strcpy(h.mapName, mapName);
  std::strcpy(h.modelText, "ZR-100");
  std::strcpy(h.personInCharge, "Ito");
  h.systemNumber = 1;
  h.interfaceMode = 2;
  h.recordingKind = tramsoll::das::kPeriodic;
  h.firstRecordTime = 1709622489;  // 2024-03-05 07:08:09 UTC
  h.interval = interval;
  h.statusLength = 6;
  recording.units.resize(1);
  recording.units[0].block = dasgen::unitBlock(0, 1, 16, "unit.itm", "1");
  recording.units[0].groups = {{"E0", 20}};
  recording.records = records;
  QDir().mkpath(QFileInfo(path).path());
  std::string error;
  QVERIFY2(dasgen::writeRecording(path.toStdString(), recording, error), error.c_str());
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
    files.addFile(root + "Beta/", "b1.das", recorded("Beta 1"));
    files.addFile(root + "Beta/", "b2.das", recorded("Beta 2"));
    files.addFile(root, "p1.das", recorded("loose"));
    files.addFile(root + "csv/", "old.das", recorded("not a customer's"));
    const CatalogueBuild build = makeDataShowList(programFolder(), tramsollApi());
    QVERIFY(build.outcome);
    const QStringList customers{"acme|Acme Corp|" + root + "acme/", "Beta|Beta Ltd|" + root + "Beta/",
                                "Delta|Delta Inc|" + root + "Delta/", "Gamma||" + root + "Gamma/"};
    QCOMPARE(folders(*build.catalogue), customers + QStringList{"||" + root});
    QCOMPARE(build.catalogue->dataShowCustoms.item(QStringLiteral("5"))->customNumber, 5);
    QCOMPARE(library.fake.callsOf("getFileNum").last(), "getFileNum(\"" + root + "\", *)");
    QCOMPARE(rows(*build.catalogue), (QStringList{"Beta:Beta 1", "Beta:Beta 2", ":loose"}));

    // The customer list: the same folders, no final "/", no library call.
    library.fake.calls.clear();
    QStringList bare = customers;
    for (QString& folder : bare) folder.chop(1);
    QCOMPARE(folders(*makeCustomerList(programFolder(), FolderEnding::None).catalogue), bare);
    QCOMPARE(library.fake.calls, QStringList());
    QCOMPARE(walkCustomerFolders(programFolder()).customers[2].customerFileName, QStringLiteral("DELTA.DAK"));
  }

  void walkGoesOnPastAFolderItCannotList() {
    ScratchFolder scratch;
    layOutCustomers(scratch);
    // Listings: the folder, then acme, Beta, csv, Delta, Gamma, Omega.
    const struct {
      int skip;
      const char* failed;
      QStringList ids;
    } cases[] = {{0, "", {}}, {1, "acme", {"Beta", "Delta", "Gamma"}}, {3, "csv", {"acme", "Beta", "Delta", "Gamma"}}};
    for (const auto& c : cases) {
      ScopedFileFault fault({FileCall::ListFolder, EACCES, c.skip});
      const CustomerFolderWalk walk = walkCustomerFolders(programFolder());
      QCOMPARE(walk.outcome.error, EACCES);
      QCOMPARE(walk.outcome.path, *c.failed ? libraryFolderText(programFolder(), c.failed) : programFolder());
      QStringList ids;
      for (const CustomerFolder& customer : walk.customers) ids << customer.id;
      QCOMPARE(ids, c.ids);
    }
  }

  void gridRowsFollowTheNumbersNotTheOrderOfAdding() {
    DataShowManager catalogue;
    auto folder = [&catalogue](int32_t number, const char* id, std::initializer_list<int32_t> fileNumbers) {
      auto custom = std::make_shared<DataShowCustom>();
      custom->customId = QString::fromUtf8(id);
      for (int32_t k : fileNumbers) {
        custom->dataShowFiles.add(std::make_shared<DataShowFile>(recorded(qPrintable(QString::number(k)))),
                                  QString::number(k));
      }
      catalogue.dataShowCustoms.add(custom, QString::number(number));
    };
    folder(2, "b", {2, 1});
    folder(1, "a", {1, 3});  // no file 2: file 3 lies past the count
    folder(3, "", {1});
    QCOMPARE(rows(catalogue), (QStringList{"a:1", "b:1", "b:2", ":1"}));
    QCOMPARE(catalogueRow(catalogue, 3).file->mapName, QStringLiteral("2"));
    QVERIFY(!catalogueRow(catalogue, 0) && !catalogueRow(catalogue, 5));
    // Selected row after a rebuild: {remembered, rows with heading, selected}.
    for (const auto& [remembered, rowCount, row] : {std::tuple{2, 4, 2}, {0, 4, 1}, {3, 3, 2}, {9, 3, 2}, {1, 1, 0}}) {
      QCOMPARE(rowToSelect(remembered, rowCount), row);
    }
  }

  void folderTextsEndInOneSlash() {
    QCOMPARE(libraryFolderText(QStringLiteral("/data/")), QStringLiteral("/data/"));
    QCOMPARE(libraryFolderText(QStringLiteral("/"), QStringLiteral("acme")), QStringLiteral("/acme/"));
    ScratchFolder scratch;
    saveCustomer("Acme", "Acme Corp");
    QCOMPARE(customerFolderText(QStringLiteral("ACME")), scratch.path() + QStringLiteral("/Acme/"));
    QCOMPARE(customerFolderText(QStringLiteral("new")), scratch.path() + QStringLiteral("/new/"));
  }

  void theRealLibraryListsGeneratedRecordings() {
    ScratchFolder scratch;
    saveCustomer("Acme", "Acme Corp");
    writeRecording(scratch.file("Acme/roof.das"), "Roof", 20, 181);
    writeRecording(scratch.file("loose.das"), "Loose", 5, 12);
    writeRecording(scratch.file("csv/stray.das"), "Stray", 5, 12);
    TramsollLibrary library(kLibraryFile, [](const QString& message) { QFAIL(qPrintable(message)); });
    const CatalogueBuild build = makeDataShowList(programFolder(), library, FileNames::Kept);
    QCOMPARE(rows(*build.catalogue), (QStringList{"Acme:Roof", ":Loose"}));
    const DataShowFile& roof = *catalogueRow(*build.catalogue, 1).file;
    QCOMPARE(QList<int32_t>({roof.fileNumber, roof.recodeInterval, roof.graphTotalNum, roof.recodeMode, roof.ifMode,
                             roof.outNumber, roof.saveYear, roof.saveMonth, roof.saveDay, roof.saveTime}),
             QList<int32_t>({1, 20, 181, 1, 2, 1, 2024, 3, 5, 25689}));
    QCOMPARE(roof.fileName + '|' + roof.kind + '|' + roof.ssChargeMan, QStringLiteral("roof.das|ZR-100|Ito"));
    QCOMPARE(roof.fileSize, int32_t(QFileInfo(scratch.file("Acme/roof.das")).size()));
    // The recorded-data window's catalogue has no file names.
    QCOMPARE(catalogueRow(*makeDataShowList(programFolder(), library).catalogue, 1).file->fileName, QString());
    library.clearFileList();
  }

  // The window tests' fake must list, delete and forget files as the library
  // does: one script over both gives the same answers.
  void fakeFileListAnswersAsTheRealLibrary() {
    ScratchFolder scratch;
    writeRecording(scratch.file("a.das"), "A", 5, 2);
    writeRecording(scratch.file("b.das"), "B", 5, 2);
    TramsollLibrary real(kLibraryFile, [](const QString&) {});
    FakeTramsoll fake;
    FakeFileList files(fake);
    files.addFile(programFolderText(), QStringLiteral("a.das"), recorded("A"));
    files.addFile(programFolderText(), QStringLiteral("b.das"), recorded("B"));
    const QByteArray folder = textForLibrary(programFolderText());
    auto script = [&folder](TramsollApi& api, const std::function<void()>& addC) {
      QStringList answers;
      auto listing = [&] {
        int32_t count = -1, length = 0, n = 0;
        api.getFileNum(folder.constData(), &count);
        QString maps = QString::number(count) + ' ';
        for (int32_t k = 1; k <= count + 1; ++k) {
          char map[64], other[64];
          api.getFileInfo(folder.constData(), k, other, &n, map, &length, &n, other, &n, &n, &n, &n, &n, &n, &n, &n,
                          &n, &n, &n, &n, &n, &n, other, &n);
          maps += textFromLibrary(map, length, 64) + '.';
        }
        answers << maps;
      };
      listing();
      answers << QString::number(api.deleteFile(folder.constData(), 1)) +
                     QString::number(api.deleteFile(folder.constData(), 3));
      listing();  // a deleted file stays listed
      addC();
      listing();  // a new file is appended
      api.clearFileList();
      listing();  // the deleted one is gone now
      api.clearFileList();
      return answers;
    };
    const QStringList fakeAnswers =
        script(fake, [&] { files.addFile(programFolderText(), QStringLiteral("c.das"), recorded("C")); });
    QCOMPARE(script(real, [&] { writeRecording(scratch.file("c.das"), "C", 5, 2); }), fakeAnswers);
    QCOMPARE(fakeAnswers, (QStringList{"2 A.B..", "01", "2 A.B..", "3 A.B.C..", "2 B.C.."}));

    // Opens: results 0 and 2 count, 1 does not; clearFileList closes all.
    files.setSelectResult(programFolderText(), QStringLiteral("c.das"), 2);
    files.setSelectResult(programFolderText(), QStringLiteral("b.das"), 1);
    int32_t count = 0;
    fake.getFileNum(folder.constData(), &count);
    for (int32_t k : {1, 2, 2, 3}) fake.selectDataFile(folder.constData(), k);
    fake.closeDataFile(folder.constData(), 2);
    fake.closeDataFile(folder.constData(), 1);
    QCOMPARE(files.openCount(programFolderText(), QStringLiteral("c.das")), 1);
    QCOMPARE(files.openCount(), 1);
    fake.clearFileList();
    QCOMPARE(files.openCount(), 0);
  }
};

QTEST_MAIN(DataShowCatalogueTest)
#include "data_show_catalogue_test.moc"
