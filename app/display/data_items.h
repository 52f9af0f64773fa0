// The data items of a display window in the order its item list shows them:
// the unit collections of the system kind (ordinary: outdoor, indoor, then
// the sensor unit when shown; central bus: central, then the sensor unit
// when shown; sensor only: the sensor unit), units by number, items by their
// list numbers. The running number of an item in this walk is its list
// number, its row in the item list and the key of the pen table. Here too:
// the names and unit texts of the list, the system selector of the library
// calls, the choice of the items graphed by default, and the unit and item a
// search starts from.
#pragma once

#include "display/graphed_items.h"
#include "types/GraphSystem.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// One unit collection of the walk and the unit kind the library knows it by.
struct UnitGroup {
  const Collection<GraphAircon>* units = nullptr;
  int32_t unitKind = 0;
};
// The collections a window lists, in list order; none for another kind.
std::vector<UnitGroup> listedGroups(const GraphSystem& graph);
// The units of a collection by number 1..count (a number without a unit is
// left out).
std::vector<std::shared_ptr<GraphAircon>> unitsByNumber(const Collection<GraphAircon>& units);
// The items of a unit by list number 1..count.
std::vector<std::shared_ptr<GraphDataItem>> itemsByListNo(const GraphAircon& unit);

// One listed item and where it stands.
struct ListedItem {
  int32_t row = 0;  // its list number, from 1
  int32_t unitKind = 0;
  std::shared_ptr<GraphAircon> unit;
  std::shared_ptr<GraphDataItem> item;
};
std::vector<ListedItem> listedItems(const GraphSystem& graph);

// The rows the graph choices work on, and their graphShow flags taken back.
std::vector<ListItem> graphRows(const std::vector<ListedItem>& items);
void keepGraphShow(const std::vector<ListItem>& rows, const std::vector<ListedItem>& items);

// "O-", "I-", "H-" or "Sensor" (text-table entries 10..13); "" for another kind.
QString unitLabel(int32_t unitKind);
// A unit's entry in the unit box: the label, with the number only for
// outdoor and indoor units ("O-1", "I-2", "H-", "Sensor").
QString unitBoxText(int32_t unitKind, int32_t unitNumber);
// An item's name in the list: its list number, a blank, the unit's entry in
// the unit box, "-" and the library's name ("5 O-1-...", "3 H--...").
QString itemListName(int32_t listNumber, int32_t unitKind, int32_t unitNumber, const QString& itemName);

// The system the library calls name: the system's number, after the open
// map's ordinary systems for a central-bus system of a live window.
int32_t systemSelector(const GraphSystem& graph, bool live, int32_t ordinarySystems);

// Gives the items of the unit chosen in the unit box (airconNumberNow) their
// default graph flags and every other item none, and answers the list row
// of the chosen unit's first item (graphTopRow). A choice of the sensor
// unit while it is not shown, or of a unit the window does not hold,
// changes no flag and answers 1.
int32_t applyDefaultGraph(GraphSystem& graph);

// What a search from a row of the item list opens.
enum class SearchKind {
  None,       // nothing (no such row, or a sensor item that is not analog)
  Analog,     // the analog value search
  ErrorCode,  // the error-code search
  TwoState,   // refused: a two-state item cannot be searched ("14-1")
};
struct SearchTarget {
  SearchKind kind = SearchKind::None;
  int32_t airconType = 0;  // 0 outdoor, 1 indoor, 100 central, 200 sensor
  int32_t airconNumber = 0;
  int32_t dataitemNumber = 0;  // the library's item number
};
SearchTarget searchTargetOfRow(const GraphSystem& graph, int32_t row);
