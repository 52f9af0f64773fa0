#include "records/data_show_cells.h"

#include "frame/common_routines.h"
#include "frame/texts/text_table.h"

namespace {

// Text-table entries of the texts the cells use.
constexpr int kBusSensorText = 1;
constexpr int kBoardText = 2;
constexpr int kBoardSensorText = 3;
constexpr int kSensorOnlyText = 4;
constexpr int kSystemText = 6;
constexpr int kHoursText = 7;
constexpr int kMinutesText = 8;
constexpr int kPeriodicText = 136;
constexpr int kTriggerText = 137;

}  // namespace

int64_t recordingLengthSeconds(const DataShowFile& file) {
  return static_cast<int64_t>(file.recodeInterval) * file.graphTotalNum;
}

QString recordingTimeText(int64_t seconds) {
  return QString::number(seconds / 3600) + tableText(kHoursText) + QLatin1Char(' ') +
         QString::number(seconds % 3600 / 60) + tableText(kMinutesText);
}

QString fileSizeText(int32_t bytes) {
  const int32_t kilobytes = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  return QString::number(kilobytes) + QStringLiteral("KB");
}

QString systemNumberText(int32_t systemNumber) {
  return tableText(kSystemText) + QLatin1Char(' ') + QString::number(systemNumber);
}

QString interfaceModeText(int32_t ifMode) {
  switch (ifMode) {
    case 1: return tableText(kSensorOnlyText);
    case 2: return QStringLiteral("Q7-NET");
    case 3: return tableText(kBusSensorText);
    case 4:
    case 8: return tableText(kBoardText);
    case 5:
    case 9: return tableText(kBoardSensorText);
    default: return QString();
  }
}

QString recodeModeText(int32_t recodeMode) {
  if (recodeMode == 1) return tableText(kPeriodicText);
  if (recodeMode == 2) return tableText(kTriggerText);
  return QString();
}

QStringList dataShowRowCells(const DataShowCustom& custom, const DataShowFile& file) {
  const int64_t length = recordingLengthSeconds(file);
  QStringList cells;
  cells.reserve(kDataShowColumnCount);
  cells << QString() << custom.customId << custom.customName << file.mapName << systemNumberText(file.systemNumber)
        << file.kind << interfaceModeText(file.ifMode) << recodeModeText(file.recodeMode)
        << recordFileDateTimeText(file) << recordingTimeText(length) << fileSizeText(file.fileSize)
        << file.ssChargeMan << QString::number(length);
  return cells;
}

std::vector<DataShowGridColumn> dataShowGridColumns(int formWidthTwips) {
  const bool wide = formWidthTwips >= kWideListFromTwips;
  struct Layout {
    int narrow, wide, heading;
  };
  // Heading -1: no heading.
  static const Layout kLayout[kDataShowColumnCount] = {
      {0, 0, -1},          {800, 1100, 79},  {1200, 1500, 80}, {1100, 1300, 288}, {800, 800, 289},
      {1200, 1200, 290},   {300, 300, 291},  {300, 300, 292},  {1600, 1600, 293}, {1200, 1200, 294},
      {1300, 1300, 295},   {1000, 1000, 296}, {kWidthNotSet, kWidthNotSet, -1},
  };
  std::vector<DataShowGridColumn> columns;
  for (const Layout& column : kLayout) {
    columns.push_back({wide ? column.wide : column.narrow, column.heading < 0 ? QString() : tableText(column.heading)});
  }
  return columns;
}
