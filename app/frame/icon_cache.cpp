#include "frame/icon_cache.h"

#include "frame/site/paths.h"

#include <QHash>
#include <QImageReader>
#include <QPixmap>

std::optional<QIcon> programIcon(const QString& relativePath) {
  static QHash<QString, QIcon> loaded;
  const QString path = programFolderFile(relativePath);
  if (const auto found = loaded.constFind(path); found != loaded.constEnd()) return *found;
  const QImage picture = QImageReader(path).read();
  if (picture.isNull()) return std::nullopt;
  return *loaded.insert(path, QIcon(QPixmap::fromImage(picture)));
}
