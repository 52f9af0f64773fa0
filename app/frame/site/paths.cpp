#include "frame/site/paths.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString& programFolderSetting() {
  static QString folder;
  return folder;
}

}  // namespace

QString programFolder() {
  QString& folder = programFolderSetting();
  if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath();
  return folder;
}

void setProgramFolder(const QString& folder) { programFolderSetting() = QDir::cleanPath(folder); }

QString programFolderFile(const QString& name) { return QDir(programFolder()).filePath(name); }

QString findEntryNoCase(const QString& folder, const QString& name, EntryKind kind) {
  if (name.isEmpty()) return QString();
  const QDir::Filters filter = (kind == EntryKind::Folder ? QDir::Dirs : QDir::Files) | QDir::Hidden |
                               QDir::NoDotAndDotDot;
  const QStringList entries = QDir(folder).entryList(filter, QDir::Name);
  QString firstMatch;
  for (const QString& entry : entries) {
    if (entry == name) return entry;
    if (firstMatch.isEmpty() && entry.compare(name, Qt::CaseInsensitive) == 0) firstMatch = entry;
  }
  return firstMatch;
}

QString resolveNoCase(const QString& folder, const QString& name, EntryKind kind) {
  const QString found = findEntryNoCase(folder, name, kind);
  return QDir(folder).filePath(found.isEmpty() ? name : found);
}
