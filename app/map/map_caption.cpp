#include "map/map_caption.h"

#include "map/map_list.h"

QString mapCaption(const QString& title, const QString& customName, const QString& mapName, int32_t ifMode) {
  QString caption = title + QLatin1Char('(');
  if (!customName.isEmpty()) caption += customName + QLatin1Char(',');
  if (!mapName.isEmpty()) caption += mapName + QLatin1Char(',');
  return caption + accessMethodText(ifMode) + QLatin1Char(')');
}
