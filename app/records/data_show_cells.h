// The texts of the recorded-file grids: one row's cells, the pieces other
// windows show too (system, recording time, file size, access method,
// recording mode), and the catalogue grid's columns.
#pragma once

#include "types/DataShowCustom.h"
#include "types/DataShowFile.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Columns of the catalogue grid: 0 is hidden and empty, 1..11 are shown,
// 12 carries the recording length in seconds for the CSV options.
enum DataShowColumn {
  kColumnCustomerId = 1,
  kColumnCustomerName,
  kColumnMapName,
  kColumnSystem,
  kColumnModel,
  kColumnAccessMethod,
  kColumnRecordingMode,
  kColumnStartTime,
  kColumnRecordingTime,
  kColumnFileSize,
  kColumnContact,
  kColumnLengthSeconds,
  kDataShowColumnCount
};

// The cells of one file's row, kDataShowColumnCount texts. A value that has
// no text (an unknown access method or recording mode) gives an empty cell,
// so a row written over another keeps nothing of it.
QStringList dataShowRowCells(const DataShowCustom& custom, const DataShowFile& file);

// recodeInterval x graphTotalNum, worked out in 64 bits.
int64_t recordingLengthSeconds(const DataShowFile& file);
// "1hour(s) 30minute(s)": whole hours and the minutes left.
QString recordingTimeText(int64_t seconds);
// Kilobytes, any remainder counting as one more: "2KB" for 1025 bytes.
QString fileSizeText(int32_t bytes);
// "System 3".
QString systemNumberText(int32_t systemNumber);
// The access method of an interface mode; "" for one without a text.
QString interfaceModeText(int32_t ifMode);
// "Periodic record" (1), "Trigger record" (2); "" otherwise.
QString recodeModeText(int32_t recodeMode);

// A column of the catalogue grid: width in twips and heading.
struct DataShowGridColumn {
  int widthTwips;  // kWidthNotSet: the grid's own width is kept
  QString heading;
};
constexpr int kWidthNotSet = -1;
// A window wider than 9330 twips gets the wider first three columns.
constexpr int kWideListFromTwips = 9331;
std::vector<DataShowGridColumn> dataShowGridColumns(int formWidthTwips);
