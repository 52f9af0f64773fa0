// The CSV road's pure pieces: the base path of a chosen name, which files
// are the old output of a base path and their removal, and the date texts
// of the options dialog and its GO, read back in the program's form only.
#include "records/csv_dates.h"
#include "records/csv_output_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QtTest>

#include <cerrno>

class CsvOutputFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void basePathKeepsEveryTypedCharacter() {
    for (const auto& [chosen, basePath] : {std::pair{"/p/csv/site1.csv", "/p/csv/site1"}, {"/p/s.CSV", "/p/s"},
                                           {"/p/csv/abc", "/p/csv/abc"}, {"/p/site1.txt", "/p/site1.txt"}}) {
      QCOMPARE(csvBasePath(QString::fromUtf8(chosen)), QString::fromUtf8(basePath));
    }
  }

  void oldFilesAreOnlyTheNamesTheConversionWrites() {
    for (const char* name :
         {"site1_Ou01.csv", "SITE1_iu02-1.CSV", "site1_Cu10.csv", "site1_Se01-12.csv", "site1_Ou100.csv"}) {
      QVERIFY2(isOldCsvFileName(QStringLiteral("site1"), QString::fromUtf8(name)), name);
    }
    for (const char* name : {"site1_summary.csv", "site1.csv", "site1_x.csv", "site1_Ou1.csv", "site1_Ou01-.csv",
                             "site1_Ou01.csv.bak", "site10_Ou01.csv", "xsite1_Ou01.csv", "site1_Ou０１.csv"}) {
      QVERIFY2(!isOldCsvFileName(QStringLiteral("site1"), QString::fromUtf8(name)), name);
    }
    // The stem is taken literally, not as a pattern.
    QVERIFY(!isOldCsvFileName(QStringLiteral("a.b+"), QStringLiteral("axbb_ou01.csv")));
  }

  void everyOldFileIsTriedAndTheLastFailureNamed() {
    ScratchFolder scratch;
    for (const char* name :
         {"site1_Ou01.csv", "SITE1_iu02-1.CSV", "site1_Se03.csv", "site1_summary.csv", "site1.csv"}) {
      scratch.write(QStringLiteral("csv/") + name, "x");
    }
    const QString basePath = scratch.file(QStringLiteral("csv/site1"));
    QCOMPARE(findOldCsvFiles(basePath).names, (QStringList{"SITE1_iu02-1.CSV", "site1_Ou01.csv", "site1_Se03.csv"}));
    {
      // Two old files in use: the last is named, the other old file goes.
      ScopedFileFault fault({FileCall::RemoveFile, EBUSY, 1, 2});
      const OldCsvRemoval removal = deleteOldCsvFiles(basePath);
      QVERIFY(!removal);
      QCOMPARE(removal.lastFailedName, QStringLiteral("site1_Se03.csv"));
      QCOMPARE(removal.lastFailure.error, EBUSY);
    }
    QCOMPARE(QDir(scratch.file(QStringLiteral("csv"))).entryList(QDir::Files),
             (QStringList{"site1.csv", "site1_Ou01.csv", "site1_Se03.csv", "site1_summary.csv"}));
    QVERIFY(deleteOldCsvFiles(basePath));
    QCOMPARE(findOldCsvFiles(basePath).names, QStringList());
    QCOMPARE(findOldCsvFiles(scratch.file(QStringLiteral("missing/site1"))).outcome.error, ENOENT);
  }

  void spanOfARecording() {
    DataShowFile file;
    file.saveYear = 2024;
    file.saveMonth = 3;
    file.saveDay = 5;
    file.saveTime = 7 * 3600 + 8 * 60 + 9;
    for (const auto& [interval, records, end] :
         {std::tuple{20, 180, "2024/03/05 08:08:09"}, {600, 120, "2024/03/06 03:08:09"},
          {20, 0, "2024/03/05 07:08:09"}, {600, 2147483647, "42854/10/21 04:18:09"}}) {  // past 32 bits
      file.recodeInterval = interval;
      file.graphTotalNum = records;
      const CsvSpanTexts span = csvSpanTexts(file);
      QCOMPARE(span.startDate + '|' + span.endDate, QStringLiteral("2024/03/05 07:08:09|") + end);
    }
  }

  void goHandsTheLibraryTheSpanAndFlags() {
    const QString s = QStringLiteral("2024/03/05 07:08:09"), e = QStringLiteral("2024/03/05 08:08:09");
    const struct {
      QString start, end;
      bool allData, header, ok;
      QString passed;  // start|end|flags
    } cases[] = {
        {s, e, false, false, true, s + '|' + e + "|0"},
        {s, e, false, true, true, s + '|' + e + "|1"},
        {s, e, true, false, true, s + '|' + e + "|2"},
        {s, e, true, true, true, s + '|' + e + "|3"},
        {"2024/3/5 7:8:9", " 2024/3/5  8:08:09 ", false, true, true, s + '|' + e + "|1"},
        {s, "2024/02/30 08:00:00", false, true, false, s + "|2024/02/30 08:00:00|1"},
        {"yesterday", e, false, false, false, "yesterday|" + e + "|0"},
        // Only the program's form: no date alone, no hour 24, no other digits or separators.
        {"2024/03/05", e, false, false, false, "2024/03/05|" + e + "|0"},
        {s, "2024/03/05 24:00:00", false, false, false, s + "|2024/03/05 24:00:00|0"},
        {"２０２４/03/05 07:08:09", e, false, false, false, "２０２４/03/05 07:08:09|" + e + "|0"},
        {"2024-03-05 07:08:09", e, false, false, false, "2024-03-05 07:08:09|" + e + "|0"},
        {s, "soon", true, true, true, s + "|soon|3"},  // all data: passed on unchanged
    };
    for (const auto& c : cases) {
      const CsvDateRequest request = csvDateRequest(c.start, c.end, c.allData, c.header);
      QCOMPARE(request.ok, c.ok);
      QCOMPARE(request.start + '|' + request.end + '|' + QString::number(request.flags), c.passed);
    }
  }
};

QTEST_MAIN(CsvOutputFilesTest)
#include "csv_output_files_test.moc"
