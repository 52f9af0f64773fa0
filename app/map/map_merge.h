// Reconciling the bus scan with a stored map: whether the units the bus
// shows still fit the map, and carrying their live values into it so that
// the map keeps its names, places, link records and recording settings
// while its icons follow the bus.
#pragma once

#include "types/MapQ7net.h"

// True when every scanned unit has its place in the stored map: each
// scanned system with a ROM number finds the first stored system of that
// ROM number holding its outdoor and indoor addresses, and each central
// system on line finds one at its address. Stored units the bus lacks, sub
// numbers, counts and model names never make the maps differ.
bool compareScanWithMap(const MapQ7net& scanned, const MapQ7net& stored);

// Bus access: each scanned system goes into the stored system of its ROM
// number. More outdoor units than stored rebuilds the stored outdoor units
// from the scan (their link records stay for reuse); otherwise units found
// at the same address take their live values. Indoor units are matched by
// address and never added or removed; central systems on line by address.
void mergeScanBus(const MapQ7net& scanned, MapQ7net& stored);

// Board access: every scanned system into every stored system by unit
// number, adding units (never removing) until the stored system has as many;
// central systems by system number.
void mergeScanBoard(const MapQ7net& scanned, MapQ7net& stored);

// What a scan did to a stored map, by the stored map's interface mode.
enum class ScanReconcile {
  kNotReconciled,  // sensor input only or another mode
  kMergedBus,      // bus access and the maps agree: merged
  kMapsDiffer,     // bus access, the bus no longer fits: nothing merged
  kMergedBoard,    // board access: merged without comparison
};
ScanReconcile reconcileScanWithMap(const MapQ7net& scanned, MapQ7net& stored);

