// Texts across the library boundary and the typed client over the fake:
// UTF-8 cut only between characters, buffers filled to the brim, lengths
// that lie, and texts that hold more than one value.
#include "frame/library/tramsoll_client.h"
#include "support/fake_tramsoll.h"

#include <QtTest>

#include <cstring>

namespace {

// Writes `text` as the library would into a buffer of `capacity` bytes,
// without a terminator when it fills the buffer, and reports `length`.
void give(char* buffer, int32_t* length, int capacity, const QByteArray& text, int32_t reported) {
  std::memset(buffer, 0, static_cast<std::size_t>(capacity));
  std::memcpy(buffer, text.constData(), static_cast<std::size_t>(std::min<int>(text.size(), capacity)));
  *length = reported;
}

const QByteArray kDegrees = "\xE2\x84\x83";  // U+2103, three bytes

}  // namespace

class TramsollClientTest : public QObject {
  Q_OBJECT

 private slots:
  void textForLibraryCutsOnlyBetweenCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no limit") << QStringLiteral("温度℃") << -1 << QByteArray("\xE6\xB8\xA9\xE5\xBA\xA6" + kDegrees);
    QTest::newRow("fits exactly") << QStringLiteral("ab℃") << 5 << QByteArray("ab" + kDegrees);
    QTest::newRow("limit inside the last character") << QStringLiteral("ab℃") << 4 << QByteArray("ab");
    QTest::newRow("limit after its first byte") << QStringLiteral("ab℃") << 3 << QByteArray("ab");
    QTest::newRow("four-byte character") << QString::fromUtf8("x\xF0\x9F\x94\xA5y") << 4 << QByteArray("x");
    QTest::newRow("plain text cut") << QStringLiteral("Kansai") << 3 << QByteArray("Kan");
    QTest::newRow("nothing fits") << QStringLiteral("℃") << 2 << QByteArray();
  }
  void textForLibraryCutsOnlyBetweenCharacters() {
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(QByteArray, bytes);
    const QByteArray sent = textForLibrary(text, limit);
    QCOMPARE(sent, bytes);
    QCOMPARE(sent.constData()[sent.size()], '\0');
  }

  void textFromLibraryDropsACharacterCutByTheBuffer_data() {
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << QByteArray("ab" + kDegrees) << 5 << QStringLiteral("ab℃");
    QTest::newRow("last character cut") << QByteArray("ab" + kDegrees.left(2)) << 4 << QStringLiteral("ab");
    QTest::newRow("only a lead byte left") << QByteArray("ab" + kDegrees.left(1)) << 3 << QStringLiteral("ab");
    QTest::newRow("length past a terminator") << QByteArray("ab\0cd", 5) << 5 << QStringLiteral("ab");
    QTest::newRow("four bytes of four") << QByteArray("\xF0\x9F\x94\xA5") << 4 << QString::fromUtf8("\xF0\x9F\x94\xA5");
    QTest::newRow("three bytes of four") << QByteArray("a\xF0\x9F\x94") << 4 << QStringLiteral("a");
    QTest::newRow("negative length") << QByteArray("ab") << -3 << QString();
  }
  void textFromLibraryDropsACharacterCutByTheBuffer() {
    QFETCH(QByteArray, buffer);
    QFETCH(int, length);
    QFETCH(QString, text);
    QCOMPARE(textFromLibrary(buffer.constData(), length, static_cast<int>(buffer.size())), text);
  }

  void clientTextsAreBoundedByTheLibrarysCapacities() {
    InstalledFake library;
    FakeTramsoll& fake = library.fake;
    // Filled to the brim, no terminator, and a length past the buffer.
    const QByteArray full(TRAMSOLL_PASSWORD_SIZE, 'p');
    fake.on<decltype(::getControlDataChangeMode)>("getControlDataChangeMode",
                                                  [&](int32_t* mode, char* password, int32_t* length) {
                                                    *mode = 2;
                                                    give(password, length, TRAMSOLL_PASSWORD_SIZE, full, 999);
                                                    return 0;
                                                  });
    const ControlChangeMode control = TramsollClient().controlDataChangeMode();
    QCOMPARE(control.mode, 2);
    QCOMPARE(control.password, QString::fromLatin1(full));

    // A name cut by the library inside its last character.
    const QByteArray name = QByteArray(TRAMSOLL_ITEM_NAME_SIZE - 2, 'n') + kDegrees;
    fake.on<decltype(::getDataItem)>(
        "getDataItem", [&](int32_t, const char* folder, int32_t, int32_t, int32_t, int32_t, int32_t, char* itemName,
                           int32_t* itemNameLength, char* fullScale, int32_t* fullScaleLength, int32_t* type,
                           int32_t*, char* state0, int32_t* state0Length, char* state1, int32_t* state1Length,
                           int32_t*, int32_t*) {
          if (QByteArray(folder) != "C001/") return 1;
          give(itemName, itemNameLength, TRAMSOLL_ITEM_NAME_SIZE, name, TRAMSOLL_ITEM_NAME_SIZE);
          give(fullScale, fullScaleLength, TRAMSOLL_FULL_SCALE_TEXT_SIZE, "100.0", 5);
          give(state0, state0Length, TRAMSOLL_STATE_TEXT_SIZE, "OFF", 3);
          give(state1, state1Length, TRAMSOLL_STATE_TEXT_SIZE, "ON", 2);
          *type = 1;
          return 0;
        });
    const DataItemInfo item = TramsollClient().dataItem({1, QStringLiteral("C001/"), 2, 1, 0, 1}, 3);
    QCOMPARE(item.result, 0);
    QCOMPARE(item.itemName, QString(TRAMSOLL_ITEM_NAME_SIZE - 2, QLatin1Char('n')));
    QCOMPARE(item.fullScaleText, QStringLiteral("100.0"));
    QCOMPARE(item.stateText0 + item.stateText1, QStringLiteral("OFFON"));
    QCOMPARE(item.dataType, 1);
  }

  void clientSplitsListsAndSlots() {
    InstalledFake library;
    FakeTramsoll& fake = library.fake;
    fake.on<decltype(::getKishuKouho)>("getKishuKouho", [](const char*, char* names, int32_t* length, int32_t* count) {
      give(names, length, TRAMSOLL_CANDIDATE_NAMES_SIZE, "PUHY-P200,PUHY-P250,", 20);
      *count = 2;
      return 0;
    });
    QCOMPARE(TramsollClient().modelCandidates(QStringLiteral("PUHY")).names,
             QStringList({QStringLiteral("PUHY-P200"), QStringLiteral("PUHY-P250")}));

    int32_t askedCount = 0;
    fake.on<decltype(::getGraphData2)>("getGraphData2", [&](int32_t, const char*, int32_t, int32_t, int32_t,
                                                            int32_t, int32_t, int32_t, int32_t count, char* texts) {
      askedCount = count;
      for (int32_t k = 0; k < count; ++k) {
        // The last slot is filled without a terminator.
        const QByteArray value = k == count - 1 ? QByteArray(TRAMSOLL_GRAPH_TEXT_SLOT_SIZE, '9') : QByteArray::number(k);
        std::memcpy(texts + k * TRAMSOLL_GRAPH_TEXT_SLOT_SIZE, value.constData(), static_cast<std::size_t>(value.size()));
      }
      return 0;
    });
    const GraphTexts graph = TramsollClient().graphTexts({}, 1, 1, 3);
    QCOMPARE(graph.valueTexts, QStringList({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("999999999")}));
    QCOMPARE(askedCount, 3);
    fake.calls.clear();
    QCOMPARE(TramsollClient().graphTexts({}, 1, 1, TRAMSOLL_GRAPH_RECORD_COUNT + 1).result, TramsollClient::kRefused);
    QVERIFY(fake.calls.isEmpty());  // a count past the buffer never reaches the library

    fake.on<decltype(::getDebugMessage)>("getDebugMessage", [](char* message, int32_t* length) {
      give(message, length, TRAMSOLL_DEBUG_MESSAGE_SIZE, "", 0);
      return 0;
    });
    QVERIFY(!TramsollClient().nextDebugMessage());
  }
};

QTEST_MAIN(TramsollClientTest)
#include "tramsoll_client_test.moc"
