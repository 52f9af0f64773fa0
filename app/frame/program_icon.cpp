#include "frame/program_icon.h"

#include "frame/regular_file.h"
#include "frame/site/paths.h"

#include <QPixmap>

QIcon programIcon() {
  // The program's code is a static library: its resources are brought in
  // by name.
  Q_INIT_RESOURCE(resources);
  const QString laidOut = programFolderFile(QStringLiteral("icons/pelomar3.png"));
  const RegularFileRead file = readRegularFile(laidOut);
  QPixmap picture;
  if (file && picture.loadFromData(file.content)) return QIcon(picture);
  return QIcon(QStringLiteral(":/pelomar3.png"));
}
