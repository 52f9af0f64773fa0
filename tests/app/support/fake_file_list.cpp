#include "support/fake_file_list.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

QString fileKey(const QString& folder, const QString& name) { return folder + QLatin1Char('\n') + name; }

// The text cut to the buffer with room for the final zero, as the library
// copies its texts.
void putText(const QString& text, char* buffer, int32_t* length, int capacity) {
  const QByteArray bytes = text.toUtf8().left(capacity - 1);
  std::memset(buffer, 0, static_cast<std::size_t>(capacity));
  std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  *length = static_cast<int32_t>(bytes.size());
}

}  // namespace

FakeFileList::FakeFileList(FakeTramsoll& fake) {
  fake.on<decltype(::getFileNum)>("getFileNum", [this](const char* folder, int32_t* count) {
    *count = scan(folder);
    return 0;
  });
  fake.on<decltype(::getFileInfo)>(
      "getFileInfo", [this](const char* folder, int32_t number, char* contact, int32_t* contactLength, char* mapName,
                            int32_t* mapNameLength, int32_t* systemNumber, char* kind, int32_t* kindLength,
                            int32_t* recodeMode, int32_t* ifMode, int32_t* outNumber, int32_t* inNumber,
                            int32_t* cenNumber, int32_t* year, int32_t* month, int32_t* day, int32_t* time,
                            int32_t* records, int32_t* trigger, int32_t* interval, int32_t* size, char* fileName,
                            int32_t* fileNameLength) {
        const Entry* entry = listedEntry(folder, number);
        const Entry none{};
        const DataShowFile& f = (entry ? *entry : none).file;
        putText(f.ssChargeMan, contact, contactLength, 32);
        putText(f.mapName, mapName, mapNameLength, 64);
        putText(f.kind, kind, kindLength, 64);
        putText(entry ? entry->name : QString(), fileName, fileNameLength, 32);
        int32_t* const outs[] = {systemNumber, recodeMode, ifMode, outNumber, inNumber, cenNumber, year,
                                 month,        day,        time,   records,   trigger,  interval, size};
        const int32_t values[] = {f.systemNumber, f.recodeMode,    f.ifMode,         f.outNumber, f.inNumber,
                                  f.cenNumber,    f.saveYear,      f.saveMonth,      f.saveDay,   f.saveTime,
                                  f.graphTotalNum, f.graphTriggerNo, f.recodeInterval, f.fileSize};
        for (std::size_t i = 0; i < std::size(outs); ++i) *outs[i] = values[i];
        return 0;
      });
  fake.on<decltype(::selectDataFile)>("selectDataFile", [this](const char* folder, int32_t number) {
    const Entry* entry = listedEntry(folder, number);
    if (!entry) return 1;
    if (entry->selectResult == 0 || entry->selectResult == 2) ++opens_[fileKey(QString::fromUtf8(folder), entry->name)];
    return entry->selectResult;
  });
  fake.on<decltype(::closeDataFile)>("closeDataFile", [this](const char* folder, int32_t number) {
    if (const Entry* entry = listedEntry(folder, number)) {
      int& opens = opens_[fileKey(QString::fromUtf8(folder), entry->name)];
      if (opens > 0) --opens;
    }
    return 0;
  });
  fake.on<decltype(::deleteFile)>("deleteFile",
                                  [this](const char* folder, int32_t number) { return remove(folder, number); });
  fake.on<decltype(::clearFileList)>("clearFileList", [this] {
    listed_.clear();
    opens_.clear();
    return 0;
  });
}

void FakeFileList::addFile(const QString& folder, const QString& name, const DataShowFile& file) {
  disk_[folder].push_back({name, file, 0});
}

void FakeFileList::setSelectResult(const QString& folder, const QString& name, int32_t result) {
  for (auto* files : {&disk_[folder], &listed_[folder]}) {
    for (Entry& entry : *files) {
      if (entry.name == name) entry.selectResult = result;
    }
  }
}

int FakeFileList::openCount(const QString& folder, const QString& name) const {
  const auto found = opens_.find(fileKey(folder, name));
  return found == opens_.end() ? 0 : found->second;
}

int FakeFileList::openCount() const {
  int total = 0;
  for (const auto& [key, opens] : opens_) total += opens;
  return total;
}

QStringList FakeFileList::onDisk(const QString& folder) const {
  QStringList names;
  if (const auto found = disk_.find(folder); found != disk_.end()) {
    for (const Entry& entry : found->second) names << entry.name;
  }
  return names;
}

QStringList FakeFileList::listed(const QString& folder) const {
  QStringList names;
  if (const auto found = listed_.find(folder); found != listed_.end()) {
    for (const Entry& entry : found->second) names << entry.name;
  }
  return names;
}

FakeFileList::Entry* FakeFileList::listedEntry(const char* folder, int32_t number) {
  std::vector<Entry>& files = listed_[QString::fromUtf8(folder)];
  if (number < 1 || number > static_cast<int32_t>(files.size())) return nullptr;
  return &files[static_cast<std::size_t>(number - 1)];
}

// Files listed before keep their numbers and what was read of them; new
// ones are appended.
int32_t FakeFileList::scan(const char* folder) {
  const QString text = QString::fromUtf8(folder);
  std::vector<Entry>& files = listed_[text];
  for (const Entry& entry : disk_[text]) {
    auto same = [&entry](const Entry& listed) { return listed.name == entry.name; };
    if (std::none_of(files.begin(), files.end(), same)) files.push_back(entry);
  }
  return static_cast<int32_t>(files.size());
}

// The file goes from the disk and stays listed, as with the library.
int32_t FakeFileList::remove(const char* folder, int32_t number) {
  const Entry* entry = listedEntry(folder, number);
  if (!entry) return 1;
  std::vector<Entry>& files = disk_[QString::fromUtf8(folder)];
  auto same = [entry](const Entry& file) { return file.name == entry->name; };
  const auto onDisk = std::find_if(files.begin(), files.end(), same);
  if (onDisk == files.end()) return 1;
  files.erase(onDisk);
  return 0;
}
