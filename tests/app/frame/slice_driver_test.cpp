// Sliced jobs run from a timer: the library's answers turned into progress
// and outcomes, a Cancel that lets no slice start after it while the window
// keeps answering, and an end of the program that waits for a slice in
// progress.
#include "frame/program_end.h"
#include "frame/slice_driver.h"
#include "frame/sliced_library_jobs.h"
#include "support/program_fixture.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QtTest>

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
  bool waitForEnd(int ms = 5000) const { return QTest::qWaitFor([this] { return ends > 0; }, ms); }

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

  void libraryAnswersBecomeProgressAndOutcome_data() {
    QTest::addColumn<QString>("job");
    QTest::addColumn<QList<int>>("answers");  // result, output, result, output, ...
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<int>>("progress");
    QTest::addColumn<int>("calls");
    const int finished = int(SliceOutcome::Finished), failed = int(SliceOutcome::Failed);
    QTest::newRow("CSV conversion runs to its end") << "csv" << QList<int>{1, 30, 1, 60, 0, 100} << finished << 0
                                                    << QList<int>{30, 60, 100} << 3;
    QTest::newRow("CSV write failure stops at once with its answer")
        << "csv" << QList<int>{1, 10, 3, 10} << failed << 3 << QList<int>{10} << 2;
    QTest::newRow("CSV without its file list fails") << "csv" << QList<int>{2, 0} << failed << 2 << QList<int>{} << 1;
    QTest::newRow("min/max search ends with its pass") << "minmax" << QList<int>{1, 50, 0, 100} << finished << 0
                                                       << QList<int>{50, 100} << 2;
    QTest::newRow("value search gives the record found")
        << "data" << QList<int>{2, 5, 2, 9, 0, 17} << finished << 17 << QList<int>{100} << 3;
    QTest::newRow("value search without a match gives no record")
        << "data" << QList<int>{2, 5, 1, 0} << finished << 0 << QList<int>{100} << 2;
  }
  void libraryAnswersBecomeProgressAndOutcome() {
    QFETCH(QString, job);
    QFETCH(QList<int>, answers);
    QFETCH(int, outcome);
    QFETCH(int, value);
    QFETCH(QList<int>, progress);
    QFETCH(int, calls);
    InstalledFake library;
    std::deque<Answer> scripted;
    for (qsizetype i = 0; i + 1 < answers.size(); i += 2) scripted.push_back({answers[i], answers[i + 1]});
    const char* exportName = job == "csv" ? "execCsvOut" : job == "minmax" ? "execMinMaxSrch" : "execDataSrch";
    script(library.fake, exportName, scripted);
    SliceDriver driver;
    Watched watched(driver);
    QVERIFY(driver.start(job == "csv" ? csvConversionSlices() : job == "minmax" ? minMaxSearchSlices()
                                                                                : dataSearchSlices()));
    QVERIFY(watched.waitForEnd());
    QCOMPARE(watched.ends, 1);
    QCOMPARE(int(*watched.outcome), outcome);
    QCOMPARE(watched.value, value);
    QCOMPARE(watched.progress, progress);
    QCOMPARE(library.fake.callsOf(QString::fromLatin1(exportName)).size(), calls);
    QVERIFY(!driver.isRunning());
    QVERIFY(!sliceJobsRunning());
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

    // Window events (a repaint, a key) keep coming while the job runs.
    int windowEvents = 0;
    QTimer window;
    window.setInterval(10);
    connect(&window, &QTimer::timeout, [&windowEvents] { ++windowEvents; });
    window.start();
    QElapsedTimer clock;
    clock.start();
    qint64 cancelledAt = -1;
    int slicesAtCancel = -1;
    QTimer::singleShot(200, &driver, [&] {
      cancelledAt = clock.elapsed();
      slicesAtCancel = slices;
      driver.cancel();
    });
    QVERIFY(watched.waitForEnd());
    QCOMPARE(*watched.outcome, SliceOutcome::Cancelled);
    // The press came on time although slices were running, and took hold
    // at once.
    QVERIFY2(cancelledAt < 200 + 100, qPrintable(QString::number(cancelledAt)));
    QVERIFY(windowEvents >= 5);
    QTest::qWait(50);
    QCOMPARE(slices, slicesAtCancel);
    QCOMPARE(watched.ends, 1);
    QVERIFY(!sliceJobsRunning());
  }

  void cancelAskedInsideASliceTakesHoldWhenItReturns() {
    SliceDriver driver;
    Watched watched(driver);
    int slices = 0;
    int nestedSlices = 0;
    // A slice that shows a question waits in an event loop; the timer that
    // drives the job fires there too and must not run a slice within it.
    QVERIFY(driver.start([&] {
      ++slices;
      if (slices == 2) {
        QEventLoop question;
        const int before = slices;
        QTimer::singleShot(60, &question, [&] {
          nestedSlices = slices - before;
          driver.cancel();
          QVERIFY(driver.isRunning());
          question.quit();
        });
        question.exec();
      }
      return SliceStep::more(slices);
    }));
    QVERIFY(watched.waitForEnd());
    QCOMPARE(nestedSlices, 0);
    QCOMPARE(slices, 2);
    QCOMPARE(*watched.outcome, SliceOutcome::Cancelled);
  }

  void endOfProgramCancelsJobsAndWaitsForASliceInProgress() {
    ProgramFixture world;
    QVERIFY(startProgram(world.environment()));
    SliceDriver idle, asking;
    Watched idleWatched(idle), askingWatched(asking);
    QVERIFY(idle.start([] { return SliceStep::more(1); }));
    bool endedDuringSlice = true;
    QVERIFY(asking.start([&] {
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
