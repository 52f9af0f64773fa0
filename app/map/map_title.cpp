#include "map/map_title.h"

#include "map/map_list.h"

QString mapWindowTitle(const QString& windowText, const MapQ7net& map) {
  QString title = windowText + QLatin1Char('(');
  if (!map.customName.isEmpty()) title += map.customName + QLatin1Char(',');
  if (!map.mapName.isEmpty()) title += map.mapName + QLatin1Char(',');
  return title + accessMethodText(map.ifMode) + QLatin1Char(')');
}
