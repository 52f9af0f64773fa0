#include "frame/program_icon.h"

#include "frame/site/paths.h"

#include <QFileInfo>

QIcon programIcon() {
  // The program's code is a static library: its resources are brought in
  // by name.
  Q_INIT_RESOURCE(resources);
  const QString laidOut = programFolderFile(QStringLiteral("icons/pelomar3.png"));
  return QIcon(QFileInfo(laidOut).isFile() ? laidOut : QStringLiteral(":/pelomar3.png"));
}
