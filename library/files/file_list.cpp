#include "files/file_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>
#include <utility>

#include "base/debug_ring.h"
#include "base/kinds.h"
#include "base/program_files.h"
#include "base/status_words.h"
#include "base/table_growth.h"
#include "files/file_io.h"
#include "files/recording.h"

namespace tramsoll {

namespace {

// "ＱⅦ－ＮＥＴ %d": the map name of files made before the map-name block.
constexpr char kOldMapName[] = "\xEF\xBC\xB1\xE2\x85\xA6\xEF\xBC\x8D\xEF\xBC\xAE\xEF\xBC\xA5\xEF\xBC\xB4 %d";

std::vector<ListedFolder>& folders() {
  static std::vector<ListedFolder> list;
  return list;
}

ListedFolder* findFolder(const char* folder) {
  if (!folder) return nullptr;
  for (ListedFolder& entry : folders()) {
    if (entry.folder == folder) return &entry;
  }
  return nullptr;
}

ListedFile* listedFile(const char* folder, int32_t index) {
  ListedFolder* entry = findFolder(folder);
  if (!entry || index < 0 || static_cast<std::size_t>(index) >= entry->files.size()) return nullptr;
  return &entry->files[static_cast<std::size_t>(index)];
}

bool endsWithDas(const char* name) {
  std::size_t length = std::strlen(name);
  return length >= 4 && strcasecmp(name + length - 4, ".das") == 0;
}

using FileIdentity = std::pair<dev_t, ino_t>;

// The files that recordings are writing now, by identity, so that no other
// spelling of their paths lets them into the list.
std::set<FileIdentity> filesBeingRecorded() {
  std::set<FileIdentity> identities;
  for (int i = 0; i < kSaveSlots; ++i) {
    const SaveSlot& slot = saveSlot(i);
    struct stat info {};
    if (slot.used() && ::stat(slot.name.c_str(), &info) == 0) identities.insert({info.st_dev, info.st_ino});
  }
  return identities;
}

// The names of the folder's ".das" files in name order (the folder listing
// itself comes in no useful order). False when the folder cannot be read.
bool folderFiles(const std::string& directory, std::vector<std::string>& names) {
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return false;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (endsWithDas(entry->d_name)) names.emplace_back(entry->d_name);
    errno = 0;
  }
  bool failed = errno != 0;
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return !failed;
}

// The header summary of a file: false for a file that cannot be read or
// does not begin with the magic text.
bool readListedHeader(const std::string& path, das::FileHeader& header, int64_t& length) {
  FileHandle file(path, O_RDONLY);
  uint8_t head[das::kHeaderSize];
  if (!file.isOpen() || !file.readAt(0, head, das::kMainHeaderSize) || !das::decodeMainHeader(head, header))
    return false;
  if (header.version >= 2) {
    if (!file.readAt(das::kMainHeaderSize, head + das::kMainHeaderSize, das::kMapNameSize)) return false;
    std::memcpy(header.mapName, head + das::kMainHeaderSize, sizeof header.mapName - 1);
    header.mapName[sizeof header.mapName - 1] = '\0';
  } else {
    std::snprintf(header.mapName, sizeof header.mapName, kOldMapName, header.mapNumber);
  }
  if (header.interfaceMode == 0) header.interfaceMode = gathermode::kBus;
  length = file.size();
  int closed = file.close();
  if (closed != 0) logLine("FileHndl: fclose function error!! (ret=%Xh)", static_cast<unsigned>(closed));
  return true;
}

// A file of the same name whose layout differs is another recording.
bool replaced(const das::FileHeader& before, const das::FileHeader& now) {
  return before.firstRecordTime != now.firstRecordTime || before.firstRecordOffset != now.firstRecordOffset ||
         before.recordSize != now.recordSize || before.unitCount != now.unitCount ||
         before.statusLength != now.statusLength || before.version != now.version;
}

void closeForGood(ListedFile& file) {
  file.replay.reset();
  file.openCount = 0;
  file.opening = 0;
}

uint64_t nextOpening() {
  static uint64_t last = 0;
  return ++last;
}

// The files of one folder as a scan finds them: the folder is looked up
// (or made) once, and the files it listed before the scan are found by name
// through an index sorted by name, so a scan of n files costs n log n
// instead of a search through every listed file for each name.
class FolderScan {
 public:
  explicit FolderScan(const char* folderText) : folderText_(folderText) {}

  ListedFolder* folder() {
    if (folder_) return folder_;
    folder_ = findFolder(folderText_);
    if (!folder_) {
      if (!growByOne(folders(), "CustumDirList")) return nullptr;
      folder_ = &folders().back();
      folder_->folder = folderText_;
    }
    indexListedFiles();
    return folder_;
  }

  // The listed file of the name (the first one listed, should a name be
  // there twice), or null.
  ListedFile* find(const std::string& name) {
    std::vector<ListedFile>& files = folder_->files;
    if (!indexed_) {
      auto found = std::find_if(files.begin(), files.end(), [&](const ListedFile& file) { return file.name == name; });
      return found == files.end() ? nullptr : &*found;
    }
    auto at = std::lower_bound(byName_.begin(), byName_.end(), name,
                               [&](std::size_t position, const std::string& wanted) {
                                 return files[position].name < wanted;
                               });
    if (at == byName_.end() || files[*at].name != name) return nullptr;
    return &files[*at];
  }

