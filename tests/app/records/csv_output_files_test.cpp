// The CSV road's pure pieces: the base path of a chosen name, which files
// count as the old output of a base path and their removal, and the date
// texts of the options dialog and its GO.
#include "records/csv_dates.h"
#include "records/csv_output_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QtTest>

#include <cerrno>

class CsvOutputFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void basePathKeepsEveryTypedCharacter_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("basePath");
    QTest::newRow("with suffix") << "/p/csv/site1.csv" << "/p/csv/site1";
    QTest::newRow("suffix in capitals") << "/p/csv/site1.CSV" << "/p/csv/site1";
    QTest::newRow("short name") << "/p/a.csv" << "/p/a";
    QTest::newRow("no suffix") << "/p/csv/abc" << "/p/csv/abc";
    QTest::newRow("another suffix") << "/p/csv/site1.txt" << "/p/csv/site1.txt";
  }
  void basePathKeepsEveryTypedCharacter() {
    QFETCH(QString, chosen);
    QFETCH(QString, basePath);
    QCOMPARE(csvBasePath(chosen), basePath);
  }

  void oldFilesAreOnlyTheNamesTheConversionWrites_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("old");
    const std::pair<const char*, bool> names[] = {
        {"site1_Ou01.csv", true},       {"SITE1_iu02-1.CSV", true},  {"site1_Cu10.csv", true},
        {"site1_Se01-12.csv", true},    {"site1_Ou100.csv", true},   {"site1_summary.csv", false},
        {"site1.csv", false},           {"site1_x.csv", false},      {"site1_Ou1.csv", false},
        {"site1_Ou01-.csv", false},     {"site1_Ou01.csv.bak", false}, {"site10_Ou01.csv", false},
        {"xsite1_Ou01.csv", false},     {"site1_Ou01.txt", false},   {"site1_Ou０１.csv", false},
    };
    for (const auto& [name, old] : names) QTest::newRow(name) << QString::fromUtf8(name) << old;
  }
  void oldFilesAreOnlyTheNamesTheConversionWrites() {
    QFETCH(QString, name);
    QFETCH(bool, old);
    QCOMPARE(isOldCsvFileName(QStringLiteral("site1"), name), old);
  }

  void stemIsTakenLiterally() {
    QVERIFY(isOldCsvFileName(QStringLiteral("a.b+"), QStringLiteral("A.B+_ou01.csv")));
    QVERIFY(!isOldCsvFileName(QStringLiteral("a.b+"), QStringLiteral("axbb_ou01.csv")));
  }

  void everyOldFileIsTriedAndTheLastFailureNamed() {
    ScratchFolder scratch;
    for (const char* name : {"site1_Ou01.csv", "SITE1_iu02-1.CSV", "site1_Se03.csv", "site1_summary.csv",
                             "site1.csv", "site1_x.csv"}) {
      scratch.write(QStringLiteral("csv/") + name, "x");
    }
    const QString basePath = scratch.file(QStringLiteral("csv/site1"));
    QCOMPARE(findOldCsvFiles(basePath).names, (QStringList{"SITE1_iu02-1.CSV", "site1_Ou01.csv", "site1_Se03.csv"}));
    {
      // Two old files in use: the last of them is named, the other old file goes.
      ScopedFileFault fault({FileCall::RemoveFile, EBUSY, 1, 2});
      const OldCsvRemoval removal = deleteOldCsvFiles(basePath);
      QVERIFY(!removal);
      QCOMPARE(removal.lastFailedName, QStringLiteral("site1_Se03.csv"));
      QCOMPARE(removal.lastFailure.error, EBUSY);
    }
    QCOMPARE(QDir(scratch.file(QStringLiteral("csv"))).entryList(QDir::Files),
             (QStringList{"site1.csv", "site1_Ou01.csv", "site1_Se03.csv", "site1_summary.csv", "site1_x.csv"}));
    QVERIFY(deleteOldCsvFiles(basePath));
    QCOMPARE(findOldCsvFiles(basePath).names, QStringList());
    // A base path in a folder that cannot be listed finds nothing and says why.
    QCOMPARE(findOldCsvFiles(scratch.file(QStringLiteral("missing/site1"))).outcome.error, ENOENT);
  }

  void spanOfARecording_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("end");
    QTest::newRow("an hour") << 20 << 180 << "2024/03/05 08:08:09";
    QTest::newRow("past midnight") << 600 << 120 << "2024/03/06 03:08:09";
    QTest::newRow("no records") << 20 << 0 << "2024/03/05 07:08:09";
    QTest::newRow("past 32 bits") << 600 << 2147483647 << "42854/10/21 04:18:09";
  }
  void spanOfARecording() {
    QFETCH(int, interval);
    QFETCH(int, records);
    QFETCH(QString, end);
    DataShowFile file;
    file.saveYear = 2024;
    file.saveMonth = 3;
    file.saveDay = 5;
    file.saveTime = 7 * 3600 + 8 * 60 + 9;
    file.recodeInterval = interval;
    file.graphTotalNum = records;
    const CsvSpanTexts span = csvSpanTexts(file);
    QCOMPARE(span.startDate, QStringLiteral("2024/03/05 07:08:09"));
    QCOMPARE(span.endDate, end);
  }

  void goHandsTheLibraryTheSpanAndFlags_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("allData");
    QTest::addColumn<bool>("header");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("startPassed");
    QTest::addColumn<QString>("endPassed");
    QTest::addColumn<int>("flags");
    const QString s = QStringLiteral("2024/03/05 07:08:09"), e = QStringLiteral("2024/03/05 08:08:09");
    QTest::newRow("span without header") << s << e << false << false << true << s << e << 0;
    QTest::newRow("span with header") << s << e << false << true << true << s << e << 1;
    QTest::newRow("all without header") << s << e << true << false << true << s << e << 2;
    QTest::newRow("all with header") << s << e << true << true << true << s << e << 3;
    QTest::newRow("short digits are written out") << "2024/3/5 7:8:9" << " 2024/3/5  8:08:09 " << false << true
                                                  << true << s << e << 1;
    QTest::newRow("span with an invalid end") << s << "2024/02/30 08:00:00" << false << true << false << s
                                              << "2024/02/30 08:00:00" << 1;
    QTest::newRow("span with a start that is no date") << "yesterday" << e << false << false << false
                                                       << "yesterday" << e << 0;
    QTest::newRow("all data passes a non-date unchanged") << s << "soon" << true << true << true << s << "soon" << 3;
  }
  void goHandsTheLibraryTheSpanAndFlags() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(bool, allData);
    QFETCH(bool, header);
    QFETCH(bool, ok);
    QFETCH(QString, startPassed);
    QFETCH(QString, endPassed);
    QFETCH(int, flags);
    const CsvDateRequest request = csvDateRequest(start, end, allData, header);
    QCOMPARE(request.ok, ok);
    QCOMPARE(request.start, startPassed);
    QCOMPARE(request.end, endPassed);
    QCOMPARE(request.flags, flags);
  }
};

QTEST_MAIN(CsvOutputFilesTest)
#include "csv_output_files_test.moc"
