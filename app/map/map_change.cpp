#include "map/map_change.h"

#include "map/map_gathering.h"
#include "map/map_lifecycle.h"
#include "types/map_tree.h"
#include "frame/program_values.h"

namespace {

void copyRecordingSettings(const MapQ7net& from, MapQ7net& to) {
  to.recodeInterval = from.recodeInterval;
  to.recodeMethod = from.recodeMethod;
  to.recodeTime = from.recodeTime;
  to.recodeTriggerTime = from.recodeTriggerTime;
  to.check1 = from.check1, to.check2 = from.check2, to.check3 = from.check3, to.check4 = from.check4;
  to.check5 = from.check5, to.check6 = from.check6, to.check7 = from.check7, to.check8 = from.check8;
  to.itemName1 = from.itemName1, to.itemName2 = from.itemName2, to.itemName3 = from.itemName3;
  to.itemName4 = from.itemName4, to.itemName5 = from.itemName5, to.itemName6 = from.itemName6;
  to.itemName7 = from.itemName7, to.itemName8 = from.itemName8;
  to.switch7 = from.switch7, to.range7 = from.range7, to.offset7 = from.offset7;
  to.fullscall7 = from.fullscall7, to.unit7 = from.unit7;
  to.switch8 = from.switch8, to.range8 = from.range8, to.offset8 = from.offset8;
  to.fullscall8 = from.fullscall8, to.unit8 = from.unit8;
}

void copyLinkData(const LinkAircon& from, LinkAircon& to) {
  to.kind = from.kind;
  to.serialNumber = from.serialNumber;
  to.place = from.place;
  to.controlAddress = from.controlAddress;
}

// A map with sensor input gathers without it from now on: the rebuilt map
// has no sensor system.
void restartGatheringFor(const MapQ7net& old, TramsollApi& api) {
  const int32_t gatherMode = hasSensorInput(old.ifMode) ? withoutSensorInput(old.ifMode) : program().gatherMode;
  restartGatheringWithBusScan(api, gatherMode);
}

// The pages go and the next paging starts at system 1 again; the trigger
// model of the old units goes too.
void forgetOldPagesAndTrigger(MapWindowMaps& maps) {
  deleteMapShowManagerObj(maps.mapShowManagerObj);
  maps.firstPagingDone = false;
  releaseSystemTriggerObj(maps.systemTriggerObj);
}

}  // namespace

void copyMapIdentity(const MapQ7net& from, MapQ7net& to, const QDate& today) {
  to.customName = from.customName;
  to.mapName = from.mapName;
  to.mapNumber = from.mapNumber;
  to.mapIndex = from.mapIndex;
  to.ifMode = withoutSensorInput(from.ifMode);
  // A board map names its unit's model, which its next opening gathers for.
  to.generalKind = from.generalKind;
  to.saveYear = today.year();
  to.saveMonth = today.month();
  to.saveDay = today.day();
  to.flagForSensor = false;
  copyRecordingSettings(from, to);
}

void mergeOldLinkRecords(const MapQ7net& old, MapQ7net& adopted) {
  for (const auto& link : old.linkAircons) {
    auto target = findLink(adopted, link->linkNo);
    if (!target) {
      target = std::make_shared<LinkAircon>();
      target->linkNo = nextNewLinkNumber(adopted);
      if (!adopted.linkAircons.add(target, numberKey(target->linkNo))) continue;
    }
    copyLinkData(*link, *target);
  }
}

bool replaceCustomerMap(CustomInfor& customer, const std::shared_ptr<MapQ7net>& shown,
                        const std::shared_ptr<MapQ7net>& replacement) {
  for (int position = 1; position <= customer.q7nets.count(); ++position) {
    if (customer.q7nets.item(position) != shown) continue;
    const QString key = customer.q7nets.keyAt(position);
    customer.q7nets.remove(position);
    customer.q7nets.add(replacement, key);
    return true;
  }
  return false;
}

void changeMap(MapWindowMaps maps, CustomInfor& customer, TramsollApi& api, const QDate& today) {
  const auto old = maps.mapQ7netObj;
  const auto adopted = maps.newMapQ7netObj;
  if (!old || !adopted || old == adopted) return;
  restartGatheringFor(*old, api);
  copyMapIdentity(*old, *adopted, today);
  mergeOldLinkRecords(*old, *adopted);
  forgetOldPagesAndTrigger(maps);
  replaceCustomerMap(customer, old, adopted);
  deleteMapQ7netObj(*old);
  maps.mapQ7netObj = adopted;
  maps.mapMode = kMapModeScan;
}

void refreshMap(MapWindowMaps maps, CustomInfor& customer, TramsollApi& api, const QDate& today) {
  const auto old = maps.mapQ7netObj;
  if (!old) return;
  restartGatheringFor(*old, api);
  auto fresh = std::make_shared<MapQ7net>();
  copyMapIdentity(*old, *fresh, today);
  for (const auto& link : old->linkAircons) {
    auto copy = std::make_shared<LinkAircon>(*link);
    fresh->linkAircons.add(copy, numberKey(copy->linkNo));
  }
  forgetOldPagesAndTrigger(maps);
  replaceCustomerMap(customer, old, fresh);
  deleteMapQ7netObj(*old);
  if (maps.newMapQ7netObj && maps.newMapQ7netObj != old) deleteMapQ7netObj(*maps.newMapQ7netObj);
  maps.mapQ7netObj = fresh;
  maps.newMapQ7netObj = fresh;
  maps.mapMode = kMapModeScan;
}
