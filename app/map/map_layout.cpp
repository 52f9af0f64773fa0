#include "map/map_layout.h"

#include "frame/common_routines.h"
#include "map/map_paging.h"
#include "types/map_tree.h"
#include "types/unit_kinds.h"

#include <algorithm>

namespace {

constexpr int kSlots = 24;
constexpr int kColumns = 8;
constexpr int32_t kColumnStep = 930;

// Per row 0..2.
constexpr std::array<int32_t, 3> kNameTop{75, 1375, 2665};
constexpr std::array<int32_t, 3> kIconTop{50, 1350, 2640};
constexpr std::array<int32_t, 3> kLineY{375, 1675, 2985};
constexpr std::array<int32_t, 3> kAddressTop{750, 2050, 3330};
constexpr std::array<int32_t, 3> kPlaceTop{1050, 2350, 3630};
// Trunk segments: top edge to row 0, row 0 to 1, row 1 to 2, row 2 to the
// bottom edge (a segment at an edge shows the bus or system going on).
constexpr std::array<int32_t, 5> kTrunkY{0, 375, 1675, 2985, 3945};
constexpr int32_t kBusTrunkX = 1200;
constexpr int32_t kUnitTrunkX = 1400;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

MapSlotScene slotPlaces(int slot) {
  const std::size_t row = at(slot / kColumns);
  const int32_t column = slot % kColumns;
  const int32_t left = 1600 + kColumnStep * column;
  MapSlotScene places;
  places.cmdAircon.place = {left, kIconTop[row], 650, 650};
  places.txtControlAddress.place = {1470 + kColumnStep * column, kAddressTop[row], 450, 270};
  places.txtZubrelAddress.place = {1930 + kColumnStep * column, kAddressTop[row], 450, 270};
  places.txtPlace.place = {1470 + kColumnStep * column, kPlaceTop[row], 910, 270};
  // From the unit trunk into the first icon, else from the icon before.
  places.linHor.place = column == 0 ? TwipsLine{kUnitTrunkX, kLineY[row], 1610, kLineY[row]}
                                    : TwipsLine{left - kColumnStep + 650, kLineY[row], left, kLineY[row]};
  return places;
}

MapRowScene rowPlaces(int row) {
  MapRowScene places;
  places.lblSystemName.place = {315, kNameTop[at(row)], 525, 180};
  places.txtControlAddressTital.place = {45, kAddressTop[at(row)], 500, 270};
  places.txtZubrelAddressTital.place = {550, kAddressTop[at(row)], 600, 270};
  places.txtPlaceTital.place = {45, kPlaceTop[at(row)], 1105, 270};
  places.linSystem.place = {kBusTrunkX, kLineY[at(row)], kUnitTrunkX, kLineY[at(row)]};
  return places;
}

void showSlotTexts(MapSlotScene& slot, bool visible) {
  for (auto* box : {&slot.txtControlAddress, &slot.txtZubrelAddress, &slot.txtPlace}) box->visible = visible;
}

void showSlot(MapSlotScene& slot, bool visible) {
  slot.linHor.visible = visible;
  slot.cmdAircon.visible = visible;
  showSlotTexts(slot, visible);
}

void showTitles(MapRowScene& row, bool visible) {
  for (auto* box : {&row.txtControlAddressTital, &row.txtZubrelAddressTital, &row.txtPlaceTital}) {
    box->visible = visible;
  }
}

void hideAll(MapPageScene& scene) {
  for (auto& unit : scene.units) showSlot(unit, false);
  for (auto& row : scene.rows) {
    row.lblSystemName.visible = false;
    showTitles(row, false);
    row.linSystem.visible = false;
  }
  for (auto& line : scene.linVer1) line.visible = false;
  for (auto& line : scene.linVer2) line.visible = false;
}

void nameRow(MapRowScene& row, const QString& systemWord, int32_t number) {
  row.lblSystemName.text = systemWord + QLatin1Char(' ') + QString::number(number);
  row.lblSystemName.visible = true;
}

// The unit's icon and texts into a place; a place without its unit is
// cleared rather than left with what an earlier page put there.
void placeUnit(const MapQ7net& map, const MapAircon* unit, int32_t column, MapSlotScene& slot, bool& ready) {
  if (!unit) {
    slot.cmdAircon.picture = QString();
    for (auto* box : {&slot.txtControlAddress, &slot.txtZubrelAddress, &slot.txtPlace}) box->text = QString();
    return;
  }
  if (auto icon = unitIconFile(column, unit->onLine, unit->state)) slot.cmdAircon.picture = *icon;
  if (unit->onLine == 3) ready = true;
  const auto link = findLink(map, unit->linkNoNow);
  slot.txtControlAddress.text = link ? unitAddressToText(link->controlAddress) : QString();
  slot.txtPlace.text = link ? link->place : QString();
  slot.txtZubrelAddress.text = zeroPad3(unit->zubrelAddress);
}

const MapAircon* indoorUnitNumbered(const MapSystem& system, int32_t number) {
  for (const auto& unit : system.airconsIn) {
    if (unit->airconNumber == number) return unit.get();
  }
  return nullptr;
}

struct PageDrawing {
  const MapQ7net& map;
  const MapShowOnePage& page;
  int32_t pageNumber;
  int32_t totalPages;
  const QString& systemWord;
  MapPageScene& scene;

