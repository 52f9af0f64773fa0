#include "map/unit_information_map.h"

#include "frame/installed_window.h"

namespace {

InstalledWindow<UnitInformationMap>& installed() {
  static InstalledWindow<UnitInformationMap> mapWindow;
  return mapWindow;
}

}  // namespace

void installUnitInformationMap(QObject* window, UnitInformationMap* asSeen) { installed().install(window, asSeen); }

UnitInformationMap* unitInformationMap() { return installed().get(); }

MapQ7net* unitInformationShownMap() {
  const UnitInformationMap* window = unitInformationMap();
  return window ? window->shownMap() : nullptr;
}

const MapShowManager& unitInformationShownPlace() {
  static const MapShowManager noPlace;
  const UnitInformationMap* window = unitInformationMap();
  return window ? window->shownPlace() : noPlace;
}
