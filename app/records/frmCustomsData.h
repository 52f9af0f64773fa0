// The customer data window: every recorded file of every customer folder
// and of the program folder in one list, from which the engineer opens
// replay display windows (several, also of one file), shows a trigger
// file's conditions, and deletes a file once its windows have closed. It
// closes once its replay windows have gone; then the main menu comes back.
// It takes part in the end of the program through ProgramEndParticipant.
#pragma once

#include "display/display_window_owner.h"
#include "frame/end_participant.h"
#include "frame/key_table.h"
#include "frame/single_form.h"
#include "frame/work_form.h"
#include "types/DataShowManager.h"

#include <memory>
#include <optional>

class QPushButton;
class QTableWidget;
class QTimer;

class frmCustomsData : public SingleForm<frmCustomsData, WorkForm>, public ProgramEndParticipant {
  Q_OBJECT
 public:
  // Drops the window of the same formNumber from dataShowForms, if any.
  void removeFormDataShow(const frmDataShow& form) { dataShowForms.removeFormDataShow(form); }
  // Cancel (Esc, the close box): the row is remembered, the closing begins.
  void cancel() override;

  // The timers' steps.
  void tmrForDeleteData_Timer();
  void tmrForEnd_Timer();

  bool csvOutputCancel = false;
  // The open replay windows and the end flag.
  DisplayWindowOwner dataShowForms;
  // The trigger-condition window is open.
  bool flagTrigConShow() const;
  bool flagForEnd() const { return dataShowForms.flagForEnd(); }

  // Starts the window's closing: its replay windows are told to close and
  // the window goes; a deletion of customer files does not wait for them.
  void prepareForEndFormCustomsData();

  // The end of the program tells the replay windows to close and waits for
  // them and for a deletion already confirmed.
  void prepareForEnd() override { dataShowForms.prepareForEnd(); }
  bool closed() const override { return dataShowForms.isEmpty() && !pendingDeletion_; }

  QTableWidget* grdList = nullptr;
  QPushButton* cmdDataShow = nullptr;
  QPushButton* cmdTrigConShow = nullptr;
  QPushButton* cmdCsv = nullptr;
  QPushButton* cmdDelete = nullptr;
  QPushButton* cmdCancel = nullptr;
  QTimer* tmrForDeleteData = nullptr;
  QTimer* tmrForEnd = nullptr;

  static constexpr int kClientWidth = 9210;
  static constexpr int kClientHeight = 5235;
  static constexpr int kDeleteWaitMs = 2000;
  static constexpr int kEndWaitMs = 500;

 protected:
  frmCustomsData();
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The file to delete, taken when the engineer confirmed it.
  struct PendingDeletion {
    QString customDir;
    int32_t fileNumber = 0;
  };

  void cmdDataShow_Click();
  void cmdTrigConShow_Click();
  void cmdDelete_Click();
  // The trigger-condition window closed: the list takes the focus back.
  void triggerConditionShowClosed();
  // The single-row rule ("19-1" otherwise), then the row to act on, which
  // is remembered in selectedRow.
  std::optional<int> takeSelectedRow();
  bool isOneRowSelected() const;

  void setControlCaptions();
  void makeDataShowList();
  void clearDataShowList();
  void setListGridHeader();
  void showDataShowList();
  void layOutControls();
  void setBusyState();
  void resetBusyState();
  void setFileButtons(bool enabled);

  void startDeleteData();
  void deleteData();
  void finishEndFormCustomsData();

  std::shared_ptr<DataShowManager> dataShowManagerObj;
  int selectedRow = 0;
  bool flagListReady = false;
  std::optional<PendingDeletion> pendingDeletion_;
  KeyTable keys_;
};
