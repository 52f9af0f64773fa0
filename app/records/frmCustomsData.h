// The customer data window: every recorded file of every customer folder
// and of the program folder in one list, from which the engineer opens
// replay display windows (several, also of one file), shows a trigger
// file's conditions, converts a file to CSV, and deletes a file once its
// windows have closed. It closes once its replay windows and a conversion
// under way have gone; then the main menu comes back. It takes part in the
// end of the program through ProgramEndParticipant.
#pragma once

#include "display/display_window_owner.h"
#include "frame/end_participant.h"
#include "frame/key_table.h"
#include "frame/single_form.h"
#include "frame/slice_driver.h"
#include "frame/work_form.h"
#include "types/DataShowManager.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QPushButton;
class QTableWidget;
class QTimer;
class frmCsvSetting;

class frmCustomsData : public SingleForm<frmCustomsData, WorkForm>, public ProgramEndParticipant {
  Q_OBJECT
 public:
  // Drops the window of the same formNumber from dataShowForms, if any.
  void removeFormDataShow(const frmDataShow& form) { dataShowForms.removeFormDataShow(form); }
  // Begins the closing: the replay windows and the trigger-condition window
  // are told to close and the list hides; it unloads once they have gone.
  void prepareForEndFormCustomsData();
  // Cancel (Esc, the close box): the row is remembered, the closing begins.
  void cancel() override;

  // The CSV conversion of the file F3 was pressed on, asked for by the
  // options dialog's GO once it has handed the span to the library: "19-3"
  // while the map window records, else the save dialog, the old files and
  // the conversion.
  void CsvOutput();
  // Deletes the old CSV files of the base path; result is true when all of
  // them went, else "19-4" named the last that stayed.
  void deleteCsvDataFile(const QString& basePath, bool& result);
  // Hands the file to the library and starts the conversion in slices, with
  // its progress window.
  void outputCsvData();
  // The save dialog: the name chosen for the CSV files, starting with a base
  // path; nullopt when it was cancelled. A test or benchmark puts in its own.
  std::function<std::optional<QString>(const QString& basePath)> CommonDialogCsv;

  // The timers' steps.
  void tmrForDeleteData_Timer();
  void tmrForEnd_Timer();

  bool csvOutputCancel = false;
  // The open replay windows and the end flag.
  DisplayWindowOwner dataShowForms;
  // The trigger-condition window is open.
  bool flagTrigConShow() const;
  bool flagForEnd() const { return dataShowForms.flagForEnd(); }

  // The end of the program tells the replay windows to close, stops a
  // conversion after its slice under way and waits for them and for a
  // deletion already confirmed.
  void prepareForEnd() override;
  bool closed() const override;

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
  void cmdCsv_Click();
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

  // The CSV road.
  void selectCsvFileName();
  bool checkCsvDataFile(const QString& basePath);
  // Cancel, a close request: no slice starts after the one under way.
  void stopCsvOutput();
  void csvOutputEnded(SliceOutcome outcome, int32_t value);
  void unloadCsvSetting();

  std::shared_ptr<DataShowManager> dataShowManagerObj;
  int selectedRow = 0;
  bool flagListReady = false;
  std::optional<PendingDeletion> pendingDeletion_;
  // The file F3 was pressed on: the one the options dialog converts.
  struct CsvSource {
    QString customDir;
    int32_t fileNumber = 0;
  };
  std::optional<CsvSource> csvSource_;
  // The options dialog once F3 has made it.
  QPointer<frmCsvSetting> csvSetting_;
  // The road from GO to the start of the conversion is under way (it may
  // wait in the save dialog or a question).
  bool csvRoadRunning_ = false;
  SliceDriver* csvDriver_ = nullptr;
  KeyTable keys_;
};
