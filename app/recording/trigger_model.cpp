#include "recording/trigger_model.h"

#include "display/data_items.h"
#include "frame/library/tramsoll_client.h"
#include "frame/texts/text_table.h"
#include "recording/recording_size.h"
#include "recording/recording_systems.h"
#include "types/unit_kinds.h"

#include <algorithm>

namespace {

constexpr int32_t kOnLine = 3;
constexpr int32_t kTwoStateItem = 1;
constexpr int32_t kCodeItem = 2;
constexpr int kNormalEntry = 191;
constexpr int kErrorEntry = 192;
constexpr int kIgnoredEntry = 193;
constexpr int32_t kLiveData = 0;
// A trigger recording writes a record every 10 s and keeps at most 60
// minutes before the trigger; the sensor inputs add 32 bytes a record.
constexpr int32_t kTriggerInterval = 10;
constexpr double kMinutesBeforeAtMost = 60;
constexpr double kSensorBytesPerMinute = 32.0 * 60 / kTriggerInterval;

struct UnitCollection {
  const Collection<GraphAircon>* units;
  int32_t unitKind;
};

// The model's collections in row order.
std::vector<UnitCollection> modelCollections(const GraphSystem& model) {
  if (model.systemKind != kOrdinarySystem) return {{&model.airconsCen, kCentralUnit}};
  return {{&model.airconsOut, kOutdoorUnit}, {&model.airconsIn, kIndoorUnit}};
}

std::vector<std::shared_ptr<GraphAircon>> unitsByAscendingNumber(const Collection<GraphAircon>& units) {
  std::vector<std::shared_ptr<GraphAircon>> ordered(units.begin(), units.end());
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto& a, const auto& b) { return a->airconNumber < b->airconNumber; });
  return ordered;
}

const Collection<MapSystem>& systemsOfKind(const MapQ7net& map, int32_t systemKind) {
  return systemKind == kOrdinarySystem ? map.systems : map.systemsCen;
}

int onLineCount(const Collection<MapAircon>& units) {
  return static_cast<int>(std::count_if(units.begin(), units.end(), [](const auto& unit) { return unit->onLine == kOnLine; }));
}

// Adds the on-line units of a map collection, in ascending number.
void addOnLineUnits(const Collection<MapAircon>& from, int32_t unitKind, Collection<GraphAircon>& to) {
  std::vector<std::shared_ptr<MapAircon>> onLine;
  for (const auto& unit : from) {
    if (unit->onLine == kOnLine) onLine.push_back(unit);
  }
  std::stable_sort(onLine.begin(), onLine.end(), [](const auto& a, const auto& b) { return a->airconNumber < b->airconNumber; });
  for (const auto& unit : onLine) {
    auto made = std::make_shared<GraphAircon>();
    made->airconNumber = unit->airconNumber;
    made->airconType = unitKind;
    to.add(made, QString::number(made->airconNumber));
  }
}

int32_t modelLibrarySystem(const GraphSystem& model, const MapQ7net& map) {
  return librarySystemNumber(map, model.systemKind, model.systemNumber);
}

// The unit's two-state and code items, numbered on from `row`.
void addTriggerItems(GraphAircon& unit, int32_t unitKind, int32_t systemNo, int32_t& row) {
  int32_t count = 0, records = 0, trigger = 0, interval = 0;
  // A unit the library cannot list reports 0 items.
  tramsollApi().getDataItemNum(kLiveData, "", 0, systemNo, unitKind, unit.airconNumber, &count, &records, &trigger,
                               &interval);
  const ItemSource source{kLiveData, QString(), 0, systemNo, unitKind, unit.airconNumber};
  TramsollClient client;
  int32_t listNo = 1;
  for (int32_t number = 1; number <= count; ++number) {
    const DataItemInfo read = client.dataItem(source, number);
    if (read.dataType != kTwoStateItem && read.dataType != kCodeItem) continue;
    auto item = std::make_shared<GraphDataItem>();
    item->dataType = read.dataType;
    item->listNo = listNo;
    item->dataItemNo = number;
    item->dataName = QString::number(row) + QLatin1Char(' ') + unitLabel(unitKind) +
                     QString::number(unit.airconNumber) + QLatin1Char('-') + read.itemName;
    const bool code = read.dataType == kCodeItem;
    item->triggerConString0 = code ? tableText(kNormalEntry) : read.stateText0;
    item->triggerConString1 = code ? tableText(kErrorEntry) : read.stateText1;
    // What the library already holds for the item is not taken over.
    item->triggerCondition1 = kConditionUnused;
    item->triggerCondition2 = kConditionUnused;
    unit.dataItems.add(item, QString::number(listNo));
    ++listNo;
    ++row;
  }
}

double triggerMinutesCounted(int32_t minutes) {
  const double after = minutes;
  return after + std::min(after, kMinutesBeforeAtMost);
}

}  // namespace

std::vector<TriggerRow> triggerRows(const GraphSystem& model) {
  std::vector<TriggerRow> rows;
  int32_t row = 1;
  for (const UnitCollection& collection : modelCollections(model)) {
    for (const auto& unit : unitsByAscendingNumber(*collection.units)) {
      for (const auto& item : itemsByListNo(*unit)) rows.push_back({row++, collection.unitKind, unit, item});
    }
  }
  return rows;
}

