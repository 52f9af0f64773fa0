#include "frame/site/customer_file.h"

#include "frame/site/record_fields.h"
#include "frame/texts/text_table.h"

#include <memory>
#include <vector>

bool headHasModelLine(int32_t major, int32_t minor) {
  if (major <= 0 && minor <= 5) return false;
  if (major == 0 && minor == 51) return false;
  return true;
}

// ---- Writing ----

namespace {

// The items of a collection in the order of their numbers 1..count, or false
// when the numbers do not run 1..count without gaps and repeats.
template <class T, class NumberOf>
bool orderByNumber(const Collection<T>& items, NumberOf numberOf, std::vector<std::shared_ptr<T>>& ordered) {
  ordered.assign(static_cast<std::size_t>(items.count()), nullptr);
  for (const auto& item : items) {
    if (!item) return false;
    const int32_t number = numberOf(*item);
    if (number < 1 || number > items.count()) return false;
    auto& slot = ordered[static_cast<std::size_t>(number - 1)];
    if (slot) return false;
    slot = item;
  }
  return true;
}

int32_t airconNumberOf(const MapAircon& unit) { return unit.airconNumber; }
int32_t systemNumberOf(const MapSystem& system) { return system.systemNumber; }

class CustomerWriter {
 public:
  explicit CustomerWriter(QString& error) : error_(error) {}

  bool units(const Collection<MapAircon>& units, std::vector<std::shared_ptr<MapAircon>>& ordered,
             const QString& where) {
    if (orderByNumber(units, airconNumberOf, ordered)) return true;
    return refuse(QStringLiteral("the units of %1 are not numbered 1 to %2").arg(where).arg(units.count()));
  }

  void unitLine(const MapAircon& unit) {
    out.number(unit.airconNumber).number(unit.romNumber).number(unit.autoAddress).number(unit.zubrelAddress);
    out.number(unit.onLine).number(unit.state).text(unit.generalKind).number(unit.linkNoNow).number(unit.linkNoOld);
    out.endRecord();
  }

  bool systems(const MapQ7net& map) {
    std::vector<std::shared_ptr<MapSystem>> ordered;
    if (!orderByNumber(map.systems, systemNumberOf, ordered)) return refuseSystems(map, "systems");
    out.number(map.systems.count()).endRecord();
    for (const auto& system : ordered) {
      std::vector<std::shared_ptr<MapAircon>> outdoor, indoor;
      const QString where = QStringLiteral("system %1 of map %2").arg(system->systemNumber).arg(map.mapNumber);
      if (!units(system->airconsOut, outdoor, where) || !units(system->airconsIn, indoor, where)) return false;
      out.number(system->systemNumber).text(system->systemName);
      out.number(system->airconsOut.count()).number(system->airconsIn.count()).endRecord();
      for (const auto& unit : outdoor) unitLine(*unit);
      for (const auto& unit : indoor) unitLine(*unit);
    }
    return true;
  }

  bool centralSystems(const MapQ7net& map) {
    std::vector<std::shared_ptr<MapSystem>> ordered;
    if (!orderByNumber(map.systemsCen, systemNumberOf, ordered)) return refuseSystems(map, "central systems");
    out.number(map.systemsCen.count()).endRecord();
    for (const auto& system : ordered) {
      std::vector<std::shared_ptr<MapAircon>> central;
      const QString where = QStringLiteral("central system %1 of map %2").arg(system->systemNumber).arg(map.mapNumber);
      if (!units(system->airconsCen, central, where)) return false;
      out.number(system->systemNumber).text(system->systemName).number(system->airconsCen.count()).endRecord();
      for (const auto& unit : central) unitLine(*unit);
    }
    return true;
  }

  void links(const MapQ7net& map) {
    out.number(map.linkAircons.count()).endRecord();
    for (const auto& link : map.linkAircons) {
      out.number(link->linkNo).text(link->kind).text(link->serialNumber).text(link->place);
      out.number(link->controlAddress).endRecord();
    }
  }

