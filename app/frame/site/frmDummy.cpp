#include "frame/site/frmDummy.h"

#include <QDir>

frmDummy& frmDummy::instance() {
  static frmDummy lists;
  return lists;
}

QStringList frmDummy::FolderList::list() const {
  return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

QStringList frmDummy::FileList::list() const {
  // Without QDir::CaseSensitive the pattern matches without regard to case.
  return QDir(path, pattern, QDir::Name, QDir::Files | QDir::Hidden).entryList();
}

void frmDummy::setDrive(const QString& drive) {
  drvDummy.drive = drive;
  setFolder(drive);
}

void frmDummy::setFolder(const QString& folder) {
  dirDummy.path = folder;
  filDummy.path = folder;
}
