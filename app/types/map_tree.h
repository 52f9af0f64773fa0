// Walks of a network map's tree that the scan builders, the paging and the
// drawing share: systems by number, the map's units and the link numbers
// that tie each unit to its customer-record data.
#pragma once

#include "types/MapQ7net.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// The key a system, unit, link or page is kept under: its number as text.
inline QString numberKey(int32_t number) { return QString::number(number); }

// The first system of the collection with that systemNumber, or null.
std::shared_ptr<MapSystem> findSystem(const Collection<MapSystem>& systems, int32_t systemNumber);
// The first link record with that linkNo, or null.
std::shared_ptr<LinkAircon> findLink(const MapQ7net& map, int32_t linkNo);

// Calls `visit` for every unit that takes part in linking: the outdoor and
// indoor units of the ordinary systems and the central units of the central
// systems (sensor inputs have no link record).
void forEachLinkedUnit(const MapQ7net& map, const std::function<void(MapAircon&)>& visit);
int32_t mapUnitCount(const MapQ7net& map);
// The linkNo of the first record, in collection order, that no unit uses;
// the number of records + 1 when every record is in use.
int32_t firstFreeLinkNumber(const MapQ7net& map);
// The smallest positive number that no link record carries.
int32_t nextNewLinkNumber(const MapQ7net& map);
// Gives a unit that is about to join the map its link number: a record that
// no unit uses while the map has more records than units, else a new record
// (control address none, model from the unit). The unit's own system must
// already be part of the map, so that its units count.
void linkNewUnit(MapQ7net& map, MapAircon& unit);
// Removes the link records that the units of the collection use.
void removeLinksOf(MapQ7net& map, const Collection<MapAircon>& units);
