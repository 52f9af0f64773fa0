#include "records/csv_dates.h"

#include "frame/common_routines.h"
#include "frame/date_time_text.h"
#include "records/data_show_cells.h"

namespace {

// The text in the program's form when it is a date, else as it stands.
bool formatted(const QString& text, QString& out) {
  QDateTime when;
  if (!parseDateTimeText(text, when)) {
    out = text;
    return false;
  }
  out = dateTimeText(when);
  return true;
}

}  // namespace

CsvSpanTexts csvSpanTexts(const DataShowFile& file) {
  CsvSpanTexts span{recordFileDateTimeText(file), QString()};
  QDateTime start;
  if (parseDateTimeText(span.startDate, start)) {
    span.endDate = dateTimeText(start.addSecs(recordingLengthSeconds(file)));
  }
  return span;
}

CsvDateRequest csvDateRequest(const QString& startText, const QString& endText, bool allData, bool headerRows) {
  CsvDateRequest request;
  const bool startIsDate = formatted(startText, request.start);
  const bool endIsDate = formatted(endText, request.end);
  request.ok = allData || (startIsDate && endIsDate);
  request.flags = (headerRows ? kCsvHeaderRows : 0) | (allData ? kCsvAllData : 0);
  return request;
}
