// The built-in texts, the Lang.ini override and the copies the windows read.
#include "frame/texts/text_table.h"
#include "support/test_support.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

class TextTableTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { setEnglishTexts(); }

  void englishTableHasItsTextsExactly() {
    int filled = 0;
    for (const QString& text : labelTexts()) filled += text.isEmpty() ? 0 : 1;
    QCOMPARE(filled, 256);
    QCOMPARE(labelTexts()[0], QString());
    QCOMPARE(labelTexts()[19], QStringLiteral("Pelomar Vexa 5 Software"));
    QCOMPARE(labelTexts()[18], QString());
    // Leading and trailing blanks belong to the texts.
    QCOMPARE(labelTexts()[267], QStringLiteral("Monitoring: "));
    QCOMPARE(labelTexts()[329], QStringLiteral("Delete customer data. OK?    "));
    QCOMPARE(labelTexts()[403], QStringLiteral(" already exists."));
    QCOMPARE(labelTexts()[407], QStringLiteral("    software Version infomation"));
    QCOMPARE(labelTexts()[485], QStringLiteral("permission denied   "));
    QCOMPARE(labelTexts()[486], QStringLiteral(" cannot access folder or file "));
    QCOMPARE(labelTexts()[505], QStringLiteral("Print Screen image. OK?"));
    // The Japanese entries are there even in English.
    QCOMPARE(labelTexts()[439], QStringLiteral("制御データが変更できる空調機かを確認して、"));
    QCOMPARE(labelTexts()[440], QStringLiteral("もう一度操作して下さい"));
    QCOMPARE(labelTexts()[480], QStringLiteral("パスワードは正しくありません。"));
    QCOMPARE(labelTexts()[481], QStringLiteral("もう一度入力してください"));
    QCOMPARE(appFont().pointSize(), 9);
  }

  void copiesForTheWindowsAreTakenOnce() {
    copyTextsToLabelGlobals();
    QCOMPARE(captionTexts()[1], QStringLiteral("Q7-NET and sensor input"));
    QCOMPARE(captionTexts()[408], labelTexts()[408]);
    QCOMPARE(messageTexts()[0], QStringLiteral("Error No.:"));
    QCOMPARE(messageTexts()[71], labelTexts()[481]);
    labelTexts()[1] = QStringLiteral("changed later");
    QCOMPARE(captionTexts()[1], QStringLiteral("Q7-NET and sensor input"));

    QCOMPARE(getTextOrDefault(QStringLiteral("dflt"), 18), QStringLiteral("dflt"));
    QCOMPARE(getTextOrDefault(QStringLiteral("dflt"), 19), QStringLiteral("Pelomar Vexa 5 Software"));
    QCOMPARE(getTextOrDefault(QStringLiteral("dflt"), 511), QStringLiteral("dflt"));
  }

  void langIniPairsCommentsQuotesAndEnd() {
    const LangIniOutcome outcome = applyLangIni(
        "\xEF\xBB\xBF; translated by the field office\r\n"
        "12,\"Sensor, extra\"\r\n"
        "  19 ,  Title without quotes\r\n"
        "\r\n"
        "0,\"FR\"\r\n"
        "; the rest is not read\r\n"
        "END\r\n"
        "13,\"never read\"\r\n");
    QVERIFY(outcome.opened);
    QVERIFY(!outcome.failed);
    QCOMPARE(labelTexts()[12], QStringLiteral("Sensor, extra"));
    QCOMPARE(labelTexts()[19], QStringLiteral("Title without quotes"));
    QCOMPARE(labelTexts()[0], QStringLiteral("FR"));
    QCOMPARE(labelTexts()[13], QStringLiteral("Sensor"));
    QCOMPARE(labelTexts()[11], QStringLiteral("I-"));
  }

  void commentFieldEndsAtAComma() {
    // Every unquoted comma of a comment line starts a field of its own.
    const LangIniOutcome outcome = applyLangIni(";note, 14\r\n\"Star\"\r\nEND\r\n");
    QVERIFY(!outcome.failed);
    QCOMPARE(labelTexts()[14], QStringLiteral("Star"));
  }

  void emptyTextAtTheEndOfALineIsAField() {
    // "29," gives entry 29 an empty text; the next line is a pair of its own.
    const LangIniOutcome outcome = applyLangIni("29,\r\n30,Kopie\r\n31,   \r\nEND\r\n");
    QVERIFY(!outcome.failed);
    QCOMPARE(labelTexts()[29], QString());
    QCOMPARE(labelTexts()[30], QStringLiteral("Kopie"));
    QCOMPARE(labelTexts()[31], QString());
  }

  void badIndexStopsAndKeepsWhatCameBefore_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("badField");
    QTest::newRow("index above the table") << QByteArray("12,\"Twelve\"\r\n600,\"x\"\r\n13,\"y\"\r\nEND\r\n")
                                           << QStringLiteral("600");
    QTest::newRow("negative index") << QByteArray("12,\"Twelve\"\r\n-1,\"x\"\r\nEND\r\n") << QStringLiteral("-1");
    QTest::newRow("index not a number") << QByteArray("12,\"Twelve\"\r\nabc,\"x\"\r\nEND\r\n")
                                        << QStringLiteral("abc");
    QTest::newRow("index with decimals") << QByteArray("12,\"Twelve\"\r\n1.5,\"x\"\r\nEND\r\n")
                                         << QStringLiteral("1.5");
    QTest::newRow("text missing at the end") << QByteArray("12,\"Twelve\"\r\n13") << QStringLiteral("13");
  }
  void badIndexStopsAndKeepsWhatCameBefore() {
    QFETCH(QByteArray, content);
    QFETCH(QString, badField);
    const LangIniOutcome outcome = applyLangIni(content);
    QVERIFY(outcome.failed);
    QCOMPARE(outcome.badField, badField);
    QCOMPARE(labelTexts()[12], QStringLiteral("Twelve"));
    QCOMPARE(labelTexts()[13], QStringLiteral("Sensor"));
  }

  void loadingShowsTheFaultAndGoesOn() {
    ScratchFolder folder;
    folder.write(QStringLiteral("Lang.ini"), "0,\"DE\"\r\n12,\"Zwoelf\"\r\n600,\"x\"\r\nEND\r\n");
    QString shown;
    answerNextModal([&shown](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      shown = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    loadTextTable();
    QCOMPARE(shown, QStringLiteral("Lang.ini file error : 600"));
    QCOMPARE(labelTexts()[12], QStringLiteral("Zwoelf"));
    QCOMPARE(textTableTag(), QStringLiteral("DE"));
    QVERIFY(captionsFromTable());
  }

  void onlyEndOrNoFileKeepsEnglish() {
    ScratchFolder folder;
    loadTextTable();  // no Lang.ini: no message, English
    QCOMPARE(labelTexts()[12], QStringLiteral("H-"));
    QCOMPARE(textTableTag(), QString());

    folder.write(QStringLiteral("Lang.ini"), "END\r\n");
    loadTextTable();
    QCOMPARE(labelTexts()[12], QStringLiteral("H-"));
    QCOMPARE(textTableTag(), QString());
    QVERIFY(!captionsFromTable());
  }
};

QTEST_MAIN(TextTableTest)
#include "text_table_test.moc"
