// The event guard across several windows, and the keyed collection it keeps
// its records in.
#include "frame/event_manager.h"
#include "types/Collection.h"

#include <QtTest>

namespace {

const QString kShow = QStringLiteral("frmDataShow");
const QString kMap = QStringLiteral("frmMap");

}  // namespace

class EventManagerTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { releaseEventManager(); }

  void unregisteredWindowMayOnlyLoad() {
    EventManager& guard = eventManager();
    QVERIFY(guard.askEvent(kShow, 1, 0, kLoadEvent));
    QVERIFY(!guard.askEvent(kShow, 1, 0, kUserEvent));
    QVERIFY(!guard.askEvent(kShow, 1, 0, kTimerEvent));
    QVERIFY(!guard.askEvent(kShow, 1, 0, kCloseEvent));
    QVERIFY(guard.askEvent(kShow, 1, 0, 9));
    QVERIFY(!guard.askClose(kShow, 1, 0));
    // Only a load event registers a window.
    guard.setEvent(kShow, 1, 0, kUserEvent);
    QCOMPARE(guard.eventForms.count(), 0);
  }

  void aLoadingWindowHoldsBackTheOthers() {
    EventManager& guard = eventManager();
    guard.setEvent(kMap, 0, 0, kLoadEvent);
    guard.clearEvent(kMap, 0, 0, kLoadEvent);
    QVERIFY(guard.askEvent(kMap, 0, 0, kTimerEvent));
    QVERIFY(guard.askEvent(kMap, 0, 0, kUserEvent));

    guard.setEvent(kShow, 2, 1, kLoadEvent);  // a second window starts loading
    QVERIFY(!guard.askEvent(kMap, 0, 0, kTimerEvent));
    QVERIFY(!guard.askEvent(kMap, 0, 0, kUserEvent));
    QVERIFY(!guard.askEvent(kShow, 2, 1, kLoadEvent));
    QVERIFY(guard.askEvent(kShow, 3, 1, kLoadEvent));  // another number is another window
    QVERIFY(guard.askEvent(QStringLiteral("FRMMAP"), 0, 0, kLoadEvent));  // names compare exactly

    guard.clearEvent(kShow, 2, 1, kLoadEvent);
    QVERIFY(guard.askEvent(kMap, 0, 0, kTimerEvent));
    // A user command anywhere holds back every timer, not other commands.
    guard.setEvent(kShow, 2, 1, kUserEvent);
    QVERIFY(!guard.askEvent(kMap, 0, 0, kTimerEvent));
    QVERIFY(guard.askEvent(kMap, 0, 0, kUserEvent));
    QVERIFY(!guard.askEvent(kShow, 2, 1, kUserEvent));
    guard.clearEvent(kShow, 2, 1, kUserEvent);
    // A running timer holds back the window's own commands.
    guard.setEvent(kMap, 0, 0, kTimerEvent);
    QVERIFY(!guard.askEvent(kMap, 0, 0, kUserEvent));
    QVERIFY(guard.askEvent(kShow, 2, 1, kUserEvent));
  }

  void closingWindowTakesNoMoreEvents() {
    EventManager& guard = eventManager();
    guard.setEvent(kShow, 1, 0, kLoadEvent);
    guard.clearEvent(kShow, 1, 0, kLoadEvent);
    QVERIFY(guard.askClose(kShow, 1, 0));
    guard.setEvent(kShow, 1, 0, kCloseEvent);
    QVERIFY(!guard.askClose(kShow, 1, 0));
    QVERIFY(!guard.askEvent(kShow, 1, 0, kUserEvent));
    QVERIFY(!guard.askEvent(kShow, 1, 0, kLoadEvent));
    QVERIFY(guard.askEvent(kShow, 1, 0, kCloseEvent));
    guard.clearEvent(kShow, 1, 0, kCloseEvent);
    QVERIFY(!guard.askEvent(kShow, 1, 0, kCloseEvent));
    QCOMPARE(guard.eventForms.count(), 0);
  }

  void identityNumbersFollowTheHighestRecord() {
    EventManager& guard = eventManager();
    for (int32_t n = 1; n <= 3; ++n) guard.setEvent(kShow, n, 0, kLoadEvent);
    QCOMPARE(guard.eventForms.item(QStringLiteral("3"))->formNumber, 3);
    guard.clearEvent(kShow, 3, 0, kCloseEvent);
    guard.setEvent(kShow, 4, 0, kLoadEvent);
    QCOMPARE(guard.eventForms.item(QStringLiteral("3"))->formNumber, 4);  // 3 given again

    guard.clearEvent(kShow, 2, 0, kCloseEvent);
    guard.setEvent(kShow, 5, 0, kLoadEvent);
    QCOMPARE(guard.eventForms.item(QStringLiteral("4"))->formNumber, 5);  // not 2 again

    guard.deleteAllEventForms();
    QCOMPARE(guard.eventForms.count(), 0);
  }

  void collectionKeepsOrderPositionsAndKeys() {
    Collection<QString> texts;
    QVERIFY(texts.add(std::make_shared<QString>(QStringLiteral("a")), QStringLiteral("10")));
    QVERIFY(texts.add(std::make_shared<QString>(QStringLiteral("b"))));
    QVERIFY(texts.add(std::make_shared<QString>(QStringLiteral("c")), QStringLiteral("30")));
    QVERIFY(!texts.add(std::make_shared<QString>(QStringLiteral("d")), QStringLiteral("10")));
    QCOMPARE(texts.count(), 3);
    QCOMPARE(*texts.item(1), QStringLiteral("a"));
    QCOMPARE(texts.item(0), nullptr);
    QCOMPARE(texts.item(4), nullptr);
    QCOMPARE(texts.item(QStringLiteral("20")), nullptr);
    QCOMPARE(texts.keyAt(2), QString());
    QVERIFY(texts.remove(QStringLiteral("10")));
    QCOMPARE(*texts.item(1), QStringLiteral("b"));  // positions close up
    QCOMPARE(texts.positionOf(QStringLiteral("30")), 2);
    QVERIFY(texts.add(std::make_shared<QString>(QStringLiteral("e")), QStringLiteral("10")));  // key free again
    QStringList order;
    for (const auto& text : texts) order << *text;
    QCOMPARE(order, (QStringList{"b", "c", "e"}));
  }
};

QTEST_MAIN(EventManagerTest)
#include "event_manager_test.moc"
