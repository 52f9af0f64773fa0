#include "map/map_library.h"

#include "frame/library/tramsoll_client.h"
#include "frame/site/paths.h"
#include "types/map_tree.h"
#include "recording/recording_systems.h"
#include "types/unit_kinds.h"

namespace {

constexpr int32_t kModelUnknown = 5;

// One unit with its customer-record texts; a sensor input and a unit
// without a link record go with none and no control address.
NetMapUnit netMapUnit(const MapQ7net& map, const MapAircon& unit, int32_t kind, int32_t systemNumber) {
  NetMapUnit sent;
  sent.unitKind = kind;
  sent.busAddress = unit.autoAddress;
  // Only outdoor units share an address; every other unit is the first.
  sent.subNumber = kind == kOutdoorUnit ? unit.airconSubNo : 1;
  sent.unitNumber = unit.airconNumber;
  sent.systemNumber = systemNumber;
  if (kind == kSensorUnit) return sent;
  if (const auto link = findLink(map, unit.linkNoNow)) {
    sent.controlAddress = link->controlAddress;
    sent.model = link->kind;
    sent.serialNumber = link->serialNumber;
    sent.place = link->place;
  }
  return sent;
}

void sendLinkedUnits(const MapQ7net& map, TramsollClient& client, const Collection<MapAircon>& units, int32_t kind,
                     int32_t systemNumber) {
  for (const auto& unit : units) client.netMapInfo(netMapUnit(map, *unit, kind, systemNumber));
}

bool isNewlySeen(const MapAircon& unit) { return unit.onLine == 1 || unit.onLine == 2; }

// The last person in charge: the entry keyed by the number of entries.
QString lastPersonInCharge(const DataManageInfor& serviceShop) {
  const auto& people = serviceShop.ssChargeMen;
  if (people.isEmpty()) return QString();
  const auto person = people.item(numberKey(people.count()));
  return person ? *person : QString();
}

}  // namespace

void sendNetMapInfo(const MapQ7net& map, TramsollApi& api) {
  TramsollClient client(api);
  for (const auto& system : map.systems) {
    sendLinkedUnits(map, client, system->airconsOut, kOutdoorUnit, system->systemNumber);
    sendLinkedUnits(map, client, system->airconsIn, kIndoorUnit, system->systemNumber);
  }
  for (const auto& system : map.systemsCen) {
    sendLinkedUnits(map, client, system->airconsCen, kCentralUnit,
                    librarySystemNumber(map, kCentralSystem, system->systemNumber));
  }
  for (const auto& system : map.systemsSen) {
    for (const auto& unit : system->airconsSen) {
      client.netMapInfo(netMapUnit(map, *unit, kSensorUnit, system->systemNumber));
    }
  }
}

void sendDkishuName(const MapQ7net& map, TramsollApi& api, const std::function<void()>& onModelUnknown) {
  TramsollClient client(api);
  bool told = false;
  const auto send = [&](const Collection<MapAircon>& units, int32_t kind) {
    for (const auto& unit : units) {
      if (!isNewlySeen(*unit)) continue;
      const int32_t subNo = kind == kOutdoorUnit ? unit->airconSubNo : 1;
      if (client.dkishuName(kind, unit->autoAddress, subNo, unit->generalKind) != kModelUnknown || told) continue;
      told = true;
      if (onModelUnknown) onModelUnknown();
    }
  };
  for (const auto& system : map.systems) {
    send(system->airconsOut, kOutdoorUnit);
    send(system->airconsIn, kIndoorUnit);
  }
  for (const auto& system : map.systemsCen) send(system->airconsCen, kCentralUnit);
}

QString customerDataFolder(const QString& programFolder, const QString& customerId) {
  QString folder = programFolder;
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  if (customerId.isEmpty()) return folder;
  const QString onDisk = findEntryNoCase(programFolder, customerId, EntryKind::Folder);
  return folder + (onDisk.isEmpty() ? customerId : onDisk) + QLatin1Char('/');
}

int32_t sendFileHeader(const MapQ7net& map, const CustomInfor& customer, const DataManageInfor& serviceShop,
                       const QString& programFolder, TramsollApi& api) {
  const FileHeaderTexts header{customer.id, customer.name, lastPersonInCharge(serviceShop), map.mapName,
                               customerDataFolder(programFolder, customer.id)};
  return TramsollClient(api).fileHeader(header) == TramsollClient::kRefused ? 1 : 0;
}
