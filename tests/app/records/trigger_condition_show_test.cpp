// The trigger-condition window: the rows it makes of the stored conditions,
// their texts, the record time and system row, and its launch from the
// customer data window for trigger and periodic files.
#include "frame/frmMain.h"
#include "frame/grid.h"
#include "records/frmCustomsData.h"
#include "records/frmTriggerConditionShow.h"
#include "support/fake_file_list.h"
#include "support/program_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <cstring>
#include <map>
#include <tuple>
#include <vector>

namespace {

struct Stored {
  const char* name;
  int32_t type;
  const char* condition1;
  const char* condition2;
};

// The stored conditions by file number, unit class and unit number.
using StoredConditions = std::map<std::tuple<int32_t, int32_t, int32_t>, std::vector<Stored>>;

void putText(const char* text, char* buffer, int32_t* length) {
  std::strcpy(buffer, text);
  *length = static_cast<int32_t>(std::strlen(text));
}

void scriptConditions(FakeTramsoll& fake, const StoredConditions& stored) {
  fake.on<decltype(::getPlyTrgNum)>("getPlyTrgNum", [&stored](const char*, int32_t file, int32_t kind, int32_t unit,
                                                               int32_t* count) {
    const auto found = stored.find({file, kind, unit});
    *count = found == stored.end() ? 0 : static_cast<int32_t>(found->second.size());
    return 0;
  });
  fake.on<decltype(::getPlyTrgItem)>(
      "getPlyTrgItem", [&stored](const char*, int32_t file, int32_t kind, int32_t unit, int32_t index, char* name,
                                 int32_t* nameLength, int32_t* type, char* text1, int32_t* length1, char* text2,
                                 int32_t* length2) {
        const Stored& item = stored.at({file, kind, unit}).at(static_cast<std::size_t>(index - 1));
        putText(item.name, name, nameLength);
        putText(item.condition1, text1, length1);
        putText(item.condition2, text2, length2);
        *type = item.type;
        return 0;
      });
}

DataShowFile triggerFile(int32_t out, int32_t in, int32_t records, int32_t mode = 2) {
  DataShowFile file;
  std::tie(file.outNumber, file.inNumber, file.graphTotalNum, file.recodeInterval, file.recodeMode) =
      std::tuple(out, in, records, 10, mode);
  std::tie(file.systemNumber, file.fileSize, file.ifMode, file.mapName) = std::tuple(3, 1500, 4, "Roof");
  return file;
}

QStringList rows(QTableWidget& grid) {
  QStringList texts;
  const Grid cells(grid);
  for (int row = 0; row < grid.rowCount(); ++row) {
    texts << cells.text(row, 0) + '|' + cells.text(row, 1) + '|' + cells.text(row, 2);
  }
  return texts;
}

}  // namespace

class TriggerConditionShowTest : public QObject {
  Q_OBJECT

 private slots:
  void conditionsOfEachUnitBecomeNumberedRows() {
    auto world = startedProgram();
    FakeFileList files(world->library.fake);
    const QString root = world->folder.path() + QLatin1Char('/');
    files.addFile(root, QStringLiteral("a.das"), triggerFile(2, 3, 600));
    files.addFile(root, QStringLiteral("b.das"), triggerFile(0, 1, 7));
    files.addFile(root, QStringLiteral("c.das"), triggerFile(1, 0, 7, 1));
    files.setSelectResult(root, QStringLiteral("b.das"), 1);
    const StoredConditions stored = {
        {{1, 0, 2},
         {{"Operation", 1, "RUN", "STOP"}, {"CompFreq", 0, "", ""}, {"Error", 2, "1", ""}, {"Step", 3, "1", "1"}}},
        {{1, 1, 1}, {{"Error", 2, "0", "x"}}},
        {{2, 1, 1}, {{"Filter", 1, "ON", ""}}},
    };
    scriptConditions(world->library.fake, stored);
    frmMain::instance().cmdPlay->click();
    frmCustomsData& list = frmCustomsData::instance();
    frmTriggerConditionShow& window = frmTriggerConditionShow::instance();

    QTest::keyClick(list.grdList, Qt::Key_F2);
    QVERIFY(window.isLoaded() && list.flagTrigConShow());
    QCOMPARE(rows(*window.grdCondition), (QStringList{"1 O-2-Operation|RUN|STOP", "2 O-2-Error|ERROR|IGNORED",
                                                      "3 I-1-Error|NORMAL|"}));
    QCOMPARE(window.windowTitle(), QStringLiteral("Trigger Condition Display(Roof,PCB connection)"));
    QCOMPARE(window.txtTime->text() + ' ' + rows(*window.grdSystemSelect).join(' '),
             QStringLiteral("100 *|System 3|2KB"));
    QCOMPARE(files.openCount(), 0);

    // Another trigger file replaces every row; one the library cannot open
    // is not closed.
    world->library.fake.calls.clear();
    list.grdList->setCurrentCell(1, 1);
    QTest::keyClick(list.grdList, Qt::Key_F2);
    QCOMPARE(rows(*window.grdCondition), QStringList{"1 I-1-Filter|ON|IGNORED"});
    QCOMPARE(window.txtTime->text(), QStringLiteral("1"));
    QCOMPARE(world->library.fake.callsOf(QStringLiteral("closeDataFile")), QStringList());

    // A periodic file: the window closes and the engineer is told.
    list.grdList->setCurrentCell(2, 1);
    QStringList lines;
    readNextMessage(lines);
    QTest::keyClick(list.grdList, Qt::Key_F2);
    QCOMPARE(lines.value(0) + '|' + lines.value(2),
             QStringLiteral("Error No.:19-2|This data is periodically recorded one. No trigger conditions exist."));
    QVERIFY(!window.isLoaded() && !list.flagTrigConShow());
  }
};

QTEST_MAIN(TriggerConditionShowTest)
#include "trigger_condition_show_test.moc"
