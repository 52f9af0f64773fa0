// The folder-listing helper: never shown, it lists the sub-folders and the
// files of a folder for the routines that look through them.
#pragma once

#include <QString>
#include <QStringList>

class frmDummy {
 public:
  static frmDummy& instance();

  struct DriveList {
    QString drive = QStringLiteral("/");
  };
  struct FolderList {
    QString path;
    // Names of the sub-folders, in name order ignoring case; hidden ones
    // are left out.
    QStringList list() const;
  };
  struct FileList {
    QString path;
    QString pattern = QStringLiteral("*");
    // Names of the files that match the pattern (without regard to case),
    // in name order ignoring case; hidden ones are left out.
    QStringList list() const;
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
