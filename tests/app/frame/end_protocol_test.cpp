// The closing protocol: windows that take part in the end are asked, not
// reached into; and the owner of a set of display windows, whose windows
// leave it by themselves.
#include "display/display_window_owner.h"
#include "frame/dialogs/frmStopRecode.h"
#include "frame/end_participant.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/program_end.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// A window of some later kind that runs a recording and keeps windows open.
class RecordingWindow final : public ProgramEndParticipant {
 public:
  bool recordingRuns() const override { return recording; }
  void prepareForEnd() override {
    ++prepared;
    recording = false;
  }
  bool closed() const override { return windowsLeft == 0; }

  bool recording = false;
  int windowsLeft = 0;
  int prepared = 0;
};

std::shared_ptr<frmDataShow> replayWindow(int32_t number) {
  auto window = frmDataShow::create();
  window->formNumber = number;
  window->realtime = 0;
  window->customDir = QStringLiteral("C001");
  window->fileNumber = number;
  window->showForm();
  return window;
}

}  // namespace

class EndProtocolTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void cleanup() {
    DisplayWindowOwner::setFactory(nullptr);
    ProgramTest::cleanup();
  }

  void registeredRecordingIsAskedAboutAndOpenWindowsDelayTheEnd() {
    RecordingWindow later;
    later.recording = true;
    later.windowsLeft = 1;
    QString asked;
    answerNextModal([&asked](QWidget* modal) {
      auto* question = qobject_cast<frmStopRecode*>(modal);
      QVERIFY(question);
      asked = QString::number(question->idCalledFrom);
      question->cmdOk->click();
    });
    frmMain::instance().cmdEnd->click();
    QCOMPARE(asked, QStringLiteral("1"));
    QCOMPARE(later.prepared, 1);
    QVERIFY(!later.recording);

    // Its window still open: the end waits, and ends once it has closed.
    tmrForEndApp_Timer();
    QVERIFY(!programHasEnded());
    later.windowsLeft = 0;
    tmrForEndApp_Timer();
    QVERIFY(programHasEnded());
    QCOMPARE(later.prepared, 1);
  }

  void participantGoneBeforeTheEndIsNotAsked() {
    auto gone = std::make_unique<RecordingWindow>();
    gone->recording = true;
    gone.reset();
    frmMain::instance().cmdEnd->click();  // no question
    QVERIFY(!frmMdi::instance().isVisible());
    tmrForEndApp_Timer();
    QVERIFY(programHasEnded());
  }

  void secondPrepareForEndReleasesTheReplayFileOnce() {
    DisplayWindowOwner owner;
    auto window = replayWindow(2);
    QVERIFY(owner.add(window));
    owner.prepareForEnd();
    owner.prepareForEnd();
    window->prepareForEndFormDataShow();
    QCOMPARE(fake().callsOf(QStringLiteral("closeDataFile")), QStringList({QStringLiteral("closeDataFile(\"C001\", 2)")}));
    window->tmrForEnd_Timer();
    QVERIFY(owner.isEmpty());
    QVERIFY(!window->isLoaded());
  }

  void newWindowsTakeTheNextNumberAndKeysDoNotRepeat() {
    DisplayWindowOwner owner;
    QCOMPARE(owner.nextFormNumber(), 1);
    auto first = owner.newWindow();
    QCOMPARE(first->formNumber, 1);
    QVERIFY(owner.add(first));
    auto third = replayWindow(3);
    QVERIFY(owner.add(third));
    QCOMPARE(owner.nextFormNumber(), 4);  // not reused while a higher one is open
    auto again = replayWindow(3);
    QVERIFY(!owner.add(again));  // the key is taken
    QCOMPARE(owner.count(), 2);
    owner.removeFormDataShow(*again);  // the same number drops the held one
    QCOMPARE(owner.count(), 1);
    owner.removeFormDataShow(*third);  // no longer held: nothing changes
    owner.removeFormDataShow(*first);
    QCOMPARE(owner.nextFormNumber(), 1);

    // An owner that is ending takes no new window until it opens again.
    owner.prepareForEnd();
    QVERIFY(owner.flagForEnd());
    QVERIFY(!owner.add(owner.newWindow()));
    owner.clearFlagForEnd();
    QVERIFY(owner.add(owner.newWindow()));
  }

  void factoryCanBeReplaced() {
    int made = 0;
    DisplayWindowOwner::setFactory([&made] {
      ++made;
      auto window = frmDataShow::create();
      window->flagForEndOk = false;  // a window that never finishes drawing
      return window;
    });
    DisplayWindowOwner owner;
    auto window = owner.newWindow();
    QCOMPARE(made, 1);
    QVERIFY(!window->flagForEndOk);
    QCOMPARE(window->formNumber, 1);
  }

  void windowOutlivingItsOwnerClosesSafely() {
    auto window = replayWindow(5);
    {
      DisplayWindowOwner owner;
      QVERIFY(owner.add(window));
      owner.prepareForEnd();
    }
    window->tmrForEnd_Timer();  // the owner has gone: nothing to leave
    QVERIFY(!window->isLoaded());
  }

  void displayWindowGoneWithTheMainWindowIsNotDeletedTwice() {
    auto window = replayWindow(6);
    putWindowsAway();  // the main window and its MDI area go first
    window.reset();
  }
};

QTEST_MAIN(EndProtocolTest)
#include "end_protocol_test.moc"
