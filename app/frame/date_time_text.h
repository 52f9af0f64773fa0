// Date-and-time texts in the program's form "yyyy/MM/dd HH:mm:ss", as the
// recorded-file list shows a recording's start and the CSV options take a
// span, and their reading back.
#pragma once

#include <QDateTime>
#include <QString>

// "yyyy/MM/dd HH:mm:ss" of a local date and time.
QString dateTimeText(const QDateTime& when);
// Reads "yyyy/M/d H:m:s": a four-digit year, one or two digits for month,
// day, hour, minute and second, one or more blanks between date and time,
// outer blanks ignored. False for any other text and for a date or time that
// does not exist; `when` is then left as it was.
bool parseDateTimeText(const QString& text, QDateTime& when);
