// Replay windows over the real library and the recordings of the sample
// installation that the build writes (testdata/replay/): zoom to the
// interval's limits, paging, the cursor by key, mouse and search hit, the
// detail window's texts, both searches, and a recording without records.
// No cursor is read outside its file. With PELOMAR_SCREENSHOT_DIR set the
// windows are pictured after a zoom-out, a page step, in the detail window
// and at each search's hit.
#include "display/frmDataShow.h"
#include "display/frmDataShow2.h"
#include "display/frmSearchAnalog.h"
#include "display/frmSearchErrorCode.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/grid.h"
#include "frame/library/tramsoll_client.h"
#include "frame/program_start.h"
#include "program_windows.h"
#include "records/data_show_catalogue.h"
#include "records/data_show_replay.h"
#include "support/display_windows.h"
#include "support/simulated_installation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>

namespace {

const QDir kRecordings(QStringLiteral(PELOMAR_REPLAY_RECORDINGS));

QList<int32_t> screenOf(const frmDataShow& window) {
  const GraphSystem& g = *window.graphSystemObj;
  return {g.graphStartNo, g.graphEndNo, g.graphCusorNo};
}

int rowNamed(const frmDataShow& window, const QString& name) {
  const QStringList names = gridColumn(*window.grdList, 1);
  for (int row = 0; row < names.size(); ++row) {
    if (names[row].endsWith(QLatin1Char('-') + name)) return row + 1;
  }
  return 0;
}

}  // namespace

class ReplayOverLibraryTest : public QObject {
  Q_OBJECT

  std::unique_ptr<SimulatedInstallation> site;
  std::unique_ptr<InstalledFake> logged;  // forwards to the real library
  std::unique_ptr<DisplayWindowOwner> owner;
  std::shared_ptr<DataShowManager> catalogue;

  std::shared_ptr<frmDataShow> replay(const QString& name) {
    const QString path = site->folder.file(name);
    if (!QFile::exists(path) && !QFile::copy(kRecordings.filePath(name), path)) return nullptr;
    if (catalogue) clearDataShowList(*catalogue);
    catalogue = makeDataShowList(site->folder.path(), tramsollApi(), FileNames::Kept).catalogue;
    for (const CatalogueRow& row : catalogueRows(*catalogue)) {
      if (row.file->fileName != name) continue;
      if (openDataShowForFile(*owner, *row.custom, *row.file) != ReplayOpened::Shown) return nullptr;
      return owner->windows().item(owner->count());
    }
    return nullptr;
  }

  // The records of every cursor read since the last look.
  QList<int32_t> cursorReads() {
    QList<int32_t> records;
    static const QRegularExpression record(QStringLiteral("^getCursData\\((?:[^,]*, ){7}(-?\\d+),"));
    for (const QString& call : logged->fake.callsOf(QStringLiteral("getCursData"))) {
      const QRegularExpressionMatch match = record.match(call);
      if (match.hasMatch()) records << match.captured(1).toInt();
    }
    logged->fake.calls.clear();
    return records;
  }
  bool readsInside(int32_t total) {
    const QList<int32_t> records = cursorReads();
    return std::all_of(records.begin(), records.end(), [total](int32_t r) { return r >= 1 && r <= total; });
  }

  void press(frmDataShow& window, Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(window.grdList, key);
  }