  bool map(const MapQ7net& map, bool modelLine) {
    out.number(map.mapNumber).number(map.mapIndex).text(map.mapName).number(map.ifMode);
    out.number(map.saveYear).number(map.saveMonth).number(map.saveDay).endRecord();
    if (modelLine) out.text(map.generalKind).endRecord();
    if (!systems(map) || !centralSystems(map)) return false;
    links(map);
    return true;
  }

  bool refuse(const QString& why) {
    error_ = QStringLiteral("The customer file is not written: ") + why + QLatin1Char('.');
    return false;
  }

  RecordWriter out;

 private:
  bool refuseSystems(const MapQ7net& map, const char* what) {
    return refuse(QStringLiteral("the %1 of map %2 are not numbered 1 to their count")
                      .arg(QLatin1String(what))
                      .arg(map.mapNumber));
  }

  QString& error_;
};

}  // namespace

bool writeCustomerText(const CustomInfor& customer, int32_t major, int32_t minor, QByteArray& text,
                       QString& error) {
  CustomerWriter writer(error);
  std::vector<std::shared_ptr<MapQ7net>> maps;
  const auto mapNumberOf = [](const MapQ7net& map) { return map.mapNumber; };
  if (!orderByNumber(customer.q7nets, mapNumberOf, maps)) {
    return writer.refuse(QStringLiteral("its maps are not numbered 1 to %1").arg(customer.q7nets.count()));
  }
  RecordWriter& out = writer.out;
  out.number(major).number(minor).endRecord();
  for (const QString* field : {&customer.id, &customer.name, &customer.post, &customer.chargeMan, &customer.address,
                               &customer.telNumber, &customer.faxNumber, &customer.others}) {
    out.text(*field).endRecord();
  }
  out.number(customer.q7nets.count()).endRecord();
  const bool modelLine = headHasModelLine(major, minor);
  for (const auto& map : maps) {
    if (!writer.map(*map, modelLine)) return false;
  }
  text = out.bytes();
  return true;
}

// ---- Reading ----

namespace {

class CustomerReader {
 public:
  CustomerReader(const QByteArray& text, ReadFault& fault) : in_(text, fault) {}

  bool text(QString& value) { return in_.text(value); }
  bool number(int32_t& value, const char* what) { return in_.number(value, what); }
  bool count(int32_t& value, const char* what) { return in_.count(value, what); }

  template <class T>
  bool addKeyed(Collection<T>& items, std::shared_ptr<T> item, int32_t key, const char* what) {
    if (items.add(std::move(item), QString::number(key))) return true;
    return in_.failAt(QStringLiteral("%1 %2 appears twice").arg(QLatin1String(what)).arg(key));
  }

  bool more() { return in_.more(); }

  bool unit(std::shared_ptr<MapAircon>& unit, int32_t type) {
    unit = std::make_shared<MapAircon>();
    unit->airconType = type;
    int32_t onLine = 0;
    if (!number(unit->airconNumber, "unit number") || !number(unit->romNumber, "ROM number") ||
        !number(unit->autoAddress, "auto address") || !number(unit->zubrelAddress, "Zubrel address") ||
        !number(onLine, "on-line state") || !number(unit->state, "unit state") || !text(unit->generalKind) ||
        !number(unit->linkNoNow, "link number") || !number(unit->linkNoOld, "old link number")) {
      return false;
    }
    unit->airconSubNo = 1;
    return true;
  }

  bool system(MapSystem& system) {
    int32_t outdoorCount = 0, indoorCount = 0;
    if (!number(system.systemNumber, "system number") || !text(system.systemName) ||
        !count(outdoorCount, "outdoor unit count") || !count(indoorCount, "indoor unit count")) {
      return false;
    }
    std::shared_ptr<MapAircon> previous;
    for (int32_t i = 0; i < outdoorCount; ++i) {
      std::shared_ptr<MapAircon> outdoor;
      if (!unit(outdoor, 0)) return false;
      // Outdoor units sharing a bus address are told apart by their order.
      if (previous && previous->autoAddress == outdoor->autoAddress) outdoor->airconSubNo = previous->airconSubNo + 1;
      if (!addKeyed(system.airconsOut, outdoor, outdoor->airconNumber, "outdoor unit")) return false;
      previous = outdoor;
    }
    for (int32_t i = 0; i < indoorCount; ++i) {
      std::shared_ptr<MapAircon> indoor;
      if (!unit(indoor, 1)) return false;
      system.airconsIn.add(indoor);
    }
    return true;
  }

