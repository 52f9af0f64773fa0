// The list of recorded files that the caller has asked about, folder by
// folder (CustumDirList, each with its DataFileList). A file is named by its
// folder text and its position in that folder's list; positions stay until
// the list is cleared. A listed file carries its replay tables while it is
// opened for replay, shared by every opener and freed at the last close.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/das_format.h"
#include "files/replay_tables.h"

namespace tramsoll {

struct ListedFile {
  std::string name;          // as the folder holds it, without the folder
  das::FileHeader header{};  // interface mode 0 read as 2; the map name filled in
  int32_t fileSize = 0;      // when it was scanned (at most 2^31 - 1)
  int32_t openCount = 0;     // selectDataFile calls not yet closed
  uint64_t opening = 0;      // which building of the replay tables; 0 while closed
  std::unique_ptr<ReplayTables> replay;
};

struct ListedFolder {
  std::string folder;  // the caller's text, compared byte for byte
  char customerId[32] = {};
  char customerName[64] = {};
  std::vector<ListedFile> files;
};

// Lists the ".das" files of the folder (the folder text ends with '/';
// '\' counts as '/'): files already listed are refreshed in place, new ones
// appended in name order. Files that a recording is writing, files without
// the magic text and files that cannot be read are left out. False and 0
// when the folder cannot be searched or holds no ".das" file.
bool scanDataFolder(const char* folder, int32_t& count);
// The folder's file count; false and 0 for an unlisted folder.
bool countListedFiles(const char* folder, int32_t& count);
// The listed file at a 0-based index; nullptr when not listed.
const ListedFile* findListedFile(const char* folder, int32_t index);
// Closes every opened file and empties the list.
void clearListedFiles();

// Removes a listed file from disk (it stays listed). False for an index out
// of range or a failed removal.
bool deleteListedFile(const char* folder, int32_t index);

// ---- Replay ----
// Opens the listed file for replay, or counts one more opener of the
// tables already built: 0 opened; 1 not listed or refused (nothing kept);
// 2 opened, but a unit's model is not loaded.
int32_t acquireReplay(const char* folder, int32_t index);
// One opener fewer; the last frees the tables. Nothing for a file not open.
void releaseReplay(const char* folder, int32_t index);
// The replay tables of an opened file; nullptr when not opened.
ReplayTables* openedReplay(const char* folder, int32_t index);
// A number that names the present opening of the file, from its first
// opener to its last close (no two openings share one, also across a
// cleared list); 0 when the file is not opened. An opener that may outlive
// the list checks it before it releases.
uint64_t replayOpening(const char* folder, int32_t index);

}  // namespace tramsoll
