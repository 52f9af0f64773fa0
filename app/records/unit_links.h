// The customer-record data of a map's units, without widgets: which units a
// system offers for editing, the control address a unit record accepts, and
// the giving of a record to a unit. Every unit names its record (a
// LinkAircon of the map) by link number; records that no unit holds stay in
// the map and can be given to a unit later.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "types/MapQ7net.h"

// The system being edited: ordinary (its outdoor units, then its indoor
// units) or central (its one central unit).
struct UnitSystemChoice {
  bool central = false;
  int32_t systemNumber = 0;
};

// The system the map display has chosen: for a central page the chosen
// row's system, counted from the page's first one.
UnitSystemChoice chosenUnitSystem(int32_t systemKindNow, int32_t systemNumberNow, int32_t systemCenNow);
// The chosen system of the map, or null when it has none of that number.
std::shared_ptr<MapSystem> findUnitSystem(const MapQ7net& map, const UnitSystemChoice& choice);
// The entries of the unit choice: "H-" alone for a central system, else
// "O-1".."O-o" and "I-1".."I-i" (the prefixes from the text table).
QStringList unitEntries(const MapSystem& system, bool central);
// The unit of entry n (from 1): the central unit numbered n, or outdoor unit
// n, or indoor unit n minus the outdoor count; null when there is none.
std::shared_ptr<MapAircon> unitOfEntry(const MapSystem& system, bool central, int n);
// The entry (from 0) of the unit chosen on the map display: 24 units a
// page; a place past the end of the list chooses the last entry.
int entryOfDisplayedUnit(int entryCount, int32_t systemPageNumberNow, int32_t airconNumberNow);
// The model text of the system's first unit (outdoor unit 1, or the central
// unit).
QString systemModelText(const MapSystem& system, bool central);

// A centralized address as the engineer may type it: empty (none) or
// "G-UU" with group 1..8 and unit 00..15, outer blanks ignored.
bool isValidControlAddress(const QString& text);

// The 1-based position of the record with that link number in the map's
// record order, 0 when there is none.
int linkPosition(const MapQ7net& map, int32_t linkNo);
// The unit that holds the record: the ordinary systems in order, each its
// outdoor units before its indoor units, then the central systems; null
// when no unit holds it.
MapAircon* unitHoldingLink(const MapQ7net& map, int32_t linkNo);

// Gives record `linkNo` to `unit`: the unit that held it takes the unit's
// record in exchange; with none, the unit's former record is left without
// a unit. Each unit keeps the number it had in linkNoOld. A unit whose
// linkNoNow names no record takes only a record that no unit holds, since
// an exchange would leave the other unit without one. False, with nothing
// changed, when the record is refused or the map has no such record.
bool giveLinkToUnit(MapQ7net& map, MapAircon& unit, int32_t linkNo);