  bool centralSystem(MapSystem& system) {
    int32_t centralCount = 0;
    if (!number(system.systemNumber, "central system number") || !text(system.systemName) ||
        !count(centralCount, "central unit count")) {
      return false;
    }
    for (int32_t i = 0; i < centralCount; ++i) {
      std::shared_ptr<MapAircon> central;
      if (!unit(central, 100) || !addKeyed(system.airconsCen, central, central->airconNumber, "central unit")) {
        return false;
      }
    }
    return true;
  }

  bool link(LinkAircon& link) {
    return number(link.linkNo, "link number") && text(link.kind) && text(link.serialNumber) && text(link.place) &&
           number(link.controlAddress, "control address");
  }

  template <class T, class ReadOne, class KeyOf>
  bool list(Collection<T>& items, const char* countName, const char* itemName, ReadOne readOne, KeyOf keyOf) {
    int32_t n = 0;
    if (!count(n, countName)) return false;
    for (int32_t i = 0; i < n; ++i) {
      auto item = std::make_shared<T>();
      if (!(this->*readOne)(*item) || !addKeyed(items, item, keyOf(*item), itemName)) return false;
    }
    return true;
  }

  bool map(MapQ7net& map, bool modelLine) {
    if (!number(map.mapNumber, "map number") || !number(map.mapIndex, "map index") || !text(map.mapName) ||
        !number(map.ifMode, "access method")) {
      return false;
    }
    if (map.ifMode == 0) map.ifMode = 2;
    if (map.mapName.isEmpty()) map.mapName = defaultMapName(map.ifMode, map.mapNumber);
    if (!number(map.saveYear, "save year") || !number(map.saveMonth, "save month") ||
        !number(map.saveDay, "save day")) {
      return false;
    }
    if (modelLine && !text(map.generalKind)) return false;
    const auto systemNumberOf = [](const MapSystem& s) { return s.systemNumber; };
    return list(map.systems, "system count", "system", &CustomerReader::system, systemNumberOf) &&
           list(map.systemsCen, "central system count", "central system", &CustomerReader::centralSystem,
                systemNumberOf) &&
           list(map.linkAircons, "link count", "link", &CustomerReader::link,
                [](const LinkAircon& l) { return l.linkNo; });
  }

 private:
  static QString defaultMapName(int32_t ifMode, int32_t mapNumber) {
    const QString number = QLatin1Char(' ') + QString::number(mapNumber);
    switch (ifMode) {
      case 1: return tableText(4) + number;
      case 2:
      case 3: return QStringLiteral("Q7-NET") + number;
      case 4:
      case 5:
      case 8:
      case 9: return tableText(2) + number;
      default: return QString();
    }
  }

  RecordReader in_;
};

}  // namespace

bool readCustomerText(const QByteArray& text, CustomInfor& customer, ReadFault& fault) {
  CustomerReader in(text, fault);
  int32_t major = 0, minor = 0;
  if (!in.number(major, "head number") || !in.number(minor, "head number")) return false;
  for (QString* field : {&customer.id, &customer.name, &customer.post, &customer.chargeMan, &customer.address,
                         &customer.telNumber, &customer.faxNumber, &customer.others}) {
    if (!in.text(*field)) return false;
  }
  // The map count is always written, 0 for a customer without maps.
  const bool modelLine = headHasModelLine(major, minor);
  do {
    int32_t mapCount = 0;
    if (!in.count(mapCount, "map count")) return false;
    for (int32_t i = 0; i < mapCount; ++i) {
      auto map = std::make_shared<MapQ7net>();
      map->customName = customer.name;
      if (!in.map(*map, modelLine) || !in.addKeyed(customer.q7nets, map, map->mapIndex, "map index")) return false;
    }
  } while (in.more());
  return true;
}
