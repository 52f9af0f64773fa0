#include "display/data_show_texts.h"

#include "frame/common_routines.h"
#include "frame/texts/text_table.h"
#include "types/unit_kinds.h"

#include <QStringList>

namespace {

constexpr int kTitleText = 250;             // "Operation Data Display"
constexpr int kSystemText = 6;              // "System"
constexpr int kBusAndSensorText = 1;        // "Q7-NET and sensor input"
constexpr int kBoardText = 2;               // "PCB connection"
constexpr int kBoardAndSensorText = 3;      // "PCB connection and sensor input"
constexpr int kSensorOnlyText = 4;          // "Sensor input only"
constexpr int kMonitoringText = 267;        // "Monitoring: "
constexpr int kPeriodicReplayText = 268;    // "Play period. rcd data: "
constexpr int kTriggerReplayText = 269;     // "Play trig. rcd data: "

int32_t shownSystemNumber(const GraphSystem& graph, bool live, int32_t ordinarySystems) {
  switch (graph.systemKind) {
    case kOrdinarySystem:
    case kSensorSystem: return graph.systemNumber;
    case kCentralSystem: return live ? ordinarySystems + graph.systemNumber : graph.systemNumber;
    default: return 0;
  }
}

// The number of a full-scale cell, read without the locale.
std::optional<double> cellNumber(const QString& cell) {
  bool ok = false;
  const double number = cell.trimmed().toDouble(&ok);
  return ok ? std::optional<double>(number) : std::nullopt;
}

}  // namespace

QString accessMethodWord(int32_t ifMode) {
  switch (ifMode) {
    case 1: return tableText(kSensorOnlyText);
    case 2: return QStringLiteral("Q7-NET");
    case 3: return tableText(kBusAndSensorText);
    case 4:
    case 8: return tableText(kBoardText);
    case 5:
    case 9: return tableText(kBoardAndSensorText);
    default: return QString();
  }
}

QString dataShowCaption(const GraphSystem& graph, bool live, int32_t ordinarySystems) {
  QStringList parts;
  for (const QString& part : {graph.customName, graph.mapName, accessMethodWord(graph.ifMode)}) {
    if (!part.isEmpty()) parts << part;
  }
  parts << tableText(kSystemText) + QLatin1Char(' ') +
               QString::number(shownSystemNumber(graph, live, ordinarySystems));
  if (!graph.kind.isEmpty()) parts << graph.kind;
  return tableText(kTitleText) + QLatin1Char('(') + parts.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString cursorModeText(bool live, int32_t graphTriggerNo) {
  if (live) return tableText(kMonitoringText);
  return tableText(graphTriggerNo != 0 ? kTriggerReplayText : kPeriodicReplayText);
}

QString cursorDayText(const GraphSystem& graph, bool live) {
  return cursorModeText(live, graph.graphTriggerNo) + makeDateText(graph.cusorYear, graph.cusorMonth, graph.cusorDay) +
         QLatin1Char(' ') + secondsToTimeText(graph.cusorTime);
}

std::optional<QString> adjustedFullScale(const QString& valueText, const QString& fullScaleCell) {
  const bool fahrenheit = valueText.right(2).compare(QLatin1String(" F"), Qt::CaseInsensitive) == 0;
  const bool psi = valueText.right(4).compare(QLatin1String(" PSI"), Qt::CaseInsensitive) == 0;
  if (!fahrenheit && !psi) return std::nullopt;
  const std::optional<double> scale = cellNumber(fullScaleCell);
  if (!scale) return std::nullopt;
  if (fahrenheit && (*scale == 100 || *scale == 150)) return QString::number(static_cast<int>(*scale) * 2);
  if (psi && *scale == 50) return QStringLiteral("500");
  return std::nullopt;
}
