#include "records/data_transfer_copy.h"

#include "frame/common_routines.h"
#include "frame/folder_texts.h"
#include "frame/site/paths.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

bool sameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The library lists only names ending in ".das" and cuts a name to its
// buffer: a name without the ending is not the whole name of any file.
bool isWholeRecordingName(const QString& name) { return name.endsWith(QStringLiteral(".das"), Qt::CaseInsensitive); }

QString customerFileName(const QString& folderName) { return folderName + QStringLiteral(".dak"); }

}  // namespace

bool isSameEntry(const QString& a, const QString& b) {
  std::error_code error;
  const bool same = std::filesystem::equivalent(QFile::encodeName(a).toStdString(),
                                                QFile::encodeName(b).toStdString(), error);
  return same && !error;
}

DataTransferCopy::DataTransferCopy(CopyWindow& window, CopyRequest request)
    : window_(window), request_(std::move(request)), dest_(libraryFolderText(request_.destinationFolder)) {
  std::vector<CatalogueRow> all = catalogueRows(*request_.source);
  const int first = std::max(request_.firstRow, 1);
  const int last = std::min(request_.lastRow, static_cast<int>(all.size()));
  for (int row = first; row <= last; ++row) rows_.push_back(all[static_cast<std::size_t>(row - 1)]);
}

SliceStep DataTransferCopy::step() {
  if (copy_) return copyPiece();
  if (cancelled_ || flagCopyStop_ || window_.flagForEnd() || next_ >= rows_.size()) {
    return SliceStep::finished(copiedFiles_);
  }
  const CatalogueRow& row = rows_[next_++];
  if (request_.kind == kCustomerData) {
    copyCustomerData(row);
  } else {
    copyOperationData(row);
  }
  return more();
}

SliceStep DataTransferCopy::more() const {
  return SliceStep::more(static_cast<int>(100 * next_ / std::max<std::size_t>(rows_.size(), 1)));
}

void DataTransferCopy::copyOperationData(const CatalogueRow& row) {
  if (!isWholeRecordingName(row.file->fileName)) {
    fail(FileOutcome::failure(ENAMETOOLONG, row.custom->customDir + row.file->fileName));
    return;
  }
  if (!mayReplace(row)) return;
  if (prepared_.insert(row.custom.get()).second) {
    prepareCustomerFolder(*row.custom);
    if (flagCopyStop_) return;
  }
  copyDataFile(*row.custom, *row.file);
}

void DataTransferCopy::copyCustomerData(const CatalogueRow& row) {
  if (!mayReplace(row)) return;
  makeCustomerFolder(*row.custom);
  if (flagCopyStop_) return;
  copyDataFile(*row.custom, *row.file);
}

bool DataTransferCopy::mayReplace(const CatalogueRow& row) {
  CopyAnswers& answers = window_.copyAnswers();
  if (answers.flagCopyYesAll) return true;
  // A question that is closed without an answer means No.
  answers.flagCopyYes = false;
  if (request_.kind == kCustomerData) {
    const auto existing = sameCustomer(*row.custom);
    if (!existing) return true;
    window_.askSameCustomer(*existing, *row.custom);
  } else {
    const CatalogueRow existing = sameData(row);
    if (!existing) return true;
    window_.askSameData(existing, row);
  }
  if (answers.flagCopyCancel) {
    cancelled_ = true;
    return false;
  }
  return answers.flagCopyYesAll || answers.flagCopyYes;
}

std::shared_ptr<const DataShowCustom> DataTransferCopy::sameCustomer(const DataShowCustom& custom) const {
  for (const auto& existing : request_.destination->dataShowCustoms) {
    if (sameText(existing->customId, custom.customId)) return existing;
  }
  return nullptr;
}

CatalogueRow DataTransferCopy::sameData(const CatalogueRow& row) const {
  // Only the first folder of the same id is searched.
  const auto custom = sameCustomer(*row.custom);
  if (!custom) return {};
  for (const auto& file : custom->dataShowFiles) {
    if (sameText(file->fileName, row.file->fileName)) {
      return {std::const_pointer_cast<DataShowCustom>(custom), file};
    }
  }
  return {};
}

QString DataTransferCopy::customerFolderAtDestination(const DataShowCustom& custom) {
  const QString found = findEntryNoCase(dest_, custom.customId, EntryKind::Folder);
  if (!found.isEmpty()) return dest_ + found;
  const QString folder = dest_ + custom.customId;
  if (FileOutcome made = makeFolder(folder); !made && made.error != EEXIST) {
    fail(made);
    return QString();
  }
  return folder;
}

void DataTransferCopy::prepareCustomerFolder(const DataShowCustom& custom) {
  if (custom.customId.isEmpty()) return;  // the folder's own files go straight into the destination
  const QString folder = customerFolderAtDestination(custom);
  if (folder.isEmpty()) return;
  // A customer file at the destination is never replaced by recorded data.
  const QString folderName = pathBaseName(folder);
  if (!findEntryNoCase(folder, customerFileName(folderName), EntryKind::File).isEmpty()) return;
  const QString source = resolveNoCase(custom.customDir, customerFileName(custom.customId), EntryKind::File);
  const QString target = libraryFolderText(folder) + customerFileName(folderName);
  if (FileOutcome copied = copyFileAtomically(source, target); !copied) fail(copied);
}

void DataTransferCopy::makeCustomerFolder(const DataShowCustom& custom) { customerFolderAtDestination(custom); }

void DataTransferCopy::copyDataFile(const DataShowCustom& custom, const DataShowFile& file) {
  if (window_.flagForEnd()) return;
  const QString folder = custom.customId.isEmpty() ? dest_ : resolveNoCase(dest_, custom.customId, EntryKind::Folder);
  // An item spelled otherwise at the destination is replaced, not doubled.
  const QString target = resolveNoCase(folder, file.fileName, EntryKind::File);
  const QString source = custom.customDir + file.fileName;
  // Copying a file onto itself would only cost time.
  if (isSameEntry(source, target)) return;
  copy_ = std::make_unique<AtomicCopy>(source, target);
}

SliceStep DataTransferCopy::copyPiece() {
  const AtomicCopy::Step piece = copy_->copyPiece();
  if (piece == AtomicCopy::Step::More) return more();
  if (piece == AtomicCopy::Step::Done) {
    ++copiedFiles_;
  } else {
    fail(copy_->outcome());
  }
  copy_.reset();
  return more();
}

void DataTransferCopy::fail(const FileOutcome& outcome) {
  flagCopyStop_ = true;
  window_.showCopyFailure(outcome);
}