  int32_t systemsOnBus() const { return map.systems.count() + map.systemsCen.count(); }

  void central() {
    const int32_t rows = std::clamp(page.totalSystems, 1, 3);
    const std::array<int32_t, 3> numbers{page.systemNumber1, page.systemNumber2, page.systemNumber3};
    for (auto& line : scene.linVer2) line.visible = false;
    for (int slot = 0; slot < kSlots; ++slot) {
      if (slot % kColumns >= 2) showSlot(scene.units[at(slot)], false);
    }
    showTitles(scene.rows[0], true);
    for (int row = 0; row < 3; ++row) {
      MapRowScene& rowScene = scene.rows[at(row)];
      const bool used = row < rows;
      showTitles(rowScene, used);
      if (!used) {
        rowScene.lblSystemName.visible = false;
        continue;
      }
      // Central systems are numbered after the ordinary ones.
      nameRow(rowScene, systemWord, numbers[at(row)] + map.systems.count());
      const auto system = findSystem(map.systemsCen, numbers[at(row)]);
      const auto unit = system ? system->airconsCen.item(numberKey(1)) : nullptr;
      placeUnit(map, unit.get(), kCentralUnit, scene.units[at(kColumns * row)], scene.mapDataReady);
    }
    scene.rows[0].linSystem.visible = true;
    showSlot(scene.units[0], true);
    for (int row = 1; row < 3; ++row) {
      const bool used = row < rows;
      scene.linVer1[at(row)].visible = used;
      scene.rows[at(row)].linSystem.visible = used;
      showSlot(scene.units[at(kColumns * row)], used);
    }
    for (int row = 0; row < 3; ++row) {
      const int slot = kColumns * row + 1;
      MapSlotScene& sensorSlot = scene.units[at(slot)];
      showSlotTexts(sensorSlot, false);
      const bool sensorHere = page.sensorIconShow && page.sensorIconPosition == slot;
      if (sensorHere) sensorSlot.cmdAircon.picture = sensorIconFile();
      sensorSlot.linHor.visible = sensorHere;
      sensorSlot.cmdAircon.visible = sensorHere;
    }
    const bool branches = systemsOnBus() >= 2;
    scene.rows[0].linSystem.visible = branches;
    scene.units[0].linHor.visible = branches;
    scene.linVer1[0].visible = pageNumber != 1;
    scene.linVer1[3].visible = pageNumber != totalPages;
  }

  void sensor() {
    // The rest of the map area is hidden: nothing of the page before stays.
    hideAll(scene);
    nameRow(scene.rows[0], systemWord, page.systemNumber);
    scene.mapDataReady = true;
    scene.units[0].cmdAircon.picture = sensorIconFile();
    scene.units[0].cmdAircon.visible = true;
  }

  void ordinary() {
    const int32_t number = page.systemNumber;
    const bool first = page.systemStart == 1;
    const bool last = page.systemEnd == 1;
    const int count = std::clamp(page.endNumber - page.startNumber + 1, 0, kSlots);
    const int32_t systems = systemsOnBus();

    showTitles(scene.rows[0], true);
    scene.rows[0].lblSystemName.visible = first;
    if (first) nameRow(scene.rows[0], systemWord, number);
    scene.rows[1].lblSystemName.visible = false;
    scene.rows[2].lblSystemName.visible = false;
    showTitles(scene.rows[1], count >= 9);
    showTitles(scene.rows[2], count >= 17);

    if (number < systems) {
      scene.linVer1[0].visible = pageNumber != 1;
      for (int segment = 1; segment < 4; ++segment) scene.linVer1[at(segment)].visible = pageNumber != totalPages;
    } else {
      scene.linVer1[0].visible = systems != 1 && first;
      for (int segment = 1; segment < 4; ++segment) scene.linVer1[at(segment)].visible = false;
    }
    scene.linVer2[0].visible = !first;
    scene.linVer2[1].visible = count >= 9;
    scene.linVer2[2].visible = count >= 17;
    scene.linVer2[3].visible = !last;

    placeUnits(count);
    const bool sensorShown = page.sensorIconShow && page.sensorIconPosition >= 0 && page.sensorIconPosition < kSlots;
    if (sensorShown) scene.units[at(page.sensorIconPosition)].cmdAircon.picture = sensorIconFile();
    for (int slot = 0; slot < kSlots; ++slot) showSlot(scene.units[at(slot)], slot < count);
    if (page.sensorIconShow && count > 0) showSlotTexts(scene.units[at(count - 1)], false);

    if (systems == 1) {
      scene.rows[0].linSystem.visible = false;
      scene.units[0].linHor.visible = !first || count > 8;
    } else if (systems > 1) {
      scene.rows[0].linSystem.visible = first;
      scene.linVer2[0].visible = !first;
    }
    scene.rows[1].linSystem.visible = false;
    scene.rows[2].linSystem.visible = false;
  }

