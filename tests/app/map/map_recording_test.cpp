// The map window's periodic and trigger recordings over the fake library:
// what a start hands to the library and in which order, the control-data
// request of the first start, the stop after the set minutes, the starts that
// must not happen (files an answer keeps, a folder the library cannot take,
// a start the library refuses), and the systems the library cannot number.
#include "frame/dialogs/frmMessage.h"
#include "frame/site/site_files.h"
#include "map/map_builder.h"
#include "map/map_recording.h"
#include "map/open_map.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <string>

namespace {

// The systems a selection names, by library number.
QList<int> chosen(const int32_t* selection) {
  QList<int> systems;
  for (std::size_t i = 0; i < kSystemSelectionSize; ++i) {
    if (selection[i] != 0) systems << static_cast<int>(i) + 1;
  }
  return systems;
}

// The names of the calls, without their arguments.
QStringList names(const QStringList& calls) {
  QStringList found;
  for (const QString& call : calls) found << call.section(QLatin1Char('('), 0, 0);
  return found;
}

QStringList repeated(const char* name, int times) { return QStringList(times, QLatin1String(name)); }

// A map whose ordinary and central systems are marked as the words say,
// one character a system: "1" marked, "0" not.
std::shared_ptr<MapQ7net> markedMap(const char* ordinary, const char* central, bool trigger) {
  MapBuilder built;
  for (const char* mark = ordinary; *mark; ++mark) built.ordinary(1, 0);
  built.central(static_cast<int>(std::strlen(central)));
  auto map = std::make_shared<MapQ7net>(built.map);
  const auto setMarks = [trigger](Collection<MapSystem>& systems, const char* marks) {
    for (int n = 1; n <= systems.count(); ++n) {
      (trigger ? systems.item(n)->recodeTrigger : systems.item(n)->recode) = marks[n - 1] == '1' ? 1 : 0;
    }
  };
  setMarks(map->systems, ordinary);
  setMarks(map->systemsCen, central);
  map->ifMode = 2;
  return map;
}

// Answers the one modal window a road shows: a question with `answer`, a
// message with OK; keeps what either said.
class ModalAnswer {
 public:
  explicit ModalAnswer(QMessageBox::StandardButton answer) {
    watch_ = answerNextModal([this, answer](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        question = box->text();
        box->button(answer)->click();
      } else if (auto* message = qobject_cast<frmMessage*>(modal)) {
        lines = QStringList(message->labelStrings.begin(), message->labelStrings.end());
        message->cmdOk->click();
      } else {
        modal->close();
      }
    });
  }
  ~ModalAnswer() { delete watch_; }
  QString question;
  QStringList lines;

 private:
  QPointer<QTimer> watch_;
};

}  // namespace

class MapRecordingTest : public ProgramTest {
  Q_OBJECT

  // The selections of the starts (action 1) and stops (action 0), and what
  // a start answers.
  QList<QList<int>> starts, stops;
  int32_t startAnswer = 0;

 private slots:
  void init() {
    ProgramTest::init();
    clearCustomerInfo();
    program().controlChangeMode = 1;
    program().centralOperation = true;
    starts.clear();
    stops.clear();
    startAnswer = 0;
    fake().on<decltype(::saveConstData)>("saveConstData", [this](int32_t action, int32_t* selection, int32_t) {
      (action == 1 ? starts : stops) << chosen(selection);
      return action == 1 ? startAnswer : 0;
    });
    fake().on<decltype(::saveTrigData)>("saveTrigData",
                                        [this](int32_t action, int32_t, int32_t) { return action == 1 ? startAnswer : 0; });
  }
  void cleanup() {
    ProgramTest::cleanup();
  }

