// Paths, unit addresses, number and date texts, free disk space through the
// library, the data folders and the version texts.
#include "frame/common_routines.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "support/fake_tramsoll.h"
#include "support/test_support.h"

#include <QDir>
#include <QtTest>

#include <cstring>
#include <limits>

class CommonRoutinesTest : public QObject {
  Q_OBJECT

 private slots:
  void unitAddressTexts() {
    QCOMPARE(unitAddressToText(0), QStringLiteral("1-00"));
    QCOMPARE(unitAddressToText(15), QStringLiteral("1-15"));
    QCOMPARE(unitAddressToText(16), QStringLiteral("2-00"));
    QCOMPARE(unitAddressToText(31), QStringLiteral("2-15"));
    QCOMPARE(unitAddressToText(127), QStringLiteral("8-15"));
    QCOMPARE(unitAddressToText(-1), QString());
    for (int32_t address = 0; address <= 127; ++address) {
      QCOMPARE(unitAddressFromText(unitAddressToText(address)), address);
    }
    QCOMPARE(unitAddressFromText(QStringLiteral("8-15")), 127);
    QCOMPARE(unitAddressFromText(QStringLiteral("  3-07 ")), 39);
    QCOMPARE(unitAddressFromText(QString()), -1);
    QCOMPARE(unitAddressFromText(QStringLiteral("    ")), -1);
    // Malformed texts are not addresses.
    for (const char* bad : {"x-15", "1-5", "1-1x", "12", "-", "１-00"}) {
      QCOMPARE(unitAddressFromText(QString::fromUtf8(bad)), -1);
    }
  }

  void numberAndDateTexts() {
    QCOMPARE(zeroPad3(7), QStringLiteral("007"));
    QCOMPARE(zeroPad3(42), QStringLiteral("042"));
    QCOMPARE(zeroPad3(100), QStringLiteral("100"));
    QCOMPARE(zeroPad3(1234), QStringLiteral("1234"));

    QCOMPARE(makeDateText(2020, 13, 40), QStringLiteral("2020/01/01"));
    QCOMPARE(makeDateText(2021, 2, 30), QStringLiteral("2021/03/02"));  // rolls into March
    QCOMPARE(makeDateText(2020, 2, 29), QStringLiteral("2020/02/29"));
    QCOMPARE(makeDateText(2020, 12, 31), QStringLiteral("2020/12/31"));
    QCOMPARE(makeDateText(2020, 0, 0), QStringLiteral("2020/01/01"));

    QCOMPARE(secondsToTimeText(0), QStringLiteral("00:00:00"));
    QCOMPARE(secondsToTimeText(3661), QStringLiteral("01:01:01"));
    QCOMPARE(secondsToTimeText(86399), QStringLiteral("23:59:59"));
    QCOMPARE(secondsToTimeText(86400 + 61), QStringLiteral("00:01:01"));

    DataShowFile file;
    file.saveYear = 2019;
    file.saveMonth = 11;
    file.saveDay = 31;  // 30 days in November
    file.saveTime = 13 * 3600 + 5;
    QCOMPARE(recordFileDateTimeText(file), QStringLiteral("2019/12/01 13:00:05"));

    QCOMPARE(generalDateText(QStringLiteral("2019/12/1")), QStringLiteral("2019/12/01"));
    QCOMPARE(generalDateText(QStringLiteral("2019-1-2")), QStringLiteral("2019/01/02"));
    QCOMPARE(generalDateText(QStringLiteral("R1.12.01")), QStringLiteral("R1.12.01"));
  }

  void pathParts() {
    QCOMPARE(pathBaseName(QStringLiteral("/data/site/a.das")), QStringLiteral("a.das"));
    QCOMPARE(pathBaseName(QStringLiteral("C:\\data\\a.das")), QStringLiteral("a.das"));
    QCOMPARE(pathBaseName(QStringLiteral("a.das")), QStringLiteral("a.das"));
    QString folder, file;
    splitPath(QStringLiteral("/a.das"), folder, file);
    QCOMPARE(folder, QStringLiteral("/"));
    QCOMPARE(file, QStringLiteral("a.das"));
    splitPath(QStringLiteral("C:\\a.das"), folder, file);
    QCOMPARE(folder, QStringLiteral("C:\\"));
    splitPath(QStringLiteral("/data/site/a.das"), folder, file);
    QCOMPARE(folder, QStringLiteral("/data/site"));
    QCOMPARE(file, QStringLiteral("a.das"));
    splitPath(QStringLiteral("a.das"), folder, file);
    QCOMPARE(folder, QString());
    QCOMPARE(file, QStringLiteral("a.das"));
  }

