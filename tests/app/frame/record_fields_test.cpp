// Texts of the program's record files written and read back: what a field
// may hold and still come back as it was.
#include "frame/site/record_fields.h"

#include <QtTest>

class RecordFieldsTest : public QObject {
  Q_OBJECT

 private slots:
  void textsComeBackAsWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("plain") << QStringLiteral("Kansai Service") << QStringLiteral("Kansai Service");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("comma and line end inside") << QStringLiteral("a,b\r\nc") << QStringLiteral("a,b\r\nc");
    QTest::newRow("non-ASCII") << QStringLiteral("佐藤 ℃") << QStringLiteral("佐藤 ℃");
    QTest::newRow("double quote becomes a single one") << QStringLiteral("say \"hi\"") << QStringLiteral("say 'hi'");
    // Not taken for the file's byte-order mark, which only the file's first
    // bytes can be.
    QTest::newRow("zero-width no-break space first") << QStringLiteral("\uFEFFname") << QStringLiteral("\uFEFFname");
  }
  void textsComeBackAsWritten() {
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    RecordWriter out;
    out.number(7).text(text).endRecord().text(text).endRecord();
    FieldReader in(out.bytes());
    QString field;
    QVERIFY(in.readField(field));
    QCOMPARE(field, QStringLiteral("7"));
    for (int line = 0; line < 2; ++line) {
      QVERIFY(in.readField(field));
      QCOMPARE(field, readBack);
    }
    QVERIFY(!in.readField(field));
  }

  void fileByteOrderMarkIsSkippedOnlyAtTheStart() {
    FieldReader in(QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a,\xEF\xBB\xBF" "b\r\n"));
    QString field;
    QVERIFY(in.readField(field));
    QCOMPARE(field, QStringLiteral("\uFEFFa"));
    QVERIFY(in.readField(field));
    QCOMPARE(field, QStringLiteral("\uFEFFb"));
  }

  void excerptsShowEveryByteAsText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QByteArray("1,50") << QStringLiteral("1,50");
    QTest::newRow("control bytes") << QByteArray("a\tb\rc\x01\x7f") << QStringLiteral("a\\tb\\rc\\x01\\x7f");
    QTest::newRow("not UTF-8") << QByteArray("\xff\xfe\xc3(\xe6\xa9") << QStringLiteral("\\xff\\xfe\\xc3(\\xe6\\xa9");
    QTest::newRow("UTF-8 kept") << QByteArray("\xe4\xbd\x90\xe8\x97\xa4 \xe2\x84\x83") << QStringLiteral("佐藤 ℃");
    QTest::newRow("exactly 40") << QByteArray(40, 'x') << QString(40, QLatin1Char('x'));
    QTest::newRow("cut to 40") << QByteArray(41, 'x') << QString(37, QLatin1Char('x')) + QStringLiteral("...");
    QTest::newRow("escape not split") << QByteArray(36, 'x') + "\x01\x02" << QString(36, QLatin1Char('x')) + QStringLiteral("...");
  }
  void excerptsShowEveryByteAsText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(printableExcerpt(bytes), shown);
  }
};

QTEST_MAIN(RecordFieldsTest)
#include "record_fields_test.moc"
