#include "frame/help.h"

#include "frame/paths.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

int helpContextForMessage(const QString& key) {
  if (key == QLatin1String("5-3")) return 1000;
  if (key == QLatin1String("6-1")) return 1010;
  return 0;
}

void htmlHelp(HelpCommand command, int /*context*/) {
  // The desktop's viewer opens the file as a whole; it cannot be asked for a
  // topic by number, nor to close.
  if (command == kHelpCloseAll) return;
  const QString file = programFolderFile(QStringLiteral("pelomar.chm"));
  if (QFileInfo::exists(file)) QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}
