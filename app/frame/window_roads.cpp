#include "frame/window_roads.h"

#include <QtGlobal>

WindowRoads& windowRoads() {
  static WindowRoads roads;
  return roads;
}

void takeRoad(const std::function<void()>& road, const QString& name) {
  if (road) {
    road();
    return;
  }
  noteUnbuiltRoad(name);
}

void noteUnbuiltRoad(const QString& name) {
  qInfo("Pelomar3: %s is not built yet", qPrintable(name));
  unbuiltRoadsTaken() << name;
}

QStringList& unbuiltRoadsTaken() {
  static QStringList taken;
  return taken;
}
