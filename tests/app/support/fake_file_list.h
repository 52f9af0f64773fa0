// The library's recorded-file lists played by a FakeTramsoll: folders of
// files put on a make-believe disk, listed by getFileNum, described by
// getFileInfo, opened and closed by selectDataFile and closeDataFile (their
// opens counted per folder and file), deleted by deleteFile and forgotten
// by clearFileList, as the library does them.
#pragma once

#include "support/fake_tramsoll.h"
#include "types/DataShowFile.h"

#include <QString>

#include <map>
#include <vector>

class FakeFileList {
 public:
  // Scripts the file-list exports of `fake`, which must outlive this object.
  explicit FakeFileList(FakeTramsoll& fake);

  // Puts a file on the disk of the folder text (ending in "/"); `file`'s
  // fileNumber is not used: the listing numbers the files.
  void addFile(const QString& folder, const QString& name, const DataShowFile& file);
  // What selectDataFile answers for the file (0 when not set); 0 and 2
  // count as an open.
  void setSelectResult(const QString& folder, const QString& name, int32_t result);

  // Opens not yet closed of one file, and of every file.
  int openCount(const QString& folder, const QString& name) const;
  int openCount() const;
  // The names on the disk of a folder, and those listed now.
  QStringList onDisk(const QString& folder) const;
  QStringList listed(const QString& folder) const;

 private:
  struct Entry {
    QString name;
    DataShowFile file;
    int32_t selectResult = 0;
  };

  Entry* listedEntry(const char* folder, int32_t number);
  int32_t scan(const char* folder);
  int32_t remove(const char* folder, int32_t number);

  std::map<QString, std::vector<Entry>> disk_;
  std::map<QString, std::vector<Entry>> listed_;  // as listed, by position
  std::map<QString, int> opens_;                    // by folder + name
};
