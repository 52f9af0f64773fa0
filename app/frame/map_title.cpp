#include "frame/map_title.h"

#include "frame/texts/text_table.h"

namespace {

QString titleUpToAccess(const QString& windowText, const QString& customName, const QString& mapName) {
  QString title = windowText + QLatin1Char('(');
  if (!customName.isEmpty()) title += customName + QLatin1Char(',');
  if (!mapName.isEmpty()) title += mapName + QLatin1Char(',');
  return title;
}

}  // namespace

bool isBusAccess(int32_t ifMode) { return ifMode == 2 || ifMode == 3; }
bool isBoardAccess(int32_t ifMode) { return ifMode == 4 || ifMode == 5 || ifMode == 8 || ifMode == 9; }

QString accessMethodText(int32_t ifMode) {
  if (ifMode == 1) return labelTexts()[4];
  if (isBusAccess(ifMode)) return QStringLiteral("Q7-NET");
  if (isBoardAccess(ifMode)) return labelTexts()[2];
  return QString();
}

QString mapWindowTitle(const QString& windowText, const QString& customName, const QString& mapName, int32_t ifMode) {
  return titleUpToAccess(windowText, customName, mapName) + accessMethodText(ifMode) + QLatin1Char(')');
}

QString mapWindowTitle(const QString& windowText, const MapQ7net& map) {
  return mapWindowTitle(windowText, map.customName, map.mapName, map.ifMode);
}

QString mapWindowTitle(const QString& windowText, const MapQ7net& map, const QString& part) {
  QString title = titleUpToAccess(windowText, map.customName, map.mapName);
  if (const QString access = accessMethodText(map.ifMode); !access.isEmpty()) title += access + QLatin1Char(',');
  return title + part + QLatin1Char(')');
}
