// The folder-listing helper: never shown, it lists the sub-folders and the
// files of a folder for the routines that look through them.
#pragma once

#include "frame/file_operations.h"

#include <QString>
#include <QStringList>

class frmDummy {
 public:
  static frmDummy& instance();

  struct DriveList {
    QString drive = QStringLiteral("/");
  };
  // Hidden entries are not listed. Each list keeps what its last listing
  // did (outcome), so that a folder that cannot be read is told apart from
  // an empty one.
  struct FolderList {
    QString path;
    FileOutcome outcome;
    // Names of the sub-folders, in name order ignoring case.
    QStringList list();
  };
  struct FileList {
    QString path;
    QString pattern = QStringLiteral("*");
    FileOutcome outcome;
    // Names of the ordinary files that match the pattern (without regard to
    // case), in name order ignoring case.
    QStringList list();
  };

  // A change of drive points the folder list at it; a change of folder
  // points the file list at it.
  void setDrive(const QString& drive);
  void setFolder(const QString& folder);

  DriveList drvDummy;
  FolderList dirDummy;
  FileList filDummy;

 private:
  frmDummy() = default;
};