std::optional<QString> conditionText(const GraphDataItem& item, int32_t code) {
  switch (code) {
    case kConditionState0: return item.triggerConString0;
    case kConditionState1: return item.triggerConString1;
    case kConditionUnused: return tableText(kIgnoredEntry);
    default: return std::nullopt;
  }
}

std::shared_ptr<MapSystem> markedTriggerSystem(const Collection<MapSystem>& systems) {
  for (const auto& system : systems) {
    if (system->recodeTrigger == 1) return system;
  }
  return nullptr;
}

void setAirconToSystemTriggerObj(GraphSystem& model, const MapQ7net& map) {
  std::shared_ptr<MapSystem> chosen = markedTriggerSystem(map.systems);
  int32_t kind = kOrdinarySystem;
  if (!chosen) {
    chosen = markedTriggerSystem(map.systemsCen);
    kind = kCentralSystem;
  }
  if (!chosen) return;
  model.systemKind = kind;
  model.systemNumber = chosen->systemNumber;
  if (kind == kCentralSystem) {
    addOnLineUnits(chosen->airconsCen, kCentralUnit, model.airconsCen);
    return;
  }
  addOnLineUnits(chosen->airconsOut, kOutdoorUnit, model.airconsOut);
  addOnLineUnits(chosen->airconsIn, kIndoorUnit, model.airconsIn);
}

void setDataItemToSystemTriggerObj(GraphSystem& model, const MapQ7net& map) {
  const int32_t systemNo = modelLibrarySystem(model, map);
  int32_t row = 1;
  for (const UnitCollection& collection : modelCollections(model)) {
    for (const auto& unit : unitsByAscendingNumber(*collection.units)) addTriggerItems(*unit, collection.unitKind, systemNo, row);
  }
  model.digitalItemNumber = row - 1;
}

void deleteSystemTriggerObj(GraphSystem& model) {
  for (Collection<GraphAircon>* units : {&model.airconsOut, &model.airconsIn, &model.airconsCen}) {
    for (const auto& unit : *units) unit->dataItems.clear();
    units->clear();
  }
}

bool whetherTriggerConditionSet(const GraphSystem& model) {
  const std::vector<TriggerRow> rows = triggerRows(model);
  return std::any_of(rows.begin(), rows.end(), [](const TriggerRow& row) {
    return row.item->triggerCondition1 != kConditionUnused || row.item->triggerCondition2 != kConditionUnused;
  });
}

bool whetherOnLineAirconIncreased(const GraphSystem& model, const MapQ7net& map) {
  const bool central = model.systemKind != kOrdinarySystem;
  const int held = central ? model.airconsCen.count() : model.airconsOut.count() + model.airconsIn.count();
  const auto marked = markedTriggerSystem(systemsOfKind(map, model.systemKind));
  int onLine = 0;
  if (marked) onLine = central ? onLineCount(marked->airconsCen) : onLineCount(marked->airconsOut) + onLineCount(marked->airconsIn);
  return onLine > held;
}

bool triggerModelOfMarkedSystem(const GraphSystem& model, const MapQ7net& map) {
  const auto marked = markedTriggerSystem(systemsOfKind(map, model.systemKind));
  return marked && marked->systemNumber == model.systemNumber;
}

void setTriggerConditionForSave(const GraphSystem& model, const MapQ7net& map) {
  const int32_t systemNo = modelLibrarySystem(model, map);
  TramsollApi& api = tramsollApi();
  for (const TriggerRow& row : triggerRows(model)) {
    // A failed call (not gathering, a unit the library lost) is not told:
    // the recording starts all the same.
    api.setTrigCondition(systemNo, row.unitKind, row.unit->airconNumber, row.item->dataItemNo,
                         row.item->triggerCondition1, row.item->triggerCondition2);
  }
}

double getTriggerFileSize(const MapQ7net& map, int32_t systemNo) {
  int32_t headerBytes = 0;
  int32_t recordBytes = 0;
  // A library that cannot size the system leaves both at 0.
  tramsollApi().getDataSize(systemNo, kTriggerInterval, &headerBytes, &recordBytes);
  const double minutes = triggerMinutesCounted(map.recodeTriggerTime);
  double size = minutes * recordBytes * 60 / kTriggerInterval + headerBytes;
  if (!map.systemsSen.isEmpty() && carriesSensorInputs(map, systemNo)) size += minutes * kSensorBytesPerMinute;
  return size;
}

std::vector<QString> triggerFileSizeTexts(const MapQ7net& map) {
  std::vector<QString> texts;
  for (const SystemRow& row : combinedSystemRows(map)) {
    if (row.system->recodeTrigger != 1) {
      texts.emplace_back();
      continue;
    }
    texts.push_back(QString::number(sizeKilobytes(getTriggerFileSize(map, row.row))) + QStringLiteral("KB"));
  }
  return texts;
}

bool triggerFileSizeOver(const MapQ7net& map) {
  double total = 0;
  for (const SystemRow& row : combinedSystemRows(map)) {
    if (row.system->recodeTrigger == 1) total += getTriggerFileSize(map, row.row);
  }
  return freeDiskBelow(total);
}