  void periodicStartHandsTheMapToTheLibraryThenTheMarkedSystems() {
    currentCustomer().id = QStringLiteral("C07");
    // Systems 1 and 2 of an outdoor and an indoor unit, and of an outdoor
    // unit; central system 1, which the library numbers 3.
    auto map = std::make_shared<MapQ7net>(mapOf({{1, 1}, {1, 0}}, 1));
    map->ifMode = 3;
    frmMap& window = openMap(map);
    map->recodeMethod = 1;
    map->recodeTime = 3;
    map->systems.item(1)->recode = 1;
    map->systemsCen.item(1)->recode = 1;
    QTest::keyClick(&window, Qt::Key_F5);
    fake().calls.clear();
    window.startRecode();
    const QStringList expected = QStringList{QStringLiteral("setFileHeader")} + repeated("getSensorSwPos", 1) +
                                 repeated("setSensorParm", 8) + repeated("setNetMapInfo", 4) +
                                 QStringList{QStringLiteral("saveConstData"), QStringLiteral("setAirconSendData")};
    QCOMPARE(names(fake().calls), expected);
    QVERIFY(fake().calls.first().startsWith(QStringLiteral("setFileHeader(\"C07\"")));
    QCOMPARE(fake().callsOf(QStringLiteral("saveConstData")), QStringList{QStringLiteral("saveConstData(1, *, 20)")});
    QCOMPARE(fake().callsOf(QStringLiteral("setAirconSendData")),
             QStringList{QStringLiteral("setAirconSendData(230, 255, 0, 0, 0)")});
    QCOMPARE(starts, QList<QList<int>>{(QList<int>{1, 3})});
    QVERIFY(window.isRecordingPeriodic() && inside(window).tmrForRecode->isActive());
    QCOMPARE(inside(window).cmdMode[1]->text(), QStringLiteral("Period. rcd end (F7)"));

    // The control data is asked for at the first start of the map only.
    window.stopRecode();
    fake().calls.clear();
    window.startRecode();
    QVERIFY(fake().callsOf(QStringLiteral("setAirconSendData")).isEmpty());

    // The third minute stops it, with a selection of nothing.
    stops.clear();
    fake().calls.clear();
    window.tmrForRecode_Timer();
    window.tmrForRecode_Timer();
    QVERIFY(window.isRecordingPeriodic() && fake().calls.isEmpty());
    window.tmrForRecode_Timer();
    QCOMPARE(fake().callsOf(QStringLiteral("saveConstData")), QStringList{QStringLiteral("saveConstData(0, *, 20)")});
    QCOMPARE(stops, QList<QList<int>>{QList<int>{}});
    QVERIFY(!window.isRecordingPeriodic() && !inside(window).tmrForRecode->isActive());
    QCOMPARE(inside(window).cmdMode[1]->text(), QStringLiteral("Period. rcd start (F7)"));
  }

  void sensorOnlyMapRecordsSystemOneWhateverItsSystemsSay() {
    auto map = std::make_shared<MapQ7net>();
    map->ifMode = 1;
    frmMap& window = openMap(map);
    fake().calls.clear();
    window.startRecode();
    QCOMPARE(starts, QList<QList<int>>{QList<int>{1}});
    QCOMPARE(fake().callsOf(QStringLiteral("setNetMapInfo")),
             QStringList{QStringLiteral("setNetMapInfo(200, 0, 1, 1, 1, -1, \" \", \" \", \" \")")});
    QVERIFY(fake().callsOf(QStringLiteral("setAirconSendData")).isEmpty());  // not a bus map
  }

  void triggerStartWatchesTheFirstMarkedSystem() {
    struct Case {
      const char* fault;
      const char* ordinary;
      const char* central;
      const char* start;
    };
    const Case cases[] = {
        {"only central system 2 marked follows the two ordinary ones", "00", "01", "saveTrigData(1, 4, 30)"},
        {"an ordinary mark goes before a central one", "01", "10", "saveTrigData(1, 2, 30)"},
        {"no mark watches system 1", "00", "00", "saveTrigData(1, 1, 30)"},
    };
    for (const Case& c : cases) {
      frmMap& window = openMap(markedMap(c.ordinary, c.central, true));
      giveTheModelOneCondition(inside(window).systemTriggerObj, 7);
      fake().calls.clear();
      window.startRecodeTrigger();
      // The conditions go after the units, which they name.
      const QStringList expected = QStringList{QStringLiteral("setFileHeader")} + repeated("setNetMapInfo", 4) +
                                   QStringList{QStringLiteral("setTrigCondition"), QStringLiteral("saveTrigData"),
                                               QStringLiteral("setAirconSendData")};
      QVERIFY2(names(fake().calls) == expected, c.fault);
      QVERIFY2(fake().callsOf(QStringLiteral("setTrigCondition")) == QStringList{"setTrigCondition(1, 0, 1, 7, 1, 2)"},
               c.fault);
      QVERIFY2(fake().callsOf(QStringLiteral("saveTrigData")) == QStringList{QLatin1String(c.start)}, c.fault);
      QVERIFY2(window.isRecordingTrigger() && !window.isTriggerMet(), c.fault);
      fake().calls.clear();
      window.stopRecodeTrigger();
      QVERIFY2(fake().calls == QStringList{QStringLiteral("saveTrigData(0, 0, 30)")}, c.fault);
      QVERIFY2(!window.isRecordingTrigger(), c.fault);
      window.unload();
    }
  }