  void freeSpaceWithTheLargeDiskQuery() {
    InstalledFake library;
    program().displayOptions[kOsVersion] = 1;
    int32_t answerKb = 1000;
    float answerBytes = 1024000.0f;
    library.fake.on<decltype(::getFreeDskSzEx)>("getFreeDskSzEx", [&](const char*, int32_t* kb, float* bytes) {
      *kb = answerKb;
      *bytes = answerBytes;
      return 0;
    });
    int32_t kb = -5;
    float bytes = -5;
    getFreeDiskSize(QStringLiteral("/data"), kb, bytes);
    QCOMPARE(kb, 1000);
    QCOMPARE(bytes, 1024000.0f);
    QCOMPARE(library.fake.calls, QStringList{"getFreeDskSzEx(\"/data\", *, *)"});

    // 3 TiB: the kilobytes came back wrapped; they are held at the top.
    answerKb = -1073741824;
    answerBytes = 3.3e12f;
    getFreeDiskSize(QStringLiteral("/data"), kb, bytes);
    QCOMPARE(kb, std::numeric_limits<int32_t>::max());
    QCOMPARE(bytes, 3.3e12f);

    library.fake.on<decltype(::getFreeDskSzEx)>("getFreeDskSzEx", [](const char*, int32_t*, float*) { return 1; });
    getFreeDiskSize(QStringLiteral("/data"), kb, bytes);
    QCOMPARE(kb, 0);
    QCOMPARE(bytes, 0.0f);
  }

  void freeSpaceWithTheOldQuery() {
    InstalledFake library;
    program().displayOptions[kOsVersion] = 0;
    int32_t answer = 1536;
    library.fake.on<decltype(::getFreeDskSz)>("getFreeDskSz", [&](const char*, int32_t* bytes) {
      *bytes = answer;
      return 0;
    });
    int32_t kb = 0;
    float bytes = 0;
    getFreeDiskSize(QStringLiteral("/"), kb, bytes);
    QCOMPARE(kb, 2);  // 1.5 KB to the nearest whole
    QCOMPARE(bytes, 1536.0f);
    // Above 2 GiB the 32-bit byte count turned negative: held at the top.
    answer = -2147483000;
    getFreeDiskSize(QStringLiteral("/"), kb, bytes);
    QCOMPARE(bytes, 2147483647.0f);
    QCOMPARE(kb, 2097152);
    QCOMPARE(library.fake.callsOf(QStringLiteral("getFreeDskSzEx")), QStringList());
    library.fake.on<decltype(::getFreeDskSz)>("getFreeDskSz", [](const char*, int32_t*) { return 1; });
    getFreeDiskSize(QStringLiteral("/"), kb, bytes);
    QCOMPARE(kb, 0);
    QCOMPARE(bytes, 0.0f);
    program().displayOptions[kOsVersion] = 1;
  }

  void dataFoldersAreMadeOrFoundWithoutRegardToCase() {
    {
      ScratchFolder folder;
      ensureDataFolders();
      QVERIFY(QFileInfo(folder.file(QStringLiteral("csv"))).isDir());
      QVERIFY(QFileInfo(folder.file(QStringLiteral("q7data"))).isDir());
      QCOMPARE(program().csvFolder, folder.file(QStringLiteral("csv/data")));
      QCOMPARE(program().q7dataFolder, folder.file(QStringLiteral("q7data/q7-net")));
    }
    ScratchFolder folder;
    QDir(folder.path()).mkdir(QStringLiteral("CSV"));
    QDir(folder.path()).mkdir(QStringLiteral("Q7Data"));
    ensureDataFolders();
    QCOMPARE(QDir(folder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{"CSV", "Q7Data"}));
    QCOMPARE(program().csvFolder, folder.file(QStringLiteral("CSV/data")));
    QCOMPARE(program().q7dataFolder, folder.file(QStringLiteral("Q7Data/q7-net")));
    // An exact match wins over one that differs in case.
    QDir(folder.path()).mkdir(QStringLiteral("csv"));
    QCOMPARE(findEntryNoCase(folder.path(), QStringLiteral("csv"), EntryKind::Folder), QStringLiteral("csv"));
    QCOMPARE(findEntryNoCase(folder.path(), QStringLiteral("Csv"), EntryKind::Folder), QStringLiteral("CSV"));
    QCOMPARE(findEntryNoCase(folder.path(), QStringLiteral("csv"), EntryKind::File), QString());
  }

  void versionTextsComeInTheirPlaces() {
    InstalledFake library;
    library.fake.on<decltype(::getSetFileVer)>(
        "getSetFileVer", [](char* setVersion, int32_t* setVersionLength, char* setDate, int32_t* setDateLength,
                            char* libVersion, int32_t* libVersionLength, char* libDate, int32_t* libDateLength) {
          std::strcpy(setVersion, "3.05");
          *setVersionLength = 4;
          std::strcpy(setDate, "2019/04/01");
          *setDateLength = 10;
          std::strcpy(libVersion, "1.20");
          *libVersionLength = 99;  // beyond the buffer: cut at the terminator
          std::strcpy(libDate, "2020/08/07xx");
          *libDateLength = 10;
          return 0;
        });
    loadFileVersions();
    const auto& texts = program().versionTexts;
    QCOMPARE(texts[0], QStringLiteral("3.05"));
    QCOMPARE(texts[1], QStringLiteral("1.20"));
    QCOMPARE(texts[2], QString());
    QCOMPARE(texts[3], QStringLiteral("2019/04/01"));
    QCOMPARE(texts[4], QStringLiteral("2020/08/07"));
  }
};

QTEST_MAIN(CommonRoutinesTest)
#include "common_routines_test.moc"
