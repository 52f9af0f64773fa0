#include "map/map_library.h"

#include "frame/library/tramsoll_api.h"
#include "frame/site/paths.h"
#include "map/map_tree.h"
#include "recording/recording_systems.h"
#include "types/unit_kinds.h"

namespace {

constexpr int32_t kNoControlAddress = -1;
constexpr int32_t kModelUnknown = 5;

// The library's text fields in bytes, terminator included.
constexpr int kCustomerIdField = 32;
constexpr int kPersonField = 32;
constexpr int kCustomerNameField = 64;
constexpr int kMapNameField = 64;
constexpr int kUnitTextField = 64;  // model, serial number, installation site

// A text cut on a character boundary to fit its field; the library takes an
// empty text as one blank.
QByteArray textForField(const QString& text, int fieldBytes) {
  if (text.isEmpty()) return QByteArrayLiteral(" ");
  return textForLibrary(text, fieldBytes - 1);
}

// The customer-record texts of one unit as the library takes them.
struct UnitTexts {
  QByteArray model = QByteArrayLiteral(" ");
  QByteArray serialNumber = QByteArrayLiteral(" ");
  QByteArray place = QByteArrayLiteral(" ");
  int32_t controlAddress = kNoControlAddress;
};

UnitTexts unitTextsOf(const MapQ7net& map, const MapAircon& unit) {
  const auto link = findLink(map, unit.linkNoNow);
  if (!link) return {};
  return {textForField(link->kind, kUnitTextField), textForField(link->serialNumber, kUnitTextField),
          textForField(link->place, kUnitTextField), link->controlAddress};
}

void sendUnit(TramsollApi& api, int32_t kind, const MapAircon& unit, int32_t subNo, int32_t systemNumber,
              const UnitTexts& texts) {
  api.setNetMapInfo(kind, unit.autoAddress, subNo, unit.airconNumber, systemNumber, texts.controlAddress,
                    texts.model.constData(), texts.serialNumber.constData(), texts.place.constData());
}

void sendLinkedUnits(const MapQ7net& map, TramsollApi& api, const Collection<MapAircon>& units, int32_t kind,
                     int32_t systemNumber) {
  for (const auto& unit : units) {
    const int32_t subNo = kind == kOutdoorUnit ? unit->airconSubNo : 1;
    sendUnit(api, kind, *unit, subNo, systemNumber, unitTextsOf(map, *unit));
  }
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
  for (const auto& system : map.systems) {
    sendLinkedUnits(map, api, system->airconsOut, kOutdoorUnit, system->systemNumber);
    sendLinkedUnits(map, api, system->airconsIn, kIndoorUnit, system->systemNumber);
  }
  for (const auto& system : map.systemsCen) {
    sendLinkedUnits(map, api, system->airconsCen, kCentralUnit,
                    librarySystemNumber(map, kCentralSystem, system->systemNumber));
  }
  for (const auto& system : map.systemsSen) {
    for (const auto& unit : system->airconsSen) sendUnit(api, kSensorUnit, *unit, 1, system->systemNumber, {});
  }
}

void sendDkishuName(const MapQ7net& map, TramsollApi& api, const std::function<void()>& onModelUnknown) {
  bool told = false;
  const auto send = [&](const Collection<MapAircon>& units, int32_t kind) {
    for (const auto& unit : units) {
      if (!isNewlySeen(*unit)) continue;
      const int32_t subNo = kind == kOutdoorUnit ? unit->airconSubNo : 1;
      const QByteArray model = textForField(unit->generalKind, kUnitTextField);
      const int32_t answer = api.setDkishuName(kind, unit->autoAddress, subNo, model.constData());
      if (answer != kModelUnknown || told) continue;
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
  const QByteArray folder = customerDataFolder(programFolder, customer.id).toUtf8();
  if (folder.size() >= kCustomerFolderField) return 1;
  const QByteArray id = textForField(customer.id, kCustomerIdField);
  const QByteArray name = textForField(customer.name, kCustomerNameField);
  const QByteArray person = textForField(lastPersonInCharge(serviceShop), kPersonField);
  const QByteArray mapName = textForLibrary(map.mapName, kMapNameField - 1);
  api.setFileHeader(id.constData(), name.constData(), person.constData(), mapName.constData(), folder.constData());
  return 0;
}
