// The control-parameter change over the fake library: which selections of
// the map lead to the password, the password itself, the boxes of the change
// window as its one number reader takes them, and the setting with its
// read-back five seconds later.
#include "frame/dialogs/frmMessage.h"
#include "frame/number_box.h"
#include "frame/program_values.h"
#include "map/frmCertify.h"
#include "map/frmDataChange.h"
#include "map/frmDataChangeConfirm.h"
#include "map/frmMap.h"
#include "map/map_builder.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <map>

namespace {

constexpr int32_t kZubrel = 42;

// System 1 of one outdoor unit and two indoor units, system 2 of three
// outdoor units (zubrel 41, 42, 0) and one indoor unit.
std::shared_ptr<MapQ7net> busMap() {
  auto map = std::make_shared<MapQ7net>(mapOf({{1, 2}, {3, 1}}, 1));
  map->ifMode = 2;
  const auto& outdoor = map->systems.item(2)->airconsOut;
  for (int n = 1; n <= 3; ++n) outdoor.item(n)->zubrelAddress = (n == 3) ? 0 : 40 + n;
  return map;
}

frmMap& openMap() {
  program().workMode = kWorkRecording;
  frmMap& window = frmMap::instance();
  inside(window).mapQ7netObj = inside(window).newMapQ7netObj = busMap();
  window.showForm();
  inside(window).tmrForExecTramsoll->stop();
  inside(window).tmrForRefreshMap->stop();
  return window;
}

// The map's place: system kind and number, page within the system, unit.
void select(frmMap& map, int32_t kind, int32_t system, int32_t page, int32_t unit) {
  MapShowManager& place = inside(map).mapShowManagerObj;
  std::tie(place.systemKindNow, place.systemNumberNow, place.systemPageNumberNow, place.airconNumberNow) =
      std::tuple(kind, system, page, unit);
}

// Answers the next modal window: a message is read and closed, a question
// answered with `yes`. What came is kept.
QTimer* answer(QString& came, bool yes = true) {
  return answerNextModal([&came, yes](QWidget* modal) {
    if (auto* box = qobject_cast<frmMessage*>(modal)) {
      came = box->messageKey;
      box->cmdOk->click();
    } else if (auto* question = qobject_cast<YesNoDialog*>(modal)) {
      came = QStringLiteral("question");
      (yes ? question->cmdOk : question->cmdCancel)->click();
    }
  });
}

}  // namespace

class ControlChangeTest : public ProgramTest {
  Q_OBJECT

  std::map<int32_t, int32_t> received;  // getAirconReceiveState by address

  // F9 in display mode: the password window is answered with the typed
  // passwords, one after the other, and the messages they brought.
  QStringList changeWithPasswords(frmMap& map, const QStringList& typed, QList<int>* depths = nullptr) {
    QStringList messages;
    answerNextModal([&](QWidget* modal) {
      auto* certify = qobject_cast<frmCertify*>(modal);
      if (!certify) {
        modal->close();
        return;
      }
      for (const QString& password : typed) {
        MessageCollector collector;
        certify->txtPassword->setText(password);
        QTest::keyClick(certify, Qt::Key_F1);
        messages << collector.keys;
        if (depths) *depths << program().dialogOpen.depth();
      }
      if (certify->isVisible()) QTest::keyClick(certify, Qt::Key_Escape);
    });
    QTest::keyClick(&map, Qt::Key_F4);
    QTest::keyClick(&map, Qt::Key_F9);
    return messages;
  }

 private slots:
  void init() {
    ProgramTest::init();
    received = {{kZubrel, 1}, {41, 0}};
    fake().on<decltype(::getAirconReceiveState)>("getAirconReceiveState", [this](int32_t address, int32_t* state) {
      *state = received.contains(address) ? received.at(address) : 0;
      return 0;
    });
    ProgramValues& values = program();
    values.controlChangeMode = 2;
    values.centralOperation = true;
    values.accessPassword = QStringLiteral("Abc123");
  }

