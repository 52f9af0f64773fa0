// The map window as the unit-information windows (the editor and its list)
// see it: the map whose units they edit, the place shown in it, the redraw
// after an edit and the window that takes the focus back when the editor
// closes. The unit-information windows are opened from the map window and
// must not include it; it puts itself in place here when it is made.
#pragma once

#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <QObject>

class ChildForm;

class UnitInformationMap {
 public:
  // frmMap.mapQ7netObj: the shown map (null before any map was opened).
  virtual MapQ7net* shownMap() const = 0;
  // frmMap.mapShowManagerObj: the system and page shown.
  virtual const MapShowManager& shownPlace() const = 0;
  // frmMap.showMap: the current page drawn again.
  virtual void redrawMap() = 0;
  // The map window itself, which takes the focus again when the editor
  // closes.
  virtual ChildForm& mapWindow() = 0;

 protected:
  UnitInformationMap() = default;
  ~UnitInformationMap() = default;
};

// Puts the map window in place; it drops out by itself when the window is
// destroyed.
void installUnitInformationMap(QObject* window, UnitInformationMap* asSeen);
// The map window, or null when none exists.
UnitInformationMap* unitInformationMap();
// The shown map, or null when there is no map window or no map.
MapQ7net* unitInformationShownMap();
// The place shown in the map window; an empty place without a map window.
const MapShowManager& unitInformationShownPlace();
