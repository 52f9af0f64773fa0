// The cells of a recorded file's row and the catalogue grid's columns.
#include "frame/text_table.h"
#include "records/data_show_cells.h"

#include <QtTest>

#include <limits>

namespace {

struct FileValues {
  int32_t recodeInterval, graphTotalNum, fileSize, ifMode, recodeMode;
};

DataShowFile fileOf(const FileValues& v) {
  DataShowFile file;
  file.recodeInterval = v.recodeInterval;
  file.graphTotalNum = v.graphTotalNum;
  file.fileSize = v.fileSize;
  file.ifMode = v.ifMode;
  file.recodeMode = v.recodeMode;
  file.saveYear = 2024;
  file.saveMonth = 3;
  file.saveDay = 5;
  file.saveTime = 7 * 3600 + 8 * 60 + 9;
  return file;
}

}  // namespace

class DataShowCellsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setEnglishTexts(); }

  void rowCells_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("ifMode");
    QTest::addColumn<int>("recodeMode");
    // Recording time, file size, access method, recording mode, seconds.
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("an hour and 20 s") << 20 << 181 << 1024 << 2 << 1
                                     << QStringList{"1hour(s) 0minute(s)", "1KB", "Q7-NET", "Periodic record", "3620"};
    QTest::newRow("89 s is one minute") << 89 << 1 << 1025 << 3 << 2
                                        << QStringList{"0hour(s) 1minute(s)", "2KB", "Q7-NET and sensor input",
                                                       "Trigger record", "89"};
    QTest::newRow("no records, no bytes") << 5 << 0 << 0 << 1 << 1
                                            << QStringList{"0hour(s) 0minute(s)", "0KB", "Sensor input only",
                                                           "Periodic record", "0"};
    QTest::newRow("board modes") << 5 << 1080 << 1023 << 8 << 2
                                 << QStringList{"1hour(s) 30minute(s)", "1KB", "PCB connection", "Trigger record",
                                                "5400"};
    QTest::newRow("board with sensor") << 1 << 7500 << 1500 << 9 << 1
                                       << QStringList{"2hour(s) 5minute(s)", "2KB", "PCB connection and sensor input",
                                                      "Periodic record", "7500"};
    // Modes without a text: the cells are emptied, never left as they were.
    const int unknownIfModes[] = {0, 6, 7, 10, -1};
    const int unknownRecodeModes[] = {0, 3, 4, -1, 100};
    for (int i = 0; i < 5; ++i) {
      QTest::addRow("unknown modes %d and %d", unknownIfModes[i], unknownRecodeModes[i])
          << 5 << 1 << 1 << unknownIfModes[i] << unknownRecodeModes[i]
          << QStringList{"0hour(s) 0minute(s)", "1KB", "", "", "5"};
    }
    // 600 s x (2^31 - 1) records: the product does not fit in 32 bits.
    QTest::newRow("length past 32 bits") << 600 << std::numeric_limits<int32_t>::max()
                                         << std::numeric_limits<int32_t>::max() << 2 << 1
                                         << QStringList{"357913941hour(s) 10minute(s)", "2097152KB", "Q7-NET",
                                                        "Periodic record", "1288490188200"};
  }
  void rowCells() {
    QFETCH(int, interval);
    QFETCH(int, records);
    QFETCH(int, bytes);
    QFETCH(int, ifMode);
    QFETCH(int, recodeMode);
    QFETCH(QStringList, cells);
    DataShowCustom custom;
    custom.customId = QStringLiteral("acme");
    custom.customName = QStringLiteral("Acme Corp");
    DataShowFile file = fileOf({interval, records, bytes, ifMode, recodeMode});
    file.mapName = QStringLiteral("Roof");
    file.systemNumber = 3;
    file.kind = QStringLiteral("ZR-100");
    file.ssChargeMan = QStringLiteral("Ito");
    const QStringList row = dataShowRowCells(custom, file);
    QCOMPARE(row.size(), int(kDataShowColumnCount));
    const QStringList fixed{"", "acme", "Acme Corp", "Roof", "System 3", "ZR-100"};
    QCOMPARE(row.mid(0, 6), fixed);
    QCOMPARE(row[kColumnAccessMethod], cells[2]);
    QCOMPARE(row[kColumnRecordingMode], cells[3]);
    QCOMPARE(row[kColumnStartTime], QStringLiteral("2024/03/05 07:08:09"));
    QCOMPARE(row[kColumnRecordingTime], cells[0]);
    QCOMPARE(row[kColumnFileSize], cells[1]);
    QCOMPARE(row[kColumnContact], QStringLiteral("Ito"));
    QCOMPARE(row[kColumnLengthSeconds], cells[4]);
  }

  void cellsFollowTheLanguageFile() {
    labelTexts()[7] = QStringLiteral("h");
    labelTexts()[8] = QStringLiteral("m");
    labelTexts()[6] = QStringLiteral("Sys");
    labelTexts()[137] = QStringLiteral("Trig");
    QCOMPARE(recordingTimeText(3660), QStringLiteral("1h 1m"));
    QCOMPARE(systemNumberText(2), QStringLiteral("Sys 2"));
    QCOMPARE(recodeModeText(2), QStringLiteral("Trig"));
    QCOMPARE(interfaceModeText(2), QStringLiteral("Q7-NET"));  // a fixed text
    setEnglishTexts();
  }

  void wideColumnsOnlyAbove9330Twips_data() {
    QTest::addColumn<int>("formWidth");
    QTest::addColumn<QList<int>>("widths");
    const QList<int> narrow{0, 800, 1200, 1100, 800, 1200, 300, 300, 1600, 1200, 1300, 1000, kWidthNotSet};
    QList<int> wide = narrow;
    wide[1] = 1100;
    wide[2] = 1500;
    wide[3] = 1300;
    QTest::newRow("design width") << 9210 << narrow;
    QTest::newRow("9330 is still narrow") << 9330 << narrow;
    QTest::newRow("9331 is wide") << 9331 << wide;
  }
  void wideColumnsOnlyAbove9330Twips() {
    QFETCH(int, formWidth);
    QFETCH(QList<int>, widths);
    const std::vector<DataShowGridColumn> columns = dataShowGridColumns(formWidth);
    QList<int> got;
    for (const DataShowGridColumn& column : columns) got << column.widthTwips;
    QCOMPARE(got, widths);
    QCOMPARE(columns[0].heading, QString());
    QCOMPARE(columns[kColumnCustomerId].heading, QStringLiteral("Customer ID"));
    QCOMPARE(columns[kColumnContact].heading, QStringLiteral("SS contact"));
    QCOMPARE(columns[kColumnLengthSeconds].heading, QString());
  }
};

QTEST_MAIN(DataShowCellsTest)
#include "data_show_cells_test.moc"
