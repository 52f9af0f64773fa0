// Hand-built maps for the recording set-up tests.
#pragma once

#include "map/map_builder.h"

#include <QStringList>

#include <memory>

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
