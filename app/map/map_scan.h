// The bus scan of the map window: what the library reports for each unit
// kind at each bus address, and the builders that turn it into the systems,
// units and link records of a map.
#pragma once

#include "types/MapQ7net.h"

#include <QString>

#include <array>
#include <cstdint>

class TramsollApi;

constexpr int kBusAddresses = 256;
// Outdoor units used at one address; a larger count counts as this many.
constexpr int32_t kMaxUnitsAtAddress = 16;

// One unit kind's answers, indexed by bus address.
struct MapScanTable {
  std::array<int32_t, kBusAddresses> address{};
  std::array<int32_t, kBusAddresses> zubrel{};
  // ROM number of the unit; for an indoor unit that of its outdoor system.
  std::array<int32_t, kBusAddresses> rom{};
  std::array<int32_t, kBusAddresses> online{};  // answer state 0..4, 0 nothing there
  std::array<int32_t, kBusAddresses> state{};   // operating state 0..2
  std::array<int32_t, kBusAddresses> count{};   // units at the address
  // Model texts by unit order at the address (index 0 is unit 1); indoor
  // and central units use index 0 only. Empty until fetched.
  std::array<std::array<QString, kMaxUnitsAtAddress>, kBusAddresses> texts;

  MapScanTable() { reset(); }
  // Address i at index i, numbers 0, texts empty.
  void reset();
  bool answers(int a) const { return online[static_cast<std::size_t>(a)] > 0; }
};

struct MapScanTables {
  MapScanTable outdoor;
  MapScanTable indoor;
  MapScanTable central;
  void reset();
};

// Asks the library for the three kinds' states (outdoor, indoor, central)
// and for the model texts still missing at addresses on line (state above
// 2). Outdoor counts are held to 0..16 as the table is filled; indoor and
// central units have one text an address. A fetched text stays until the
// tables are reset; one the library did not give is asked for next time.
void fillScanTables(MapScanTables& tables, TramsollApi& api);

// The builders, run in this order on the map the scan builds into.
// Ordinary systems are told apart by their outdoor units' ROM number; a new
// ROM number rebuilds them all (and clears mapFlagRecodeTrigger), otherwise
// the units found again are refreshed. The first system becomes the default
// trigger system while mapFlagRecodeTrigger is clear.
void buildOutdoorUnits(MapQ7net& map, const MapScanTable& outdoor, bool& mapFlagRecodeTrigger);
// Indoor units join the first system with their outdoor ROM number; one whose
// system is not known yet waits for a later scan.
void buildIndoorUnits(MapQ7net& map, const MapScanTable& indoor);
// One central system per central unit.
void buildCentralUnits(MapQ7net& map, const MapScanTable& central, bool& mapFlagRecodeTrigger);
// The three builders in their order.
void buildMapFromScan(MapQ7net& map, const MapScanTables& tables, bool& mapFlagRecodeTrigger);

// The one sensor system of a map reached by sensor input only.
void buildSensorOnlyMap(MapQ7net& map);
