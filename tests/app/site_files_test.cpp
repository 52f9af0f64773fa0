// The customer file <id>/<id>.dak and the station file pelomar3.dam: exact
// text, reading back, and what damaged files and unusable ids do.
#include "frame/site/customer_file.h"
#include "frame/site/paths.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "support/test_support.h"

#include <QDir>
#include <QtTest>

#include <cerrno>

namespace {

std::shared_ptr<MapAircon> unit(int32_t number, int32_t rom, int32_t autoAddress, int32_t zubrel, int32_t onLine,
                                int32_t state, const char* kind, int32_t linkNow, int32_t linkOld) {
  auto u = std::make_shared<MapAircon>();
  u->airconNumber = number;
  u->romNumber = rom;
  u->autoAddress = autoAddress;
  u->zubrelAddress = zubrel;
  u->onLine = onLine;
  u->state = state;
  u->generalKind = QString::fromUtf8(kind);
  u->linkNoNow = linkNow;
  u->linkNoOld = linkOld;
  return u;
}

std::shared_ptr<LinkAircon> link(int32_t number, const char* kind, const char* serial, const char* place,
                                 int32_t address) {
  auto l = std::make_shared<LinkAircon>();
  l->linkNo = number;
  l->kind = QString::fromUtf8(kind);
  l->serialNumber = QString::fromUtf8(serial);
  l->place = QString::fromUtf8(place);
  l->controlAddress = address;
  return l;
}

// Two maps, added out of number order; units added out of number order.
CustomInfor sampleCustomer() {
  CustomInfor c;
  c.id = QStringLiteral("C001");
  c.name = QStringLiteral("Acme");
  c.post = QStringLiteral("Ops");
  c.chargeMan = QStringLiteral("佐藤");
  c.address = QStringLiteral("1 Main St, Tokyo");
  c.telNumber = QStringLiteral("03-1234");
  c.others = QStringLiteral("say \"hi\"");

  auto second = std::make_shared<MapQ7net>();
  second->mapNumber = 2;
  second->mapIndex = 3;
  second->ifMode = 0;
  second->saveYear = 2021;
  second->saveMonth = 1;
  second->saveDay = 2;

  auto first = std::make_shared<MapQ7net>();
  first->mapNumber = 1;
  first->mapIndex = 7;
  first->mapName = QStringLiteral("Roof");
  first->ifMode = 2;
  first->saveYear = 2020;
  first->saveMonth = 8;
  first->saveDay = 7;
  first->generalKind = QStringLiteral("ZR-100");
  auto system = std::make_shared<MapSystem>();
  system->systemNumber = 1;
  system->systemName = QStringLiteral("Sys A");
  system->airconsOut.add(unit(2, 102, 0, 6, 3, 0, "ZR-100", 2, 0), QStringLiteral("2"));
  system->airconsOut.add(unit(1, 101, 0, 5, 3, 1, "ZR-100", 1, 0), QStringLiteral("1"));
  system->airconsIn.add(unit(1, 0, 16, 0, 3, 2, "IU-20", 0, 0));
  first->systems.add(system, QStringLiteral("1"));
  auto central = std::make_shared<MapSystem>();
  central->systemNumber = 1;
  central->systemName = QStringLiteral("Central");
  central->airconsCen.add(unit(1, 0, 64, 0, 4, 0, "CU", 0, 0), QStringLiteral("1"));
  first->systemsCen.add(central, QStringLiteral("1"));
  first->linkAircons.add(link(1, "ZR-100", "SN1", "Roof", 16), QStringLiteral("1"));
  first->linkAircons.add(link(2, "", "", "", -1), QStringLiteral("2"));

  c.q7nets.add(second, QStringLiteral("3"));
  c.q7nets.add(first, QStringLiteral("7"));
  return c;
}

const QByteArray kSampleText =
    "1,50\r\n"
    "\"C001\"\r\n\"Acme\"\r\n\"Ops\"\r\n\"\xE4\xBD\x90\xE8\x97\xA4\"\r\n\"1 Main St, Tokyo\"\r\n\"03-1234\"\r\n\"\"\r\n"
    "\"say 'hi'\"\r\n"
    "2\r\n"
    "1,7,\"Roof\",2,2020,8,7\r\n"
    "\"ZR-100\"\r\n"
    "1\r\n"
    "1,\"Sys A\",2,1\r\n"
    "1,101,0,5,3,1,\"ZR-100\",1,0\r\n"
    "2,102,0,6,3,0,\"ZR-100\",2,0\r\n"
    "1,0,16,0,3,2,\"IU-20\",0,0\r\n"
    "1\r\n"
    "1,\"Central\",1\r\n"
    "1,0,64,0,4,0,\"CU\",0,0\r\n"
    "2\r\n"
    "1,\"ZR-100\",\"SN1\",\"Roof\",16\r\n"
    "2,\"\",\"\",\"\",-1\r\n"
    "2,3,\"\",0,2021,1,2\r\n"
    "\"\"\r\n"
    "0\r\n"
    "0\r\n"
    "0\r\n";

}  // namespace

class SiteFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    setEnglishTexts();
    copyTextsToLabelGlobals();
  }
  void cleanup() {
    releaseCustomerInfo();
    clearServiceStationInfo();
  }

  void customerIsWrittenAsTheExactText() {
    ScratchFolder folder;
    currentCustomer() = sampleCustomer();
    QVERIFY(saveCustomerFile());
    QCOMPARE(folder.read(QStringLiteral("C001/C001.dak")), kSampleText);
  }

  void customerReadsBackWithTheRebuiltMembers() {
    ScratchFolder folder;
    folder.write(QStringLiteral("C001/C001.dak"), kSampleText);
    QVERIFY(loadCustomerFile(QStringLiteral("C001")));
    const CustomInfor& c = currentCustomer();
    QCOMPARE(c.chargeMan, QStringLiteral("佐藤"));
    QCOMPARE(c.address, QStringLiteral("1 Main St, Tokyo"));
    QCOMPARE(c.others, QStringLiteral("say 'hi'"));
    QCOMPARE(c.q7nets.count(), 2);
    QCOMPARE(c.q7nets.keyAt(1), QStringLiteral("7"));

    const auto first = c.q7nets.item(QStringLiteral("7"));
    QCOMPARE(first->customName, QStringLiteral("Acme"));
    QCOMPARE(first->generalKind, QStringLiteral("ZR-100"));
    QVERIFY(first->systemsSen.isEmpty());
    QVERIFY(!first->flagForSensor);
    QCOMPARE(first->recodeInterval, 0);
    const auto system = first->systems.item(QStringLiteral("1"));
    QCOMPARE(system->systemName, QStringLiteral("Sys A"));
    const auto out1 = system->airconsOut.item(QStringLiteral("1"));
    const auto out2 = system->airconsOut.item(QStringLiteral("2"));
    QCOMPARE(out1->romNumber, 101);
    QCOMPARE(out1->onLine, 0);  // never taken from the file
    QCOMPARE(out1->airconType, 0);
    QCOMPARE(out1->airconSubNo, 1);
    QCOMPARE(out2->airconSubNo, 2);  // same bus address as the unit before it
    QCOMPARE(system->airconsIn.keyAt(1), QString());
    QCOMPARE(system->airconsIn.item(1)->airconType, 1);
    QCOMPARE(system->airconsIn.item(1)->airconSubNo, 1);
    const auto central = first->systemsCen.item(QStringLiteral("1"))->airconsCen.item(QStringLiteral("1"));
    QCOMPARE(central->airconType, 100);
    QCOMPARE(central->autoAddress, 64);
    QCOMPARE(first->linkAircons.item(QStringLiteral("2"))->controlAddress, -1);
    QCOMPARE(first->linkAircons.item(QStringLiteral("1"))->place, QStringLiteral("Roof"));

    // Access method 0 reads as 2, and an empty map name gets its default.
    const auto second = c.q7nets.item(QStringLiteral("3"));
    QCOMPARE(second->ifMode, 2);
    QCOMPARE(second->mapName, QStringLiteral("Q7-NET 2"));

    // Written again, the file differs only where reading rebuilt values.
    QByteArray again;
    QString error;
    QVERIFY(writeCustomerText(c, 1, 50, again, error));
    QByteArray expected = kSampleText;
    expected.replace("1,101,0,5,3,1", "1,101,0,5,0,1").replace("2,102,0,6,3,0", "2,102,0,6,0,0");
    expected.replace("1,0,16,0,3,2", "1,0,16,0,0,2").replace("1,0,64,0,4,0", "1,0,64,0,0,0");
    expected.replace("2,3,\"\",0,", "2,3,\"Q7-NET 2\",2,");
    QCOMPARE(again, expected);
  }

  void outdoorSubNumbersFollowSharedAddresses() {
    CustomInfor c;
    ReadFault fault;
    QVERIFY(readCustomerText("1,50\r\n\"X\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n1\r\n1,1,\"M\",2,2020,1,1\r\n\"\"\r\n1\r\n1,\"S\",4,0\r\n"
                             "1,0,5,0,0,0,\"\",0,0\r\n2,0,5,0,0,0,\"\",0,0\r\n3,0,9,0,0,0,\"\",0,0\r\n"
                             "4,0,5,0,0,0,\"\",0,0\r\n0\r\n0\r\n",
                             c, fault));
    const auto system = c.q7nets.item(1)->systems.item(1);
    const int32_t subNumbers[] = {1, 2, 1, 1};
    for (int i = 1; i <= 4; ++i) QCOMPARE(system->airconsOut.item(i)->airconSubNo, subNumbers[i - 1]);
  }

  void headNumbersDecideTheModelLine_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("modelLine");
    QTest::newRow("written 1 and 50") << 1 << 50 << true;
    QTest::newRow("0 and 51") << 0 << 51 << false;
    QTest::newRow("0 and 5") << 0 << 5 << false;
    QTest::newRow("-1 and 3") << -1 << 3 << false;
    QTest::newRow("0 and 6") << 0 << 6 << true;
    QTest::newRow("1 and 5") << 1 << 5 << true;
    QTest::newRow("0 and 52") << 0 << 52 << true;
  }
  void headNumbersDecideTheModelLine() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, modelLine);
    QCOMPARE(headHasModelLine(major, minor), modelLine);
    CustomInfor c;
    c.id = QStringLiteral("X");
    auto map = std::make_shared<MapQ7net>();
    map->mapNumber = 1;
    map->mapIndex = 1;
    map->ifMode = 2;
    map->generalKind = QStringLiteral("ZR");
    c.q7nets.add(map, QStringLiteral("1"));
    QByteArray text;
    QString error;
    QVERIFY(writeCustomerText(c, major, minor, text, error));
    QCOMPARE(text.contains("\"ZR\""), modelLine);
    CustomInfor back;
    ReadFault fault;
    QVERIFY2(readCustomerText(text, back, fault), qPrintable(fault.text()));
    QCOMPARE(back.q7nets.item(1)->generalKind, modelLine ? QStringLiteral("ZR") : QString());
    QCOMPARE(back.q7nets.item(1)->systems.count(), 0);
    QCOMPARE(back.q7nets.item(1)->linkAircons.count(), 0);
  }

  void damagedFileLoadsNothing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QByteArray head = "1,50\r\n\"C001\"\r\n\"N\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n";
    const QByteArray mapLine = "1\r\n1,1,\"M\",2,2020,1,1\r\n\"\"\r\n";
    QTest::newRow("head not a number") << QByteArray("x,50\r\n") << QStringLiteral("line 1: head number");
    QTest::newRow("map count not a number") << head + "two\r\n" << QStringLiteral("line 10: map count");
    QTest::newRow("negative system count") << head + mapLine + "-1\r\n0\r\n0\r\n"
                                           << QStringLiteral("system count -1 is impossible");
    QTest::newRow("count beyond the file") << head + mapLine + "1\r\n1,\"S\",999,0\r\n"
                                           << QStringLiteral("outdoor unit count 999 is impossible");
    QTest::newRow("system number twice") << head + mapLine + "2\r\n1,\"S\",0,0\r\n1,\"T\",0,0\r\n0\r\n0\r\n"
                                         << QStringLiteral("system 1 appears twice");
    QTest::newRow("link number twice") << head + mapLine + "0\r\n0\r\n2\r\n4,\"\",\"\",\"\",-1\r\n4,\"\",\"\",\"\",-1\r\n"
                                       << QStringLiteral("link 4 appears twice");
    QTest::newRow("map index twice") << head + mapLine + "0\r\n0\r\n0\r\n" + mapLine + "0\r\n0\r\n0\r\n"
                                     << QStringLiteral("map index 1 appears twice");
    QTest::newRow("cut short in a unit") << head + mapLine + "1\r\n1,\"S\",1,0\r\n1,0,5,0,0"
                                         << QStringLiteral("the file ends early");
    QTest::newRow("unit address not a number") << head + mapLine + "1\r\n1,\"S\",1,0\r\n1,0,\"1-00\",0,0,0,\"\",0,0\r\n"
                                               << QStringLiteral("line 15: auto address");
  }
  void damagedFileLoadsNothing() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    ScratchFolder folder;
    folder.write(QStringLiteral("C001/C001.dak"), content);
    currentCustomer() = sampleCustomer();
    const SiteFileResult result = loadCustomerFile(QStringLiteral("C001"));
    QVERIFY(!result);
    QVERIFY2(result.message.contains(reason), qPrintable(result.message));
    QCOMPARE(currentCustomer().name, QStringLiteral("Acme"));
    QCOMPARE(currentCustomer().q7nets.count(), 2);
  }

  // A file cut at any byte reads as the whole file did (the cut fell after
  // the last record) or is refused with its line: never a name cut short,
  // never a customer without the maps a later save would then drop.
  void customerFileCutAnywhereIsWholeOrRefused() {
    CustomInfor whole;
    ReadFault fault;
    QString error;
    QVERIFY(readCustomerText(kSampleText, whole, fault));
    QByteArray wholeText;
    QVERIFY(writeCustomerText(whole, 1, 50, wholeText, error));
    int loaded = 0;
    for (int cut = 0; cut < kSampleText.size(); ++cut) {
      CustomInfor read;
      if (!readCustomerText(kSampleText.left(cut), read, fault)) {
        QVERIFY2(fault.line > 0, qPrintable(QStringLiteral("%1: %2").arg(cut).arg(fault.text())));
        continue;
      }
      ++loaded;
      QByteArray text;
      QVERIFY(writeCustomerText(read, 1, 50, text, error));
      QVERIFY2(text == wholeText, qPrintable(QStringLiteral("cut at %1 loads another tree").arg(cut)));
    }
    QCOMPARE(loaded, 1);  // the cut between the last CR and LF
    QCOMPARE(readCustomerName(QString()), QString());
  }

  void customerNameOfACutFileIsNotGuessed() {
    ScratchFolder folder;
    folder.write(QStringLiteral("C001/C001.dak"), kSampleText.left(kSampleText.indexOf("Acme") + 3));
    QCOMPARE(readCustomerName(folder.file(QStringLiteral("C001"))), QString());
  }

  void writerRefusesWhatItCannotWriteFaithfully() {
    ScratchFolder folder;
    CustomInfor gap = sampleCustomer();
    gap.q7nets.item(QStringLiteral("7"))->systems.item(1)->airconsOut.item(1)->airconNumber = 3;
    folder.write(QStringLiteral("C001/C001.dak"), "old");
    currentCustomer() = gap;
    const SiteFileResult result = saveCustomerFile();
    QVERIFY(!result);
    QVERIFY2(result.message.contains(QStringLiteral("units of system 1 of map 1")), qPrintable(result.message));
    QCOMPARE(folder.read(QStringLiteral("C001/C001.dak")), QByteArray("old"));

    // An empty id is never written.
    currentCustomer() = CustomInfor{};
    QVERIFY(!saveCustomerFile());
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"C001"});
  }

  void idsThatCannotNameAFolderAreRefused() {
    for (const QString& id : {QStringLiteral(".."), QStringLiteral("."), QStringLiteral("../up"),
                              QStringLiteral("a/b"), QStringLiteral("a\\b"), QStringLiteral("tab\there"),
                              QStringLiteral("say \"hi\"")}) {
      QVERIFY2(!isUsableCustomerId(id), qPrintable(id));
    }
    QVERIFY(isUsableCustomerId(QStringLiteral("A very long customer id of a site in Osaka, 2nd floor")));
    ScratchFolder folder;
    currentCustomer().id = QStringLiteral("..");
    QVERIFY(!saveCustomerFile());
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("../...dak"))));
    QVERIFY(!loadCustomerFile(QStringLiteral("../x")));
  }

  void foldersAndFilesAreFoundWithoutRegardToCase() {
    ScratchFolder folder;
    folder.write(QStringLiteral("c001/c001.DAK"), kSampleText);
    QVERIFY(loadCustomerFile(QStringLiteral("C001")));
    QCOMPARE(currentCustomer().name, QStringLiteral("Acme"));
    QCOMPARE(readCustomerName(folder.file(QStringLiteral("c001"))), QStringLiteral("Acme"));
    currentCustomer().name = QStringLiteral("Acme Two");
    QVERIFY(saveCustomerFile());
    // The existing folder and file were replaced, nothing new was made.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"c001"});
    QCOMPARE(QDir(folder.file(QStringLiteral("c001"))).entryList(QDir::Files), QStringList{"c001.DAK"});
    QCOMPARE(readCustomerName(folder.file(QStringLiteral("c001"))), QStringLiteral("Acme Two"));
    QCOMPARE(readCustomerName(folder.file(QStringLiteral("none"))), QString());
  }

  void writesThatCannotHappenAreReported() {
    ScratchFolder folder;
    folder.write(QStringLiteral("C002"), "a file where the folder should be");
    currentCustomer().id = QStringLiteral("C002");
    SiteFileResult result = saveCustomerFile();
    QVERIFY(!result);
    QVERIFY(result.message.contains(QStringLiteral("cannot be made")));
    QCOMPARE(result.outcome.error, EEXIST);  // the errno goes on to message "21-3"
    // The station file in a folder that cannot hold files.
    setProgramFolder(folder.file(QStringLiteral("C002")));
    result = saveServiceStationFile();
    QVERIFY(!result);
    QVERIFY(result.message.contains(QStringLiteral("cannot be written")));
    QCOMPARE(result.outcome.error, ENOTDIR);
  }

  void clearingEmptiesMapsHeldElsewhere() {
    currentCustomer() = sampleCustomer();
    const auto held = currentCustomer().q7nets.item(QStringLiteral("7"));
    clearCustomerInfo();
    QCOMPARE(currentCustomer().id, QString());
    QCOMPARE(currentCustomer().q7nets.count(), 0);
    QCOMPARE(held->systems.count(), 0);
    QCOMPARE(held->linkAircons.count(), 0);
  }

  void stationFileRoundTrip() {
    ScratchFolder folder;
    DataManageInfor& shop = serviceShop();
    shop.ssName = QStringLiteral("Kansai Service");
    shop.ssAddress = QStringLiteral("2-3 Umeda, Osaka");
    shop.ssTel = QStringLiteral("06-1111");
    shop.ssFax = QStringLiteral("06-2222");
    shop.ssChargeMen.add(std::make_shared<QString>(QStringLiteral("Tanaka")), QStringLiteral("1"));
    shop.ssChargeMen.add(std::make_shared<QString>(QStringLiteral("Mr \"Ito\"")), QStringLiteral("2"));
    QVERIFY(saveServiceStationFile());
    QCOMPARE(folder.read(QStringLiteral("pelomar3.dam")),
             QByteArray("1,50\r\n\"Kansai Service\"\r\n\"2-3 Umeda, Osaka\"\r\n\"06-1111\"\r\n\"06-2222\"\r\n"
                        "\"Tanaka\"\r\n\"Mr 'Ito'\"\r\n"));
    clearServiceStationInfo();
    QCOMPARE(serviceShop().ssName, QString());
    QVERIFY(loadServiceStationFile());
    QCOMPARE(serviceShop().ssAddress, QStringLiteral("2-3 Umeda, Osaka"));
    QCOMPARE(serviceShop().ssChargeMen.count(), 2);
    QCOMPARE(serviceShop().ssChargeMen.keyAt(2), QStringLiteral("2"));
    QCOMPARE(*serviceShop().ssChargeMen.item(QStringLiteral("2")), QStringLiteral("Mr 'Ito'"));
  }

  // The station file names no count of persons: a cut after a whole line
  // reads as a station with fewer persons, any other cut is refused.
  void stationFileCutAnywhereKeepsWholeTextsOrIsRefused() {
    DataManageInfor whole;
    whole.ssName = QStringLiteral("Kansai Service");
    whole.ssAddress = QStringLiteral("2-3 Umeda, Osaka");
    whole.ssTel = QStringLiteral("06-1111");
    whole.ssFax = QStringLiteral("06-2222");
    whole.ssChargeMen.add(std::make_shared<QString>(QStringLiteral("Tanaka")), QStringLiteral("1"));
    whole.ssChargeMen.add(std::make_shared<QString>(QStringLiteral("Ito")), QStringLiteral("2"));
    const QByteArray text = serviceStationText(whole, 1, 50);
    for (int cut = 0; cut < text.size(); ++cut) {
      DataManageInfor read;
      ReadFault fault;
      const QString at = QStringLiteral("cut at %1").arg(cut);
      if (!readServiceStationText(text.left(cut), read, fault)) {
        QVERIFY2(fault.line > 0, qPrintable(at + QStringLiteral(": ") + fault.text()));
        continue;
      }
      QVERIFY2(read.ssName == whole.ssName && read.ssAddress == whole.ssAddress && read.ssTel == whole.ssTel &&
                   read.ssFax == whole.ssFax,
               qPrintable(at));
      for (int i = 1; i <= read.ssChargeMen.count(); ++i) {
        QVERIFY2(*read.ssChargeMen.item(i) == *whole.ssChargeMen.item(i), qPrintable(at));
      }
    }
  }

  void stationFileMissingOrDamaged() {
    ScratchFolder folder;
    serviceShop().ssName = QStringLiteral("kept");
    QVERIFY(loadServiceStationFile());  // no file: nothing changes, no fault
    QCOMPARE(serviceShop().ssName, QStringLiteral("kept"));

    folder.write(QStringLiteral("PELOMAR3.DAM"), "one,50\r\n\"New\"\r\n");
    const SiteFileResult result = loadServiceStationFile();
    QVERIFY(!result);
    QVERIFY(result.message.contains(QStringLiteral("PELOMAR3.DAM")));
    QCOMPARE(serviceShop().ssName, QStringLiteral("kept"));

    folder.write(QStringLiteral("PELOMAR3.DAM"), "1,50\r\n\"New\"\r\n\"a\"\r\n\"t\"\r\n\"f\"\r\n\"P1\"\r\n\"P2\"\r\n");
    QVERIFY(loadServiceStationFile());
    QCOMPARE(serviceShop().ssName, QStringLiteral("New"));
    QCOMPARE(serviceShop().ssChargeMen.keyAt(1), QStringLiteral("1"));
    QCOMPARE(*serviceShop().ssChargeMen.item(QStringLiteral("2")), QStringLiteral("P2"));
    // Saving replaces the file found, whatever its case.
    QVERIFY(saveServiceStationFile());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"PELOMAR3.DAM"});
  }
};

QTEST_MAIN(SiteFilesTest)
#include "site_files_test.moc"
