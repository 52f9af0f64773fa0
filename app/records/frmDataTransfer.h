// The data-transfer window: copies recorded files (with the customer folders
// they need) or customer files between the program folder, listed on the
// left, and a folder chosen on the right with a drive list and a folder
// list. F1 copies the left rows chosen into the right folder, F2 the right
// rows into the program folder; each duplicate is asked about. Cancel, the
// close box and the end of the program let a running copy finish the file
// under way, and the window then closes at the next tick of its end timer
// and brings the main menu back.
#pragma once

#include "frame/end_participant.h"
#include "frame/key_table.h"
#include "frame/single_form.h"
#include "frame/work_form.h"
#include "records/data_transfer_copy.h"

#include <array>
#include <memory>

class QButtonGroup;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;
class QTreeView;
class SliceDriver;

class frmDataTransfer : public SingleForm<frmDataTransfer, WorkForm>,
                        public ProgramEndParticipant,
                        public CopyAnswers,
                        private CopyWindow {
  Q_OBJECT
 public:
  // Begins the closing: the window closes at the next end-timer tick after
  // a copy under way has stopped.
  void prepareForEndFormDataTransfer();

  // The end of the program waits for a copy under way.
  void prepareForEnd() override { prepareForEndFormDataTransfer(); }
  bool closed() const override { return !flagBusy_; }
  // Cancel, Esc and the close box.
  void cancel() override;

  // The folder of the right side, and choosing one (as a double click or
  // Enter in the folder list does): its list is scanned and shown.
  QString rightFolder() const { return rightFolder_; }
  void chooseRightFolder(const QString& folder);
  bool isBusy() const { return flagBusy_; }

  QGroupBox* fraLeft = nullptr;
  std::array<QRadioButton*, 2> optSelect{};
  QTableWidget* grdListLeft = nullptr;
  QGroupBox* fraRight = nullptr;
  QComboBox* drvRight = nullptr;
  QLabel* lblDrvRight = nullptr;
  QTreeView* dirRight = nullptr;
  QLabel* lblDirRight = nullptr;
  QTableWidget* grdListRight = nullptr;
  QPushButton* cmdFromLeft = nullptr;
  QPushButton* cmdFromRight = nullptr;
  QPushButton* cmdCancel = nullptr;
  QTimer* tmrForEnd = nullptr;

  static constexpr int kEndTickMs = 2000;

 protected:
  frmDataTransfer();
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum Side { kLeft = 0, kRight = 1 };
  using List = std::shared_ptr<DataShowManager>;

  void makeControls();
  void makeFolderControls();
  void setControlCaptions();
  void arrangeLayout();
  void setGridHeader(QTableWidget& grid);
  void showList(QTableWidget& grid, const DataShowManager& list);
  void setBusy();
  void resetBusy();
  void enableCopyButtons();
  // flagBusy is cleared and true is answered once the closing has begun.
  bool stopsForEnd();
  List scan(const QString& folder);
  QString folderOf(Side side) const;
  List& list(Side side) { return lists_[transferKind_][side]; }
  QTableWidget& grid(Side side) const { return side == kLeft ? *grdListLeft : *grdListRight; }
  void scanAndShow(Side side);
  void clearAllLists();

  void optSelect_Click(int index);
  void dirRight_Change();
  void drvRight_Change(int index);
  void refreshDrives();
  void showRightFolderInList();
  void markRightFolder();
  void copyFrom(Side source);
  void copyEnded();
  void cmdCancel_Click();
  void tmrForEnd_Timer();
  void finishEndOfDataTransfer();

  // CopyWindow
  bool flagForEnd() const override { return flagForEnd_; }
  CopyAnswers& copyAnswers() override { return *this; }
  void askSameData(const CatalogueRow& existing, const CatalogueRow& copied) override;
  void askSameCustomer(const DataShowCustom& existing, const DataShowCustom& copied) override;
  void showCopyFailure(const FileOutcome& outcome) override;

  // Operation data and customer data lists of each side: only those of the
  // current kind hold entries.
  std::array<std::array<List, 2>, 2> lists_;
  TransferKind transferKind_ = kOperationData;
  bool flagBusy_ = false;
  bool flagForEnd_ = false;
  Side copySource_ = kLeft;
  QString rightFolder_;
  QButtonGroup* options_ = nullptr;
  QFileSystemModel* folders_ = nullptr;
  SliceDriver* copyDriver_ = nullptr;
  std::unique_ptr<DataTransferCopy> copy_;
  KeyTable keys_;
};
