#include "map/map_paging.h"

#include "types/map_tree.h"
#include "types/unit_kinds.h"

#include <algorithm>

namespace {

int32_t pagesFor(int32_t places, int32_t perPage) { return (places + perPage - 1) / perPage; }

bool sensorTiedTo(const MapQ7net& map, int32_t systemNumber) {
  const int32_t tied = tiedSensorSystemNumber(map);
  return tied > 0 && tied == systemNumber;
}

int32_t ordinarySystemPlaces(const MapQ7net& map, const MapSystem& system) {
  return system.airconsOut.count() + system.airconsIn.count() + (sensorTiedTo(map, system.systemNumber) ? 1 : 0);
}

void addOrdinaryPages(const MapQ7net& map, const MapSystem& system, std::vector<MapShowOnePage>& pages) {
  const int32_t places = ordinarySystemPlaces(map, system);
  const bool tied = sensorTiedTo(map, system.systemNumber);
  for (int32_t start = 1; start <= places; start += kPlacesPerPage) {
    MapShowOnePage page;
    page.systemKind = kOrdinarySystem;
    page.systemNumber = system.systemNumber;
    page.startNumber = start;
    page.endNumber = std::min(start + kPlacesPerPage - 1, places);
    page.systemStart = start == 1 ? 1 : 0;
    page.systemEnd = page.endNumber == places ? 1 : 0;
    if (page.systemEnd) {
      page.sensorIconShow = tied;
      page.sensorIconPosition = page.endNumber - page.startNumber;
    }
    pages.push_back(page);
  }
}

void addCentralPages(const MapQ7net& map, std::vector<MapShowOnePage>& pages) {
  const int32_t central = map.systemsCen.count();
  const int32_t s = map.systems.count();
  for (int32_t first = 1; first <= central; first += kCentralRowsPerPage) {
    MapShowOnePage page;
    page.systemKind = kCentralSystem;
    page.totalSystems = std::min(kCentralRowsPerPage, central - first + 1);
    page.systemNumber1 = first;
    page.systemNumber2 = first + 1;
    page.systemNumber3 = first + 2;
    // Only a row that holds a system shows the icon beside it.
    for (int32_t row = 0; row < page.totalSystems; ++row) {
      if (!sensorTiedTo(map, s + first + row)) continue;
      page.sensorIconShow = true;
      page.sensorIconPosition = 1 + kPlacesPerPage / kCentralRowsPerPage * row;
    }
    pages.push_back(page);
  }
}

void keepSystemInView(const MapQ7net& map, MapShowManager& manager) {
  if (manager.systemKindNow == kOrdinarySystem) {
    if (manager.systemNumberNow > map.systems.count()) return;
    const int32_t systemPages = std::max(1, ordinarySystemPages(map, manager.systemNumberNow));
    manager.pageNumberNow = ordinaryPagesUpTo(map, manager.systemNumberNow - 1) +
                            std::clamp(manager.systemPageNumberNow, 1, systemPages);
    manager.airconNumberNow = 1;
  } else if (manager.systemKindNow == kCentralSystem) {
    manager.pageNumberNow = ordinaryPagesUpTo(map, map.systems.count()) +
                            pagesFor(manager.systemNumberNow, kCentralRowsPerPage);
    manager.systemCenNow = 1;
  }
  // A place beyond the pages (a system that shrank) shows the nearest page.
  manager.pageNumberNow = std::clamp(manager.pageNumberNow, 1, manager.totalPages);
}

void startAtFirstPage(MapShowManager& manager) {
  manager.systemNumberNow = 1;
  manager.systemPageNumberNow = 1;
  manager.pageNumberNow = 1;
  manager.airconNumberNow = 1;
  manager.systemCenNow = 1;
  manager.systemKindNow = manager.pages.item(1)->systemKind;
}

}  // namespace

int32_t tiedSensorSystemNumber(const MapQ7net& map) {
  if (map.flagForSensor || map.systemsSen.isEmpty()) return 0;
  return map.systemsSen.item(1)->systemNumber;
}

int32_t ordinarySystemPages(const MapQ7net& map, int32_t systemNumber) {
  const auto system = findSystem(map.systems, systemNumber);
  return system ? pagesFor(ordinarySystemPlaces(map, *system), kPlacesPerPage) : 0;
}

int32_t ordinaryPagesUpTo(const MapQ7net& map, int32_t lastSystemNumber) {
  int32_t pages = 0;
  for (int32_t number = 1; number <= lastSystemNumber; ++number) pages += ordinarySystemPages(map, number);
  return pages;
}

std::vector<MapShowOnePage> mapPages(const MapQ7net& map) {
  std::vector<MapShowOnePage> pages;
  for (int32_t number = 1; number <= map.systems.count(); ++number) {
    if (const auto system = findSystem(map.systems, number)) addOrdinaryPages(map, *system, pages);
  }
  addCentralPages(map, pages);
  if (map.flagForSensor && !map.systemsSen.isEmpty()) {
    MapShowOnePage page;
    page.systemKind = kSensorSystem;
    page.systemNumber = 1;
    pages.push_back(page);
  }
  for (std::size_t i = 0; i < pages.size(); ++i) pages[i].pageNumber = static_cast<int32_t>(i) + 1;
  return pages;
}

PagingOutcome setDataToMapShowManagerObj(const MapQ7net& map, MapShowManager& manager, bool& firstPagingDone) {
  const std::vector<MapShowOnePage> wanted = mapPages(map);
  const int32_t total = static_cast<int32_t>(wanted.size());
  if (total == 0) return {};
  const int32_t held = manager.pages.count();
  // Page objects are kept and rewritten in place; others may hold them.
  while (manager.pages.count() > total) manager.pages.remove(manager.pages.count());
  while (manager.pages.count() < total) {
    manager.pages.add(std::make_shared<MapShowOnePage>(), numberKey(manager.pages.count() + 1));
  }
  for (int32_t number = 1; number <= total; ++number) *manager.pages.item(number) = wanted[std::size_t(number - 1)];
  manager.totalPages = total;
  manager.pageNumberNow = std::min(manager.pageNumberNow, total);

  PagingOutcome outcome;
  outcome.paged = true;
  if (!firstPagingDone) {
    firstPagingDone = true;
    outcome.firstPaging = true;
    startAtFirstPage(manager);
  } else if ((held > 0 && total > held) || total < held) {
    keepSystemInView(map, manager);
  }
  return outcome;
}

bool checkWhetherSensorIsSelected(MapShowManager& manager, int32_t selectedIndex) {
  const auto page = manager.pages.item(numberKey(manager.pageNumberNow));
  if (!page) return false;
  manager.systemKindNow = page->systemKind;
  if (page->systemKind != kOrdinarySystem && page->systemKind != kCentralSystem) return false;
  return page->sensorIconShow && page->sensorIconPosition == selectedIndex;
}
