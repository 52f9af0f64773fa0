// The cells of a recorded file's row and the catalogue grid's columns.
#include "frame/texts/text_table.h"
#include "records/data_show_cells.h"

#include <QtTest>

#include <limits>

class DataShowCellsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setEnglishTexts(); }

  void rowCells() {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const QString empty = QStringLiteral("0hour(s) 0minute(s)");
    const struct {
      int32_t interval, records, bytes, ifMode, recodeMode;
      QStringList cells;  // access method, recording mode, recording time, file size, seconds
    } cases[] = {
        {20, 181, 1024, 2, 1, {"Q7-NET", "Periodic record", "1hour(s) 0minute(s)", "1KB", "3620"}},
        {89, 1, 1025, 3, 2, {"Q7-NET and sensor input", "Trigger record", "0hour(s) 1minute(s)", "2KB", "89"}},
        {5, 0, 0, 1, 1, {"Sensor input only", "Periodic record", empty, "0KB", "0"}},
        {5, 1080, 1023, 8, 2, {"PCB connection", "Trigger record", "1hour(s) 30minute(s)", "1KB", "5400"}},
        {1, 7500, 1500, 9, 1,
         {"PCB connection and sensor input", "Periodic record", "2hour(s) 5minute(s)", "2KB", "7500"}},
        // Modes without a text empty their cells: a rebuild keeps nothing of another file.
        {5, 1, 1, 0, 0, {"", "", empty, "1KB", "5"}},
        {5, 1, 1, 6, 3, {"", "", empty, "1KB", "5"}},
        {5, 1, 1, 10, -1, {"", "", empty, "1KB", "5"}},
        // The length does not fit in 32 bits.
        {600, kMax, kMax, 4, 1, {"PCB connection", "Periodic record", "357913941hour(s) 10minute(s)", "2097152KB",
                                 "1288490188200"}},
    };
    DataShowCustom custom;
    custom.customId = QStringLiteral("acme");
    custom.customName = QStringLiteral("Acme Corp");
    DataShowFile file;
    file.mapName = QStringLiteral("Roof");
    file.systemNumber = 3;
    file.kind = QStringLiteral("ZR-100");
    file.ssChargeMan = QStringLiteral("Ito");
    file.saveYear = 2024;
    file.saveMonth = 3;
    file.saveDay = 5;
    file.saveTime = 7 * 3600 + 8 * 60 + 9;
    const QStringList fixed{"", "acme", "Acme Corp", "Roof", "System 3", "ZR-100"};
    for (const auto& c : cases) {
      file.recodeInterval = c.interval;
      file.graphTotalNum = c.records;
      file.fileSize = c.bytes;
      file.ifMode = c.ifMode;
      file.recodeMode = c.recodeMode;
      QCOMPARE(dataShowRowCells(custom, file), fixed + c.cells.mid(0, 2) + QStringList{"2024/03/05 07:08:09"} +
                                                   c.cells.mid(2, 2) + QStringList{"Ito"} + c.cells.mid(4));
    }
    // Texts come from the table, so a language file changes them.
    labelTexts()[7] = QStringLiteral("h");
    labelTexts()[8] = QStringLiteral("m");
    QCOMPARE(recordingTimeText(3660), QStringLiteral("1h 1m"));
    setEnglishTexts();
  }

  void wideColumnsOnlyAbove9330Twips() {
    const QList<int> narrow{0, 800, 1200, 1100, 800, 1200, 300, 300, 1600, 1200, 1300, 1000, kWidthNotSet};
    QList<int> wide = narrow;
    wide[1] = 1100;
    wide[2] = 1500;
    wide[3] = 1300;
    for (const auto& [formWidth, widths] : {std::pair{9210, narrow}, {9330, narrow}, {9331, wide}}) {
      const std::vector<DataShowGridColumn> columns = dataShowGridColumns(formWidth);
      QList<int> got;
      for (const DataShowGridColumn& column : columns) got << column.widthTwips;
      QCOMPARE(got, widths);
      QCOMPARE(columns[kColumnCustomerId].heading + '|' + columns[kColumnContact].heading + '|' +
                   columns[kColumnLengthSeconds].heading,
               QStringLiteral("Customer ID|SS contact|"));
    }
  }
};

QTEST_MAIN(DataShowCellsTest)
#include "data_show_cells_test.moc"
