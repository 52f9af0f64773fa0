// The trigger-condition model: for the one system marked for trigger
// recording, its units that were on line when the model was built, each
// unit's two-state and code items as the library lists them live, and two
// trigger conditions per item. The map window keeps the model
// (frmMap.systemTriggerObj) for as long as the map is open; the trigger
// set-up builds, shows and edits it, and the map window's trigger start
// hands its conditions to the library.
//
// Row order: an ordinary system's outdoor units, then its indoor units; a
// central-bus system's central units; within each collection the units in
// ascending unit number (the model adds them in that order), within a unit
// the items by list number. The first item is row 1.
#pragma once

#include "types/GraphSystem.h"
#include "types/MapQ7net.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Condition codes of triggerCondition1 and triggerCondition2, and the index
// of the condition list: the item in state 0, in state 1, no condition.
inline constexpr int32_t kConditionState0 = 0;
inline constexpr int32_t kConditionState1 = 1;
inline constexpr int32_t kConditionUnused = 2;

// One condition row of the model.
struct TriggerRow {
  int32_t row = 0;  // from 1
  int32_t unitKind = 0;
  std::shared_ptr<GraphAircon> unit;
  std::shared_ptr<GraphDataItem> item;
};
std::vector<TriggerRow> triggerRows(const GraphSystem& model);

// The text of a condition code for the item: its state-0 or state-1 text,
// or "IGNORED"; none for a code outside 0..2.
std::optional<QString> conditionText(const GraphDataItem& item, int32_t code);

// The first system of the collection marked for trigger recording, or null.
std::shared_ptr<MapSystem> markedTriggerSystem(const Collection<MapSystem>& systems);

// The units of the marked system (ordinary ones first, else central ones)
// that are on line, in ascending number; kind and number of the model
// follow it. Without a marked system the model stays empty. The model must
// be empty.
void setAirconToSystemTriggerObj(GraphSystem& model, const MapQ7net& map);
// The two-state and code items of every unit from the library's live data,
// every condition unused; digitalItemNumber becomes their count. A unit the
// library cannot list gets no items.
void setDataItemToSystemTriggerObj(GraphSystem& model, const MapQ7net& map);
// Empties the model: the items of every outdoor, indoor and central unit,
// then the units. Its kind, system and row count stay; the sensor units are
// not touched.
void deleteSystemTriggerObj(GraphSystem& model);

// True when some condition of the model is set.
bool whetherTriggerConditionSet(const GraphSystem& model);
// True when the marked system of the model's kind has more units on line now
// than the model holds.
bool whetherOnLineAirconIncreased(const GraphSystem& model, const MapQ7net& map);
// True when the marked system of the model's kind is the model's system.
bool triggerModelOfMarkedSystem(const GraphSystem& model, const MapQ7net& map);

// Hands every item's two conditions to the library (setTrigCondition), also
// those of items without a condition, under the model's library system
// number as the map counts its systems now.
void setTriggerConditionForSave(const GraphSystem& model, const MapQ7net& map);

// Bytes of a trigger recording of the system (library system number): a
// record every 10 s over the map's trigger minutes after the trigger and as
// many, at most 60, before it; the system that carries the sensor inputs
// adds their bytes.
double getTriggerFileSize(const MapQ7net& map, int32_t systemNo);
// The size column of the system list: the KB text of each system marked for
// trigger recording, "" for the others, in library system order.
std::vector<QString> triggerFileSizeTexts(const MapQ7net& map);
// True when the marked systems' trigger files would not fit on the program
// folder's disk; equal sizes fit.
bool triggerFileSizeOver(const MapQ7net& map);