  // F7 on a row of the window; inside the search window `choose` sets the
  // condition and presses F1 or F2. A window still open once its search has
  // ended (no match) is cancelled. Answers the message's first line.
  QString searchOnRow(frmDataShow& window, int row, const std::function<void(DataSearchForm&)>& choose) {
    window.grdList->setCurrentCell(row - 1, 1);
    MessageCollector messages;
    QPointer<DataSearchForm> open;
    answerNextModal([&](QWidget* modal) {
      open = qobject_cast<DataSearchForm*>(modal);
      if (!open) {
        modal->close();
        return;
      }
      choose(*open);
    });
    QTimer closer;
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, [&] {
      if (open && open->isLoaded() && !open->searching() && QApplication::activeModalWidget() == open) open->cancel();
    });
    closer.start();
    QTest::keyClick(window.grdList, Qt::Key_F7);
    return messages.keys.isEmpty() ? QString() : frmMessage::instance().labelStrings[1];
  }

 private slots:
  void init() {
    site = std::make_unique<SimulatedInstallation>();
    QVERIFY2(site->setUpError().isEmpty(), qPrintable(site->setUpError()));
    logged = std::make_unique<InstalledFake>();
    forwardCallsToLibrary(logged->fake, site->library());
    installProgramWindows();
    QVERIFY(startProgram(StartEnvironment{QDate(2024, 5, 1), site->lockFolder()}));
    owner = std::make_unique<DisplayWindowOwner>();
  }
  void cleanup() {
    if (owner) owner->closeWindows();
    owner.reset();
    if (catalogue) clearDataShowList(*catalogue);
    catalogue.reset();
    putWindowsAway();
    logged.reset();
    site.reset();
  }

  void zoomPagingAndTheMouseOverFiveSeconds() {
    auto window = replay(QStringLiteral("periodic-5s.das"));
    QVERIFY(window);
    QCOMPARE(screenOf(*window), QList<int32_t>({1, 121, 61}));
    press(*window, Qt::Key_F2);
    QCOMPARE(screenOf(*window), QList<int32_t>({1, 361, 61}));
    QVERIFY(!window->cmdSmall->isEnabled() && window->cmdLarge->isEnabled());  // 1800 s: the 5 s limit
    QCOMPARE(window->lblGraph[2]->text(), QStringLiteral("09:30:00"));
    saveScreenshot(*window, QStringLiteral("replay-zoomed-out"));
    press(*window, Qt::Key_F1);
    press(*window, Qt::Key_F4, 15);
    QCOMPARE(screenOf(*window), QList<int32_t>({901, 1000, 901}));
    QCOMPARE(window->graphSystemObj->graphNum, 100);
    QVERIFY(!window->cmdForward->isEnabled());
    QVERIFY2(window->lblDay->text().endsWith(QStringLiteral("2024/05/01 10:15:00")), qPrintable(window->lblDay->text()));
    saveScreenshot(*window, QStringLiteral("replay-paged"));
    press(*window, Qt::Key_F3);
    QCOMPARE(screenOf(*window), QList<int32_t>({841, 961, 901}));

    // A click on record 950's place in the graph puts the cursor there.
    const int x = window->picAnalog->contentsRect().left() + window->screen().recordX(950) / 15;
    QTest::mouseClick(window->picAnalog, Qt::LeftButton, {}, QPoint(x, 30));
    QCOMPARE(window->graphSystemObj->graphCusorNo, 950);
    QVERIFY(window->lblDay->text().endsWith(QStringLiteral("10:19:05")));
    const int row = rowNamed(*window, QStringLiteral("CompFreq"));
    QVERIFY(row > 0 && !Grid(*window->grdList).text(row - 1, 2).isEmpty());
    QVERIFY(readsInside(1000));
  }

  void triggerRecordingOnItsGridScreens() {
    auto window = replay(QStringLiteral("trigger-10s.das"));
    QVERIFY(window);
    QCOMPARE(screenOf(*window), QList<int32_t>({121, 181, 181}));
    QVERIFY(window->lblDay->text().startsWith(QStringLiteral("Play trig. rcd data: ")));
    press(*window, Qt::Key_F2);
    QCOMPARE(screenOf(*window), QList<int32_t>({1, 181, 181}));
    QVERIFY(window->linTriggerAnalog->isVisibleTo(window->picAnalog));
    window->moveCusor(360);
    QCOMPARE(screenOf(*window), QList<int32_t>({181, 361, 360}));
    window->moveCusor(362);
    QCOMPARE(screenOf(*window), QList<int32_t>({361, 541, 362}));
    QVERIFY(!window->linTriggerAnalog->isVisibleTo(window->picAnalog));
    press(*window, Qt::Key_F2, 2);  // 3600 s, then 10 s allows no more
    QCOMPARE(window->graphSystemObj->graphScale, 3600);
    QVERIFY(!window->cmdSmall->isEnabled());
    QVERIFY(readsInside(721));
  }

  void longIntervalsPageToTheEnds() {
    // 120 s: the odd span pages back to record 1, never before it.
    auto window = replay(QStringLiteral("periodic-120s.das"));
    QVERIFY(window);
    QVERIFY(!window->cmdLarge->isEnabled());
    window->moveCusor(8);
    QCOMPARE(screenOf(*window), QList<int32_t>({6, 11, 8}));
    const QList<QList<int32_t>> back = {{4, 9, 8}, {2, 7, 6}, {1, 6, 6}};
    for (const QList<int32_t>& expected : back) {
      press(*window, Qt::Key_F3);
      QCOMPARE(screenOf(*window), expected);
    }
    QVERIFY(!window->cmdBackward->isEnabled());
    QVERIFY(readsInside(100));

    // 600 s: one interval a screen; on the last record back shows the last
    // two, and forward is disabled.
    window = replay(QStringLiteral("periodic-600s.das"));
    QVERIFY(window);
    window->moveCusor(50);
    QCOMPARE(screenOf(*window), QList<int32_t>({50, 50, 50}));
    press(*window, Qt::Key_F3);
    QCOMPARE(screenOf(*window), QList<int32_t>({49, 50, 49}));
    QVERIFY(!window->cmdForward->isEnabled());
    press(*window, Qt::Key_F4);
    press(*window, Qt::Key_Right, 3);
    QCOMPARE(screenOf(*window), QList<int32_t>({49, 50, 50}));
    QVERIFY(readsInside(50));
  }

  void detailWindowOfAReplay() {
    auto window = replay(QStringLiteral("periodic-5s.das"));
    QVERIFY(window);
    press(*window, Qt::Key_D);
    QCOMPARE(window->detailForms.count(), 1);
    const std::shared_ptr<frmDataShow2> detail = window->detailForms.item(1);
    QCOMPARE(detail->grd->rowCount(), 121);
    QCOMPARE(detail->start->text(), QStringLiteral("09:00:00 - 09:10:00"));
    QVERIFY(detail->grd->columnCount() > 2);
    // Each column holds the texts the cursor reads give for its records.
    const DetailColumn first = detail->columnItems().front();
    const ItemSource source{1, window->customDir, window->fileNumber, 1, first.unitKind, first.unitNumber};
    for (const int32_t record : {1, 61, 121}) {
      const QString cell = Grid(*detail->grd).text(record - 1, 1);
      QVERIFY(!cell.isEmpty());
      QCOMPARE(cell, TramsollClient().cursorData(source, first.dataItemNo, record).valueText.left(9));
    }
    saveScreenshot(*detail, QStringLiteral("replay-detail"));
  }

  void searchesOverTheRecording() {
    auto window = replay(QStringLiteral("periodic-30s.das"));
    QVERIFY(window);
    QCOMPARE(screenOf(*window), QList<int32_t>({1, 10, 10}));
    const int frequency = rowNamed(*window, QStringLiteral("CompFreq"));
    const int error = rowNamed(*window, QStringLiteral("Error"));
    QVERIFY(frequency > 0 && error > 0);
    const auto analog = [](int option, const char* limit, Qt::Key key) {
      return [=](DataSearchForm&) {
        frmSearchAnalog& search = frmSearchAnalog::instance();
        search.optAnalog[std::size_t(option)]->setChecked(true);
        if (option < 2) (option == 0 ? search.txtUpValue : search.txtDownValue)->setText(QString::fromLatin1(limit));
        QTest::keyClick(search.txtUpValue, key);
      };
    };
    struct Case {
      const char* picture;
      int option;  // -1 the error-code search
      const char* limit;
      Qt::Key key;
      int32_t cursorBefore, cursorAfter;
      const char* message;
    };
    const Case cases[] = {
        {"replay-search-maximum", 2, "", Qt::Key_F1, 10, 4, ""},
        {"replay-search-maximum-next", 2, "", Qt::Key_F2, 4, 6, ""},
        {"replay-search-maximum-wrapped", 2, "", Qt::Key_F2, 6, 4, ""},
        {"replay-search-minimum", 3, "", Qt::Key_F1, 4, 7, ""},
        {"replay-search-at-or-below", 1, "4.5", Qt::Key_F2, 10, 5, ""},
        {"replay-search-no-match", 0, "10", Qt::Key_F1, 5, 5, "No corresponding data."},
        {"replay-search-error-code", -1, "", Qt::Key_F2, 3, 5, ""},
        {"replay-search-error-code-wrapped", -1, "", Qt::Key_F2, 5, 3, ""},
    };
    for (const Case& c : cases) {
      if (window->graphSystemObj->graphCusorNo != c.cursorBefore) window->moveCusor(c.cursorBefore);
      const auto choose = c.option >= 0 ? std::function<void(DataSearchForm&)>(analog(c.option, c.limit, c.key))
                                        : [key = c.key](DataSearchForm& search) {
                                            QTest::keyClick(search.cmdSearchNext, key);
                                          };
      const QString message = searchOnRow(*window, c.option >= 0 ? frequency : error, choose);
      QVERIFY2(message == QLatin1String(c.message), c.picture);
      QVERIFY2(window->graphSystemObj->graphCusorNo == c.cursorAfter,
               c.picture + QByteArray(": ") + QByteArray::number(window->graphSystemObj->graphCusorNo));
      saveScreenshot(*window, QLatin1String(c.picture));
    }
    // The maximum and minimum came from one pass over the file; the search
    // on the error row forgot them.
    QCOMPARE(logged->fake.callsOf(QStringLiteral("setMinMaxSrch")).size(), 1);
    QVERIFY(!window->flagSearchMinMax && window->searchMaxValue == 0);
    QVERIFY(readsInside(10));
  }

  void aRecordingWithoutRecords() {
    auto window = replay(QStringLiteral("empty.das"));
    QVERIFY(window);
    QCOMPARE(screenOf(*window), QList<int32_t>({1, 0, 0}));
    // F7 opens the search window even here (its search finds nothing).
    for (const Qt::Key key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6}) {
      press(*window, key);
    }
    QTest::mouseClick(window->picAnalog, Qt::LeftButton, {}, QPoint(100, 30));
    QCOMPARE(screenOf(*window), QList<int32_t>({1, 0, 0}));
    press(*window, Qt::Key_D);
    QCOMPARE(window->detailForms.item(1)->grd->rowCount(), 0);
    QVERIFY(cursorReads().isEmpty());
    QVERIFY(logged->fake.callsOf(QStringLiteral("setDataSrch")).isEmpty());
  }
};

QTEST_MAIN(ReplayOverLibraryTest)
#include "replay_over_library_test.moc"
