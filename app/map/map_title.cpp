#include "map/map_title.h"

#include "map/map_list.h"

QString mapWindowTitle(const QString& windowText, const QString& customName, const QString& mapName, int32_t ifMode) {
  QString title = windowText + QLatin1Char('(');
  if (!customName.isEmpty()) title += customName + QLatin1Char(',');
  if (!mapName.isEmpty()) title += mapName + QLatin1Char(',');
  return title + accessMethodText(ifMode) + QLatin1Char(')');
}

QString mapWindowTitle(const QString& windowText, const MapQ7net& map) {
  return mapWindowTitle(windowText, map.customName, map.mapName, map.ifMode);
}