 private:
  // Without memory for the index the scan still works, by plain search.
  void indexListedFiles() {
    const std::vector<ListedFile>& files = folder_->files;
    indexed_ = allocateOrReport("DataFileList", [&] {
      byName_.resize(files.size());
      for (std::size_t i = 0; i < files.size(); ++i) byName_[i] = i;
    });
    if (!indexed_) return;
    std::stable_sort(byName_.begin(), byName_.end(),
                     [&](std::size_t a, std::size_t b) { return files[a].name < files[b].name; });
  }

  const char* folderText_;
  ListedFolder* folder_ = nullptr;
  std::vector<std::size_t> byName_;  // positions in folder_->files, by name
  bool indexed_ = false;
};

bool addListedFile(FolderScan& scan, const std::string& name, const das::FileHeader& header, int64_t length) {
  ListedFolder* folder = scan.folder();
  if (!folder) return false;
  setFieldText(folder->customerId, header.customerId);
  setFieldText(folder->customerName, header.customerName);

  // A folder's names are all different, so the files this scan appends are
  // never looked for again in it and need no place in the index.
  ListedFile* file = scan.find(name);
  if (!file) {
    if (!growByOne(folder->files, "DataFileList")) return false;
    file = &folder->files.back();
    file->name = name;
    file->header.mapNumber = header.mapNumber;
    file->header.systemNumber = header.systemNumber;
  } else if (replaced(file->header, header)) {
    closeForGood(*file);
  }
  // Map and system number are the ones the file was first listed with.
  uint16_t mapNumber = file->header.mapNumber;
  uint16_t systemNumber = file->header.systemNumber;
  file->header = header;
  file->header.mapNumber = mapNumber;
  file->header.systemNumber = systemNumber;
  file->fileSize = static_cast<int32_t>(std::clamp<int64_t>(length, 0, std::numeric_limits<int32_t>::max()));
  if (file->replay) {
    // The open tables take no more records than the file holds, as its
    // selection checked: a count raised on disk must not send the readers
    // through records that are not there.
    uint64_t held = std::min<uint64_t>(header.recordCount, das::recordsHeld(length, header));
    file->header.recordCount = static_cast<uint32_t>(held);
    file->replay->setRecordCount(file->header.recordCount);
  }
  return true;
}

}  // namespace

bool scanDataFolder(const char* folderText, int32_t& count) {
  count = 0;
  if (!folderText) return false;
  // The search pattern is the folder text with "*.das" behind it: a text
  // that does not end with a separator names no folder to list.
  std::string directory = programPath(folderText);
  if (!directory.empty() && directory.back() != '/') return false;
  std::vector<std::string> names;
  if (!folderFiles(directory, names) || names.empty()) return false;
  std::set<FileIdentity> recording = filesBeingRecorded();
  FolderScan scan(folderText);
  for (const std::string& name : names) {
    std::string path = directory + name;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (recording.count({info.st_dev, info.st_ino})) continue;
    das::FileHeader header{};
    int64_t length = 0;
    if (!readListedHeader(path, header, length)) continue;
    addListedFile(scan, name, header, length);
  }
  return countListedFiles(folderText, count);
}

bool countListedFiles(const char* folder, int32_t& count) {
  const ListedFolder* entry = findFolder(folder);
  count = entry ? static_cast<int32_t>(entry->files.size()) : 0;
  return entry != nullptr;
}

const ListedFile* findListedFile(const char* folder, int32_t index) { return listedFile(folder, index); }

void clearListedFiles() { folders().clear(); }

bool deleteListedFile(const char* folder, int32_t index) {
  const ListedFile* file = listedFile(folder, index);
  if (!file) return false;
  return ::unlink((programPath(folder) + file->name).c_str()) == 0;
}

int32_t acquireReplay(const char* folder, int32_t index) {
  ListedFile* file = listedFile(folder, index);
  if (!file) return 1;
  if (file->replay) {
    ++file->openCount;
    return file->replay->hadUnknownModel() ? 2 : 0;
  }
  std::unique_ptr<ReplayTables> tables;
  if (!allocateOrReport("PlyAutoAdrTable", [&] { tables = std::make_unique<ReplayTables>(); })) return 1;
  ReplayOpen result = tables->open(programPath(folder) + file->name, file->header);
  // The table-error bit says "a model was missing" only for this opening.
  if (tables->hadUnknownModel()) clearBits(errFault, fault::kTableLoad);
  if (result == ReplayOpen::Refused) return 1;
  file->replay = std::move(tables);
  file->openCount = 1;
  file->opening = nextOpening();
  return result == ReplayOpen::OpenedWithUnknownModel ? 2 : 0;
}

void releaseReplay(const char* folder, int32_t index) {
  ListedFile* file = listedFile(folder, index);
  if (!file || file->openCount <= 0) return;
  if (--file->openCount == 0) closeForGood(*file);
}

ReplayTables* openedReplay(const char* folder, int32_t index) {
  ListedFile* file = listedFile(folder, index);
  return file ? file->replay.get() : nullptr;
}

uint64_t replayOpening(const char* folder, int32_t index) {
  const ListedFile* file = listedFile(folder, index);
  return file ? file->opening : 0;
}

}  // namespace tramsoll
