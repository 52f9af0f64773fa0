#include "records/unit_links.h"

#include <algorithm>

#include "frame/texts/text_table.h"
#include "types/map_tree.h"

namespace {

constexpr int32_t kUnitsPerPage = 24;
constexpr int kOutdoorPrefix = 10;
constexpr int kIndoorPrefix = 11;
constexpr int kCentralPrefix = 12;

std::shared_ptr<MapAircon> unitNumbered(const Collection<MapAircon>& units, int32_t number) {
  for (const auto& unit : units) {
    if (unit->airconNumber == number) return unit;
  }
  return nullptr;
}

}  // namespace

UnitSystemChoice chosenUnitSystem(int32_t systemKindNow, int32_t systemNumberNow, int32_t systemCenNow) {
  if (systemKindNow == 0) return {false, systemNumberNow};
  return {true, systemNumberNow + systemCenNow - 1};
}

std::shared_ptr<MapSystem> findUnitSystem(const MapQ7net& map, const UnitSystemChoice& choice) {
  return findSystem(choice.central ? map.systemsCen : map.systems, choice.systemNumber);
}

QStringList unitEntries(const MapSystem& system, bool central) {
  if (central) return {tableText(kCentralPrefix)};
  QStringList entries;
  for (int k = 1; k <= system.airconsOut.count(); ++k) entries << tableText(kOutdoorPrefix) + QString::number(k);
  for (int k = 1; k <= system.airconsIn.count(); ++k) entries << tableText(kIndoorPrefix) + QString::number(k);
  return entries;
}

std::shared_ptr<MapAircon> unitOfEntry(const MapSystem& system, bool central, int n) {
  if (central) return unitNumbered(system.airconsCen, n);
  const int outdoor = system.airconsOut.count();
  return n > outdoor ? unitNumbered(system.airconsIn, n - outdoor) : unitNumbered(system.airconsOut, n);
}

int entryOfDisplayedUnit(int entryCount, int32_t systemPageNumberNow, int32_t airconNumberNow) {
  const int64_t place = int64_t{systemPageNumberNow - 1} * kUnitsPerPage + airconNumberNow;
  if (entryCount < place) return entryCount - 1;
  return static_cast<int>(std::max<int64_t>(place - 1, 0));
}

QString systemModelText(const MapSystem& system, bool central) {
  const auto first = (central ? system.airconsCen : system.airconsOut).item(numberKey(1));
  return first ? first->generalKind : QString();
}

bool isValidControlAddress(const QString& text) {
  const QString address = text.trimmed();
  if (address.isEmpty()) return true;
  if (address.size() != 4 || address[1] != QLatin1Char('-')) return false;
  const QChar group = address[0];
  if (group < QLatin1Char('1') || group > QLatin1Char('8')) return false;
  const auto isAsciiDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
  if (!isAsciiDigit(address[2]) || !isAsciiDigit(address[3])) return false;
  return address[2].digitValue() * 10 + address[3].digitValue() <= 15;
}

int linkPosition(const MapQ7net& map, int32_t linkNo) {
  for (int position = 1; position <= map.linkAircons.count(); ++position) {
    if (map.linkAircons.item(position)->linkNo == linkNo) return position;
  }
  return 0;
}

MapAircon* unitHoldingLink(const MapQ7net& map, int32_t linkNo) {
  MapAircon* holder = nullptr;
  forEachLinkedUnit(map, [&](MapAircon& unit) {
    if (!holder && unit.linkNoNow == linkNo) holder = &unit;
  });
  return holder;
}

bool giveLinkToUnit(MapQ7net& map, MapAircon& unit, int32_t linkNo) {
  if (!findLink(map, linkNo)) return false;
  if (unit.linkNoNow == linkNo) return true;
  const int32_t held = findLink(map, unit.linkNoNow) ? unit.linkNoNow : 0;
  MapAircon* other = unitHoldingLink(map, linkNo);
  if (other && held == 0) return false;
  if (other) {
    other->linkNoOld = linkNo;
    other->linkNoNow = held;
  }
  unit.linkNoOld = held;
  unit.linkNoNow = linkNo;
  return true;
}
