// The keyed collection: insertion order, keys, and the cost of adding many
// keyed items counted in key operations.
#include "types/Collection.h"

#include <QtTest>

namespace {

// A key that counts every comparison and every hash made of it.
struct CountedKey {
  QString text;
  static inline qint64 operations = 0;

  bool isEmpty() const { return text.isEmpty(); }
  friend bool operator==(const CountedKey& a, const CountedKey& b) {
    ++operations;
    return a.text == b.text;
  }
  friend size_t qHash(const CountedKey& key, size_t seed = 0) {
    ++operations;
    return qHash(key.text, seed);
  }
};

CountedKey key(int n) { return {QString::number(n)}; }

}  // namespace

class CollectionTest : public QObject {
  Q_OBJECT

 private slots:
  void hundredThousandKeyedItemsCostAFewKeyOperationsEach() {
    constexpr int kItems = 100000;
    Collection<int, CountedKey> items;
    CountedKey::operations = 0;
    for (int n = 1; n <= kItems; ++n) QVERIFY(items.add(std::make_shared<int>(n), key(n)));
    QVERIFY(!items.add(std::make_shared<int>(0), key(kItems / 2)));
    QVERIFY(items.add(std::make_shared<int>(-1)));
    for (int n = 1; n <= kItems; n += 997) QCOMPARE(items.positionOf(key(n)), n);
    QVERIFY2(CountedKey::operations < 10 * kItems, qPrintable(QString::number(CountedKey::operations)));

    // The order stays that of adding; removing moves the later ones up.
    QCOMPARE(items.count(), kItems + 1);
    QCOMPARE(*items.item(kItems + 1), -1);
    QVERIFY(items.remove(key(3)));
    QCOMPARE(*items.item(3), 4);
    QCOMPARE(items.positionOf(key(kItems)), kItems - 1);
    QCOMPARE(items.keyAt(3).text, QStringLiteral("4"));
    QVERIFY(!items.contains(key(3)));
    QVERIFY(items.add(std::make_shared<int>(3), key(3)));
    QCOMPARE(items.positionOf(key(3)), kItems + 1);
    items.clear();
    QVERIFY(!items.contains(key(1)));
  }
};

QTEST_MAIN(CollectionTest)
#include "collection_test.moc"
