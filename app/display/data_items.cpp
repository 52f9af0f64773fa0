#include "display/data_items.h"

#include "frame/texts/text_table.h"
#include "types/unit_kinds.h"

#include <cstddef>

namespace {

constexpr int kFirstUnitLabelText = 10;  // "O-", "I-", "H-", "Sensor"

// The units the unit box chose: one unit of a collection, or all of it.
struct DefaultChoice {
  const Collection<GraphAircon>* units = nullptr;
  int32_t unitNumber = 0;  // 0: every unit of the collection
};

DefaultChoice defaultChoice(const GraphSystem& graph) {
  const int32_t a = graph.airconNumberNow;
  switch (graph.systemKind) {
    case kOrdinarySystem: {
      const int32_t out = graph.airconsOut.count();
      const int32_t in = graph.airconsIn.count();
      if (a < 1) return {};
      if (a <= out) return {&graph.airconsOut, a};
      if (a <= out + in) return {&graph.airconsIn, a - out};
      break;
    }
    case kCentralSystem:
      if (a == 1) return {&graph.airconsCen, 0};
      break;
    case kSensorSystem:
      return {&graph.airconsSen, 0};
    default:
      return {};
  }
  return graph.sensorDataShow ? DefaultChoice{&graph.airconsSen, 0} : DefaultChoice{};
}

bool chosen(const DefaultChoice& choice, const Collection<GraphAircon>& units, const GraphAircon& unit) {
  return choice.units == &units && (choice.unitNumber == 0 || choice.unitNumber == unit.airconNumber);
}

bool holdsChosenUnit(const DefaultChoice& choice) {
  if (!choice.units) return false;
  if (choice.unitNumber == 0) return !choice.units->isEmpty();
  return choice.units->item(QString::number(choice.unitNumber)) != nullptr;
}

}  // namespace

std::vector<UnitGroup> listedGroups(const GraphSystem& graph) {
  switch (graph.systemKind) {
    case kOrdinarySystem:
      if (graph.sensorDataShow) {
        return {{&graph.airconsOut, kOutdoorUnit}, {&graph.airconsIn, kIndoorUnit}, {&graph.airconsSen, kSensorUnit}};
      }
      return {{&graph.airconsOut, kOutdoorUnit}, {&graph.airconsIn, kIndoorUnit}};
    case kCentralSystem:
      if (graph.sensorDataShow) return {{&graph.airconsCen, kCentralUnit}, {&graph.airconsSen, kSensorUnit}};
      return {{&graph.airconsCen, kCentralUnit}};
    case kSensorSystem:
      return {{&graph.airconsSen, kSensorUnit}};
    default:
      return {};
  }
}

std::vector<std::shared_ptr<GraphAircon>> unitsByNumber(const Collection<GraphAircon>& units) {
  std::vector<std::shared_ptr<GraphAircon>> ordered;
  for (int32_t n = 1; n <= units.count(); ++n) {
    if (auto unit = units.item(QString::number(n))) ordered.push_back(unit);
  }
  return ordered;
}

std::vector<std::shared_ptr<GraphDataItem>> itemsByListNo(const GraphAircon& unit) {
  std::vector<std::shared_ptr<GraphDataItem>> ordered;
  for (int32_t n = 1; n <= unit.dataItems.count(); ++n) {
    if (auto item = unit.dataItems.item(QString::number(n))) ordered.push_back(item);
  }
  return ordered;
}

std::vector<ListedItem> listedItems(const GraphSystem& graph) {
  std::vector<ListedItem> listed;
  int32_t row = 1;
  for (const UnitGroup& group : listedGroups(graph)) {
    for (const auto& unit : unitsByNumber(*group.units)) {
      for (const auto& item : itemsByListNo(*unit)) listed.push_back({row++, group.unitKind, unit, item});
    }
  }
  return listed;
}

std::vector<ListItem> graphRows(const std::vector<ListedItem>& items) {
  std::vector<ListItem> rows;
  rows.reserve(items.size());
  for (const ListedItem& listed : items) {
    const GraphDataItem& item = *listed.item;
    rows.push_back({listed.unitKind, listed.unit->airconNumber, item.dataItemNo, item.dataType, item.graphShow});
  }
  return rows;
}

void keepGraphShow(const std::vector<ListItem>& rows, const std::vector<ListedItem>& items) {
  for (std::size_t i = 0; i < rows.size() && i < items.size(); ++i) items[i].item->graphShow = rows[i].graphShow;
}

QString unitLabel(int32_t unitKind) {
  switch (unitKind) {
    case kOutdoorUnit: return tableText(kFirstUnitLabelText);
    case kIndoorUnit: return tableText(kFirstUnitLabelText + 1);
    case kCentralUnit: return tableText(kFirstUnitLabelText + 2);
    case kSensorUnit: return tableText(kFirstUnitLabelText + 3);
    default: return QString();
  }
}

QString unitBoxText(int32_t unitKind, int32_t unitNumber) {
  const bool numbered = unitKind == kOutdoorUnit || unitKind == kIndoorUnit;
  return unitLabel(unitKind) + (numbered ? QString::number(unitNumber) : QString());
}

QString itemListName(int32_t listNumber, int32_t unitKind, int32_t unitNumber, const QString& itemName) {
  return QString::number(listNumber) + QLatin1Char(' ') + unitBoxText(unitKind, unitNumber) + QLatin1Char('-') +
         itemName;
}

int32_t systemSelector(const GraphSystem& graph, bool live, int32_t ordinarySystems) {
  if (live && graph.systemKind == kCentralSystem) return graph.systemNumber + ordinarySystems;
  return graph.systemNumber;
}

int32_t applyDefaultGraph(GraphSystem& graph) {
  const DefaultChoice choice = defaultChoice(graph);
  if (!holdsChosenUnit(choice)) return 1;
  int32_t topRow = 1;
  bool reached = false;
  for (const UnitGroup& group : listedGroups(graph)) {
    for (const auto& unit : unitsByNumber(*group.units)) {
      reached = reached || chosen(choice, *group.units, *unit);
      if (!reached) topRow += unit->dataItems.count();
    }
  }
  for (const Collection<GraphAircon>* units : {&graph.airconsOut, &graph.airconsIn, &graph.airconsCen,
                                               &graph.airconsSen}) {
    for (const auto& unit : *units) {
      const bool on = chosen(choice, *units, *unit);
      for (const auto& item : unit->dataItems) item->graphShow = on ? item->graphShowDefault : 0;
    }
  }
  return topRow;
}

SearchTarget searchTargetOfRow(const GraphSystem& graph, int32_t row) {
  for (const ListedItem& listed : listedItems(graph)) {
    if (listed.row != row) continue;
    SearchTarget target{SearchKind::None, listed.unitKind, listed.unit->airconNumber, listed.item->dataItemNo};
    const int32_t type = listed.item->dataType;
    if (type == 0) {
      target.kind = SearchKind::Analog;
    } else if (listed.unitKind != kSensorUnit) {
      if (type == 1) target.kind = SearchKind::TwoState;
      if (type == 2) target.kind = SearchKind::ErrorCode;
    }
    return target;
  }
  return {};
}