  // Running number k of the system (outdoor units 1..out, then indoor unit
  // m at out + m) goes to place k - startNumber on every page, so a system
  // of more than 24 outdoor units goes on over its pages too.
  void placeUnits(int count) {
    const auto system = findSystem(map.systems, page.systemNumber);
    const int32_t outdoor = system ? system->airconsOut.count() : 0;
    for (int slot = 0; slot < count; ++slot) {
      const int32_t running = page.startNumber + slot;
      const MapAircon* unit = nullptr;
      int32_t column = kOutdoorUnit;
      if (system && running <= outdoor) {
        unit = system->airconsOut.item(numberKey(running)).get();
      } else if (system) {
        unit = indoorUnitNumbered(*system, running - outdoor);
        column = kIndoorUnit;
      }
      placeUnit(map, unit, column, scene.units[at(slot)], scene.mapDataReady);
    }
  }

  // The manager's place follows the page drawn.
  void follow(MapSelection& selection) const {
    if (page.systemKind == kOrdinarySystem) {
      selection.systemNumberNow = page.systemNumber;
      if (selection.systemNumberNow > map.systems.count()) return;
      selection.systemPageNumberNow = pageNumber - ordinaryPagesUpTo(map, selection.systemNumberNow - 1);
      if (page.endNumber - page.startNumber + 1 < selection.airconNumberNow) selection.airconNumberNow = 1;
    } else if (page.systemKind == kCentralSystem) {
      selection.systemNumberNow = page.systemNumber1;
      selection.systemPageNumberNow = 1;
      if (selection.systemCenNow == 0 || selection.systemCenNow > page.totalSystems) selection.systemCenNow = 1;
    }
  }
};

MapSelection selectionOf(const MapShowManager& manager) {
  return {manager.systemKindNow, manager.systemNumberNow, manager.systemPageNumberNow, manager.airconNumberNow,
          manager.systemCenNow};
}

}  // namespace

void MapSelection::storeInto(MapShowManager& manager) const {
  manager.systemKindNow = systemKindNow;
  manager.systemNumberNow = systemNumberNow;
  manager.systemPageNumberNow = systemPageNumberNow;
  manager.airconNumberNow = airconNumberNow;
  manager.systemCenNow = systemCenNow;
}

MapPageScene mapAreaScene() {
  MapPageScene scene;
  for (int slot = 0; slot < kSlots; ++slot) scene.units[at(slot)] = slotPlaces(slot);
  for (int row = 0; row < 3; ++row) scene.rows[at(row)] = rowPlaces(row);
  for (int segment = 0; segment < 4; ++segment) {
    scene.linVer1[at(segment)].place = {kBusTrunkX, kTrunkY[at(segment)], kBusTrunkX, kTrunkY[at(segment + 1)]};
    scene.linVer2[at(segment)].place = {kUnitTrunkX, kTrunkY[at(segment)], kUnitTrunkX, kTrunkY[at(segment + 1)]};
  }
  return scene;
}

MapPageScene hiddenMapScene() {
  MapPageScene scene = mapAreaScene();
  hideAll(scene);
  return scene;
}

std::optional<QString> unitIconFile(int32_t airconType, int32_t onLine, int32_t state) {
  const char* prefix = airconType == kIndoorUnit ? "IU_" : airconType == kCentralUnit ? "CU_" : "OU_";
  const char* colour = nullptr;
  if (onLine <= 2) {
    colour = "white";
  } else if (onLine >= 4) {
    colour = "magenta";
  } else if (state == 0) {
    colour = "gray";
  } else if (state == 1) {
    colour = "green";
  } else if (state == 2) {
    colour = "red";
  } else {
    return std::nullopt;
  }
  return QStringLiteral("icons/%1%2.ico").arg(QLatin1String(prefix), QLatin1String(colour));
}

MapPageScene layoutMapPage(const MapQ7net& map, const MapShowManager& manager, int32_t workMode,
                           bool mapDataReadyBefore, const QString& systemWord) {
  MapPageScene scene = mapAreaScene();
  scene.mapDataReady = workMode == 0 ? false : workMode == 1 ? true : mapDataReadyBefore;
  scene.selection = selectionOf(manager);
  const int32_t pageNumber = manager.pageNumberNow;
  const int32_t totalPages = manager.totalPages;
  scene.cmdUpEnabled = totalPages > 1 && pageNumber != 1;
  scene.cmdDownEnabled = totalPages > 1 && pageNumber < totalPages;
  if (totalPages <= 0) return scene;
  const auto page = manager.pages.item(numberKey(pageNumber));
  if (!page) return scene;

  scene.selection.systemKindNow = page->systemKind;
  PageDrawing drawing{map, *page, pageNumber, totalPages, systemWord, scene};
  if (page->systemKind == kCentralSystem) {
    drawing.central();
  } else if (page->systemKind == kSensorSystem) {
    drawing.sensor();
  } else if (page->systemKind == kOrdinarySystem) {
    drawing.ordinary();
  }
  scene.drawn = true;
  drawing.follow(scene.selection);
  return scene;
}
