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
};

QTEST_MAIN(RecordFieldsTest)
#include "record_fields_test.moc"
