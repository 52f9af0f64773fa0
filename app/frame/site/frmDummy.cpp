#include "frame/site/frmDummy.h"

#include "frame/file_operations.h"

#include <QDir>

frmDummy& frmDummy::instance() {
  static frmDummy lists;
  return lists;
}

QStringList frmDummy::FolderList::list() const { return listFolder(path).folders; }

QStringList frmDummy::FileList::list() const {
  QStringList names = listFolder(path).files;
  // QDir::match compares without regard to case.
  names.removeIf([this](const QString& name) { return !QDir::match(pattern, name); });
  return names;
}

void frmDummy::setDrive(const QString& drive) {
  drvDummy.drive = drive;
  setFolder(drive);
}

void frmDummy::setFolder(const QString& folder) {
  dirDummy.path = folder;
  filDummy.path = folder;
}
