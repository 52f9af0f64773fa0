// What the map hands to the library: every unit with its customer-record
// texts (before recording and live display), the model of every newly seen
// unit (after a scan that agrees with a stored bus map), and the customer
// data for the header of the next recorded file.
#pragma once

#include "types/CustomInfor.h"
#include "types/DataManageInfor.h"
#include "types/MapQ7net.h"

#include <QString>

#include <cstdint>
#include <functional>

class TramsollApi;

// setNetMapInfo for every unit: ordinary systems (outdoor units with their
// own sub-number, then indoor units), central systems numbered after the
// ordinary ones, sensor inputs. Each unit's model, serial number and
// installation site come from its link record, cut to their fields, a blank
// for an empty one; a unit without a link record and every sensor input go
// with three blanks and no control address (-1). Results are not examined.
void sendNetMapInfo(const MapQ7net& map, TramsollApi& api);

// setDkishuName for every unit newly seen on the bus (on-line state 1 or 2)
// with its model text (a blank when empty); sensor inputs are skipped.
// `onModelUnknown` is called at the first answer 5 (the library does not
// know the model) and not again in this walk; the walk goes on either way.
void sendDkishuName(const MapQ7net& map, TramsollApi& api, const std::function<void()>& onModelUnknown);

// The folder of the recorded files: the program folder with a trailing "/",
// and for a customer with an id its folder as it is named on disk (the id
// itself while there is none yet) with a trailing "/".
QString customerDataFolder(const QString& programFolder, const QString& customerId);

// setFileHeader with the customer's id and name, the last person in charge
// of the service station, the map's name and the customer folder, each cut
// to its field (a blank for an empty id, name or person). Answers 1 and
// sends nothing when the folder does not fit its field, else 0.
int32_t sendFileHeader(const MapQ7net& map, const CustomInfor& customer, const DataManageInfor& serviceShop,
                       const QString& programFolder, TramsollApi& api);
