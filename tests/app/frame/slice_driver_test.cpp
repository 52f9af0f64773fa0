// Sliced jobs run from a timer: the library's answers turned into progress
// and outcomes, a Cancel that lets no slice start after it while the window
// keeps answering, and an end of the program that cancels the jobs and waits
// for a slice in progress.
#include "frame/program_end.h"
#include "frame/slice_driver.h"
#include "frame/sliced_library_jobs.h"
#include "support/program_fixture.h"

#include <QEventLoop>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <deque>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;

// One answer of a sliced export: its result and its one output.
struct Answer {
  int32_t result;
  int32_t out;
};

// Scripts a sliced export (int32_t name(int32_t*)) to give these answers in
// turn, the last one for ever after.
void script(FakeTramsoll& fake, const char* name, std::deque<Answer> answers) {
  fake.on<int32_t(int32_t*)>(name, [answers](int32_t* out) mutable {
    const Answer answer = answers.front();
    if (answers.size() > 1) answers.pop_front();
    *out = answer.out;
    return answer.result;
  });
}

// What a driver told: the progress values and the one end.
struct Watched {
  explicit Watched(SliceDriver& driver) {
    QObject::connect(&driver, &SliceDriver::progressChanged, [this](int percent) { progress << percent; });
    QObject::connect(&driver, &SliceDriver::ended, [this](SliceOutcome outcome, int32_t value) {
      ++ends;
      this->outcome = outcome;
      this->value = value;
    });
  }
  bool waitForEnd(int ms = 30000) const { return QTest::qWaitFor([this] { return ends > 0; }, ms); }

  QList<int> progress;
  int ends = 0;
  std::optional<SliceOutcome> outcome;
  int32_t value = -1;
};

}  // namespace

class SliceDriverTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { putWindowsAway(); }

  void libraryAnswersBecomeProgressAndOutcome() {
    struct Case {
      const char* what;
      const char* exportName;
      SliceDriver::Slice (*slices)();
      std::deque<Answer> answers;
      SliceOutcome outcome;
      int32_t value;
      QList<int> progress;
    };
    const auto finished = SliceOutcome::Finished, failed = SliceOutcome::Failed;
    const Case cases[] = {
        {"CSV runs to its end", "execCsvOut", csvConversionSlices, {{1, 30}, {1, 60}, {0, 100}}, finished, 0,
         {30, 60, 100}},
        {"CSV write failure stops with its answer", "execCsvOut", csvConversionSlices, {{1, 10}, {3, 10}}, failed, 3,
         {10}},
        {"CSV without its file list", "execCsvOut", csvConversionSlices, {{2, 0}}, failed, 2, {}},
        {"min/max pass", "execMinMaxSrch", minMaxSearchSlices, {{1, 50}, {0, 100}}, finished, 0, {50, 100}},
        {"value found", "execDataSrch", dataSearchSlices, {{2, 5}, {2, 9}, {0, 17}}, finished, 17, {100}},
        {"no value matches", "execDataSrch", dataSearchSlices, {{2, 5}, {1, 0}}, finished, 0, {100}},
        {"an unknown search answer is no miss", "execDataSrch", dataSearchSlices, {{2, 5}, {3, 0}}, failed, 3, {}},
    };
    for (const Case& c : cases) {
      InstalledFake library;
      script(library.fake, c.exportName, c.answers);
      SliceDriver driver;
      Watched watched(driver);
      QVERIFY(driver.start(c.slices()));
      QVERIFY2(watched.waitForEnd(), c.what);
      QVERIFY2(watched.ends == 1 && watched.outcome == c.outcome && watched.value == c.value, c.what);
      QVERIFY2(watched.progress == c.progress, c.what);
      // No call after the one that ended the job.
      QVERIFY2(library.fake.callsOf(QString::fromLatin1(c.exportName)).size() == qsizetype(c.answers.size()), c.what);
      QVERIFY(!sliceJobsRunning());
    }
  }

  void cancelStopsTheNextSliceAndTheWindowKeepsAnswering() {
    SliceDriver driver;
    Watched watched(driver);
    int slices = 0;
    // Slow slices that would never end by themselves.
    QVERIFY(driver.start([&slices] {
      ++slices;
      std::this_thread::sleep_for(5ms);
      return SliceStep::more(slices % 100);
    }));
    QVERIFY(!driver.start([] { return SliceStep::finished(); }));  // one job at a time

    // Window events (a repaint, a key) keep coming while the job runs: the
    // fifth presses Cancel. Between two of them run no more slices than
    // fit into the driver's budget (each slice takes at least 5 ms however
    // busy the machine is).
    int windowEvents = 0;
    int slicesAtEvent = 0;
    int mostSlicesBetweenEvents = 0;
    int slicesAtCancel = -1;
    QTimer window;
    window.setInterval(10);
    connect(&window, &QTimer::timeout, [&] {
      ++windowEvents;
      mostSlicesBetweenEvents = std::max(mostSlicesBetweenEvents, slices - slicesAtEvent);
      slicesAtEvent = slices;
      if (windowEvents != 5) return;
      slicesAtCancel = slices;
      driver.cancel();
    });
    window.start();
    QVERIFY(watched.waitForEnd());
    QCOMPARE(*watched.outcome, SliceOutcome::Cancelled);
    // The press came on time although slices were running, and took hold
    // at once.
    QVERIFY2(mostSlicesBetweenEvents <= 2 * (SliceDriver::kBudgetMs / 5 + 1),
             qPrintable(QString::number(mostSlicesBetweenEvents)));
    QTest::qWait(50);
    QCOMPARE(slices, slicesAtCancel);
    QCOMPARE(watched.ends, 1);
    QVERIFY(!sliceJobsRunning());
  }

  void endOfProgramCancelsJobsAndWaitsForASliceInProgress() {
    ProgramFixture world;
    QVERIFY(startProgram(world.environment()));
    SliceDriver idle, asking;
    Watched idleWatched(idle), askingWatched(asking);
    QVERIFY(idle.start([] { return SliceStep::more(1); }));
    bool endedDuringSlice = true;
    int askingSlices = 0;
    // A slice that shows a question waits in an event loop, where the job's
    // timer fires too: no second slice may start inside it.
    QVERIFY(asking.start([&] {
      ++askingSlices;
      QEventLoop question;
      QTimer::singleShot(20, &question, [&] {
        prepareEndOfApp();
        // The job without a slice in progress stops at once; the other
        // keeps the program until its slice returns.
        QCOMPARE(idleWatched.ends, 1);
        QVERIFY(sliceJobsRunning());
        tmrForEndApp_Timer();
        endedDuringSlice = programHasEnded();
        question.quit();
      });
      question.exec();
      return SliceStep::more(50);
    }));
    QVERIFY(askingWatched.waitForEnd());
    QCOMPARE(askingSlices, 1);
    QVERIFY(!endedDuringSlice);
    QCOMPARE(*idleWatched.outcome, SliceOutcome::Cancelled);
    QCOMPARE(*askingWatched.outcome, SliceOutcome::Cancelled);
    QVERIFY(!sliceJobsRunning());
    tmrForEndApp_Timer();
    QVERIFY(programHasEnded());
  }
};

QTEST_MAIN(SliceDriverTest)
#include "slice_driver_test.moc"
