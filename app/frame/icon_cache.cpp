#include "frame/icon_cache.h"

#include "frame/regular_file.h"
#include "frame/site/paths.h"

#include <QHash>
#include <QImage>
#include <QPixmap>

std::optional<QIcon> programIcon(const QString& relativePath) {
  static QHash<QString, QIcon> loaded;
  const QString path = programFolderFile(relativePath);
  if (const auto found = loaded.constFind(path); found != loaded.constEnd()) return *found;
  const RegularFileRead file = readRegularFile(path);
  const QImage picture = file ? QImage::fromData(file.content) : QImage();
  if (picture.isNull()) return std::nullopt;
  return *loaded.insert(path, QIcon(QPixmap::fromImage(picture)));
}
