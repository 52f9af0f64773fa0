// The date texts of a CSV conversion: the span a recorded file covers, as
// the options dialog first shows it, and what its GO hands to the library.
#pragma once

#include "types/DataShowFile.h"

#include <QString>

#include <cstdint>

struct CsvSpanTexts {
  QString startDate;  // the recording's start, as the file list shows it
  QString endDate;    // the start plus graphTotalNum x recodeInterval seconds
};
// "" for the end when the start is not a date (a start time the library
// could not read).
CsvSpanTexts csvSpanTexts(const DataShowFile& file);

// Bits of the flags word of CsvDateSet.
constexpr int32_t kCsvHeaderRows = 1;
constexpr int32_t kCsvAllData = 2;

struct CsvDateRequest {
  bool ok = false;  // false: a span whose start or end is not a date
  QString start;
  QString end;
  int32_t flags = 0;
};
// GO: for a span both texts must be dates and are passed in the program's
// form; for all data each text that is a date is passed in that form and
// any other as it stands (the library ignores the range then).
CsvDateRequest csvDateRequest(const QString& startText, const QString& endText, bool allData, bool headerRows);
