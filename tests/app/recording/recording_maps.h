// Hand-built maps for the recording set-up tests, and the library's answers
// about their sizes and the free space.
#pragma once

#include "map/map_builder.h"
#include "support/fake_tramsoll.h"

#include <QStringList>

#include <map>
#include <memory>
#include <utility>

// A bus map at 20 s for 30 minutes from system words, ordinary ones and
// central ones: a mark and the on-line state of the system's one unit ("13"
// marked and on line, "00" neither), "i" after them for an indoor unit. A
// sensor system is tied to that number unless it is 0.
inline std::shared_ptr<MapQ7net> makeMap(const char* ordinary, const char* central = "", int32_t tiedSensor = 0) {
  MapBuilder built;
  const auto make = [&](const QString& word, bool isCentral) {
    const bool indoor = word.endsWith(QLatin1Char('i'));
    isCentral ? built.central(1) : built.ordinary(indoor ? 0 : 1, indoor ? 1 : 0);
    const Collection<MapSystem>& systems = isCentral ? built.map.systemsCen : built.map.systems;
    const auto system = systems.item(systems.count());
    system->recode = word[0].digitValue();
    for (const auto* units : {&system->airconsOut, &system->airconsIn, &system->airconsCen}) {
      for (const auto& unit : *units) unit->onLine = word[1].digitValue();
    }
  };
  for (const QString& word : QString::fromLatin1(ordinary).split(QLatin1Char(' '), Qt::SkipEmptyParts)) make(word, false);
  for (const QString& word : QString::fromLatin1(central).split(QLatin1Char(' '), Qt::SkipEmptyParts)) make(word, true);
  if (tiedSensor) built.tiedSensor(tiedSensor);
  auto map = std::make_shared<MapQ7net>(built.map);
  map->ifMode = 2;
  map->recodeInterval = 20;
  map->recodeTime = 30;
  return map;
}

// The recode marks of the ordinary, then ("|") the central systems.
inline QString marks(const MapQ7net& map) {
  QString text;
  for (const auto& system : map.systems) text += QString::number(system->recode);
  text += QLatin1Char('|');
  for (const auto& system : map.systemsCen) text += QString::number(system->recode);
  return text;
}

// Answers getDataSize per library system number with {header, record bytes}
// (2 and no bytes for any other system), and the free-space query with a
// KB count.
inline void scriptLibrary(FakeTramsoll& fake, std::map<int32_t, std::pair<int32_t, int32_t>> sizes,
                          int32_t freeKb = 0) {
  fake.on<decltype(::getDataSize)>("getDataSize", [sizes](int32_t system, int32_t, int32_t* header, int32_t* record) {
    const auto found = sizes.find(system);
    *header = found == sizes.end() ? 0 : found->second.first;
    *record = found == sizes.end() ? 0 : found->second.second;
    return found == sizes.end() ? 2 : 0;
  });
  fake.on<decltype(::getFreeDskSzEx)>("getFreeDskSzEx", [freeKb](const char*, int32_t* kb, float* bytes) {
    *kb = freeKb;
    *bytes = static_cast<float>(freeKb) * 1024;
    return 0;
  });
}
