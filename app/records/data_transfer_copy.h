// The copy of the data-transfer window: the rows chosen in one side's list
// copied into the other side's folder, either recorded files together with
// the customer folders and customer files they need (operation data), or
// customer files (customer data). The copy asks before it replaces an item
// that the destination list holds, and stops at the first failed file
// operation. Each step handles one row or copies one piece of the file
// under way, so the window keeps repainting; every file is copied through a
// temporary file that is renamed over the target only once it is complete.
#pragma once

#include "frame/file_operations.h"
#include "frame/slice_driver.h"
#include "records/data_show_catalogue.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

// The answers of the duplicate questions, written by the dialogs and read by
// the copy.
struct CopyAnswers {
  bool flagCopyCancel = false;  // stop the copy
  bool flagCopyYesAll = false;  // replace every further item without asking
  bool flagCopyYes = false;     // replace the item just asked about
};

// What is copied: the option of the window.
enum TransferKind : int16_t { kOperationData = 0, kCustomerData = 1 };

// What the copy needs of its window.
class CopyWindow {
 public:
  virtual bool flagForEnd() const = 0;
  virtual CopyAnswers& copyAnswers() = 0;
  // The duplicate questions, shown modal; the answer stands in copyAnswers()
  // when they return.
  virtual void askSameData(const CatalogueRow& existing, const CatalogueRow& copied) = 0;
  virtual void askSameCustomer(const DataShowCustom& existing, const DataShowCustom& copied) = 0;
  // A file operation failed and the copy stops: tells the engineer.
  virtual void showCopyFailure(const FileOutcome& outcome) = 0;

 protected:
  ~CopyWindow() = default;
};

struct CopyRequest {
  TransferKind kind = kOperationData;
  int firstRow = 0;  // grid rows, 1 = the first file; firstRow <= lastRow
  int lastRow = 0;
  std::shared_ptr<const DataShowManager> source;
  QString destinationFolder;
  // The destination as last scanned: where duplicates are looked for.
  std::shared_ptr<const DataShowManager> destination;
};

class DataTransferCopy {
 public:
  DataTransferCopy(CopyWindow& window, CopyRequest request);

  // Handles the next row or copies the next piece; Finished once every row
  // is handled or the copy has been stopped.
  SliceStep step();
  // A file operation failed.
  bool flagCopyStop() const { return flagCopyStop_; }
  int copiedFiles() const { return copiedFiles_; }

 private:
  void copyOperationData(const CatalogueRow& row);
  void copyCustomerData(const CatalogueRow& row);
  // False when the item is not to be copied: the engineer said No, or
  // Cancel, which ends the copy.
  bool mayReplace(const CatalogueRow& row);
  CatalogueRow sameData(const CatalogueRow& row) const;
  std::shared_ptr<const DataShowCustom> sameCustomer(const DataShowCustom& custom) const;
  // The customer's folder at the destination, made when missing, with the
  // customer file copied into it when it has none (operation data only).
  void prepareCustomerFolder(const DataShowCustom& custom);
  void makeCustomerFolder(const DataShowCustom& custom);
  // The folder made when missing; "" when it cannot be made.
  QString customerFolderAtDestination(const DataShowCustom& custom);
  void copyDataFile(const DataShowCustom& custom, const DataShowFile& file);
  SliceStep copyPiece();
  void fail(const FileOutcome& outcome);
  SliceStep more() const;

  CopyWindow& window_;
  CopyRequest request_;
  QString dest_;  // the destination folder with a final "/"
  std::vector<CatalogueRow> rows_;
  std::size_t next_ = 0;
  std::set<const DataShowCustom*> prepared_;
  std::unique_ptr<AtomicCopy> copy_;
  bool flagCopyStop_ = false;
  bool cancelled_ = false;
  int copiedFiles_ = 0;
};

// True when both paths name one file or folder (a link, a second mount).
bool isSameEntry(const QString& a, const QString& b);
