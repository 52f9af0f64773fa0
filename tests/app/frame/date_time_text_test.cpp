// Reading the program's date-and-time texts back.
#include "frame/date_time_text.h"

#include <QtTest>

class DateTimeTextTest : public QObject {
  Q_OBJECT

 private slots:
  void readsTheProgramsForm_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");  // "" when it is no date
    QTest::newRow("as written") << "2024/03/05 07:08:09" << "2024/03/05 07:08:09";
    QTest::newRow("single digits") << "2024/3/5 7:8:9" << "2024/03/05 07:08:09";
    QTest::newRow("outer and inner blanks") << "  2024/12/31   23:59:59 " << "2024/12/31 23:59:59";
    QTest::newRow("leap day") << "2024/2/29 00:00:00" << "2024/02/29 00:00:00";
    QTest::newRow("no such day") << "2023/2/29 00:00:00" << "";
    QTest::newRow("month 13") << "2024/13/01 00:00:00" << "";
    QTest::newRow("hour 24") << "2024/03/05 24:00:00" << "";
    QTest::newRow("second 60") << "2024/03/05 23:59:60" << "";
    QTest::newRow("date only") << "2024/03/05" << "";
    QTest::newRow("three-digit day") << "2024/03/005 07:08:09" << "";
    QTest::newRow("two-digit year") << "24/03/05 07:08:09" << "";
    QTest::newRow("dashes") << "2024-03-05 07:08:09" << "";
    QTest::newRow("trailing text") << "2024/03/05 07:08:09x" << "";
    QTest::newRow("wide digits") << "２０２４/03/05 07:08:09" << "";
    QTest::newRow("empty") << "" << "";
  }
  void readsTheProgramsForm() {
    QFETCH(QString, text);
    QFETCH(QString, read);
    const QDateTime untouched(QDate(2000, 1, 1), QTime(1, 2, 3));
    QDateTime when = untouched;
    QCOMPARE(parseDateTimeText(text, when), !read.isEmpty());
    QCOMPARE(dateTimeText(when), read.isEmpty() ? dateTimeText(untouched) : read);
  }
};

QTEST_MAIN(DateTimeTextTest)
#include "date_time_text_test.moc"
