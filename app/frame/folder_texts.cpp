#include "frame/folder_texts.h"

#include "frame/site/paths.h"

QString libraryFolderText(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString libraryFolderText(const QString& parent, const QString& name) {
  return libraryFolderText(libraryFolderText(parent) + name);
}

QString programFolderText() { return libraryFolderText(programFolder()); }

QString customerFolderPath(const QString& id) {
  const QString found = findEntryNoCase(programFolder(), id, EntryKind::Folder);
  return libraryFolderText(programFolder()) + (found.isEmpty() ? id : found);
}

QString customerFolderText(const QString& id) { return libraryFolderText(customerFolderPath(id)); }
