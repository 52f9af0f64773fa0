#include "frame/site/frmDummy.h"

#include <QDir>

frmDummy& frmDummy::instance() {
  static frmDummy lists;
  return lists;
}

QStringList frmDummy::FolderList::list() {
  FolderListing listing = listFolder(path);
  outcome = listing.outcome;
  return listing.folders;
}

QStringList frmDummy::FileList::list() {
  FolderListing listing = listFolder(path);
  outcome = listing.outcome;
  QStringList matching;
  // QDir::match compares without regard to case.
  for (const QString& name : listing.files) {
    if (QDir::match(pattern, name)) matching << name;
  }
  return matching;
}

void frmDummy::setDrive(const QString& drive) {
  drvDummy.drive = drive;
  setFolder(drive);
}

void frmDummy::setFolder(const QString& folder) {
  dirDummy.path = folder;
  filDummy.path = folder;
}
