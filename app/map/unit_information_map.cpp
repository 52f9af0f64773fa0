#include "map/unit_information_map.h"

#include <QPointer>

namespace {

struct Installed {
  QPointer<QObject> window;
  UnitInformationMap* asSeen = nullptr;
};

Installed& installed() {
  static Installed mapWindow;
  return mapWindow;
}

}  // namespace

void installUnitInformationMap(QObject* window, UnitInformationMap* asSeen) { installed() = {window, asSeen}; }

UnitInformationMap* unitInformationMap() {
  const Installed& mapWindow = installed();
  return mapWindow.window ? mapWindow.asSeen : nullptr;
}

MapQ7net* unitInformationShownMap() {
  const UnitInformationMap* window = unitInformationMap();
  return window ? window->shownMap() : nullptr;
}

const MapShowManager& unitInformationShownPlace() {
  static const MapShowManager noPlace;
  const UnitInformationMap* window = unitInformationMap();
  return window ? window->shownPlace() : noPlace;
}
