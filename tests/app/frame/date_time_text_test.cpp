// Reading the program's date-and-time texts back.
#include "frame/date_time_text.h"

#include <QtTest>

class DateTimeTextTest : public QObject {
  Q_OBJECT

 private slots:
  void readsOnlyTheProgramsForm() {
    const QDateTime untouched(QDate(2000, 1, 1), QTime(1, 2, 3));
    for (const auto& [text, read] :
         {std::pair{"2024/3/5 7:8:9", "2024/03/05 07:08:09"}, {"  2024/12/31   23:59:59 ", "2024/12/31 23:59:59"},
          {"2024/2/29 00:00:00", "2024/02/29 00:00:00"}, {"2023/2/29 00:00:00", ""}, {"2024/13/01 00:00:00", ""},
          {"2024/03/05 24:00:00", ""}, {"2024/03/05 23:59:60", ""}, {"2024/03/05", ""}, {"2024/03/005 07:08:09", ""},
          {"24/03/05 07:08:09", ""}, {"2024-03-05 07:08:09", ""}, {"2024/03/05 07:08:09x", ""},
          {"２０２４/03/05 07:08:09", ""}, {"", ""}}) {
      QDateTime when = untouched;
      QCOMPARE(parseDateTimeText(QString::fromUtf8(text), when), *read != 0);
      QCOMPARE(dateTimeText(when), *read ? QString::fromUtf8(read) : dateTimeText(untouched));
    }
  }
};

QTEST_MAIN(DateTimeTextTest)
#include "date_time_text_test.moc"
