// Replacing the shown map with one rebuilt from the bus: adopting the scan
// when the bus no longer fits a stored map (changeMap), or starting over
// from an empty map on a rescan (refreshMap). Both keep the customer and map
// identity, the recording settings and the customer-record data of the units
// (link records), and leave the window showing the live scan.
//
// These are the map model's share. The window first tells its display
// windows to close, unloads the set-up and unit windows, stops what records
// and hides the drawn page (refreshMap also stops the poll and the scan);
// afterwards it switches the scan on again (refreshMap: the poll too, and it
// whitens the unit buttons).
#pragma once

#include "map/map_window_maps.h"
#include "types/CustomInfor.h"

#include <QDate>

class TramsollApi;

// The identity and settings a rebuilt map takes from the map it replaces:
// customer and map names, numbers, interface mode without its sensor input,
// the map's model text, the recording and sensor-channel settings; saved
// today; not a sensor-only map.
void copyMapIdentity(const MapQ7net& from, MapQ7net& to, const QDate& today);

// The old link records go into the adopted map by link number: a record of
// the same number takes the old data, an old record without one is added
// under the smallest number the adopted map does not carry yet.
void mergeOldLinkRecords(const MapQ7net& old, MapQ7net& adopted);

// Where `shown` stands in the customer's maps, `replacement` takes its place
// (under the same key); a map the customer does not hold leaves them as they
// are. True when it was replaced.
bool replaceCustomerMap(CustomInfor& customer, const std::shared_ptr<MapQ7net>& shown,
                        const std::shared_ptr<MapQ7net>& replacement);

// Adopts the scanned map (newMapQ7netObj) in place of the stored one:
// gathering restarts with the initial bus scan, the old identity, settings
// and link records go into the scanned map, the pages and the trigger model
// are emptied, the scanned map replaces the old one among the customer's
// maps, and the map mode becomes the scan's.
void changeMap(MapWindowMaps maps, CustomInfor& customer, TramsollApi& api, const QDate& today);

// Starts the shown map over: gathering restarts with the initial bus scan,
// a new empty map takes the old identity, settings and link records, the
// pages and the trigger model are emptied, and the new map is shown and
// built by the next scans. It replaces the old map among the customer's maps
// whenever the old one is stored there.
void refreshMap(MapWindowMaps maps, CustomInfor& customer, TramsollApi& api, const QDate& today);