  void onlyAnOutdoorUnitThatAnsweredLeadsToThePassword() {
    struct Case {
      const char* fault;
      int32_t kind, system, page, unit;
      bool certify;
      int broadcasts;  // over two F9
    };
    const Case cases[] = {
        {"an outdoor unit that answered", kOrdinarySystem, 2, 1, 2, true, 0},
        {"an indoor unit", kOrdinarySystem, 2, 1, 4, false, 0},
        {"an outdoor unit without zubrel address", kOrdinarySystem, 2, 1, 3, false, 0},
        {"a central page", kCentralSystem, 1, 1, 1, false, 0},
        {"no system of the page's number", kOrdinarySystem, 9, 1, 1, false, 0},
        {"a place past the first page", kOrdinarySystem, 2, 2, 2, false, 0},
        {"a unit that has not answered: every unit is asked once", kOrdinarySystem, 2, 1, 1, false, 1},
    };
    for (const Case& c : cases) {
      frmMap& map = openMap();
      select(map, c.kind, c.system, c.page, c.unit);
      fake().calls.clear();
      QString came;
      answer(came, false);
      QTest::keyClick(&map, Qt::Key_F4);
      QTest::keyClick(&map, Qt::Key_F9);
      QVERIFY2(came == (c.certify ? QStringLiteral("question") : QStringLiteral("6-7")), c.fault);
      answer(came, false);
      QTest::keyClick(&map, Qt::Key_F9);
      QVERIFY2(fake().callsOf(QStringLiteral("setAirconSendData")) ==
                   QStringList(c.broadcasts, QStringLiteral("setAirconSendData(230, 255, 0, 0, 0)")),
               c.fault);
      if (!c.certify && c.broadcasts == 0) {
        QVERIFY2(fake().callsOf(QStringLiteral("getAirconReceiveState")).isEmpty(), c.fault);
      }
      map.unload();
    }
  }

  void passwordMustMatchExactly() {
    struct Case {
      const char* fault;
      const char* stored;
      QStringList typed;
      QStringList messages;
      bool opened;
    };
    const QString refused = QStringLiteral("22-1");
    const Case cases[] = {
        {"letters of another case and a trailing blank are refused, the right one opens", "Abc123",
         {"abc123", "Abc123 ", "Abc123"}, {refused, refused}, true},
        {"an empty stored password refuses everything", "", {"", "Abc123"}, {refused, refused}, false},
    };
    for (const Case& c : cases) {
      program().accessPassword = QString::fromLatin1(c.stored);
      frmMap& map = openMap();
      select(map, kOrdinarySystem, 2, 1, 2);
      QList<int> depths;
      QVERIFY2(changeWithPasswords(map, c.typed, &depths) == c.messages, c.fault);
      // The message box gave back its own level only; the window kept its own
      // until it closed.
      const int refusals = static_cast<int>(c.messages.size());
      QVERIFY2(depths.mid(0, refusals) == QList<int>(refusals, 1), c.fault);
      QVERIFY2(!program().dialogOpen, c.fault);
      frmDataChange& change = frmDataChange::instance();
      QVERIFY2(change.isLoaded() == c.opened, c.fault);
      if (c.opened) {
        QCOMPARE(QStringList({change.txtZubrelAddress->text(), change.txtSetNo->text(), change.txtSetValue->text()}),
                 QStringList({"042", "0", "0"}));
        QVERIFY(change.txtZubrelAddress->isReadOnly());
      }
      map.unload();
    }
  }

