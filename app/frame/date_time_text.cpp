#include "frame/date_time_text.h"

#include "frame/common_routines.h"

#include <QRegularExpression>

QString dateTimeText(const QDateTime& when) {
  return when.toString(QLatin1String(kDateFormat) + QLatin1Char(' ') + QLatin1String(kTimeFormat));
}

bool parseDateTimeText(const QString& text, QDateTime& when) {
  static const QRegularExpression form(QStringLiteral(
      R"(^([0-9]{4})/([0-9]{1,2})/([0-9]{1,2}) +([0-9]{1,2}):([0-9]{1,2}):([0-9]{1,2})$)"));
  const QRegularExpressionMatch match = form.match(text.trimmed());
  if (!match.hasMatch()) return false;
  auto part = [&match](int i) { return match.capturedView(i).toInt(); };
  const QDate date(part(1), part(2), part(3));
  const QTime time(part(4), part(5), part(6));
  if (!date.isValid() || !time.isValid()) return false;
  when = QDateTime(date, time);
  return true;
}
