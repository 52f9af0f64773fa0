#include "records/customer_folders.h"

#include "frame/site/paths.h"
#include "records/data_show_catalogue.h"

#include <QDir>

#include <cerrno>
#include <utility>
#include <vector>

namespace {

const QString kCustomerFileEnding = QStringLiteral(".dak");
const QString kRecordingEnding = QStringLiteral(".das");

bool endsWithNoCase(const QString& name, const QString& ending) { return name.endsWith(ending, Qt::CaseInsensitive); }

QString inFolder(const QString& folder, const QString& name) { return QDir(folder).filePath(name); }

// Moves done so far, undone in reverse order when a later one fails.
class MoveLog {
 public:
  FileOutcome move(const QString& from, const QString& to) {
    FileOutcome moved = moveEntry(from, to);
    if (moved) done_.emplace_back(from, to);
    return moved;
  }
  CustomerMove fail(const FileOutcome& outcome) {
    for (auto step = done_.rbegin(); step != done_.rend(); ++step) moveEntry(step->second, step->first);
    done_.clear();
    return {CustomerMove::Result::Failed, outcome};
  }

 private:
  std::vector<std::pair<QString, QString>> done_;
};

CustomerMove renameCustomerFolder(const QString& oldFolder, const QString& newFolder, const QString& oldId,
                                  const QString& newId) {
  MoveLog log;
  if (FileOutcome moved = log.move(oldFolder, newFolder); !moved) return log.fail(moved);
  const QString customerFile = findEntryNoCase(newFolder, oldId + kCustomerFileEnding, EntryKind::File);
  if (customerFile.isEmpty()) return {};
  const FileOutcome renamed =
      log.move(inFolder(newFolder, customerFile), inFolder(newFolder, newId + kCustomerFileEnding));
  return renamed ? CustomerMove{} : log.fail(renamed);
}

bool holdsNoCase(const QStringList& names, const QString& name) { return names.contains(name, Qt::CaseInsensitive); }

// The emptied old folder goes; one that keeps another entry stays.
FileOutcome removeIfNoFileLeft(const QString& folder) {
  const FolderListing left = listFolder(folder);
  if (!left.outcome) return left.outcome;
  if (!left.files.isEmpty()) return {};
  FileOutcome removed = removeFolder(folder);
  return removed.error == ENOTEMPTY ? FileOutcome{} : removed;
}

CustomerMove moveIntoFolder(const QString& oldFolder, const QString& newFolder, const QString& oldId,
                            const QString& newId) {
  const FolderListing from = listFolder(oldFolder);
  if (!from.outcome) return {CustomerMove::Result::Failed, from.outcome};
  const FolderListing into = listFolder(newFolder);
  if (!into.outcome) return {CustomerMove::Result::Failed, into.outcome};
  QStringList recordings;
  for (const QString& name : from.files) {
    if (!endsWithNoCase(name, kRecordingEnding)) continue;
    if (holdsNoCase(into.files, name)) return {CustomerMove::Result::Clash, {}};
    recordings << name;
  }
  MoveLog log;
  for (const QString& name : recordings) {
    if (FileOutcome moved = log.move(inFolder(oldFolder, name), inFolder(newFolder, name)); !moved)
      return log.fail(moved);
  }
  const QString customerFile = findEntryNoCase(oldFolder, oldId + kCustomerFileEnding, EntryKind::File);
  if (!customerFile.isEmpty()) {
    const FileOutcome moved =
        log.move(inFolder(oldFolder, customerFile), inFolder(newFolder, newId + kCustomerFileEnding));
    if (!moved) return log.fail(moved);
  }
  return {CustomerMove::Result::Moved, removeIfNoFileLeft(oldFolder)};
}

}  // namespace

bool isCustomerIdTaken(const QString& id) {
  for (const CustomerFolder& customer : walkCustomerFolders(programFolder()).customers) {
    if (customer.id.compare(id, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

CustomerMove moveCustomer(const QString& oldId, const QString& newId) {
  const QString top = programFolder();
  const QString oldName = findEntryNoCase(top, oldId, EntryKind::Folder);
  if (oldName.isEmpty()) return {};
  const QString newName = findEntryNoCase(top, newId, EntryKind::Folder);
  if (newName.isEmpty()) return renameCustomerFolder(inFolder(top, oldName), inFolder(top, newId), oldId, newId);
  return moveIntoFolder(inFolder(top, oldName), inFolder(top, newName), oldId, newId);
}

FileOutcome deleteCustomerFiles(const QString& id) {
  const QString folder = inFolder(programFolder(), id);
  const FolderListing listing = listFolder(folder);
  FileOutcome first = listing.outcome;
  for (const QString& name : listing.files) {
    if (!endsWithNoCase(name, kCustomerFileEnding) && !endsWithNoCase(name, kRecordingEnding)) continue;
    const FileOutcome removed = removeFile(inFolder(folder, name));
    if (!removed && first) first = removed;
  }
  const FileOutcome removed = removeIfNoFileLeft(folder);
  if (!removed && first) first = removed;
  return first;
}
