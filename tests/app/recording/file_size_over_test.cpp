// The question before a recording that may not fit, and the map window's
// record key that checks the set-up and asks it: which answers start which
// recording, and a Yes that comes after the map was replaced or closed.
#include "recording/frmFileSizeOver.h"
#include "recording/frmRecode.h"
#include "recording_windows.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

// The recordings the library was asked to start.
QStringList startsTaken(const FakeTramsoll& fake) {
  QStringList starts;
  for (const QString& call : fake.calls) {
    if (call.startsWith("saveConstData(1,")) starts << "startRecode";
    if (call.startsWith("saveTrigData(1,")) starts << "startRecodeTrigger";
  }
  return starts;
}

}  // namespace

class FileSizeOverTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void onlyYesStartsTheRecordingItWasAskedFor() {
    const struct {
      const char* answer;
      int32_t idCalledFrom;
      std::function<void(frmFileSizeOver&)> give;
      QStringList starts;
    } cases[] = {
        {"Enter on the opening focus", 0, [](frmFileSizeOver& q) { QTest::keyClick(&q, Qt::Key_Return); }, {}},
        {"Esc", 0, [](frmFileSizeOver& q) { QTest::keyClick(&q, Qt::Key_Escape); }, {}},
        {"No", 0, [](frmFileSizeOver& q) { q.cmdCancel->click(); }, {}},
        {"F1", 0, [](frmFileSizeOver& q) { QTest::keyClick(&q, Qt::Key_F1); }, {"startRecode"}},
        {"Yes", 0, [](frmFileSizeOver& q) { q.cmdOk->click(); }, {"startRecode"}},
        {"F1 for a trigger recording", 1, [](frmFileSizeOver& q) { QTest::keyClick(&q, Qt::Key_F1); },
         {"startRecodeTrigger"}},
        {"Yes for nobody", 2, [](frmFileSizeOver& q) { q.cmdOk->click(); }, {}},
    };
    openMapWindow(makeMap("13"));
    for (const auto& c : cases) {
      fake().calls.clear();
      frmFileSizeOver& question = frmFileSizeOver::instance();
      question.idCalledFrom = c.idCalledFrom;
      bool noHadFocus = false;
      answerNextModal([&](QWidget* modal) {
        // Its opening focus is given once it is the active window.
        QTRY_VERIFY_WITH_TIMEOUT(modal->isActiveWindow(), 30000);
        noHadFocus = modal->focusWidget() == question.cmdCancel;
        QVERIFY(program().dialogOpen);
        c.give(question);
      });
      question.ask();
      QVERIFY2(noHadFocus && !question.isLoaded() && !program().dialogOpen, c.answer);
      QVERIFY2(startsTaken(fake()) == c.starts, c.answer);
    }
    QCOMPARE(frmFileSizeOver::instance().lbl1->text(), "Free hard disk area is insufficient.");
  }

  void yesStartsNothingOnceTheMapWasReplacedOrIsClosing() {
    const struct {
      const char* fault;
      std::function<void(frmMap&)> meanwhile;
    } cases[] = {
        {"the map replaced", [](frmMap& map) { inside(map).mapQ7netObj = makeMap("13"); }},
        {"the map closing", [](frmMap& map) { map.prepareForEndFormMap(); }},
        {"the map closed", [](frmMap&) { program().mapFormOpen = false; }},
    };
    for (const auto& c : cases) {
      frmMap& mapWindow = openMapWindow(makeMap("13"));
      fake().calls.clear();
      frmFileSizeOver& question = frmFileSizeOver::instance();
      question.idCalledFrom = frmFileSizeOver::kPeriodicRecording;
      answerNextModal([&](QWidget*) {
        c.meanwhile(mapWindow);
        question.cmdOk->click();
      });
      question.ask();
      QVERIFY2(startsTaken(fake()).isEmpty(), c.fault);
    }
  }

  void recordKeyChecksThenAsksOnlyWhenARecordingByTimeWouldNotFit() {
    const struct {
      const char* road;
      int32_t ifMode, method, minutes, freeKb;
      bool asked;
      QStringList messages;
      QStringList starts;
    } cases[] = {
        {"46,080 bytes fit into 45 KB", 2, 1, 30, 45, false, {}, {"startRecode"}},
        {"not into 44 KB: asked, Yes starts", 2, 1, 30, 44, true, {}, {"startRecode"}},
        {"by hand nothing is asked", 2, 0, 30, 0, false, {}, {"startRecode"}},
        {"a record time of 0 starts nothing", 2, 1, 0, 45, false, {"7-1"}, {}},
        {"a sensor-only map: 2,880 bytes into 2 KB", 1, 1, 30, 2, true, {}, {"startRecode"}},
        {"a sensor-only map without minutes", 1, 1, 0, 2, false, {"7-1"}, {}},
    };
    for (const auto& c : cases) {
      scriptLibrary(fake(), {{1, {1080, 500}}}, c.freeKb);
      auto map = makeMap("13");
      map->ifMode = c.ifMode;
      frmMap& mapWindow = openMapWindow(map, 20, c.method, c.minutes);
      QTest::keyClick(&mapWindow, Qt::Key_F5);
      fake().calls.clear();
      bool asked = false;
      const QPointer<QTimer> watch = answerNextModal([&](QWidget* modal) {
        auto* question = qobject_cast<frmFileSizeOver*>(modal);
        asked = question && question->idCalledFrom == frmFileSizeOver::kPeriodicRecording;
        if (question) question->cmdOk->click();
      });
      MessageCollector messages;
      QTest::keyClick(&mapWindow, Qt::Key_F7);
      delete watch.data();
      QVERIFY2(asked == c.asked && messages.keys == c.messages && startsTaken(fake()) == c.starts, c.road);
      // The periodic set-up's checks leave it loaded, never shown.
      QVERIFY2(!frmRecode::instance().isVisible(), c.road);
    }
  }
};

QTEST_MAIN(FileSizeOverTest)
#include "file_size_over_test.moc"
