#include "frame/help.h"

#include "frame/main_window.h"
#include "frame/regular_file.h"
#include "frame/site/paths.h"
#include "frame/texts/text_table.h"

#include <QDesktopServices>
#include <QDir>
#include <QMainWindow>
#include <QMessageBox>
#include <QUrl>

int helpContextForMessage(const QString& key) {
  if (key == QLatin1String("5-3")) return 1000;
  if (key == QLatin1String("6-1")) return 1010;
  return 0;
}

QString helpPagePath(HelpCommand command, int context) {
  if (command == kHelpDisplayTopic) return programFolderFile(QStringLiteral("help/index.html"));
  if (command == kHelpContext) return programFolderFile(QStringLiteral("help/%1.html").arg(context));
  return QString();
}

void htmlHelp(HelpCommand command, int context) {
  if (command == kHelpCloseAll) return;
  const QString page = helpPagePath(command, context);
  if (!opensAsRegularFile(page)) {
    QMessageBox::information(mainWindow(), tableText(19), QStringLiteral("Help is not installed."));
    return;
  }
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(page))) return;
  // A desktop without a viewer for web pages.
  QMessageBox::information(mainWindow(), tableText(19),
                           QStringLiteral("No viewer opened the help page; open it in a browser:\n") +
                               QDir::toNativeSeparators(page));
}
