#include "display/graphed_items.h"

#include <cstddef>

namespace {

bool isAnalog(const ListItem& item) { return item.dataType == 0; }
bool isDigital(const ListItem& item) { return item.dataType == 1 || item.dataType == 2; }
bool graphed(const ListItem& item) { return item.graphShow == 1; }
bool digitallyDrawn(const ListItem& item) { return isDigital(item) && item.unitKind != kSensorUnitKind; }

PlotRequest plotOf(const ListItem& item, int32_t graphKind, int32_t slot, int32_t row) {
  return PlotRequest{item.unitKind, item.unitNumber, item.dataItemNo, graphKind, slot, row};
}

int32_t rowOf(std::size_t index) { return static_cast<int32_t>(index) + 1; }

Toggle turnOff(ListItem& item, int32_t row, PenTable& pens) {
  Toggle toggle;
  toggle.outcome = ToggleOutcome::TurnedOff;
  toggle.marker = RowMarker{row, MarkerState::Off, 0};
  item.graphShow = 0;
  if (isAnalog(item)) {
    pens.releasePen(row);
    toggle.redrawAnalog = true;
  } else if (isDigital(item)) {
    toggle.redrawDigital = true;
  }
  return toggle;
}

Toggle turnOnAnalog(ListItem& item, int32_t row, const GraphedCounts& counts, PenTable& pens) {
  Toggle toggle;
  if (counts.analogCount >= kMaxGraphed) {
    toggle.outcome = ToggleOutcome::AnalogFull;
    return toggle;
  }
  item.graphShow = 1;
  const int32_t pen = pens.takePen(row);
  toggle.outcome = ToggleOutcome::TurnedOnAnalog;
  toggle.marker = RowMarker{row, MarkerState::Analog, pen};
  toggle.plot = plotOf(item, 0, pen, row);
  return toggle;
}

Toggle turnOnDigital(ListItem& item, int32_t row, const GraphedCounts& counts) {
  Toggle toggle;
  // The digital graph never draws a sensor unit: its item would hold a
  // lane unseen until the next redraw dropped it.
  if (!digitallyDrawn(item)) return toggle;
  if (counts.digitalCount >= kMaxGraphed) {
    toggle.outcome = ToggleOutcome::DigitalFull;
    return toggle;
  }
  item.graphShow = 1;
  toggle.outcome = ToggleOutcome::TurnedOnDigital;
  toggle.marker = RowMarker{row, MarkerState::Digital, 0};
  toggle.plot = plotOf(item, 1, counts.digitalCount, row);
  return toggle;
}

}  // namespace

GraphedCounts countGraphedItems(const std::vector<ListItem>& rows) {
  GraphedCounts counts;
  for (const ListItem& item : rows) {
    if (!graphed(item)) continue;
    if (isAnalog(item)) counts.analogCount += 1;
    if (isDigital(item)) counts.digitalCount += 1;
  }
  return counts;
}

std::vector<PlotRequest> analogPlots(const std::vector<ListItem>& rows, const PenTable& pens) {
  std::vector<PlotRequest> plots;
  for (std::size_t i = 0; i < rows.size() && plots.size() < kMaxGraphed; ++i) {
    if (graphed(rows[i]) && isAnalog(rows[i])) plots.push_back(plotOf(rows[i], 0, pens.penOfRow(rowOf(i)), rowOf(i)));
  }
  return plots;
}

std::vector<PlotRequest> digitalPlots(const std::vector<ListItem>& rows) {
  std::vector<PlotRequest> plots;
  for (std::size_t i = 0; i < rows.size() && plots.size() < kMaxGraphed; ++i) {
    const int32_t lane = static_cast<int32_t>(plots.size());
    if (graphed(rows[i]) && digitallyDrawn(rows[i])) plots.push_back(plotOf(rows[i], 1, lane, rowOf(i)));
  }
  return plots;
}

std::vector<RowMarker> markGraphedItems(std::vector<ListItem>& rows, PenTable& pens) {
  std::vector<RowMarker> markers;
  std::vector<int32_t> penRows;
  int32_t digital = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ListItem& item = rows[i];
    const int32_t row = rowOf(i);
    const int32_t pen = static_cast<int32_t>(penRows.size());
    if (graphed(item) && isAnalog(item) && pen < kMaxGraphed) {
      markers.push_back(RowMarker{row, MarkerState::Analog, pen});
      penRows.push_back(row);
    } else if (graphed(item) && digitallyDrawn(item) && digital < kMaxGraphed) {
      markers.push_back(RowMarker{row, MarkerState::Digital, 0});
      digital += 1;
    } else {
      markers.push_back(RowMarker{row, MarkerState::Off, 0});
      item.graphShow = 0;
    }
  }
  pens.assignFirst(penRows);
  return markers;
}

Toggle toggleItem(std::vector<ListItem>& rows, int32_t row, PenTable& pens) {
  if (row < 1 || row > static_cast<int32_t>(rows.size())) return {};
  const GraphedCounts counts = countGraphedItems(rows);
  ListItem& item = rows[row - 1];
  if (graphed(item)) return turnOff(item, row, pens);
  if (isAnalog(item)) return turnOnAnalog(item, row, counts, pens);
  if (isDigital(item)) return turnOnDigital(item, row, counts);
  return {};
}