  void startsThatMustNotHappenChangeNothing() {
    struct Case {
      const char* fault;
      QString customer;
      const char* earlierFile;
      bool trigger;
      QMessageBox::StandardButton answer;
      int32_t library;  // what the start answers
      bool asked;
      const char* message;  // the message's first two lines, joined
      bool reached;         // the library was called at all
      bool started;
    };
    const QString tooLong(1100, QLatin1Char('x'));
    const QString c07 = QStringLiteral("C07");
    const Case cases[] = {
        {"an earlier const2.das without a customer is asked about; No keeps it", {}, "const2.das", false,
         QMessageBox::No, 0, true, "", false, false},
        {"Yes lets the library replace it", {}, "CONST1.DAS", false, QMessageBox::Yes, 0, true, "", true, true},
        {"a customer's recording replaces nothing there", c07, "const1.das", false, QMessageBox::No, 0, false, "",
         true, true},
        {"another recording is none of them", {}, "central.das", false, QMessageBox::No, 0, false, "", true, true},
        {"an earlier trigger.das is asked about before a trigger start", {}, "trigger.das", true, QMessageBox::No, 0,
         true, "", false, false},
        {"a customer folder the library cannot take", tooLong, "", false, QMessageBox::No, 0, false,
         "Error No.:6-2|Operation data can not be recorded because Pelomar Vexa 5 Software", false, false},
        {"a file the library cannot make is told, not shown as recording", {}, "", false, QMessageBox::No, 4, false,
         "|The recording could not be started.", true, false},
        {"a trigger start the library refuses", {}, "", true, QMessageBox::No, 2, false,
         "|The recording could not be started.", true, false},
    };
    for (const Case& c : cases) {
      currentCustomer().id = c.customer;
      if (*c.earlierFile) world->folder.write(QLatin1String(c.earlierFile), "earlier");
      startAnswer = c.library;
      auto map = markedMap("1", "", c.trigger);
      frmMap& window = openMap(map);
      map->recodeMethod = 1;
      fake().calls.clear();
      {
        ModalAnswer answer(c.answer);
        c.trigger ? window.startRecodeTrigger() : window.startRecode();
        QVERIFY2(answer.question.isEmpty() != c.asked, c.fault);
        QVERIFY2(answer.lines.mid(0, 2).join(QLatin1Char('|')) == QLatin1String(c.message), c.fault);
      }
      const bool running = c.trigger ? window.isRecordingTrigger() : window.isRecordingPeriodic();
      QVERIFY2(running == c.started && inside(window).tmrForRecode->isActive() == (c.started && !c.trigger), c.fault);
      QVERIFY2(fake().calls.isEmpty() != c.reached, c.fault);
      if (*c.earlierFile) QVERIFY2(QFile::remove(world->folder.file(QLatin1String(c.earlierFile))), c.fault);
      window.stopRecodeAll();
      window.unload();
    }
  }

  void systemsTheLibraryCannotNumberAreLeftOut() {
    // 256 ordinary systems and a central one: the library numbers the
    // central system 257 and records 1..255 only.
    std::string ordinary(256, '0');
    ordinary[254] = ordinary[255] = '1';
    auto periodic = markedMap(ordinary.c_str(), "1", false);
    QCOMPARE(chosen(periodicSelection(*periodic).data()), QList<int>{255});
    ordinary[254] = '0';
    auto trigger = markedMap(ordinary.c_str(), "1", true);
    QCOMPARE(triggerSystemIndex(*trigger), 1);
  }
};

QTEST_MAIN(MapRecordingTest)
#include "map_recording_test.moc"