  void boxesAreRoundedHalfToEvenBeforeTheirRangesAreChecked() {
    struct Case {
      const char* number;
      const char* value;
      QString outcome;  // the setting sent, or the message
    };
    const auto sent = [](int number, int value) {
      return QStringLiteral("setAirconSendData(232, 42, %1, %2, 0)").arg(number).arg(value);
    };
    const QString wrong = QStringLiteral("8-1");
    const Case cases[] = {
        {"255.4", "0", sent(255, 0)}, {" 0.5 ", "3.5", sent(0, 4)}, {"1e2", "6.5535E4", sent(100, 65535)},
        {"255.5", "0", wrong},        {"0", "65536", wrong},          {"-1", "0", wrong},
        {"", "0", wrong},             {"nan", "0", wrong},            {"0x10", "0", wrong},
        {"1", "inf", wrong},          {"1e", "0", wrong},             {"1,5", "0", wrong},
    };
    frmMap& map = openMap();
    select(map, kOrdinarySystem, 2, 1, 2);
    changeWithPasswords(map, {QStringLiteral("Abc123")});
    frmDataChange& change = frmDataChange::instance();
    for (const Case& c : cases) {
      change.txtSetNo->setText(QString::fromLatin1(c.number));
      change.txtSetValue->setText(QString::fromLatin1(c.value));
      fake().calls.clear();
      QString came;
      answer(came);
      QTest::keyClick(&change, Qt::Key_F1);
      const QStringList calls = fake().callsOf(QStringLiteral("setAirconSendData"));
      QVERIFY2((came == wrong ? came : calls.value(0)) == c.outcome, c.number);
    }
    // The reader of the recording set-up takes no exponent.
    QVERIFY(parseBoxNumber(QStringLiteral("1e2")) == std::nullopt);
    QVERIFY(parseBoxNumber(QStringLiteral("2.5e-1"), Exponent::Allowed) == 0);
    QVERIFY(parseBoxNumber(QStringLiteral("9e99999999999"), Exponent::Allowed) == INT64_MAX / 10 - 10);
  }

  void settingIsReadBackFiveSecondsLaterAndKeptForTheNextUnit() {
    frmMap& map = openMap();
    select(map, kOrdinarySystem, 2, 1, 2);
    changeWithPasswords(map, {QStringLiteral("Abc123")});
    frmDataChange& change = frmDataChange::instance();
    change.txtSetNo->setText(QStringLiteral("17"));
    change.txtSetValue->setText(QStringLiteral("2.5"));
    fake().calls.clear();
    QString came;
    answer(came);
    QTest::keyClick(&change, Qt::Key_F1);
    QCOMPARE(came, QStringLiteral("question"));
    QCOMPARE(fake().callsOf(QStringLiteral("setAirconSendData")),
             QStringList{QStringLiteral("setAirconSendData(232, 42, 17, 2, 0)")});
    QCOMPARE(change.txtSetValue->text(), QStringLiteral("2"));
    QVERIFY(inside(map).tmrForSendE6->isActive() && inside(map).tmrForSendE6->interval() == 5000);
    // The read-back goes to the change's unit also when its window closed.
    QTest::keyClick(&change, Qt::Key_Escape);
    QVERIFY(!change.isLoaded());
    inside(map).tmrForSendE6->setInterval(10);
    QVERIFY(QTest::qWaitFor([&] { return !inside(map).tmrForSendE6->isActive(); }, 2000));
    QCOMPARE(fake().callsOf(QStringLiteral("setAirconSendData")).value(1),
             QStringLiteral("setAirconSendData(230, 42, 0, 0, 0)"));
    // Refresh asks at once, whatever the boxes hold.
    received[41] = 1;
    select(map, kOrdinarySystem, 2, 1, 1);
    changeWithPasswords(map, {QStringLiteral("Abc123")});
    QCOMPARE(QStringList({change.txtZubrelAddress->text(), change.txtSetNo->text(), change.txtSetValue->text()}),
             QStringList({"041", "17", "2"}));
    fake().calls.clear();
    QTest::keyClick(&change, Qt::Key_F2);
    QCOMPARE(fake().calls, QStringList{QStringLiteral("setAirconSendData(230, 41, 0, 0, 0)")});
    // A setting that the settings do not allow is not sent; the boxes and
    // the read-back timer still follow.
    program().centralOperation = false;
    fake().calls.clear();
    answer(came);
    QTest::keyClick(&change, Qt::Key_F1);
    QVERIFY(fake().calls.isEmpty() && inside(map).tmrForSendE6->isActive());
  }
};

QTEST_MAIN(ControlChangeTest)
#include "control_change_test.moc"
